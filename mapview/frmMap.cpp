#include "mapview/frmMap.h"

#include "core/TextNumbers.h"
#include "layers/frmManageNote.h"
#include "mapview/MapResources.h"
#include "mapview/ZoneLayer.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
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
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), world_(world), panel_(panel), layers_(std::move(layers))
{
    setObjectName(QStringLiteral("frmMap"));
    setWindowTitle(world_.language(Text::ProgramTitle));
    setMinimumSize(Pixels(MinimumWindowTwips), Pixels(MinimumWindowTwips));
    setCursor(Qt::ArrowCursor);

    const MapResources& res = MapResources::Get();
    handCursor_ = QCursor(QPixmap::fromImage(res.HandCursor()), res.CursorHotSpot().x(), res.CursorHotSpot().y());
    grabCursor_ = QCursor(QPixmap::fromImage(res.GrabCursor()), res.CursorHotSpot().x(), res.CursorHotSpot().y());

    picMap_ = new MapViewport(*this, this);
    picMap_->setCursor(handCursor_);
    cmdClose_ = new MapButton(MapButton::Glyph::Close, picMap_);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    cmdMaximize_ = new MapButton(MapButton::Glyph::Maximise, picMap_);
    cmdMaximize_->setObjectName(QStringLiteral("cmdMaximize"));
    cmdMinimize_ = new MapButton(MapButton::Glyph::Minimise, picMap_);
    cmdMinimize_->setObjectName(QStringLiteral("cmdMinimize"));
    connect(cmdClose_, &QAbstractButton::clicked, this, &frmMap::quitRequested);
    connect(cmdMaximize_, &QAbstractButton::clicked, this, [this] {
        ToggleMaximised();
        picMap_->setFocus();
    });
    connect(cmdMinimize_, &QAbstractButton::clicked, this, [this] {
        picMap_->setFocus();
        emit minimiseRequested();
    });

    for (int i = 0; i < InformationWindows::Count; ++i) {
        infoWidgets_[i] = new InformationWindow(picMap_);
        infoWidgets_[i]->setObjectName(QString::fromLatin1(kInformationWindowNames[i]));
        connect(infoWidgets_[i], &InformationWindow::clicked, this, &frmMap::HideInformationWindows);
    }
    for (int i = 0; i < FlashLayerCount; ++i) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(kFlashTimerNames[i]));
        timer->setInterval(FlashIntervalMs);
        const auto layer = static_cast<FlashLayer>(i);
        connect(timer, &QTimer::timeout, this, [this, layer] { FlashTick(layer); });
        flashTimers_[static_cast<std::size_t>(i)] = timer;
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
    ComputeZoneLabelBoxes(world_.campaigns, world_.zoneIconAnchors);
    resize(800, 600);
}

frmMap::~frmMap() = default;

MapContext frmMap::Context() const
{
    return MapContext{world_, panel_, currentCampaign_, currentRegion_, canvas_.Offset(), canvas_.ViewSize()};
}

InformationWindow* frmMap::InformationWindowOf(LayerId layer) const
{
    return infoWidgets_[static_cast<std::size_t>(InformationWindows::Slot(layer))];
}

void frmMap::InizializzaVariabili(QString& imagePath, int campaign, int region)
{
    if (campaign != currentCampaign_ || region != currentRegion_) {
        drag_.Reset();
        canvas_.ResetOffsets();
        canvas_.ClearView();
        if (imagePath.isEmpty() || !canvas_.LoadRegionPicture(imagePath)) {
            // No picture (or one that cannot be read): the start picture,
            // and nothing left of an earlier map to be drawn over it.
            imagePath.clear();
            canvas_.ClearRegionPicture();
            DrawStartPicture();
        }
        currentCampaign_ = campaign;
        currentRegion_ = region;
    } else if (region == -1 || currentCampaign_ == -1) {
        imagePath.clear();
        canvas_.ClearRegionPicture();
        DrawStartPicture();
    }
    // A region whose picture could not be read stays not loaded when asked for again.
    mapLoaded_ = !imagePath.isEmpty() && !canvas_.picOriginal.isNull();
    if (!mapLoaded_)
        SyncFlashTimers();
    picMap_->update();
}

