#include "records/FileLinks.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#endif

namespace records {

#if defined(Q_OS_UNIX)

namespace {

bool IsLink(const QByteArray& path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The regular file a link leads to, empty when it leads to none.
QByteArray LinkedRegularFile(const QByteArray& path)
{
    char resolved[PATH_MAX];
    if (!::realpath(path.constData(), resolved))
        return {};
    struct stat info;
    if (::stat(resolved, &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    return QByteArray(resolved);
}

} // namespace

QString WriteTarget(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (path.isEmpty() || !IsLink(encoded))
        return path;
    const QByteArray target = LinkedRegularFile(encoded);
    return target.isEmpty() ? path : QFile::decodeName(target);
}

bool IsLinkToNonRegular(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    return !path.isEmpty() && IsLink(encoded) && LinkedRegularFile(encoded).isEmpty();
}

#else

QString WriteTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();
    return !target.isEmpty() && QFileInfo(target).isFile() ? target : path;
}

bool IsLinkToNonRegular(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() && !info.isFile();
}

#endif

} // namespace records
