// The collectors tab's rules, decided without a window: the request and hand
// combos, which collectors the filters keep (lstCollectors), the reward match
// shared with the collector tooltip, the type option's effect on the hand
// filter, and where the map goes for a chosen collector.
#pragma once

#include "panel/modTabRules.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace modCollectorsTab {

// Level value of the level options: 0 all levels -> 2, 1 low level -> 1,
// 2 high level -> 0 (the value IsLowLevel must equal, 2 = any).
int LevelValue(int optCollLevel);

// cmbCollReq: "<<< " + text 9 + " >>>" (item data 0), then every request type
// of the chosen level (all when the level value is 2), in table order, item
// data = request-type number; sorted with letter case ignored, the first
// entry kept first. The first entry is selected.
PanelList FillCollectorRequests(const World& world, int optCollLevel);

// cmbCollHand: the any-hand entry (item data 255) then texts 54..57 with
// item data 1, 2, 4, 8. The first entry is selected.
PanelList FillCollectorHands(const World& world);

// What a reward must match: the lower-cased search text, the hand mask and
// the profession words.
struct RewardQuery {
    QString Search; // lower case, not trimmed
    int HandMask = 255;
    QStringList Words; // lower case; empty = no profession chosen
};
RewardQuery ReadRewardQuery(const World& world, const PanelState& panel);

// The reward passes the hand test (mask AND HandMask >= 1; a mask of 0 never
// does), the profession words when any, and, when the search is not empty,
// its name or a non-blank property line contains the search text.
bool RewardMatches(const modCollectors::CollectorReward& reward, const RewardQuery& query);

// The collectors that pass every filter, as lstCollectors shows them: name
// and identifier, sorted by name with letter case ignored.
std::vector<PanelEntry> FilterCollectorEntries(const World& world, const PanelState& panel);

// lblCollectors: text 44 + ": " + count.
QString CollectorsCaption(const World& world, int count);

// Choosing type option `option` (0 all, 1 weapons, 2 armour). Armour resets
// the hand filter to its first entry and disables the hand combo; the caller
// mirrors that reset into its combo with the ready flag cleared (so that the
// combo's own change does not filter) and then runs the collector filter
// exactly once. Returns whether the hand combo and its caption are enabled.
bool ChooseCollectorType(PanelState& panel, int option);

// Where the map goes for the selected lstCollectors entry; none when nothing
// is selected, the identifier names no located collector, or its campaign has
// no region list.
std::optional<modTabRules::MapTarget> SelectCollector(const World& world, const PanelState& panel);

} // namespace modCollectorsTab
