#include "update/clsKRBfile.h"

#include "records/RecordFile.h"
#include "update/HuffmanPieces.h"
#include "update/modSafeFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// Member names are stored as Windows-1252 bytes; every byte decodes, and a
// name encodes when its bytes decode back to it. nullopt when a character has
// no Windows-1252 byte.
std::optional<QByteArray> EncodeName(const QString& name)
{
    QByteArray out = records::EncodeWindows1252(name);
    if (records::DecodeWindows1252(out) != name)
        return std::nullopt;
    return out;
}

// The folder with one trailing separator removed.
QString WithoutTrailingSeparator(const QString& folder)
{
    return folder.endsWith(u'/') ? folder.chopped(1) : folder;
}

// Writes the bytes through the one atomic write: `path` is replaced only when
// every byte was written and synced.
bool WriteWhole(const QString& path, const QByteArray& bytes, QString& error)
{
    return records::WriteFileAtomically(path, bytes, &error);
}

// Decoded members are written in pieces of this size.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

// The number of bytes a member's stream decodes to, from its header alone;
// 0 for a stream too short to say (the decoder refuses it).
qint64 DecodedLength(const PackageMember& m)
{
    const qint64 declared = modHuffman::DeclaredLength(m.stream);
    if (declared == 0 && !modHuffman::IsStoredStream(m.stream))
        return m.stream.size(); // a declared length of 0 gives the stream itself
    return std::max<qint64>(declared, 0);
}

QString Mebibytes(qint64 bytes)
{
    return QString::number(double(bytes) / double(1 << 20), 'f', 1) + QStringLiteral(" MiB");
}

// Gives the mapped pages of [begin, end) back to the system (they are read
// again if needed): decoding a large mapped member keeps only what it reads
// next in memory.
void ReleasePages(const char* begin, const char* end)
{
#ifdef Q_OS_LINUX
    // Whole pages only: from rounded up, to rounded down to a page boundary
    // (pointer arithmetic, so the pointers keep their provenance).
    static const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const char* from = begin + (page - std::uintptr_t(begin) % page) % page;
    const char* to = end - std::uintptr_t(end) % page;
    if (to > from)
        madvise(const_cast<char*>(from), std::size_t(to - from), MADV_DONTNEED);
#else
    (void)begin;
    (void)end;
#endif
}

} // namespace

qint64 clsKRBfile::FileLength(const QString& path)
{
    if (path.isEmpty())
        return 0;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return 0;
    return info.size();
}

bool clsKRBfile::FolderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool clsKRBfile::IsSafeMemberName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.size() > std::numeric_limits<qint16>::max())
        return false;
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return EncodeName(name).has_value();
}

bool clsKRBfile::Fail(const QString& reason)
{
    m_lastError = reason;
    return false;
}

int clsKRBfile::FindMember(const QString& name) const
{
    return m_index.value(name.toLower(), -1);
}

void clsKRBfile::IndexFrom(qsizetype first)
{
    m_index.reserve(m_members.size());
    for (qsizetype i = first; i < m_members.size(); ++i) {
        QString key = m_members[i].name.toLower();
        if (!m_index.contains(key))
            m_index.insert(key, static_cast<int>(i));
    }
}

bool clsKRBfile::AddMember(const QString& name, const QByteArray& content)
{
    if (FindMember(name) >= 0)
        return Fail(QStringLiteral("the package already holds a member named \"%1\"").arg(name));
    if (!IsSafeMemberName(name))
        return Fail(QStringLiteral("\"%1\" is not a plain file name that a package can hold").arg(name));
    QByteArray stream = modHuffman::EncodeStream(content);
    if (stream.size() > std::numeric_limits<qint32>::max())
        return Fail(QStringLiteral("\"%1\" is too large for a package").arg(name));
    m_members.append({name, static_cast<qint32>(stream.size()), std::move(stream)});
    IndexFrom(m_members.size() - 1);
    m_lastError.clear();
    return true;
}