void frmMap::DrawEverythingOnMap()
{
    canvas_.DrawEverythingOnMap(layers_, flasher_, Context());
    SyncFlashTimers();
    picMap_->update();
}

void frmMap::UpdateMapWithNewEliteSkills()
{
    HideInformationWindows();
    if (mapLoaded_)
        DrawEverythingOnMap();
}

void frmMap::UpdateMap()
{
    canvas_.UpdateMap();
    picMap_->update();
}

void frmMap::CenterMapOn(int x, int y)
{
    canvas_.CenterMapOn(x, y);
    picMap_->update();
}

void frmMap::HideInformationWindows()
{
    info_.HideInformationWindows();
    SyncInformationWindows();
}

void frmMap::SyncInformationWindows()
{
    for (int i = 0; i < InformationWindows::Count; ++i) {
        const auto& w = info_.Get(HitTestOrder[static_cast<std::size_t>(i)]);
        InformationWindow* widget = infoWidgets_[static_cast<std::size_t>(i)];
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
        QTimer* timer = flashTimers_[static_cast<std::size_t>(i)];
        // Nothing blinks over the start picture.
        if (mapLoaded_ && flasher_.Enabled(static_cast<FlashLayer>(i))) {
            if (!timer->isActive())
                timer->start();
        } else {
            timer->stop();
        }
    }
}

void frmMap::SetFlashTimerEnabled(FlashLayer layer, bool on)
{
    flasher_.SetEnabled(layer, on);
    SyncFlashTimers();
}

bool frmMap::FlashTimerEnabled(FlashLayer layer) const
{
    return flashTimers_[static_cast<std::size_t>(layer)]->isActive();
}

void frmMap::FlashTick(FlashLayer layer)
{
    if (!mapLoaded_) {
        SyncFlashTimers();
        return;
    }
    if (flasher_.Tick(layer, canvas_.picTemp, panel_, drag_.Dragging))
        UpdateMap();
}

void frmMap::DrawStartPicture()
{
    StartPictureTexts texts;
    texts.title = world_.language(Text::ProgramTitle);
    if (texts.title.isEmpty())
        texts.title = QStringLiteral("Wayloom");
    const QVersionNumber v = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    if (!v.isNull())
        texts.title += QStringLiteral(" v%1.%2.%3").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion());
    texts.author = QStringLiteral("by the Wayloom developers");
    texts.hint = world_.language(Text::StartPictureHint);
    canvas_.DrawStartPicture(texts, devicePixelRatioF());
}

void frmMap::PlaceButtons()
{
    const int w = picMap_->width();
    cmdClose_->move(w - cmdClose_->width(), 0);
    cmdMaximize_->move(cmdClose_->x() - cmdMaximize_->width(), 0);
    cmdMinimize_->move(cmdMaximize_->x() - cmdMinimize_->width(), 0);
    cmdClose_->raise();
    cmdMaximize_->raise();
    cmdMinimize_->raise();
}

void frmMap::resizeEvent(QResizeEvent*)
{
    if (isMinimized())
        return;
    picMap_->setGeometry(kBorder, kBorder, std::max(0, width() - 2 * kBorder), std::max(0, height() - 2 * kBorder));
    canvas_.SetViewSize(picMap_->size());
    // The offsets stay valid for the new size.
    canvas_.MapOffsetX = canvas_.ControllaCoordinataX(canvas_.MapOffsetX);
    canvas_.MapOffsetY = canvas_.ControllaCoordinataY(canvas_.MapOffsetY);
    if (!mapLoaded_)
        DrawStartPicture();
    PlaceButtons();
    UpdateMap();
}

void frmMap::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kFrameColour);
}

void frmMap::closeEvent(QCloseEvent* event)
{
    // The quit procedure hides this window; the map is never closed alone.
    event->ignore();
    emit quitRequested();
}

// ---- Pointer --------------------------------------------------------------------

