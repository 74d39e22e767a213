// What the Windows-1252 record files can hold.
#pragma once

#include <QString>

namespace records {

// The characters of `text` that a Windows-1252 file cannot hold, each once,
// in the order they first appear.
QString CharactersOutsideWindows1252(const QString& text);

} // namespace records
