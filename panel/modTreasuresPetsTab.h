// The treasures and pets tab's rules, decided without a window: the chests
// and pets of the chosen area (lstVarshaTreasures, lstPets), the chosen
// pet's places (lstPetLocations), the rule that at most one of the chest and
// pet-place lists holds a selection, and where the map goes for a choice.
#pragma once

#include "panel/modTabRules.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <optional>
#include <vector>

namespace modTreasuresPetsTab {

// Character `character` (a number above 0) has a date for the chest.
bool OpenedBy(const modTreasures::Treasure& chest, int character);

// Chests of the chosen area in file order: Name + " (" + zone name + ")",
// item data = treasure number; with a character chosen in
// cmbTreasureCharacter, only those it has not opened, or, with its done
// chests dimmed (ChestDoneDim), those it opened marked done after the others.
std::vector<PanelEntry> FilterTreasureEntries(const World& world, const PanelState& panel);
// Every chest of the chosen area in file order, those `character` opened
// marked done: what the tab's "done here" line counts.
std::vector<PanelEntry> TreasureEntriesDoneBy(const World& world, const PanelState& panel, int character);
// lblTreasures: text 83 + ": " + count.
QString TreasuresCaption(const World& world, int count);
// Where the map goes for the selected lstVarshaTreasures entry.
std::optional<modTabRules::MapTarget> SelectTreasure(const World& world, const PanelState& panel);

// Pets with a place in the chosen area (with no campaign chosen: any place),
// in identifier order: Name, item data = identifier.
std::vector<PanelEntry> FilterPetEntries(const World& world, const PanelState& panel);
// lblPets: text 114 + ": " + count.
QString PetsCaption(const World& world, int count);

// The places of pet `pet` in the chosen area, in file order: zone name +
// " - " + region name + " - " + campaign name, item data = place number.
std::vector<PanelEntry> PetPlaceEntries(const World& world, const PanelState& panel, int pet);
// Where the map goes for the selected lstPetLocations entry of the selected
// lstPets entry.
std::optional<modTabRules::MapTarget> SelectPetPlace(const World& world, const PanelState& panel);

// Choosing the pet at list position `index`: selects it, fills
// lstPetLocations with its places and selects the first one (or none). The
// caller then runs SelectPetPlace when a place is selected. Returns whether
// lstPetLocations and its caption are enabled (the pet has a place at all).
bool SelectPet(const World& world, PanelState& panel, int index);

// A click on lstVarshaTreasures at `index`: selects that chest and clears the
// selection of lstPetLocations and lstPets.
void ChooseTreasure(PanelState& panel, int index);
// A click on lstPetLocations at `index`: selects that place and clears the
// selection of lstVarshaTreasures.
void ChoosePetPlace(PanelState& panel, int index);

} // namespace modTreasuresPetsTab
