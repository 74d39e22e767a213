#include "panel/PanelOptions.h"

#include <algorithm>

namespace PanelOptions {

int ApplicableIndex(int saved, int count)
{
    return saved >= 0 && saved < count ? saved : -1;
}

void ApplyToState(const modOptions::Settings& s, PanelState& panel)
{
    panel.optCapture = s.AllElite ? 0 : 1;
    panel.LegendState = s.Legend ? 1 : 0;
    panel.chkShowObject[TabElite] = s.ShowElites != 0;
    panel.chkShowObject[TabCollectors] = s.ShowCollectors != 0;
    panel.chkShowObject[TabGreens] = s.ShowGreens != 0;
    panel.chkShowObject[TabNotes] = s.ShowNotes != 0;
    panel.HoverMode = static_cast<uint8_t>(s.RightClickNeeded);
    switch (s.CollectorLevel) {
    case 2:
        panel.optCollLevel = 0;
        break;
    case 1:
        panel.optCollLevel = 1;
        break;
    case 0:
        panel.optCollLevel = 2;
        break;
    default:
        break; // no option button for other values: keep the panel's
    }
    panel.AlwaysOnTop = s.AlwaysOnTop;
    panel.EliteDoneDim = s.EliteDone != 0;
    panel.ChestDoneDim = s.ChestDone != 0;
    panel.LargeMarkers = s.LargeMarkers != 0;
    panel.RouteEveryLayer = s.RouteEveryLayer != 0;
}

modOptions::Settings CollectSettings(const PanelState& panel, const modOptions::Settings& placement)
{
    modOptions::Settings s = placement;
    s.Campaign = panel.cmbCampaign.hasSelection() ? panel.cmbCampaign.selected : -1;
    s.Region = panel.cmbRegion.hasSelection() ? panel.cmbRegion.selected : -1;
    s.Zone = panel.cmbZone.hasSelection() ? panel.cmbZone.selected : -1;
    s.Profession = panel.cmbProfession.hasSelection() ? panel.cmbProfession.selected : -1;
    s.SecondaryProfession = panel.cmbSecondaryProfession.hasSelection() ? panel.cmbSecondaryProfession.selected : -1;
    s.AllElite = panel.optCapture == 0;
    s.Character = panel.cmbCharacter.hasSelection() ? panel.cmbCharacter.selected : -1;
    s.ShowElites = panel.chkShowObject[TabElite] ? 1 : 0;
    s.ShowCollectors = panel.chkShowObject[TabCollectors] ? 1 : 0;
    s.ShowGreens = panel.chkShowObject[TabGreens] ? 1 : 0;
    s.ShowNotes = panel.chkShowObject[TabNotes] ? 1 : 0;
    s.RightClickNeeded = panel.HoverMode == 0 ? 0 : panel.HoverMode == 1 ? 1 : 2;
    s.AlwaysOnTop = panel.AlwaysOnTop;
    s.CollectorLevel = panel.optCollLevel == 0 ? 2 : panel.optCollLevel == 1 ? 1 : 0;
    s.TreasuresNotOpenedBy = std::max(0, panel.cmbTreasureCharacter.selectedData(0));
    s.EliteDone = panel.EliteDoneDim ? 1 : 0;
    s.ChestDone = panel.ChestDoneDim ? 1 : 0;
    s.LargeMarkers = panel.LargeMarkers ? 1 : 0;
    s.RouteEveryLayer = panel.RouteEveryLayer ? 1 : 0;
    return s;
}

} // namespace PanelOptions
