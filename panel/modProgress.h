// Every character's progress at a glance, decided without a window: per
// campaign and per profession how many elite skills each character has
// captured of how many there are, a total row, and per campaign how many
// chests each has opened. Built from the world; a character's column is
// recounted after one of its captures or chests changes.
//
// A row counts exactly what the panel lists for it: a campaign row the skills
// the elite tab lists with that campaign chosen (every region, profession and
// skill), a profession row those it lists with that profession chosen, the
// total row those it lists unfiltered, a chest row the chests the chests tab
// lists for that campaign. A cell's "captured" is the row's total less what
// the tab lists with "Not yet captured by" (or "Not yet opened by") that
// character, so a click on a cell can show exactly what is missing.
#pragma once

#include "world/PanelState.h"
#include "world/World.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace modProgress {

enum class RowKind : uint8_t {
    Campaign,   // elite skills with a place in one campaign
    Profession, // elite skills of one profession
    Total,      // every elite skill
    Chests,     // chests of one campaign
};

struct Row {
    RowKind kind = RowKind::Total;
    int number = -1;       // campaign or profession number (item data of its combo entry); -1 for the total row
    QString name;          // the campaign's or profession's combo entry; "" for the total row
    int total = 0;         // skills (chest rows: chests) the row counts
    std::vector<int> done; // by column: captured skills (chest rows: opened chests)
};

struct Overview {
    std::vector<int> characters; // by column: character number, in number order
    std::vector<QString> names;  // by column: character name
    // Campaign rows in campaign order, profession rows in profession order,
    // the total row, then the chest rows in campaign order. Only rows that
    // count something.
    std::vector<Row> rows;

    // The column of `character`; -1 when it has none.
    int column(int character) const;
};

// The one count behind every cell and every "done here" line: of the skills
// (or chests) `items`, by elite (treasure) number, how many there are and how
// many `character` has captured (opened).
enum class Things : uint8_t { Skills, Chests };
struct DoneCount {
    int done = 0;
    int total = 0;
    friend bool operator==(const DoneCount&, const DoneCount&) = default;
};
DoneCount CountDone(const World& world, Things things, const std::vector<int>& items, int character);

Overview BuildOverview(const World& world);

// Recounts the column of `character` (after a capture or an opened chest of
// it changed). False when the character has no column: the character list
// changed, and the overview is built anew.
bool UpdateCharacter(const World& world, Overview& overview, int character);

// How many characters still need elite skill `elite`: those (of all named
// characters) that have not captured it. Both 0 for a number outside the
// catalogue.
struct StillNeeded {
    int missing = 0;
    int characters = 0;
};
StillNeeded StillNeededBy(const World& world, int elite);

// Where the map stays after a click on a cell: a campaign (item data of its
// combo entry) and one of its regions; region 0 when no region in reach has
// anything the character lacks.
struct Area {
    int campaign = -1;
    int region = 0;
};
// The region a click on `row`'s cell of `character` shows, so the map keeps a
// picture: `current` when it holds something the row counts that the
// character lacks, else the first such region (region order) of the row's
// campaign; rows of every campaign look in the current campaign first, then
// in campaign order.
Area RegionToShow(const World& world, const Row& row, int character, Area current);

// The "done here" line under the elite list (under the chest list): for the
// character chosen in that tab's "Not yet captured by" ("Not yet opened by"),
// of the skills (chests) the tab lists for the area and filters shown, that
// choice set aside, how many it has done: "Done in " + the region's name (no
// region chosen: the campaign's; no campaign: "every campaign") + ": 5 of 8".
// No character chosen: character 0 and an empty text.
struct DoneHere {
    int character = 0;
    DoneCount count;
    QString text;
};
DoneHere EliteDoneHere(const World& world, const PanelState& panel);
DoneHere ChestsDoneHere(const World& world, const PanelState& panel);

} // namespace modProgress
