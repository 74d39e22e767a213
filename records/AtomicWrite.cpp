// The one way every file is written: a new file beside the old one, every
// write and the sync checked, then renamed over it; a failure leaves the old
// file as it was and says why.
#include "records/RecordFile.h"

#include "records/FileChangeHook.h"
#include "records/FileLinks.h"
#include "records/SystemReason.h"

#include <QFile>
#include <QSaveFile>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace records {

#if defined(Q_OS_UNIX)

namespace {

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    ~TemporaryFile()
    {
        if (handle >= 0)
            ::close(handle);
        if (!name.isEmpty())
            ::unlink(name.constData());
    }
    QByteArray name;
    int handle = -1;
};

bool Fail(QString* error, const QString& path, const char* step, int code)
{
    if (error)
        *error = QStringLiteral("%1: %2 failed: %3").arg(path, QLatin1String(step), SystemReason(code));
    return false;
}

} // namespace

bool WriteFileAtomically(const QString& path, QByteArrayView bytes, QString* error)
{
    // A link to a regular file is written through: the new file is made
    // beside the file it leads to and renamed there, and the link stays.
    const QByteArray target = QFile::encodeName(WriteTarget(path));
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const QByteArray base = slash < 0 ? target : target.mid(slash + 1);
    if (base.isEmpty())
        return Fail(error, path, "open", EISDIR);

    // A new file in the same folder, so that the rename below is atomic;
    // it keeps the permissions of the file it replaces.
    mode_t mode = 0666;
    struct stat old;
    if (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        mode = old.st_mode & 07777;
    TemporaryFile temp;
    const QByteArray prefix = (slash < 0 ? QByteArray() : target.left(slash + 1)) + '.' + base + ".tmp";
    for (int attempt = 0; temp.handle < 0; ++attempt) {
        const QByteArray name = prefix + QByteArray::number(::getpid()) + '.' + QByteArray::number(attempt);
        const int handle = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (handle < 0) {
            if (errno == EEXIST && attempt < 100)
                continue;
            return Fail(error, path, "open", errno);
        }
        temp.name = name;
        temp.handle = handle;
    }
    if (mode != 0666 && ::fchmod(temp.handle, mode) != 0)
        return Fail(error, path, "chmod", errno);

    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t wrote = ::write(temp.handle, data, static_cast<size_t>(left));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return Fail(error, path, "write", wrote == 0 ? ENOSPC : errno);
        data += wrote;
        left -= wrote;
    }
    if (::fsync(temp.handle) != 0)
        return Fail(error, path, "sync", errno);
    const int handle = std::exchange(temp.handle, -1);
    if (::close(handle) != 0)
        return Fail(error, path, "close", errno);
    if (::rename(temp.name.constData(), target.constData()) != 0)
        return Fail(error, path, "rename", errno);
    temp.name.clear();
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    FileChanged(path);
    return true;
}

#else

bool WriteFileAtomically(const QString& path, QByteArrayView bytes, QString* error)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush() || file.size() != bytes.size()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit() || FileLength(path) != bytes.size()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    FileChanged(path);
    return true;
}

#endif

bool WriteRecordFile(const QString& path, const QStringList& lines, QString* error)
{
    QByteArray bytes;
    qsizetype total = 0;
    for (const QString& l : lines)
        total += l.size() + 2;
    bytes.reserve(total);
    for (const QString& l : lines) {
        bytes += EncodeWindows1252(l);
        bytes += "\r\n";
    }
    // A file starting with the bytes of the UTF-8 mark would be read as UTF-8
    // (and lose them): an empty line first, which every reader passes over,
    // keeps it Windows-1252.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.prepend("\r\n");
    return WriteFileAtomically(path, bytes, error);
}

} // namespace records
