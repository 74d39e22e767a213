// Green items: items that one named boss drops, from every campaign's
// "Greens.txt". The elite locations loader links each item to the boss
// location that drops it (EliteNumber, LocationIndex).
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"

#include <QHash>
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

// Green numbers by lower-cased boss name, ascending, so that linking a boss
// costs one look-up instead of a scan of every item.
class BossIndex {
public:
    explicit BossIndex(const Tables& greens);
    // Items whose lower-cased boss equals `lowerBoss` exactly, ascending.
    const std::vector<int32_t>* find(const QString& lowerBoss) const;

private:
    QHash<QString, std::vector<int32_t>> m_byBoss;
};

// Start-up guarantee: every green record has its property list with entry 0.
// Holds by construction; kept as the explicit step of the start-up order.
void EnsureEmptyLists(Tables& greens);

} // namespace modGreens
