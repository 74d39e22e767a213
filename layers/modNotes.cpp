#include "layers/modNotes.h"

#include "core/RecordFields.h"

namespace modNotes {

void PlaceNote(MapNote& note, int32_t x, int32_t y) { records::SetMarker(note, x, y, 7); }
void LoadNotes(const LoadContext&, Tables& notes) { notes = Tables{}; }
bool SaveNotes(const QString&, const Tables&, QString*) { return false; }

} // namespace modNotes
