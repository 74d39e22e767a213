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
    // The file was there but refused (too large or unreadable): a save would
    // replace notes that were never read, so SaveNotes refuses to write.
    bool Refused = false;
    int count() const { return static_cast<int>(Notes.size()) - 1; }
};

inline constexpr const char* kNotesFile = "Personal/Notes.txt";

// Sets X, Y and the marker rectangle (X-7 .. X+7, Y-7 .. Y+7) of a note.
void PlaceNote(MapNote& note, int32_t x, int32_t y);

// What keeps a title and text from being stored in the notes file so that
// they read back as they stand: the message for the player (empty when they
// can be stored) and whether it concerns the title or the text. The title
// is the one SaveNotes writes (trimmed by the editor); the text has its line
// breaks as carriage return and line feed.
struct TextProblem {
    QString message;
    bool inTitle = false;
    bool ok() const { return message.isEmpty(); }
};
TextProblem CheckNoteTexts(const QString& shortDesc, const QString& body);

void LoadNotes(const LoadContext& ctx, Tables& notes);
// Rewrites "Personal/Notes.txt": the unread lines, then every note whose
// ShortDesc is not empty.
// Tabs inside a note are written as blanks; line breaks of the body as
// "{#ENTER#}". Notes that CheckNoteTexts accepts read back unchanged.
bool SaveNotes(const QString& appFolder, const Tables& notes, QString* error = nullptr);

} // namespace modNotes
