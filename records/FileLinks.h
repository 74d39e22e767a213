// Links the player placed where the program keeps one of its files, so that
// a file (or the Personal folder) can live elsewhere, in a synced folder for
// instance: a link to a regular file is read and written through, a link to
// anything else counts as a missing file.
#pragma once

#include <QString>

namespace records {

// The file that a write of `path` replaces: the regular file that `path`
// leads to when it is a link (through any number of links), so that the link
// stays and the new content lands where it points; `path` itself otherwise
// (a link to nothing, to a FIFO, a device or a folder is replaced).
QString WriteTarget(const QString& path);

// True when `path` is a link that leads to no regular file (to nothing, a
// FIFO, a device, a folder, or a loop of links).
bool IsLinkToNonRegular(const QString& path);

} // namespace records
