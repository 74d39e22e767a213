#include "panel/modTreasuresPetsTab.h"

#include "core/TextNumbers.h"
#include "mapview/modZones.h"

#include <algorithm>

namespace modTreasuresPetsTab {

using modTabRules::AreaFilter;

bool OpenedBy(const modTreasures::Treasure& chest, int character)
{
    // A chest line written before the character existed has no date for it.
    return character > 0 && static_cast<std::size_t>(character) < chest.OpenedOn.size() &&
           chest.OpenedOn[static_cast<std::size_t>(character)].has_value();
}

namespace {

// The chests of the chosen area in file order, those `character` opened
// left out (`hideDone`) or marked done.
std::vector<PanelEntry> Chests(const World& world, const PanelState& panel, int character, bool hideDone)
{
    const AreaFilter area = modTabRules::ReadAreaFilter(world.campaigns, panel);
    std::vector<PanelEntry> entries;
    for (int t = 1; t <= world.treasures.count(); ++t) {
        const modTreasures::Treasure& chest = world.treasures.Treasures[static_cast<std::size_t>(t)];
        // A line that could not be read keeps its number but is no chest.
        if (!chest.Present || !modTabRules::InArea(area, chest.Campaign, chest.Region, chest.Zone))
            continue;
        const bool done = OpenedBy(chest, character);
        if (done && hideDone)
            continue;
        const QString zone = modZones::ZoneName(world.campaigns, 3, chest.Region, chest.Zone);
        entries.push_back({chest.Name + QStringLiteral(" (") + zone + QLatin1Char(')'), t, done});
    }
    return entries; // file order
}

} // namespace

std::vector<PanelEntry> FilterTreasureEntries(const World& world, const PanelState& panel)
{
    const int character = panel.ChestCharacter();
    if (!panel.ChestDoneDim)
        return Chests(world, panel, character, true);
    std::vector<PanelEntry> entries = Chests(world, panel, character, false);
    modTabRules::DoneLast(entries);
    return entries;
}

std::vector<PanelEntry> TreasureEntriesDoneBy(const World& world, const PanelState& panel, int character)
{
    return Chests(world, panel, character, false);
}

QString TreasuresCaption(const World& world, int count)
{
    return modTabRules::CountCaption(world, Text::Treasures, count);
}

std::optional<modTabRules::MapTarget> SelectTreasure(const World& world, const PanelState& panel)
{
    const int t = panel.lstVarshaTreasures.selectedData(-1);
    if (t < 1 || t > world.treasures.count())
        return std::nullopt;
    const modTreasures::Treasure& chest = world.treasures.Treasures[static_cast<std::size_t>(t)];
    return modTabRules::TargetOf(world, 3, chest.Region, chest.X, chest.Y);
}

namespace {

const modPets::Pet* PetOf(const World& world, int pet)
{
    if (pet < 1 || pet > world.pets.highest())
        return nullptr;
    return &world.pets.Pets[static_cast<std::size_t>(pet)];
}

bool PlaceInArea(const AreaFilter& area, const modPets::PetPlace& place)
{
    return modTabRules::InArea(area, place.Campaign, place.Region, place.Zone);
}

} // namespace

std::vector<PanelEntry> FilterPetEntries(const World& world, const PanelState& panel)
{
    const AreaFilter area = modTabRules::ReadAreaFilter(world.campaigns, panel);
    std::vector<PanelEntry> entries;
    for (int p = 1; p <= world.pets.highest(); ++p) {
        const modPets::Pet& pet = world.pets.Pets[static_cast<std::size_t>(p)];
        if (std::any_of(pet.Places.begin() + 1, pet.Places.end(),
                        [&](const modPets::PetPlace& place) { return PlaceInArea(area, place); }))
            entries.push_back({pet.Name, p});
    }
    return entries; // identifier order
}

QString PetsCaption(const World& world, int count)
{
    return modTabRules::CountCaption(world, Text::Pets, count);
}

std::vector<PanelEntry> PetPlaceEntries(const World& world, const PanelState& panel, int pet)
{
    std::vector<PanelEntry> entries;
    const modPets::Pet* p = PetOf(world, pet);
    if (!p)
        return entries;
    const AreaFilter area = modTabRules::ReadAreaFilter(world.campaigns, panel);
    for (std::size_t j = 1; j < p->Places.size(); ++j) {
        const modPets::PetPlace& place = p->Places[j];
        if (!PlaceInArea(area, place))
            continue;
        QString regionName, campaignName;
        if (place.Campaign < world.campaigns.size()) {
            const CampaignEntry& campaign = world.campaigns[place.Campaign];
            campaignName = campaign.Name;
            if (place.Region < campaign.Regions.size())
                regionName = campaign.Regions[place.Region].Name;
        }
        entries.push_back({modZones::ZoneName(world.campaigns, place.Campaign, place.Region, place.Zone) +
                               QStringLiteral(" - ") + regionName + QStringLiteral(" - ") + campaignName,
                           static_cast<int>(j)});
    }
    return entries;
}

std::optional<modTabRules::MapTarget> SelectPetPlace(const World& world, const PanelState& panel)
{
    const modPets::Pet* pet = PetOf(world, panel.lstPets.selectedData(-1));
    const int j = panel.lstPetLocations.selectedData(-1);
    if (!pet || j < 1 || static_cast<std::size_t>(j) >= pet->Places.size())
        return std::nullopt;
    const modPets::PetPlace& place = pet->Places[static_cast<std::size_t>(j)];
    return modTabRules::TargetOf(world, place.Campaign, place.Region, place.X, place.Y);
}

bool SelectPet(const World& world, PanelState& panel, int index)
{
    panel.lstPets.selected = index >= 0 && index < panel.lstPets.size() ? index : -1;
    panel.lstPetLocations.clear();
    const modPets::Pet* pet = PetOf(world, panel.lstPets.selectedData(-1));
    if (!pet)
        return false;
    panel.lstPetLocations.entries = PetPlaceEntries(world, panel, panel.lstPets.selectedData(-1));
    if (!panel.lstPetLocations.empty()) {
        // Choosing a place is choosing it in the list: the tab keeps one
        // selection.
        ChoosePetPlace(panel, 0);
    }
    return pet->Places.size() > 1;
}

void ChooseTreasure(PanelState& panel, int index)
{
    panel.lstVarshaTreasures.selected = index >= 0 && index < panel.lstVarshaTreasures.size() ? index : -1;
    if (!panel.lstVarshaTreasures.hasSelection())
        return;
    panel.lstPetLocations.selected = -1;
    panel.lstPets.selected = -1;
}

void ChoosePetPlace(PanelState& panel, int index)
{
    panel.lstPetLocations.selected = index >= 0 && index < panel.lstPetLocations.size() ? index : -1;
    if (panel.lstPetLocations.hasSelection())
        panel.lstVarshaTreasures.selected = -1;
}

} // namespace modTreasuresPetsTab
