// The notes tab's rules, decided without a window: which notes the area and
// the two searches keep (lstNotes) and where the map goes for a chosen note.
#pragma once

#include "panel/modTabRules.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <optional>
#include <vector>

namespace modNotesTab {

// Notes not deleted that lie in the chosen area (no zone test) and whose
// short description and body contain the trimmed, lower-cased search texts;
// short description and number, sorted with letter case ignored.
std::vector<PanelEntry> FilterNoteEntries(const World& world, const PanelState& panel);

// lblNoteList: text 65 + ": " + count.
QString NotesCaption(const World& world, int count);

// Where the map goes for the selected lstNotes entry.
std::optional<modTabRules::MapTarget> SelectNote(const World& world, const PanelState& panel);

} // namespace modNotesTab
