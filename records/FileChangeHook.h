// A point where the program's file changes can be watched one by one.
#pragma once

#include <QString>

namespace records {

// Called, when set, after each change the program makes on the disk: a file
// written and renamed into place, an entry removed. The programs leave it
// null; tests set it to stop a save between two files, as a crash or a power
// cut would, and then check what the next start reads.
inline void (*AfterFileChange)(const QString& path) = nullptr;

inline void FileChanged(const QString& path)
{
    if (AfterFileChange)
        AfterFileChange(path);
}

} // namespace records
