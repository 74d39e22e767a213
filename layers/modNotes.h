// The player's own map notes, kept in "Personal/Notes.txt".
#pragma once

#include "core/LoadContext.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace modNotes {

struct MapNote {
    QString ShortDesc; // "" = deleted: neither listed nor saved
    QString Body;      // may hold line breaks (CR LF)
    uint8_t Campaign = 0;
    uint8_t Region = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

struct Tables {
    std::vector<MapNote> Notes{1}; // numbered 1..n, 0 unused
    // Lines of the file that could not be read as notes (comments, other
    // field counts, values out of range), as they stood: written back first
    // by SaveNotes, so that no save loses what the player wrote.
    QStringList Unread;
    int count() const { return static_cast<int>(Notes.size()) - 1; }
};

inline constexpr const char* kNotesFile = "Personal/Notes.txt";

// Sets X, Y and the marker rectangle (X-7 .. X+7, Y-7 .. Y+7) of a note.
void PlaceNote(MapNote& note, int32_t x, int32_t y);

void LoadNotes(const LoadContext& ctx, Tables& notes);
// Rewrites "Personal/Notes.txt": the unread lines, then every note whose
// ShortDesc is not empty.
// Tabs inside a note are written as blanks; line breaks of the body as
// "{#ENTER#}".
bool SaveNotes(const QString& appFolder, const Tables& notes, QString* error = nullptr);

} // namespace modNotes
