// The player's characters ("Personal/Characters.txt"), the per-character file
// names, and the captured elite skills of each character
// ("Personal/CharNNCapElite.txt").
#pragma once

#include "core/LoadContext.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace modElite {
struct Tables;
}

namespace modCharacters {

// Character numbers are written with two digits: 1..99 are usable.
constexpr int kMaxCharacterNumber = 99;

struct Tables {
    std::vector<QString> Characters{1}; // index = character number; "" = free; entry 0 unused
    // Lines of "Characters.txt" that name no usable character, as they
    // stood: written back first by SaveCharacters (so the characters after
    // them win on the next load) and never lost.
    QStringList Unread;
    int highest() const { return static_cast<int>(Characters.size()) - 1; }
};

inline constexpr const char* kCharactersFile = "Personal/Characters.txt";
inline constexpr const char* kCapEliteFile = "CapElite.txt";

// "Personal/Char" + two-digit number + fileName, relative to the program folder
// (CharacterFile(7, "CapElite.txt") == "Personal/Char07CapElite.txt").
QString CharacterFile(int character, const QString& fileName);

// Creates "Personal" below the program folder when it is missing; false (with
// the reason) when it cannot be made. Every writer of personal files calls it.
// The first call of a run that finds personal files first copies them into
// "Personal/Backup/<yyyy-MM-dd_HHmmss>/" (BackupPersonalFolder); a copy that
// fails does not stop the save: BackupProblem() then says why (it is also
// logged).
bool EnsurePersonalFolder(const QString& appFolder, QString* error = nullptr);
QString BackupProblem();
// What a window shows after a personal save (whether it went through or not)
// when the safety copy could not be made: the text the first time it is asked
// for after the failure, empty before and after (told once per run).
QString TakeBackupNotice();
// Makes the safety copy now (as the first EnsurePersonalFolder of a run
// does). The copy is made under a temporary name and takes its dated name only
// once every file was written and synced; false with the reason, and no copy,
// otherwise. Only after a complete copy exists are the oldest copies removed,
// by the date in their names, down to the newest kKeptBackups (the new one
// among them). "Personal/Backup" may be a link to a folder; only real folders
// named as the copies are ever removed there, never a link or anything else.
bool BackupPersonalFolder(const QString& appFolder, const QDateTime& now, QString* error = nullptr);
inline constexpr int kKeptBackups = 10;

void LoadCharacters(const LoadContext& ctx, Tables& characters);
// Rewrites "Personal/Characters.txt": one line NN<tab>name per named character
// in number order. Refuses (writes nothing, false) a name holding a tab or a
// line break, which the file could not carry.
bool SaveCharacters(const QString& appFolder, const Tables& characters, QString* error = nullptr);

// Sets the capture flags from every character's CapElite file (characters
// 1..highest, named or not). Lines naming no elite of the catalogue are kept
// in elite.UnreadCaptures and written back by SaveCapturedElites.
void LoadCapturedElites(const LoadContext& ctx, const Tables& characters, modElite::Tables& elite);
// Rewrites character c's CapElite file from the flags, elite numbers ascending.
bool SaveCapturedElites(const QString& appFolder, int character, const modElite::Tables& elite,
                        QString* error = nullptr);
// Sets whether character c captured skill `eliteNumber` and rewrites c's
// file; the flag stays as it was when the write fails (false, with why).
bool SaveCapture(const QString& appFolder, modElite::Tables& elite, int eliteNumber, int c, bool captured,
                 QString* error = nullptr);

} // namespace modCharacters
