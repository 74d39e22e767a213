// Writing below the program folder without ever writing through a link:
// folders are checked by their real path, files are written beside their
// target and renamed into place, so a link at the target is replaced, never
// followed.
#pragma once

#include <filesystem>

#include <QByteArrayView>
#include <QSet>
#include <QString>

#include <functional>
#include <vector>

class QFile;

namespace modSafeFiles {

// A path as the file system library spells it (the local 8-bit encoding of
// file names, UTF-16 on Windows).
std::filesystem::path ToFs(const QString& path);

// The real path of an existing file or folder (every link resolved), "" when
// it does not exist or cannot be resolved.
QString RealPath(const QString& path);

// True when `realPath` is `realRoot` itself or lies below it (both real
// paths, "/" separated).
bool IsInside(const QString& realPath, const QString& realRoot);

// True when something (a file, a folder, a link, even a dangling one) is at
// `path`; links are not followed.
bool EntryExists(const QString& path);
// True when `path` itself is a link (followed or dangling).
bool IsLink(const QString& path);
// True when `path` is a folder and not a link to one.
bool IsRealFolder(const QString& path);

// Checks the folder `relative` ("/" separated, may be empty) below `root`
// before anything is created or written there: each part that exists must be
// a folder whose real path lies inside the real path of `root`. Parts that do
// not exist yet are fine (they are created as plain folders). False with the
// reason in `why` otherwise.
bool CheckFolderInside(const QString& root, const QString& relative, QString* why = nullptr);

// Removes the file or link at `path` (never what a link points to). True
// when nothing is there afterwards.
bool RemoveEntry(const QString& path);
// Removes `path` and, when it is a real folder, everything in it; a link
// met anywhere is removed itself and never entered. True when nothing is
// there afterwards.
bool RemoveTree(const QString& path);

// New files written beside their targets and put in place together: either
// every target gets its new content or every target stays as it was.
// Targets are files in existing folders; their folders are the caller's to
// check. Whatever was staged and not committed is removed when the object
// goes.
class StagedFiles {
public:
    StagedFiles() = default;
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes `bytes` to a new file beside `target`. False (nothing staged)
    // when a folder is at `target`, the target was staged already, or the
    // file cannot be written.
    bool Stage(const QString& target, QByteArrayView bytes, QString* why = nullptr);
    // The same with the content written by `write` into the open new file
    // (false: it could not write). When `write` throws, the new file is
    // removed and the exception passes on.
    bool Stage(const QString& target, const std::function<bool(QFile&)>& write, QString* why = nullptr);

    // Puts every staged file in place (links at the targets are replaced).
    // When a step fails, the targets already replaced get their old files
    // back and the result is false.
    bool Commit(QString* why = nullptr);

    // Removes the staged files; the targets are not touched.
    void Discard();

    qsizetype Count() const { return qsizetype(m_items.size()); }

private:
    struct Item {
        QString target;
        QString staged;
    };
    std::vector<Item> m_items;
    QSet<QString> m_targets;
    QSet<QString> m_staged;
};

} // namespace modSafeFiles