void frmMap::PointerDown(PointerButton button, bool shift, QPointF pos, QPoint globalPos)
{
    HideInformationWindows();
    lastPointer_ = pos;
    lastButton_ = button;
    switch (OnPress(button, shift)) {
    case PressAction::StartDrag:
        picMap_->setCursor(grabCursor_);
        drag_.Begin(pos, canvas_.Offset());
        break;
    case PressAction::RightClick: {
        const bool hit = info_.HitTest(pos, layers_, Context(), canvas_.picMap);
        SyncInformationWindows();
        if (!hit) {
            emit regionMenuRequested(globalPos);
            openMenu(menuPopupRegion_, globalPos);
        }
        break;
    }
    case PressAction::None:
        break;
    }
}

void frmMap::PointerMove(QPointF pos)
{
    if (drag_.Dragging) {
        const QPoint offset = drag_.PanTo(pos, canvas_.Offset(), canvas_.ViewSize(), canvas_.MapSize());
        canvas_.MapOffsetX = offset.x();
        canvas_.MapOffsetY = offset.y();
        UpdateMap();
        return;
    }
    if (OnMove(panel_.HoverMode) == MoveAction::FollowPointer) {
        if (!info_.HitTest(pos, layers_, Context(), canvas_.picMap))
            info_.HideInformationWindows();
        SyncInformationWindows();
    }
}

void frmMap::PointerLeft()
{
    // A tooltip that follows the pointer goes with it: moving straight off
    // the map (onto the panel, say) sends no move that misses every marker.
    if (!drag_.Dragging && OnMove(panel_.HoverMode) == MoveAction::FollowPointer)
        HideInformationWindows();
}

void frmMap::PointerUp(PointerButton button)
{
    if (drag_.Dragging) {
        picMap_->setCursor(handCursor_);
        drag_.End();
        return;
    }
    if (HidesOnRelease(button, panel_.HoverMode)) {
        HideInformationWindows();
        UpdateMap();
    }
}

void frmMap::PointerDoubleClick(PointerButton button, QPointF pos, QPoint globalPos)
{
    // The double click stands in for the second press of the pair.
    lastPointer_ = pos;
    lastButton_ = button;
    if (lastButton_ == PointerButton::Left)
        ActOnMapPoint(lastPointer_, globalPos);
}

void frmMap::ActOnMapPoint(QPointF pos, QPoint globalPos)
{
    if (!mapLoaded_)
        return;
    const MapContext ctx = Context();
    auto find = [&](LayerId id) -> std::optional<LayerHit> {
        const MapLayer* layer = layers_.Get(id);
        return layer ? layer->Find(pos, ctx) : std::nullopt;
    };
    if (const auto hit = find(LayerId::Elite)) {
        if (hit->Item != 0)
            emit captureRequested(hit->Item);
        return;
    }
    if (const auto hit = find(LayerId::Treasures)) {
        emit treasureMarkRequested(hit->Item);
        return;
    }
    // Collectors and pets do nothing; a note or empty map offer the note menu.
    if (find(LayerId::Collectors) || find(LayerId::Pets))
        return;
    const auto note = find(LayerId::Notes);
    menuPopUpTag_ = note ? note->Item : -1;
    mnuNoteInsert_->setEnabled(!note);
    mnuNoteEdit_->setEnabled(note.has_value());
    mnuNoteDelete_->setEnabled(note.has_value());
    emit noteMenuRequested(globalPos, menuPopUpTag_);
    openMenu(menuPopUp_, globalPos);
}

// ---- Context menus -------------------------------------------------------------------

