// The panel's menu bar: the popup menus opened under their titles, what each
// row does, and the windows kept on top.
#include "core/modMain.h"
#include "mapview/frmMap.h"
#include "panel/MarkingMenu.h"
#include "panel/frmMenu.h"
#include "windows/frmPopupMenu.h"

#include <QCheckBox>
#include <QLabel>

// ---- Menu bar ------------------------------------------------------------------

void frmMenu::OpenMenu(int menu)
{
    // The popup menu window is loaded once and kept.
    auto* popup = findChild<frmPopupMenu*>();
    if (!popup) {
        popup = new frmPopupMenu(m_world.language, this);
        popup->onEntryClick = [this](int m, int entry) { OnMenuEntryClick(m, entry); };
        // A press on another menu's title while one is open opens that one.
        popup->onPressOutside = [this, popup](QPoint global) {
            for (int i = 0; i < 3; ++i) {
                QLabel* title = lblMenu[static_cast<std::size_t>(i)];
                if (i != popup->OpenedMenu() && title->rect().contains(title->mapFromGlobal(global)))
                    QMetaObject::invokeMethod(
                        this, [this, i] { OpenMenu(i); }, Qt::QueuedConnection);
            }
        };
    }
    if (popup->ClosedJustNow(menu))
        return; // the click on the open menu's title closed it
    // The boxes show the current settings.
    using enum MenuCommand;
    auto setValue = [popup](MenuCommand command, bool value) {
        if (const auto row = MenuCommands::RowOf(command))
            popup->SetValue(row->menu, row->entry, value);
    };
    const MenuCommand showBoxes[TabCount] = {ShowElites, ShowCollectors, ShowGreens, ShowNotes, ShowTreasuresPets};
    for (int k = 0; k < TabCount; ++k)
        setValue(showBoxes[k], chkShowObject[static_cast<std::size_t>(k)]->isChecked());
    setValue(ToggleLegend, m_panel.LegendState == 1);
    setValue(ToggleAlwaysOnTop, m_panel.AlwaysOnTop == 1);
    setValue(TooltipSticky, m_panel.HoverMode == HoverSticky);
    setValue(TooltipWhileRightHeld, m_panel.HoverMode == HoverWhileRightHeld);
    setValue(TooltipFollowPointer, m_panel.HoverMode == HoverFollowPointer);
    setValue(LargeMarkers, m_panel.LargeMarkers);
    setValue(ShowRoute, m_map && m_map->RouteShown());
    setValue(RouteEveryLayer, m_panel.RouteEveryLayer);
    setValue(OverviewInset, m_map && m_map->OverviewShown());
    popup->OpenMenu(menu, lblMenu[static_cast<std::size_t>(menu)]);
}

void frmMenu::OnMenuEntryClick(int menu, int entry)
{
    if (auto* popup = findChild<frmPopupMenu*>())
        popup->hide();
    RunMenuCommand(MenuCommands::At(menu, entry));
}

void frmMenu::RunMenuCommand(MenuCommand command)
{
    auto run = [](const std::function<void()>& f) {
        if (f)
            f();
    };
    auto open = [this](const char16_t* address) {
        if (m_commands.openDocument)
            m_commands.openDocument(QString::fromUtf16(address));
    };
    auto toggleShowBox = [this](int tab) { chkShowObject[static_cast<std::size_t>(tab)]->toggle(); };
    switch (command) {
    case MenuCommand::ShowElites:
        toggleShowBox(TabElite);
        break;
    case MenuCommand::ShowCollectors:
        toggleShowBox(TabCollectors);
        break;
    case MenuCommand::ShowGreens:
        toggleShowBox(TabGreens);
        break;
    case MenuCommand::ShowNotes:
        toggleShowBox(TabNotes);
        break;
    case MenuCommand::ShowTreasuresPets:
        toggleShowBox(TabTreasuresPets);
        break;
    case MenuCommand::ShowRoute:
        if (m_map)
            m_map->SetRouteShown(!m_map->RouteShown());
        break;
    case MenuCommand::RouteEveryLayer:
        m_panel.RouteEveryLayer = !m_panel.RouteEveryLayer;
        if (m_map && m_map->RouteShown())
            m_map->SetRouteShown(true); // planned anew through the stops it now visits
        break;
    case MenuCommand::CopyRoute:
        if (m_map)
            m_map->CopyRoute();
        break;
    case MenuCommand::NextRouteRegion:
        if (m_map)
            m_map->GoToNextRegion();
        break;
    case MenuCommand::ToggleLegend:
        m_panel.LegendState = m_panel.LegendState == 1 ? 0 : 1;
        run(m_commands.toggleLegend);
        break;
    case MenuCommand::ToggleAlwaysOnTop:
        m_panel.AlwaysOnTop = m_panel.AlwaysOnTop == 1 ? 0 : 1;
        ApplyTopMost();
        break;
    case MenuCommand::TooltipSticky:
        m_panel.HoverMode = HoverSticky;
        break;
    case MenuCommand::TooltipWhileRightHeld:
        m_panel.HoverMode = HoverWhileRightHeld;
        break;
    case MenuCommand::TooltipFollowPointer:
        m_panel.HoverMode = HoverFollowPointer;
        break;
    case MenuCommand::ManageCharacters:
        run(m_commands.manageCharacters);
        emit m_context.charactersChanged(); // the character choices filled anew
        RecountProgress();
        break;
    case MenuCommand::ShowProgress:
        ShowProgress();
        break;
    case MenuCommand::UndoMarking:
        m_marking->Undo();
        break;
    case MenuCommand::RedoMarking:
        m_marking->Redo();
        break;
    case MenuCommand::LargeMarkers:
        m_panel.LargeMarkers = !m_panel.LargeMarkers;
        RedrawMap();
        break;
    case MenuCommand::FitMap:
        if (m_map)
            m_map->ZoomTo(mapview::Zoom::FitWindow());
        break;
    case MenuCommand::OverviewInset:
        if (m_map)
            m_map->SetOverviewShown(!m_map->OverviewShown());
        break;
    case MenuCommand::StartUpdater:
        run(m_commands.startUpdater);
        break;
    case MenuCommand::OpenWebSite:
        open(modMain::kWebSite);
        break;
    case MenuCommand::ShowCredits:
        run(m_commands.showCredits);
        break;
    case MenuCommand::ShowHistory:
        run(m_commands.showHistory);
        break;
    case MenuCommand::OpenGuide:
        open(modMain::kGuidePage);
        break;
    case MenuCommand::ShowInformation:
        run(m_commands.showInformation);
        break;
    case MenuCommand::UndoLastUpdate:
        run(m_commands.undoLastUpdate);
        break;
    case MenuCommand::Feedback: // does nothing
    case MenuCommand::None:
        break;
    }
}

void frmMenu::ApplyTopMost()
{
    // The legend, a window of the map's, follows the panel and the map.
    QWidget* legend =
        m_map ? m_map->findChild<QWidget*>(QStringLiteral("frmLegenda"), Qt::FindDirectChildrenOnly) : nullptr;
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_map), legend}) {
        if (!w || w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == (m_panel.AlwaysOnTop == 1))
            continue;
        const bool visible = w->isVisible();
        w->setWindowFlag(Qt::WindowStaysOnTopHint, m_panel.AlwaysOnTop == 1);
        if (visible)
            w->show(); // changing the flag hides a shown window
    }
}
