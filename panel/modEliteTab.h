// The elite tab's rules, decided without a window: which skills the filters
// keep (the entries of lstElite), which places of a skill are listed
// (lstLocations). The region filter is the panel's area filter
// (modTabRules::AreaFilter).
#pragma once

#include "core/modCampaigns.h"
#include "elite/modElite.h"
#include "elite/modProfessions.h"
#include "panel/modTabRules.h"
#include "world/PanelState.h"

#include <QString>

#include <vector>

namespace modEliteTab {

// A place of skill S passes the region filter: always with no campaign chosen,
// always when both S's campaign and the chosen one are 0, otherwise when it
// lies in the chosen campaign and (when chosen) region and zone.
bool LocationMatches(const modElite::EliteSkill& skill, const modElite::EliteLocation& location,
                     const modTabRules::AreaFilter& filter);

// A place passes the boss filter when the text is empty or occurs, letter case
// ignored, within its boss name.
bool BossMatches(const modElite::EliteLocation& location, const QString& bossText);

// A skill without a place (entry 0 of Locations is unused) is never listed.
bool HasPlaces(const modElite::EliteSkill& skill);
// A skill passes the region filter with no campaign chosen, else when one of
// its places passes both the region and the boss filters.
bool InRegionFilter(const modElite::EliteSkill& skill, const modTabRules::AreaFilter& filter, const QString& bossText);
// A skill passes the profession filter with no profession chosen (p1 = 0),
// else when it is of profession p1 or (when chosen) p2.
bool ProfessionMatches(const modElite::EliteSkill& skill, int p1, int p2);
// Character `character` (a number above 0) has captured the skill; a
// character without a capture file has captured nothing.
bool CapturedBy(const modElite::EliteSkill& skill, int character);

// The text of a skill in lstElite: name + " [" + profession abbreviation + "]".
QString EliteEntryText(const modElite::EliteSkill& skill, const modProfessions::Tables& professions);

// The skills that pass every filter of the tab, as lstElite shows them: text
// and elite number, sorted by text with letter case ignored (ties keep
// ascending elite numbers). With "Not yet captured by" a character and its
// done skills dimmed (EliteDoneDim), the skills it captured are kept, marked
// done and listed after the others, each part in that order.
std::vector<PanelEntry> FilterEliteEntries(const modElite::Tables& elite, const modProfessions::Tables& professions,
                                           const CampaignTable& campaigns, const PanelState& panel);
// The skills every other filter of the tab keeps, the capture filter set
// aside, in the sorted order, those `character` captured marked done (none
// with character 0): what the tab's "done here" line counts.
std::vector<PanelEntry> EliteEntriesDoneBy(const modElite::Tables& elite, const modProfessions::Tables& professions,
                                           const CampaignTable& campaigns, const PanelState& panel, int character);

// The places of skill `eliteNumber` that pass the region and boss filters, as
// lstLocations lists them: zone name + " - " + region name + " - " + campaign
// name, item data = location index. Empty for a number outside the catalogue.
std::vector<PanelEntry> EliteLocationEntries(const modElite::Tables& elite, const CampaignTable& campaigns,
                                             const PanelState& panel, int eliteNumber);

} // namespace modEliteTab
