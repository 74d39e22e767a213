#include "world/PanelState.h"

int PanelState::ChosenZone(const CampaignTable& campaigns) const
{
    const int r = ChosenRegion();
    if (r == 0)
        return 0;
    const int c = ChosenCampaign();
    const int index = cmbZone.selectedData(0);
    if (index < 1 || c < 0 || c >= static_cast<int>(campaigns.size()))
        return 0;
    const auto& regions = campaigns[static_cast<std::size_t>(c)].Regions;
    if (r >= static_cast<int>(regions.size()))
        return 0;
    const auto& zones = regions[static_cast<std::size_t>(r)].Zones;
    if (index >= static_cast<int>(zones.size()))
        return 0;
    return zones[static_cast<std::size_t>(index)].Id;
}
