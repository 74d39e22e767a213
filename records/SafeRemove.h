// Removal that never reaches through a link: a link is removed itself, never
// what it points to, and a folder is emptied without ever descending through
// a link found inside it. Every removal of the program and its tools goes
// through here, so that no file outside the folders the program owns is ever
// deleted, whatever links the player (or anyone) placed there.
#pragma once

#include <QString>

namespace records {

// Removes the entry at `path` itself: a file, or a link whatever it points
// to (a link to a folder included). A missing entry counts as removed. A real
// folder is not removed (false, "is a directory"): RemoveTree is for those.
// False with the path and the system's reason when it cannot be removed.
bool RemoveEntry(const QString& path, QString* error = nullptr);

// Removes the folder `path` with everything below it. Nothing is followed: a
// link at `path` or anywhere below is removed itself, never its target. A
// missing path counts as removed. False with the reason of the first entry
// that could not be removed (the others are still removed).
bool RemoveTree(const QString& path, QString* error = nullptr);

// True when `path` itself is a folder, not a link (to a folder or anything
// else) and not a file.
bool IsRealFolder(const QString& path);

} // namespace records
