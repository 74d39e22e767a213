// Making a server folder from a manifest: every package listed, plus
// "files.krb" holding "files.txt" with each package's size, date,
// destination folder and SHA-256. Served by any static HTTP server, the
// folder is what the updater downloads.
#pragma once

#include <QString>
#include <QStringList>

namespace modPublish {

// Manifest: a text file, one package a line, fields separated by tabs:
//   package name, date (dd-mm-yyyy), destination folder (relative to the
//   program folder, may be empty), then one or more sources.
// A source is a file, or a folder whose files (not its subfolders) are all
// packed; relative sources are taken from the manifest's folder. Blank lines
// and lines starting with ";" are skipped.
//
// Writes the packages and "files.krb" into `outDir` (created as needed).
// False with the reason in `error` when the manifest is unreadable or any
// line is wrong: then nothing of the file list is written. `log` receives
// one line per package.
bool Publish(const QString& manifestPath, const QString& outDir, QString* error, QStringList* log = nullptr);

} // namespace modPublish
