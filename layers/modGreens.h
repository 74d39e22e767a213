// Green items: items that one named boss drops, from every campaign's
// "Greens.txt". The elite locations loader links each item to the boss
// location that drops it (EliteNumber, LocationIndex).
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace modGreens {

struct GreenItem {
    QString Name;
    QString Boss;
    int32_t EliteNumber = -1;      // -1 until linked
    int32_t LocationIndex = -1;    // -1 until linked
    std::vector<QString> Stats{1}; // entry 0 empty, 1..m property lines
};

struct Tables {
    std::vector<GreenItem> Greens{1}; // numbered 1..n in loading order, 0 unused
    int count() const { return static_cast<int>(Greens.size()) - 1; }
};

void LoadGreens(const LoadContext& ctx, const CampaignTable& campaigns, Tables& greens);

// Green numbers by boss name without regard to letter case (names equal
// once lower-cased as QString::toLower does it), so that linking a boss costs
// one look-up instead of a scan of every item. Reads the boss names of
// `greens`, which must outlive the index and keep their names.
class BossIndex {
public:
    explicit BossIndex(const Tables& greens);
    // Replaces `items` by the numbers of the items whose boss is `boss` but
    // for letter case, ascending.
    void find(QStringView boss, std::vector<int32_t>& items) const;

private:
    struct Entry {
        std::size_t hash; // of the lower-cased boss name
        int32_t green;
        bool ascii; // the boss name is plain ASCII
    };
    const Tables& m_greens;
    std::vector<Entry> m_entries; // by hash, then green number
};

// Start-up guarantee: every green record has its property list with entry 0.
// Holds by construction; kept as the explicit step of the start-up order.
void EnsureEmptyLists(Tables& greens);

} // namespace modGreens
