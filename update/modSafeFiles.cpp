#include "update/modSafeFiles.h"

#include "records/SafeRemove.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace modSafeFiles {

fs::path ToFs(const QString& path)
{
#ifdef Q_OS_WIN
    return fs::path(path.toStdWString());
#else
    return fs::path(QFile::encodeName(path).toStdString());
#endif
}

namespace {

fs::file_status StatusOf(const QString& path)
{
    std::error_code ec;
    return fs::symlink_status(ToFs(path), ec);
}

QString FolderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QStringLiteral(".") : path.left(slash);
}

// A random name in `folder` that is not in `avoid` and, when `unused`,
// that nothing on disk uses yet (files created new need no such look).
QString RandomName(const QString& folder, const QSet<QString>& avoid, bool unused)
{
    for (;;) {
        QString candidate =
            folder + QStringLiteral("/.wl%1.part").arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
        if (!avoid.contains(candidate) && !(unused && EntryExists(candidate)))
            return candidate;
    }
}

bool Rename(const QString& from, const QString& to, QString* why)
{
    std::error_code ec;
    fs::rename(ToFs(from), ToFs(to), ec);
    if (ec && why)
        *why = QStringLiteral("%1 cannot be put in place: %2").arg(to, QString::fromStdString(ec.message()));
    return !ec;
}

bool SetWhy(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}

} // namespace

QString RealPath(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

bool IsInside(const QString& realPath, const QString& realRoot)
{
    if (realPath.isEmpty() || realRoot.isEmpty())
        return false;
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    if (realPath.compare(realRoot, cs) == 0)
        return true;
    const QString prefix = realRoot.endsWith(u'/') ? realRoot : realRoot + u'/';
    return realPath.startsWith(prefix, cs);
}

bool EntryExists(const QString& path)
{
    return !path.isEmpty() && fs::exists(StatusOf(path));
}

bool IsLink(const QString& path)
{
    return !path.isEmpty() && fs::is_symlink(StatusOf(path));
}

bool IsRealFolder(const QString& path)
{
    return !path.isEmpty() && fs::is_directory(StatusOf(path));
}

bool CheckFolderInside(const QString& root, const QString& relative, QString* why)
{
    QString current = root.endsWith(u'/') && root.size() > 1 ? root.chopped(1) : root;
    const QString realRoot = RealPath(current);
    if (realRoot.isEmpty() || !QFileInfo(realRoot).isDir())
        return SetWhy(why, QStringLiteral("the program folder %1 cannot be resolved").arg(root));
    for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
        current += u'/' + part;
        if (!EntryExists(current))
            return true; // the rest is created as plain folders
        const QString real = RealPath(current);
        if (real.isEmpty() || !QFileInfo(real).isDir())
            return SetWhy(why, QStringLiteral("%1 is not a folder").arg(current));
        if (!IsInside(real, realRoot))
            return SetWhy(why, QStringLiteral("%1 leads outside the program folder (to %2)").arg(current, real));
    }
    return true;
}

bool RemoveEntry(const QString& path)
{
    std::error_code ec;
    fs::remove(ToFs(path), ec);
    return !EntryExists(path);
}

bool RemoveTree(const QString& path)
{
    return records::RemoveTree(path);
}

// ---- StagedFiles -----------------------------------------------------------

StagedFiles::~StagedFiles()
{
    Discard();
}

bool StagedFiles::Stage(const QString& target, QByteArrayView bytes, QString* why)
{
    return Stage(
        target, [bytes](QFile& file) { return file.write(bytes.data(), bytes.size()) == bytes.size(); }, why);
}

bool StagedFiles::Stage(const QString& target, const std::function<bool(QFile&)>& write, QString* why)
{
    if (IsRealFolder(target))
        return SetWhy(why, QStringLiteral("%1 is a folder and cannot be replaced by a file").arg(target));
    if (m_targets.contains(target) || m_staged.contains(target))
        return SetWhy(why, QStringLiteral("%1 is written twice").arg(target));
    const QString folder = FolderOf(target);
    // Created new: a link planted at the name makes the creation fail
    // instead of being followed.
    QString staged;
    QFile file;
    for (int attempt = 0;; ++attempt) {
        staged = RandomName(folder, m_targets, false);
        file.setFileName(staged);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (attempt == 3)
            return SetWhy(why, QStringLiteral("%1 cannot be written: %2").arg(target, file.errorString()));
    }
    bool written = false;
    try {
        written = write(file) && file.flush();
    } catch (...) {
        file.close();
        RemoveEntry(staged);
        throw;
    }
    const QString error = file.errorString();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        RemoveEntry(staged);
        return SetWhy(why, QStringLiteral("%1 cannot be written: %2").arg(target, error));
    }
    m_items.push_back({target, staged});
    m_targets.insert(target);
    m_staged.insert(staged);
    return true;
}

bool StagedFiles::Commit(QString* why)
{
    struct Done {
        const Item* item;
        QString backup; // empty when the target did not exist
    };
    std::vector<Done> done;
    done.reserve(m_items.size());
    const auto rollBack = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            if (it->backup.isEmpty())
                RemoveEntry(it->item->target);
            else
                Rename(it->backup, it->item->target, nullptr);
        }
    };
    for (const Item& item : m_items) {
        QString backup;
        if (EntryExists(item.target)) {
            if (IsRealFolder(item.target)) {
                rollBack();
                return SetWhy(why, QStringLiteral("%1 is a folder and cannot be replaced by a file").arg(item.target));
            }
            // The old file (or link) is kept under another name until every
            // target is in place.
            backup = RandomName(FolderOf(item.target), m_targets, true);
            if (!Rename(item.target, backup, why)) {
                rollBack();
                return false;
            }
        }
        if (!Rename(item.staged, item.target, why)) {
            if (!backup.isEmpty())
                Rename(backup, item.target, nullptr);
            rollBack();
            return false;
        }
        done.push_back({&item, backup});
    }
    for (const Done& d : done)
        if (!d.backup.isEmpty())
            RemoveEntry(d.backup);
    m_items.clear();
    m_targets.clear();
    m_staged.clear();
    return true;
}

void StagedFiles::Discard()
{
    for (const Item& item : m_items)
        RemoveEntry(item.staged);
    m_items.clear();
    m_targets.clear();
    m_staged.clear();
}

} // namespace modSafeFiles
