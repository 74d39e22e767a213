// Wayloom in the desktop's application menu: a desktop entry and the icon in
// the user's data folder (XDG_DATA_HOME, normally ~/.local/share), the entry
// starting the Wayloom of this program folder. The entry and the icons come
// from the program's resources (packaging/desktop.qrc, packaging/icons.qrc).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace DesktopEntry {

// The application id: the name of the entry, the icon and the AppStream file.
inline constexpr char kId[] = "org.wayloom.Wayloom";

// The Exec value that starts `program` without arguments: the path quoted,
// with the characters the entry format reserves escaped. Empty when the path
// holds a control character (no entry can name it).
QString ExecValue(const QString& program);

// The entry template with its Exec and TryExec lines naming `program`; the
// other lines as they stand. Empty when ExecValue is.
QByteArray EntryFor(const QByteArray& entryTemplate, const QString& program);

// What Install writes below `dataHome`: the entry first, then the icons.
QStringList InstalledFiles(const QString& dataHome);

// Writes the entry for `program` and the icons below `dataHome`, each file
// atomically; false with `error` set when one cannot be written.
bool Install(const QString& program, const QString& dataHome, QString* error);
// Removes what Install writes (missing files are fine); false with `error`
// set when one cannot be removed.
bool Remove(const QString& dataHome, QString* error);

} // namespace DesktopEntry
