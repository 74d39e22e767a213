#include "mapview/frmMap.h"

#include "core/TextNumbers.h"
#include "elite/modCharacters.h"
#include "layers/frmManageNote.h"
#include "mapview/MapResources.h"
#include "mapview/StartPicture.h"
#include "mapview/ZoneLayer.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVersionNumber>

namespace mapview {

namespace {

// Width of the frame around the viewport.
constexpr int kBorder = 2;
const QColor kFrameColour(52, 50, 58);

int Twips(int pixels)
{
    return pixels * TwipsPerPixel;
}

int Pixels(int twips)
{
    return twips / TwipsPerPixel;
}

QRect PixelRect(const TwipsRect& r)
{
    return QRect(Pixels(r.Left), Pixels(r.Top), Pixels(r.Width), Pixels(r.Height));
}

// The map's context menus: dark like the panel, the entries that do not
// apply plainly dimmed.
const char* const kMenuStyle = R"(
QMenu { background: #1b1e23; color: #e8e2d4; border: 1px solid #4a515c; padding: 2px; }
QMenu::item { padding: 4px 22px 4px 14px; }
QMenu::item:selected { background: #c9a13b; color: #1e2126; }
QMenu::item:disabled { color: #6a6760; background: transparent; }
QMenu::right-arrow { width: 8px; }
)";

const char* const kFlashTimerNames[FlashLayerCount] = {"tmrFlashCollector", "tmrFlashSelection", "tmrFlashGreen",
                                                       "tmrFlashNote", "tmrFlashTreasures"};
const char* const kInformationWindowNames[InformationWindows::Count] = {
    "picExtToolTip", "picCollectorToolTip", "picNoteTooltip", "picTreasureTooltip", "picPetTooltip"};

} // namespace

// ---- frmMap ----------------------------------------------------------------------

frmMap::frmMap(World& world, const PanelState& panel, mapview::MapLayers layers, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), m_world(world), m_panel(panel), m_layers(std::move(layers))
{
    setObjectName(QStringLiteral("frmMap"));
    setWindowTitle(m_world.language(Text::ProgramTitle));
    setMinimumSize(Pixels(MinimumWindowTwips), Pixels(MinimumWindowTwips));
    setCursor(Qt::ArrowCursor);

    const MapResources& res = MapResources::Get();
    m_handCursor = QCursor(QPixmap::fromImage(res.HandCursor()), res.CursorHotSpot().x(), res.CursorHotSpot().y());
    m_grabCursor = QCursor(QPixmap::fromImage(res.GrabCursor()), res.CursorHotSpot().x(), res.CursorHotSpot().y());

    m_picMap = new MapViewport(*this, this);
    m_picMap->setCursor(m_handCursor);
    m_cmdClose = new MapButton(MapButton::Glyph::Close, m_picMap);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    m_cmdMaximize = new MapButton(MapButton::Glyph::Maximise, m_picMap);
    m_cmdMaximize->setObjectName(QStringLiteral("cmdMaximize"));
    m_cmdMinimize = new MapButton(MapButton::Glyph::Minimise, m_picMap);
    m_cmdMinimize->setObjectName(QStringLiteral("cmdMinimize"));
    connect(m_cmdClose, &QAbstractButton::clicked, this, &frmMap::quitRequested);
    connect(m_cmdMaximize, &QAbstractButton::clicked, this, [this] {
        ToggleMaximised();
        m_picMap->setFocus();
    });
    connect(m_cmdMinimize, &QAbstractButton::clicked, this, [this] {
        m_picMap->setFocus();
        emit minimiseRequested();
    });

    for (int i = 0; i < InformationWindows::Count; ++i) {
        m_infoWidgets[i] = new InformationWindow(m_picMap);
        m_infoWidgets[i]->setObjectName(QString::fromLatin1(kInformationWindowNames[i]));
        connect(m_infoWidgets[i], &InformationWindow::clicked, this, &frmMap::HideInformationWindows);
    }
    for (int i = 0; i < FlashLayerCount; ++i) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(kFlashTimerNames[i]));
        timer->setInterval(FlashIntervalMs);
        const auto layer = static_cast<FlashLayer>(i);
        connect(timer, &QTimer::timeout, this, [this, layer] { FlashTick(layer); });
        m_flashTimers[static_cast<std::size_t>(i)] = timer;
    }

