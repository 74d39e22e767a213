// Finding any named thing of the world: elite skills, their bosses,
// collectors and their rewards, green items, chests, pets, zones, regions,
// campaigns and note titles. The index is built once from the world and
// kept current by the caller (Rebuild after a reload, UpdateNotes after a
// note is added, edited or deleted); a query is a case- and accent-blind
// substring search over it.
#pragma once

#include "world/PanelState.h"
#include "world/World.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace modSearch {

// What a result names, in the order results of one rank are listed.
enum class Kind : uint8_t {
    Skill,
    Boss,
    Collector,
    Reward,
    Green,
    Chest,
    Pet,
    Zone,
    Region,
    Campaign,
    Note,
};

// One thing found, with what a window needs to choose it.
struct Result {
    Kind kind = Kind::Skill;
    QString name;
    QString location;  // "zone - region - campaign", missing parts left out; may be empty
    int campaign = -1; // -1: the thing has no campaign (nothing to show on a map)
    int region = 0;
    // Skill, Boss: elite number (0 for a boss without a skill); Collector, Reward: collector identifier;
    // Green: green number; Chest: treasure number; Pet: pet identifier;
    // Zone: zone identifier; Region: region number; Campaign: campaign
    // number; Note: note number.
    int item = 0;
    // Skill, Boss: location index (0 for a skill with no boss); Reward:
    // reward index; Pet: place index (0 for a pet with no place); Zone: index
    // in the region's zone list; otherwise 0.
    int place = 0;
    int x = -1; // map point to centre on; -1 when it has none (e.g. a collector not yet placed)
    int y = -1;
};

// The panel tab that shows a kind (zones, regions and campaigns: the elite
// tab, whose combos choose them).
int TabOf(Kind kind);
// The language text naming a kind in the result list.
int KindTextNumber(Kind kind);

// The form names are compared in: lower case, accents dropped, and the
// Windows-1252 letters that have no accent form spelled out (æ -> ae,
// ß -> ss, ø -> o, þ -> th, ...).
QString Fold(QStringView text);

class SearchIndex {
public:
    SearchIndex() = default;
    explicit SearchIndex(const World& world) { Rebuild(world); }

    // Everything from `world` again.
    void Rebuild(const World& world);
    // The note titles again (after a note was added, edited or deleted).
    void UpdateNotes(const World& world);

    // Results whose name holds `query` (folded, trimmed): first those where
    // it starts a word (the name's start included), then the rest; within
    // each, by kind, then name. At most `limit` results; none for a blank
    // query.
    std::vector<Result> Find(QStringView query, int limit = 200) const;

    int size() const { return static_cast<int>(m_entries.size()); }

private:
    struct Entry {
        Result result;
        QString folded;
    };
    void Sort();
    void Pack();
    std::vector<Entry> m_entries; // by kind, then folded name, then name
    // Every folded name in entry order, each ended by a NUL, and where each
    // starts: one search over this text finds every entry holding the query.
    QString m_text;
    std::vector<qsizetype> m_starts;
};

} // namespace modSearch