bool clsKRBfile::AddFileFromDisk(const QString& Filename, const QString& FilePath)
{
    if (FindMember(Filename) >= 0)
        return Fail(QStringLiteral("the package already holds a member named \"%1\"").arg(Filename));
    if (!IsSafeMemberName(Filename))
        return Fail(QStringLiteral("\"%1\" is not a plain file name that a package can hold").arg(Filename));
    QString path = FilePath;
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path += u'/';
    path += Filename;
    if (FileLength(path) == 0)
        return Fail(QStringLiteral("%1 is missing or empty").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fail(QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
    return AddMember(Filename, content);
}

bool clsKRBfile::AddFileFromString(const QString& Filename, const QByteArray& Data)
{
    return AddMember(Filename, Data);
}

bool clsKRBfile::SaveKRBfileOnDisk(const QString& KRBfileName)
{
    QByteArray bytes;
    qsizetype total = 0;
    for (const PackageMember& m : m_members)
        total += 6 + m.name.size() + m.stream.size();
    bytes.reserve(total);
    char field[4];
    for (const PackageMember& m : m_members) {
        const std::optional<QByteArray> name = EncodeName(m.name);
        if (!name || name->size() > std::numeric_limits<qint16>::max())
            return Fail(QStringLiteral("the member name \"%1\" cannot be stored").arg(m.name));
        qToLittleEndian<qint32>(m.storedSize, field);
        bytes.append(field, 4);
        qToLittleEndian<qint16>(static_cast<qint16>(name->size()), field);
        bytes.append(field, 2);
        bytes.append(*name);
        bytes.append(m.stream);
    }
    QString error;
    if (!WriteWhole(KRBfileName, bytes, error))
        return Fail(QStringLiteral("cannot be written: %1").arg(error));
    m_lastError.clear();
    return true;
}

// Reads entries from the start; the members are appended only when the whole
// package reads cleanly. A file is read while at least two bytes are left
// (its read position, counted from 1, is below its length); bytes in memory
// while any byte is left. The streams of `mapped` bytes point into them.
bool clsKRBfile::AppendPackage(const QByteArray& bytes, bool fromDisk, bool mapped)
{
    const qsizetype n = bytes.size();
    const char* p = bytes.constData();
    QList<PackageMember> read;
    qsizetype pos = 0;
    while (fromDisk ? pos + 1 < n : pos < n) {
        const auto bad = [&](const QString& what) {
            return Fail(QStringLiteral("not a valid package: the entry at byte %1 %2").arg(pos).arg(what));
        };
        if (n - pos < 6)
            return bad(QStringLiteral("is cut short"));
        const qint32 storedSize = qFromLittleEndian<qint32>(p + pos);
        const qint16 nameLength = qFromLittleEndian<qint16>(p + pos + 4);
        if (storedSize < 0)
            return bad(QStringLiteral("has a negative stored size"));
        if (nameLength < 0)
            return bad(QStringLiteral("has a negative name length"));
        if (n - pos - 6 < qsizetype(nameLength) + storedSize)
            return bad(QStringLiteral("runs past the end"));
        PackageMember m;
        m.name = records::DecodeWindows1252(QByteArrayView(p + pos + 6, nameLength));
        m.storedSize = storedSize;
        if (mapped) {
            m.stream = QByteArray::fromRawData(p + pos + 6 + nameLength, storedSize);
            m.mapped = true;
        } else {
            m.stream = bytes.mid(pos + 6 + nameLength, storedSize);
        }
        read.append(std::move(m));
        pos += 6 + qsizetype(nameLength) + storedSize;
    }
    const qsizetype first = m_members.size();
    m_members.append(std::move(read));
    IndexFrom(first);
    m_lastError.clear();
    return true;
}

bool clsKRBfile::AddKRBfileFromDisk(const QString& KRBfileName)
{
    if (FileLength(KRBfileName) < 1)
        return Fail(QStringLiteral("missing or empty"));
    auto file = std::make_shared<QFile>(KRBfileName);
    if (!file->open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot be read: %1").arg(file->errorString()));
    // Mapped, not read: only the pages being decoded are in memory.
    if (const uchar* map = file->map(0, file->size())) {
        const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(map), file->size());
        if (!AppendPackage(bytes, true, true))
            return false;
        m_mappings.append(std::move(file));
        return true;
    }
    const QByteArray bytes = file->readAll();
    if (file->error() != QFileDevice::NoError)
        return Fail(QStringLiteral("cannot be read: %1").arg(file->errorString()));
    return AppendPackage(bytes, true, false);
}

bool clsKRBfile::AddKRBfileFromString(const QByteArray& KRBfile)
{
    if (KRBfile.isEmpty())
        return Fail(QStringLiteral("the package is empty"));
    return AppendPackage(KRBfile, false, false);
}

bool clsKRBfile::CheckSizes(const std::vector<int>& members, const QString& folder)
{
    qint64 total = 0;
    for (int i : members) {
        const PackageMember& m = m_members[i];
        const qint64 length = DecodedLength(m);
        if (length > kMaxExpansion * m.storedSize)
            return Fail(QStringLiteral("the member \"%1\" declares %2 bytes, more than %3 times its %4 stored bytes: "
                                       "the package is damaged")
                            .arg(m.name)
                            .arg(length)
                            .arg(kMaxExpansion)
                            .arg(m.storedSize));
        if (length > m_limits.maxMemberBytes)
            return Fail(QStringLiteral("the member \"%1\" would decode to %2, more than the %3 a member may have")
                            .arg(m.name, Mebibytes(length), Mebibytes(m_limits.maxMemberBytes)));
        total += length;
    }
    const qint64 free = m_limits.freeSpace ? m_limits.freeSpace(folder) : QStorageInfo(folder).bytesAvailable();
    if (free >= 0 && total > free - m_limits.keepFreeBytes)
        return Fail(QStringLiteral("unpacking needs %1 in %2, but only %3 are free there and %4 must stay free")
                        .arg(Mebibytes(total), folder, Mebibytes(free), Mebibytes(m_limits.keepFreeBytes)));
    return true;
}

bool clsKRBfile::StageMember(modSafeFiles::StagedFiles& staged, const QString& target, int index)
{
    const PackageMember& m = m_members[index];
    modHuffman::PieceDecoder decoder(m.stream);
    bool cancelled = false;
    const auto write = [&](QFile& file) {
        std::vector<char> piece(std::size_t(std::min<qint64>(decoder.Length(), qint64(kPieceBytes))) + 8);
        while (!decoder.AtEnd()) {
            if (m_cancel && m_cancel->load(std::memory_order_relaxed)) {
                cancelled = true;
                return false;
            }
            const std::size_t n = decoder.Next(piece.data(), kPieceBytes);
            if (file.write(piece.data(), qint64(n)) != qint64(n))
                return false;
            if (m.mapped)
                ReleasePages(m.stream.constData(), m.stream.constData() + decoder.InputUsed());
        }
        return true;
    };
    QString error;
    const bool written = staged.Stage(target, write, &error);
    if (m.mapped)
        ReleasePages(m.stream.constData(), m.stream.constData() + m.stream.size());
    if (cancelled)
        return Fail(QStringLiteral("cancelled"));
    return written || Fail(error);
}

bool clsKRBfile::ExtractOneFileToDisk(const QString& CompressedFile, const QString& Destinationpath)
{
    const int index = FindMember(CompressedFile);
    if (index < 0)
        return Fail(QStringLiteral("the package holds no member named \"%1\"").arg(CompressedFile));
    if (!IsSafeMemberName(CompressedFile) || !IsSafeMemberName(m_members[index].name))
        return Fail(QStringLiteral("the member name \"%1\" is not a plain file name").arg(m_members[index].name));
    const QString folder = WithoutTrailingSeparator(Destinationpath);
    if (!FolderExists(folder))
        return Fail(QStringLiteral("the folder %1 does not exist").arg(Destinationpath));
    if (!CheckSizes({index}, folder))
        return false;
    // Decoded beside the target, which is replaced only when the whole
    // member decoded: a codec error leaves the disk as it was.
    modSafeFiles::StagedFiles staged;
    if (!StageMember(staged, folder + u'/' + CompressedFile, index))
        return false;
    QString error;
    if (!staged.Commit(&error))
        return Fail(error);
    m_lastError.clear();
    return true;
}

bool clsKRBfile::ExtractAllFileToDisk(const QString& Destinationpath)
{
    if (m_members.isEmpty()) {
        m_lastError.clear();
        return true;
    }
    const QString folder = WithoutTrailingSeparator(Destinationpath);
    if (!FolderExists(folder))
        return Fail(QStringLiteral("the folder %1 does not exist").arg(Destinationpath));
    // The members that a look-up by name reaches: the first of each name.
    std::vector<int> distinct;
    for (qsizetype i = 0; i < m_members.size(); ++i) {
        const PackageMember& m = m_members[i];
        if (!IsSafeMemberName(m.name))
            return Fail(QStringLiteral("the member name \"%1\" is not a plain file name").arg(m.name));
        if (m_index.value(m.name.toLower()) == i)
            distinct.push_back(static_cast<int>(i));
    }
    for (int i : distinct) {
        const QString target = folder + u'/' + m_members[i].name;
        if (modSafeFiles::IsRealFolder(target))
            return Fail(QStringLiteral("%1 is a folder and cannot be replaced by a file").arg(target));
    }
    if (!CheckSizes(distinct, folder))
        return false;
    const auto cancelled = [this] { return m_cancel && m_cancel->load(std::memory_order_relaxed); };
    // One member at a time into a new file beside its target; the targets
    // are replaced only when every member has decoded.
    modSafeFiles::StagedFiles staged;
    QString error;
    for (int i : distinct) {
        if (cancelled())
            return Fail(QStringLiteral("cancelled"));
        if (!StageMember(staged, folder + u'/' + m_members[i].name, i))
            return false;
    }
    if (cancelled())
        return Fail(QStringLiteral("cancelled"));
    if (!staged.Commit(&error))
        return Fail(error);
    m_lastError.clear();
    return true;
}

QByteArray clsKRBfile::ExtractOneFileToString(const QString& CompressedFile) const
{
    const int index = FindMember(CompressedFile);
    if (index < 0)
        return {};
    return modHuffman::DecodeStream(m_members[index].stream);
}

void clsKRBfile::Clear()
{
    m_members.clear();
    m_index.clear();
    m_mappings.clear();
}