    openMenu = [](QMenu* menu, QPoint globalPos) { menu->popup(globalPos); };
    askQuestion = [this](const QString& question) {
        return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
    showMessage = [this](const QString& text) { QMessageBox::critical(this, windowTitle(), text); };
    runNoteEditor = [](frmManageNote& editor) { editor.exec(); };

    // Load handler: the menus, and the zone label boxes worked out once.
    BuildMapMenus();
    ComputeZoneLabelBoxes(m_world.campaigns, m_world.zoneIconAnchors);
    m_canvas.SetZoom(ZoomFromSetting(m_world.settings.MapZoom), QPointF());
    // The route: drawn under the markers by a layer that reads this window's
    // route; the next stop's ring blinks; its line at the bottom.
    m_route.shown = m_world.settings.ShowRoute != 0;
    m_layers.Set(LayerId::Route, std::make_unique<route::RouteLayer>(m_route));
    m_routeBlink = new QTimer(this);
    m_routeBlink->setObjectName(QStringLiteral("tmrRouteBlink"));
    m_routeBlink->setInterval(2 * FlashIntervalMs);
    connect(m_routeBlink, &QTimer::timeout, this, [this] {
        if (!m_route.shown || !m_mapLoaded || m_route.follow.NextIndex() < 0 || m_drag.Dragging)
            return;
        m_route.blinkOn = !m_route.blinkOn;
        Redraw();
    });
    m_routeStatus = new QLabel(m_picMap);
    m_routeStatus->setObjectName(QStringLiteral("lblRouteStatus"));
    m_routeStatus->setStyleSheet(QStringLiteral(
        "QLabel { background: rgba(20, 22, 26, 210); color: #f4e8c8; padding: 3px 8px; border-radius: 3px; }"));
    m_routeStatus->hide();
    m_preloader = std::make_unique<RegionPreloader>(m_regions);
    m_preloader->onReady = [this](const QString& path) {
        QMetaObject::invokeMethod(
            this, [this, path] { HalvingsReady(path); }, Qt::QueuedConnection);
    };
    resize(800, 600);
}

frmMap::~frmMap() = default;

MapContext frmMap::Context() const
{
    return MapContext{m_world,
                      m_panel,
                      m_currentCampaign,
                      m_currentRegion,
                      m_canvas.DrawingOrigin(),
                      m_canvas.ViewSize(),
                      m_canvas.Placement(),
                      m_canvas.Labels()};
}

InformationWindow* frmMap::InformationWindowOf(LayerId layer) const
{
    return m_infoWidgets[static_cast<std::size_t>(InformationWindows::Slot(layer))];
}

void frmMap::InizializzaVariabili(QString& imagePath, int campaign, int region)
{
    if (campaign != m_currentCampaign || region != m_currentRegion) {
        m_drag.Reset();
        m_canvas.ResetOffsets();
        m_canvas.ClearView();
        // A region decoded before (or ahead) comes from the cache at once;
        // another is read here and its halvings built off this thread.
        const auto kept = imagePath.isEmpty() ? nullptr : m_regions.Get(imagePath);
        bool loaded = false;
        if (kept) {
            m_canvas.SetRegionPicture(kept->Level(0), kept);
            loaded = true;
        } else if (!imagePath.isEmpty() && m_canvas.LoadRegionPicture(imagePath)) {
            m_preloader->Adopt(imagePath, m_canvas.picOriginal);
            loaded = true;
        }
        m_regionPath = loaded ? imagePath : QString();
        m_overviewPicture = QImage();
        // The level stays; the new map starts at its top left (fit: centred).
        m_canvas.SetView(ViewTransform{m_canvas.Scale(), QPointF()});
        m_canvas.RefitView();
        if (!loaded) {
            // No picture (or one that cannot be read): the start picture,
            // and nothing left of an earlier map to be drawn over it.
            imagePath.clear();
            m_canvas.ClearRegionPicture();
            DrawStartPicture();
        }
        m_currentCampaign = campaign;
        m_currentRegion = region;
    } else if (region == -1 || m_currentCampaign == -1) {
        imagePath.clear();
        m_canvas.ClearRegionPicture();
        DrawStartPicture();
    }
    // A region whose picture could not be read stays not loaded when asked for again.
    m_mapLoaded = !imagePath.isEmpty() && !m_canvas.picOriginal.isNull();
    if (!m_mapLoaded)
        SyncFlashTimers();
    m_picMap->update();
    if (m_mapLoaded)
        PreloadLikelyRegions();
}

void frmMap::DrawEverythingOnMap()
{
    FollowRoute();
    Redraw();
}

void frmMap::Redraw()
{
    m_canvas.DrawEverythingOnMap(m_layers, m_flasher, Context());
    SyncFlashTimers();
    m_picMap->update();
}

void frmMap::UpdateMapWithNewEliteSkills()
{
    HideInformationWindows();
    if (m_mapLoaded)
        DrawEverythingOnMap();
}

void frmMap::UpdateMap()
{
    m_canvas.UpdateMap();
    m_picMap->update();
}

void frmMap::CenterMapOn(int x, int y)
{
    m_canvas.CenterMapOn(x, y);
    if (m_canvas.RedrawsOnPan() && m_mapLoaded)
        Redraw();
    m_picMap->update();
}

void frmMap::HideInformationWindows()
{
    m_info.HideInformationWindows();
    SyncInformationWindows();
}

void frmMap::SyncInformationWindows()
{
    for (int i = 0; i < InformationWindows::Count; ++i) {
        const auto& w = m_info.Get(HitTestOrder[static_cast<std::size_t>(i)]);
        InformationWindow* widget = m_infoWidgets[static_cast<std::size_t>(i)];
        if (!w.Visible()) {
            widget->hide();
            continue;
        }
        if (widget->Image().constBits() != w.Image.constBits())
            widget->SetImage(w.Image);
        widget->move(w.Position);
        widget->show();
        widget->raise();
    }
}

void frmMap::SyncFlashTimers()
{
    for (int i = 0; i < FlashLayerCount; ++i) {
        QTimer* timer = m_flashTimers[static_cast<std::size_t>(i)];
        // Nothing blinks over the start picture.
        if (m_mapLoaded && m_flasher.Enabled(static_cast<FlashLayer>(i))) {
            if (!timer->isActive())
                timer->start();
        } else {
            timer->stop();
        }
    }
}

void frmMap::SetFlashTimerEnabled(FlashLayer layer, bool on)
{
    m_flasher.SetEnabled(layer, on);
    SyncFlashTimers();
}

bool frmMap::FlashTimerEnabled(FlashLayer layer) const
{
    return m_flashTimers[static_cast<std::size_t>(layer)]->isActive();
}

void frmMap::FlashTick(FlashLayer layer)
{
    if (!m_mapLoaded) {
        SyncFlashTimers();
        return;
    }
    if (m_flasher.Tick(layer, m_canvas.DrawingBuffer(), m_panel, m_drag.Dragging))
        UpdateMap();
}

void frmMap::DrawStartPicture()
{
    StartPictureTexts texts;
    texts.title = m_world.language(Text::ProgramTitle);
    if (texts.title.isEmpty())
        texts.title = QStringLiteral("Wayloom");
    const QVersionNumber v = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    if (!v.isNull())
        texts.title += QStringLiteral(" v%1.%2.%3").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion());
    texts.author = QStringLiteral("by the Wayloom developers");
    texts.hint = m_world.language(Text::StartPictureHint);
    m_canvas.DrawStartPicture([&texts](QPainter& p, QSize size) { PaintStartPicture(p, size, texts); },
                              devicePixelRatioF());
}

void frmMap::PlaceButtons()
{
    const int w = m_picMap->width();
    m_cmdClose->move(w - m_cmdClose->width(), 0);
    m_cmdMaximize->move(m_cmdClose->x() - m_cmdMaximize->width(), 0);
    m_cmdMinimize->move(m_cmdMaximize->x() - m_cmdMinimize->width(), 0);
    m_cmdClose->raise();
    m_cmdMaximize->raise();
    m_cmdMinimize->raise();
    // The route's line at the bottom right, clear of the overview.
    if (m_routeStatus) {
        m_routeStatus->move(std::max(0, w - m_routeStatus->width() - 8),
                            std::max(0, m_picMap->height() - m_routeStatus->height() - 8));
        m_routeStatus->raise();
    }
}

void frmMap::resizeEvent(QResizeEvent*)
{
    if (isMinimized())
        return;
    m_picMap->setGeometry(kBorder, kBorder, std::max(0, width() - 2 * kBorder), std::max(0, height() - 2 * kBorder));
    const bool zoomedBefore = m_canvas.Zoomed();
    m_canvas.SetViewSize(m_picMap->size(), devicePixelRatioF());
    // The offsets stay valid for the new size.
    m_canvas.MapOffsetX = m_canvas.ControllaCoordinataX(m_canvas.MapOffsetX);
    m_canvas.MapOffsetY = m_canvas.ControllaCoordinataY(m_canvas.MapOffsetY);
    // Fit fits the new size; another level keeps its place, clamped.
    m_canvas.RefitView();
    if (!m_mapLoaded)
        DrawStartPicture();
    PlaceButtons();
    if (m_mapLoaded && (zoomedBefore || m_canvas.Zoomed()))
        Redraw();
    else
        UpdateMap();
}

void frmMap::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kFrameColour);
}

