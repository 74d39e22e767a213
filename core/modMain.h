// Start-up housekeeping of the program folder: where it is, the one-time move
// of personal files into "Personal/", and the hand-over of a pending updater.
#pragma once

#include <QString>

#include <chrono>

namespace modMain {

// The updater program in the program folder and the name under which it
// downloads a new copy of itself (it cannot replace its own running file).
#if defined(Q_OS_WIN)
inline constexpr char16_t kUpdaterFile[] = u"Update.exe";
#else
inline constexpr char16_t kUpdaterFile[] = u"Update";
#endif
inline constexpr char16_t kPendingUpdaterFile[] = u"update.dat";

// The program's web site, its guide pages and the address for mail to its makers.
inline constexpr char16_t kWebSite[] = u"https://wayloom.org/";
inline constexpr char16_t kGuidePage[] = u"https://wayloom.org/guide/";
inline constexpr char16_t kSupportMail[] = u"support@wayloom.org";

// The folder as a path that ends in exactly one "/".
QString AppFolderFrom(const QString& folder);

// When "Personal" does not exist yet: creates it and moves the captured-skill
// files of characters 1..99 and "Characters.txt" out of "Data/". Every error
// is ignored and the next step runs.
void MovePersonalFiles(const QString& appFolder);

// When "update.dat" is waiting (at least 1 byte): waits, then puts it in
// place of the updater program. Any error ends the operation quietly and
// leaves "update.dat" for the next start.
void ApplyPendingUpdater(const QString& appFolder, std::chrono::milliseconds wait = std::chrono::milliseconds(1000));

} // namespace modMain
