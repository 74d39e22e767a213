// What the character dialogs and the capture dialog decide without a window:
// the number a new character takes, whether a name may be stored, the skills
// the editor lists and its selection buttons, the characters that may still
// capture a skill, and the saves, which change the loaded tables only after
// every file concerned was written.
#pragma once

#include "elite/modCharacters.h"
#include "elite/modElite.h"
#include "elite/modProfessions.h"
#include "layers/modTreasures.h"
#include "world/PanelState.h"

#include <QString>

#include <optional>
#include <vector>

namespace modCharacterDialogs {

// The number a new character takes: the lowest free one from 1 up, else the
// highest + 1; nothing when all of 1..99 are named.
std::optional<int> NewCharacterNumber(const modCharacters::Tables& characters);

enum class NameProblem {
    None,
    Empty,          // language text 28
    Taken,          // another character has it, letter case ignored: text 29
    LineBreakOrTab, // the list file could not carry it
    NotWindows1252, // a character the record files cannot hold
};

// Checks a name for character `current` (-1 = a new character). A character
// may keep its own name in other letter case.
NameProblem CheckName(const modCharacters::Tables& characters, int current, const QString& name);

// The skills the editor lists under campaign `campaign` (-1 = all) and
// profession `profession` (<= 0 = all): every defined skill from 1 up, in
// elite number order, with its list text; with a `filter` text, only those
// whose list text contains it (blanks around it left out), letter case
// ignored.
std::vector<PanelEntry> EditorEliteEntries(const modElite::Tables& elite, const modProfessions::Tables& professions,
                                           int campaign, int profession, const QString& filter = QString());

enum class Selection { SelectAll, DeselectAll, Invert };
// Applies a selection button to the listed skills only; `working` holds one
// flag per elite number.
void ApplySelection(std::vector<bool>& working, const std::vector<PanelEntry>& listed, Selection selection);

// The editor's working copy: the capture flags of character `character` for
// every elite number (all false for a new character, -1).
std::vector<bool> WorkingFlags(const modElite::Tables& elite, int character);

// The tables a character save or delete touches.
struct CharacterTables {
    modCharacters::Tables& characters;
    modElite::Tables& elite;
    modTreasures::Tables& treasures;
};

// Saves the editor: validates the name, chooses the number, writes the
// character's captured skills and then the character list (so that a save
// stopped in between loses nothing stored), and only then stores
// name and flags in the tables (growing every capture and opened-chest list
// when the number is new). Nothing changes in memory when a write fails; a
// captures file already rewritten is put back. Returns the character number, or
// nothing with the reason (`problem` set for a refused name, else `error`).
// A new character inherits nothing its number held: an opened-chest file left
// for the number is removed first (emptied when it cannot be), and the dates
// and unread lines loaded for the number are forgotten.
struct SaveResult {
    std::optional<int> number;
    NameProblem problem = NameProblem::None;
    bool full = false; // no free number 1..99
    QString error;
};
SaveResult SaveCharacter(const QString& appFolder, CharacterTables tables, int current, const QString& name,
                         const std::vector<bool>& working);

// Deletes character c: rewrites the list without it, then removes its
// captured-skill and opened-chest files (a link is removed, not the file it
// leads to) and clears its flags, dates and unread lines. NothingChanged
// (with the reason) when the list could not be written: the character, its
// files and the tables are as they were. FilesLeft when a file could not be
// removed: the character is gone from the list and the tables, and the file
// is emptied when it can be.
enum class DeleteResult { Deleted, NothingChanged, FilesLeft };
DeleteResult DeleteCharacter(const QString& appFolder, CharacterTables tables, int c, QString* error = nullptr);

// The named characters that have not captured skill `elite`, in number order
// (item data = number).
std::vector<PanelEntry> UncapturedCharacters(const modCharacters::Tables& characters, const modElite::Tables& elite,
                                             int eliteNumber);

// Marks skill `elite` captured by character c and rewrites its file; the flag
// stays as it was when the write fails.
bool MarkCaptured(const QString& appFolder, modElite::Tables& elite, int eliteNumber, int c, QString* error = nullptr);

} // namespace modCharacterDialogs