void frmMap::keyPressEvent(QKeyEvent* event)
{
    if (!KeyPressed(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}

void frmMap::closeEvent(QCloseEvent* event)
{
    // The quit procedure hides this window; the map is never closed alone.
    event->ignore();
    emit quitRequested();
}

// ---- Pointer --------------------------------------------------------------------

void frmMap::PointerDown(PointerButton button, PointerKeys keys, QPointF pos, QPoint globalPos)
{
    HideInformationWindows();
    m_lastPointer = pos;
    m_lastButton = button;
    // The overview takes every press inside it: the view moves there.
    if (OverviewRect().contains(pos.toPoint())) {
        m_overviewDrag = button == PointerButton::Left;
        if (m_overviewDrag)
            PointerMove(pos);
        return;
    }
    switch (OnPress(button, keys)) {
    case PressAction::StartDrag:
        m_picMap->setCursor(m_grabCursor);
        m_drag.Begin(pos, m_canvas.View().Origin.toPoint());
        break;
    case PressAction::Mark:
        MarkMapPoint(pos, globalPos);
        break;
    case PressAction::RightClick: {
        const bool hit = m_info.HitTest(pos, m_layers, Context(), Backdrop());
        SyncInformationWindows();
        if (!hit) {
            emit regionMenuRequested(globalPos);
            openMenu(m_menuPopupRegion, globalPos);
        }
        break;
    }
    case PressAction::None:
        break;
    }
}

void frmMap::PointerMove(QPointF pos)
{
    if (m_overviewDrag) {
        const QRect inset = OverviewRect();
        const QPointF at = OverviewToMap(pos, inset, m_canvas.MapSize());
        ShowView(CentreOn(m_canvas.Scale(), at, m_canvas.MapSize(), m_canvas.ViewSize()));
        return;
    }
    if (m_drag.Dragging) {
        if (m_canvas.Zoomed()) {
            ShowView({m_canvas.Scale(), pos - QPointF(m_drag.DragAnchorX, m_drag.DragAnchorY)});
            return;
        }
        const QPoint offset = m_drag.PanTo(pos, m_canvas.Offset(), m_canvas.ViewSize(), m_canvas.MapSize());
        m_canvas.MapOffsetX = offset.x();
        m_canvas.MapOffsetY = offset.y();
        UpdateMap();
        return;
    }
    // Nothing under the overview answers the pointer.
    if (OverviewRect().contains(pos.toPoint())) {
        if (OnMove(m_panel.HoverMode) == MoveAction::FollowPointer)
            HideInformationWindows();
        return;
    }
    if (OnMove(m_panel.HoverMode) == MoveAction::FollowPointer) {
        if (!m_info.HitTest(pos, m_layers, Context(), Backdrop()))
            m_info.HideInformationWindows();
        SyncInformationWindows();
    }
}

void frmMap::PointerLeft()
{
    // A tooltip that follows the pointer goes with it: moving straight off
    // the map (onto the panel, say) sends no move that misses every marker.
    if (!m_drag.Dragging && OnMove(m_panel.HoverMode) == MoveAction::FollowPointer)
        HideInformationWindows();
}

void frmMap::PointerUp(PointerButton button)
{
    if (m_overviewDrag) {
        m_overviewDrag = false;
        return;
    }
    if (m_drag.Dragging) {
        m_picMap->setCursor(m_handCursor);
        m_drag.End();
        return;
    }
    if (HidesOnRelease(button, m_panel.HoverMode)) {
        HideInformationWindows();
        UpdateMap();
    }
}

void frmMap::PointerDoubleClick(PointerButton button, PointerKeys keys, QPointF pos, QPoint globalPos)
{
    if (OverviewRect().contains(pos.toPoint()))
        return;
    // The double click stands in for the second press of the pair.
    if (OnPress(button, keys) == PressAction::Mark) {
        PointerDown(button, keys, pos, globalPos);
        return;
    }
    m_lastPointer = pos;
    m_lastButton = button;
    if (m_lastButton == PointerButton::Left)
        ActOnMapPoint(m_lastPointer, globalPos);
}

std::optional<LayerHit> frmMap::FindAt(LayerId layer, QPointF pos) const
{
    const MapLayer* found = m_layers.Get(layer);
    return found ? found->Find(pos, Context()) : std::nullopt;
}

std::optional<MapLayers::ChainHit> frmMap::SkillOrChestAt(QPointF pos) const
{
    for (LayerId layer : {LayerId::Elite, LayerId::Treasures})
        if (const auto hit = FindAt(layer, pos))
            return MapLayers::ChainHit{layer, *hit};
    return std::nullopt;
}

void frmMap::MarkMapPoint(QPointF pos, QPoint globalPos)
{
    if (!m_mapLoaded)
        return;
    const auto hit = SkillOrChestAt(pos);
    if (!hit || hit->Hit.Item == 0)
        return;
    if (hit->Layer == LayerId::Elite)
        emit captureToggleRequested(hit->Hit.Item, globalPos);
    else
        emit treasureToggleRequested(hit->Hit.Item, globalPos);
}

void frmMap::ActOnMapPoint(QPointF pos, QPoint globalPos)
{
    if (!m_mapLoaded)
        return;
    if (const auto hit = SkillOrChestAt(pos)) {
        if (hit->Layer == LayerId::Treasures)
            emit treasureMarkRequested(hit->Hit.Item);
        else if (hit->Hit.Item != 0)
            emit captureRequested(hit->Hit.Item);
        return;
    }
    // Collectors and pets do nothing; a note or empty map offer the note menu.
    if (FindAt(LayerId::Collectors, pos) || FindAt(LayerId::Pets, pos))
        return;
    const auto note = FindAt(LayerId::Notes, pos);
    m_menuPopUpTag = note ? note->Item : -1;
    m_mnuNoteInsert->setEnabled(!note);
    m_mnuNoteEdit->setEnabled(note.has_value());
    m_mnuNoteDelete->setEnabled(note.has_value());
    emit noteMenuRequested(globalPos, m_menuPopUpTag);
    openMenu(m_menuPopUp, globalPos);
}

// ---- Context menus -------------------------------------------------------------------

void frmMap::BuildMapMenus()
{
    const auto& t = m_world.language;
    if (!m_menuPopUp) {
        m_menuPopUp = new QMenu(this);
        m_menuPopUp->setObjectName(QStringLiteral("MenuPopUp"));
        m_menuPopUp->setStyleSheet(QString::fromLatin1(kMenuStyle));
        m_mnuNoteInsert = m_menuPopUp->addAction(QString());
        m_mnuNoteEdit = m_menuPopUp->addAction(QString());
        m_mnuNoteDelete = m_menuPopUp->addAction(QString());
        // Insert and edit open the same editor: a new note when the tag is -1.
        connect(m_mnuNoteInsert, &QAction::triggered, this, &frmMap::mnuNoteInsert_Click);
        connect(m_mnuNoteEdit, &QAction::triggered, this, &frmMap::mnuNoteInsert_Click);
        connect(m_mnuNoteDelete, &QAction::triggered, this, &frmMap::mnuNoteDelete_Click);
    }
    m_mnuNoteInsert->setText(t(Text::NoteInsert));
    m_mnuNoteEdit->setText(t(Text::NoteEdit));
    m_mnuNoteDelete->setText(t(Text::NoteDelete));

    delete m_menuPopupRegion;
    m_menuPopupRegion = new QMenu(this);
    m_menuPopupRegion->setObjectName(QStringLiteral("MenuPopupRegion"));
    m_menuPopupRegion->setStyleSheet(QString::fromLatin1(kMenuStyle));
    // Campaigns 1 to 4, each with its regions in the region list's order.
    const int highest = std::min(4, static_cast<int>(m_world.campaigns.size()) - 1);
    for (int c = 1; c <= highest; ++c) {
        const auto& campaign = m_world.campaigns[static_cast<std::size_t>(c)];
        if (campaign.Name.isEmpty())
            continue;
        QMenu* sub = m_menuPopupRegion->addMenu(campaign.Name);
        sub->setObjectName(QStringLiteral("mnuCampaign%1").arg(c));
        for (const int r : modCampaigns::RegionListOrder(m_world.campaigns, c)) {
            if (!modCampaigns::RegionExists(m_world.campaigns, c, r))
                continue;
            QAction* item = sub->addAction(campaign.Regions[static_cast<std::size_t>(r)].Name);
            item->setData(r);
            connect(item, &QAction::triggered, this, [this, c, r] { emit regionChosen(c, r); });
        }
    }
    // The route starts where the menu was opened (kept per region).
    m_menuPopupRegion->addSeparator();
    m_mnuRouteStart = m_menuPopupRegion->addAction(QStringLiteral("Start the route here"));
    m_mnuRouteStart->setObjectName(QStringLiteral("mnuRouteStart"));
    connect(m_mnuRouteStart, &QAction::triggered, this, [this] {
        if (!m_mapLoaded)
            return;
        const QPoint at = m_canvas.View().ToMap(m_lastPointer).toPoint();
        m_world.settings.RouteStarts[{m_currentCampaign, m_currentRegion}] = at;
        if (!m_route.shown) {
            SetRouteShown(true);
            return;
        }
        StartRoute();
        Redraw();
        ShowRouteLine();
    });
}

void frmMap::mnuNoteInsert_Click()
{
    frmManageNote editor(m_world, this);
    // The map point the player sees under the pointer, at any zoom.
    const QPointF at = m_canvas.View().ToMap(m_lastPointer);
    editor.SetX(static_cast<int>(std::lround(at.x())));
    editor.SetY(static_cast<int>(std::lround(at.y())));
    editor.SetNote(m_menuPopUpTag);
    editor.SetCampaign(m_currentCampaign);
    editor.SetRegion(m_currentRegion);
    editor.SetTopMost(m_panel.AlwaysOnTop == 1);
    editor.showMessage = showMessage;
    editor.Load();
    runNoteEditor(editor);
    m_menuPopUpTag = editor.SavedNote();
    if (m_menuPopUpTag != -1)
        emit notesChanged();
}

void frmMap::mnuNoteDelete_Click()
{
    const int n = m_menuPopUpTag;
    if (n < 1 || n > m_world.notes.count() || !askQuestion(m_world.language(Text::DeleteNoteQuestion)))
        return;
    // The table changes only once the file holds the change.
    modNotes::Tables notes = m_world.notes;
    notes.Notes[static_cast<std::size_t>(n)].ShortDesc.clear();
    QString error;
    const bool saved = modNotes::SaveNotes(m_world.appFolder, notes, &error);
    if (!saved)
        showMessage(QStringLiteral("The note could not be deleted (%1); it is kept.").arg(error));
    // A safety copy that could not be made before this save is told once.
    if (const QString notice = modCharacters::TakeBackupNotice(); !notice.isEmpty())
        showMessage(notice);
    if (!saved)
        return;
    m_world.notes = std::move(notes);
    emit notesChanged();
}

// ---- Screen layout ------------------------------------------------------------------

WorkArea frmMap::CurrentWorkArea() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect a = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    return WorkArea{a.left(), a.top(), a.left() + a.width(), a.top() + a.height()};
}

void frmMap::ApplyLayout(const ScreenLayout& layout)
{
    if (QWidget* owner = parentWidget())
        owner->setGeometry(PixelRect(layout.Panel));
    setGeometry(PixelRect(layout.Map));
    m_maximised = layout.Maximised;
}

void frmMap::ToggleMaximised()
{
    QWidget* owner = parentWidget();
    const int panelWidth = owner ? Twips(owner->width()) : 0;
    ApplyLayout(mapview::ToggleMaximised(CurrentWorkArea(), m_maximised, panelWidth));
}

void frmMap::RestoreLayout()
{
    QWidget* owner = parentWidget();
    const int panelWidth = owner ? Twips(owner->width()) : 0;
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const int screenWidth = Twips(s ? s->geometry().width() : 1024);
    modOptions::Settings& st = m_world.settings;
    const RestoredLayout restored = mapview::RestoreLayout(SavedPlacement{st.PosX, st.PosY, st.DimX, st.DimY},
                                                           CurrentWorkArea(), screenWidth, panelWidth);
    if (restored.SettingsDiscarded)
        st.PosX = st.PosY = st.DimX = st.DimY = -1;
    m_maximised = false;
    ApplyLayout(restored.Layout);
}

} // namespace mapview
