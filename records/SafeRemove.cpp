#include "records/SafeRemove.h"

#include "records/FileChangeHook.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <vector>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QDir>
#include <QDirIterator>
#endif

namespace records {

namespace {

bool Fail(QString* error, const QString& path, const QString& reason)
{
    if (error && error->isEmpty())
        *error = QStringLiteral("%1 could not be removed: %2").arg(path, reason);
    return false;
}

} // namespace

#if defined(Q_OS_UNIX)

namespace {

// Deeper folders than this are not emptied (the stack stays bounded); no
// folder the program makes comes near it.
constexpr int kMaxDepth = 200;

QString Reason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// The folder holding `path` and the entry's own name in it: the folders on
// the way may be links (the player's Personal folder may live elsewhere);
// only the entry itself is never followed.
struct Place {
    int folder = -1;
    QByteArray name;
    ~Place()
    {
        if (folder >= 0)
            ::close(folder);
    }
};

bool OpenPlace(const QString& path, Place& place, QString* error)
{
    QByteArray full = QFile::encodeName(path);
    while (full.size() > 1 && full.endsWith('/'))
        full.chop(1);
    const qsizetype slash = full.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : full.left(slash);
    place.name = slash < 0 ? full : full.mid(slash + 1);
    if (place.name.isEmpty() || place.name == "." || place.name == "..")
        return Fail(error, path, QStringLiteral("not a removable name"));
    place.folder = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (place.folder < 0)
        return errno == ENOENT ? true : Fail(error, path, Reason(errno));
    return true;
}

// Removes `name` in the open folder `parent`, never following a link.
bool RemoveAt(int parent, const char* name, const QString& shown, int depth, QString* error)
{
    struct stat info;
    if (::fstatat(parent, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? true : Fail(error, shown, Reason(errno));
    if (!S_ISDIR(info.st_mode)) {
        if (::unlinkat(parent, name, 0) != 0 && errno != ENOENT)
            return Fail(error, shown, Reason(errno));
        FileChanged(shown);
        return true;
    }
    if (depth > kMaxDepth)
        return Fail(error, shown, QStringLiteral("folders nested too deeply"));
    // O_NOFOLLOW: should the folder have been swapped for a link since the
    // look-up, the open fails instead of entering the link's target.
    const int handle = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (handle < 0) {
        if (errno == ELOOP || errno == ENOTDIR) // became a link or a file: removed itself
            return RemoveAt(parent, name, shown, depth + 1, error);
        return errno == ENOENT ? true : Fail(error, shown, Reason(errno));
    }
    DIR* folder = ::fdopendir(handle);
    if (!folder) {
        const int code = errno;
        ::close(handle);
        return Fail(error, shown, Reason(code));
    }
    // The names first, then the removals: the listing is not changed under
    // the reader.
    std::vector<QByteArray> names;
    while (const dirent* entry = ::readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    bool ok = true;
    const int inside = ::dirfd(folder);
    for (const QByteArray& child : names)
        ok = RemoveAt(inside, child.constData(), shown + u'/' + QFile::decodeName(child), depth + 1, error) && ok;
    ::closedir(folder);
    if (!ok)
        return false;
    if (::unlinkat(parent, name, AT_REMOVEDIR) != 0 && errno != ENOENT)
        return Fail(error, shown, Reason(errno));
    FileChanged(shown);
    return true;
}

} // namespace

bool RemoveEntry(const QString& path, QString* error)
{
    Place place;
    if (!OpenPlace(path, place, error))
        return false;
    if (place.folder < 0)
        return true; // the folder holding it is gone
    struct stat info;
    if (::fstatat(place.folder, place.name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? true : Fail(error, path, Reason(errno));
    if (S_ISDIR(info.st_mode))
        return Fail(error, path, Reason(EISDIR));
    if (::unlinkat(place.folder, place.name.constData(), 0) != 0 && errno != ENOENT)
        return Fail(error, path, Reason(errno));
    FileChanged(path);
    return true;
}

bool RemoveTree(const QString& path, QString* error)
{
    Place place;
    if (!OpenPlace(path, place, error))
        return false;
    if (place.folder < 0)
        return true;
    return RemoveAt(place.folder, place.name.constData(), path, 0, error);
}

bool IsRealFolder(const QString& path)
{
    struct stat info;
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

#else

bool RemoveEntry(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir() && !info.isSymLink())
        return Fail(error, path, QStringLiteral("is a folder"));
    QFile file(path);
    if (!file.remove())
        return Fail(error, path, file.errorString());
    FileChanged(path);
    return true;
}

bool RemoveTree(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!info.isDir() || info.isSymLink())
        return RemoveEntry(path, error);
    bool ok = true;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext())
        ok = RemoveTree(it.next(), error) && ok;
    if (ok && !QDir().rmdir(path))
        return Fail(error, path, QStringLiteral("the folder could not be removed"));
    if (ok)
        FileChanged(path);
    return ok;
}

bool IsRealFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

#endif

} // namespace records
