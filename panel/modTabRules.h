// Rules the collectors, greens, notes, treasures and pets tabs share: the
// area test of a place against the panel's region filter, the profession
// words of the property searches, the caption of a list's count label, and
// where the map must go when an entry is chosen.
#pragma once

#include "world/PanelState.h"
#include "world/World.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

namespace modTabRules {

// The panel's region filter: campaign c (negative = every campaign), region r
// (0 = any), zone Id z (0 = any).
struct AreaFilter {
    int c = -1;
    int r = 0;
    int z = 0;
};
AreaFilter ReadAreaFilter(const CampaignTable& campaigns, const PanelState& panel);

// A place at (campaign, region, zone) passes when c is negative, or it lies
// in campaign c and (r = 0, or in region r and (z = 0, or in zone z)).
bool InArea(const AreaFilter& f, int campaign, int region, int zone);

// The words a property line must contain one of: empty without a profession;
// with a profession and no attribute chosen, text 45 and the profession's
// attribute names; else the chosen attribute. All lower-cased.
QStringList ProfessionWords(const World& world, const PanelState& panel);

// A non-blank property line (entries 1..m) that, lower-cased, contains one
// of `words` (all lower case).
bool AnyStatHasWord(const std::vector<QString>& stats, const QStringList& words);
// A non-blank property line (entries 1..m) that contains `text`, letter case
// ignored (an empty text is contained in every line).
bool AnyStatContains(const std::vector<QString>& stats, const QString& text);

// text n + ": " + count, the caption of a list's count label.
QString CountCaption(const World& world, int textNumber, int count);

// Where the map goes for a chosen entry: the region picture to load (campaign,
// region, picture path) and the map point to centre.
struct MapTarget {
    int Campaign = 0;
    int Region = 0;
    QString ImagePath;
    QPoint Centre;
    friend bool operator==(const MapTarget&, const MapTarget&) = default;
};

// The target for map point (x, y) of region r of campaign c; none when the
// campaign has no region list (or no such region), in which case the map is
// left as it is.
std::optional<MapTarget> TargetOf(const World& world, int c, int r, int x, int y);

// Entries sorted by text with letter case ignored, equal texts in their
// previous order (a sorted list box).
void SortCaseBlind(std::vector<PanelEntry>& entries);

// The entries still to do first, then the done ones, each part in its
// previous order: how a list shows the done things it dims.
void DoneLast(std::vector<PanelEntry>& entries);

} // namespace modTabRules