void frmMap::BuildMapMenus()
{
    const auto& t = world_.language;
    if (!menuPopUp_) {
        menuPopUp_ = new QMenu(this);
        menuPopUp_->setObjectName(QStringLiteral("MenuPopUp"));
        menuPopUp_->setStyleSheet(QString::fromLatin1(kMenuStyle));
        mnuNoteInsert_ = menuPopUp_->addAction(QString());
        mnuNoteEdit_ = menuPopUp_->addAction(QString());
        mnuNoteDelete_ = menuPopUp_->addAction(QString());
        // Insert and edit open the same editor: a new note when the tag is -1.
        connect(mnuNoteInsert_, &QAction::triggered, this, &frmMap::mnuNoteInsert_Click);
        connect(mnuNoteEdit_, &QAction::triggered, this, &frmMap::mnuNoteInsert_Click);
        connect(mnuNoteDelete_, &QAction::triggered, this, &frmMap::mnuNoteDelete_Click);
    }
    mnuNoteInsert_->setText(t(Text::NoteInsert));
    mnuNoteEdit_->setText(t(Text::NoteEdit));
    mnuNoteDelete_->setText(t(Text::NoteDelete));

    delete menuPopupRegion_;
    menuPopupRegion_ = new QMenu(this);
    menuPopupRegion_->setObjectName(QStringLiteral("MenuPopupRegion"));
    menuPopupRegion_->setStyleSheet(QString::fromLatin1(kMenuStyle));
    // Campaigns 1 to 4, each with its regions in the region list's order.
    const int highest = std::min(4, static_cast<int>(world_.campaigns.size()) - 1);
    for (int c = 1; c <= highest; ++c) {
        const auto& campaign = world_.campaigns[static_cast<std::size_t>(c)];
        if (campaign.Name.isEmpty())
            continue;
        QMenu* sub = menuPopupRegion_->addMenu(campaign.Name);
        sub->setObjectName(QStringLiteral("mnuCampaign%1").arg(c));
        for (const int r : modCampaigns::RegionListOrder(world_.campaigns, c)) {
            if (!modCampaigns::RegionExists(world_.campaigns, c, r))
                continue;
            QAction* item = sub->addAction(campaign.Regions[static_cast<std::size_t>(r)].Name);
            item->setData(r);
            connect(item, &QAction::triggered, this, [this, c, r] { emit regionChosen(c, r); });
        }
    }
}

void frmMap::mnuNoteInsert_Click()
{
    frmManageNote editor(world_, this);
    editor.SetX(static_cast<int>(std::lround(lastPointer_.x() - canvas_.MapOffsetX)));
    editor.SetY(static_cast<int>(std::lround(lastPointer_.y() - canvas_.MapOffsetY)));
    editor.SetNote(menuPopUpTag_);
    editor.SetCampaign(currentCampaign_);
    editor.SetRegion(currentRegion_);
    editor.SetTopMost(panel_.AlwaysOnTop == 1);
    editor.showMessage = showMessage;
    editor.Load();
    runNoteEditor(editor);
    menuPopUpTag_ = editor.SavedNote();
    if (menuPopUpTag_ != -1)
        emit notesChanged();
}

void frmMap::mnuNoteDelete_Click()
{
    const int n = menuPopUpTag_;
    if (n < 1 || n > world_.notes.count() || !askQuestion(world_.language(Text::DeleteNoteQuestion)))
        return;
    // The table changes only once the file holds the change.
    modNotes::Tables notes = world_.notes;
    notes.Notes[static_cast<std::size_t>(n)].ShortDesc.clear();
    QString error;
    if (!modNotes::SaveNotes(world_.appFolder, notes, &error)) {
        showMessage(QStringLiteral("The note could not be deleted (%1); it is kept.").arg(error));
        return;
    }
    world_.notes = std::move(notes);
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
    maximised_ = layout.Maximised;
}

void frmMap::ToggleMaximised()
{
    QWidget* owner = parentWidget();
    const int panelWidth = owner ? Twips(owner->width()) : 0;
    ApplyLayout(mapview::ToggleMaximised(CurrentWorkArea(), maximised_, panelWidth));
}

void frmMap::RestoreLayout()
{
    QWidget* owner = parentWidget();
    const int panelWidth = owner ? Twips(owner->width()) : 0;
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const int screenWidth = Twips(s ? s->geometry().width() : 1024);
    modOptions::Settings& st = world_.settings;
    const RestoredLayout restored = mapview::RestoreLayout(SavedPlacement{st.PosX, st.PosY, st.DimX, st.DimY},
                                                           CurrentWorkArea(), screenWidth, panelWidth);
    if (restored.SettingsDiscarded)
        st.PosX = st.PosY = st.DimX = st.DimY = -1;
    maximised_ = false;
    ApplyLayout(restored.Layout);
}

} // namespace mapview
