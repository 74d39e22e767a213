// Collectors: who takes which trophies for which rewards, from every
// campaign's "Collectors.txt" (blocks of lines) and their map positions from
// "CollectorsLocations.txt"; plus the table of requested trophy kinds.
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace modCollectors {

struct CollectorReward {
    QString Name;
    int16_t HandMask = 0;          // bit set: 1, 2, 4, 8 = the hand choices
    std::vector<QString> Stats{1}; // entry 0 empty, 1..m property lines
};

struct Collector {
    QString Name; // "" = no collector with this identifier
    bool IsArmor = false;
    uint8_t IsLowLevel = 0; // 1 low level, 0 high level
    QString Location;       // free description of where it stands
    QString Request;        // e.g. "5 Wolf Pelts"
    uint8_t Campaign = 0;
    uint8_t Region = 0;
    int32_t Zone = 0;
    int32_t X = -1; // -1 until a locations line sets it
    int32_t Y = -1;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    std::vector<CollectorReward> Rewards{1}; // entry 0 empty, 1..n
};

struct RequestType {
    QString Name;           // trophy name, spelled as first seen
    uint8_t IsLowLevel = 0; // level of the first collector asking for it
};

// Identifiers above this are refused (the table grows to the highest one).
constexpr int kMaxCollectorId = 99999;

struct Tables {
    std::vector<Collector> Collectors{1};     // index = identifier, 0 unused
    std::vector<RequestType> RequestTypes{1}; // entry 0 empty, 1..k in order of first appearance
    int highest() const { return static_cast<int>(Collectors.size()) - 1; }
};

void LoadCollectors(const LoadContext& ctx, const CampaignTable& campaigns, Tables& collectors);
void LoadCollectorLocations(const LoadContext& ctx, const CampaignTable& campaigns, Tables& collectors);

// The trophy name of a request: the text after its first blank, or the whole
// text when it has none.
QStringView TrophyName(QStringView request);

// Start-up guarantee: every collector record, named or not, has a reward list
// with its entry 0, so any record may be asked for its list bounds. Holds by
// construction; kept as the explicit step of the start-up order.
void EnsureEmptyLists(Tables& collectors);

} // namespace modCollectors
