#include "update/clsKRBfile.h"

#include "update/modSafeFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace {

// Member names are stored as Windows-1252 bytes. Bytes 0x80..0x9F map to
// these characters; the five the code page leaves undefined keep their value,
// so every byte decodes and re-encodes to itself.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeName(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = QChar((b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b));
    }
    return out;
}

// nullopt when a character has no Windows-1252 byte.
std::optional<QByteArray> EncodeName(const QString& name)
{
    QByteArray out(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out[i] = static_cast<char>(c);
            continue;
        }
        qsizetype k = 0;
        while (k < qsizetype(kHigh.size()) && kHigh[k] != c)
            ++k;
        if (k == qsizetype(kHigh.size()))
            return std::nullopt;
        out[i] = static_cast<char>(0x80 + k);
    }
    return out;
}

// The folder with one trailing separator removed.
QString WithoutTrailingSeparator(const QString& folder)
{
    return folder.endsWith(u'/') ? folder.chopped(1) : folder;
}

// Writes the bytes through a temporary file that replaces `path` only when
// everything was written.
bool WriteWhole(const QString& path, const QByteArray& bytes, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
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
// while any byte is left.
bool clsKRBfile::AppendPackage(const QByteArray& bytes, bool fromDisk)
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
        m.name = DecodeName(QByteArrayView(p + pos + 6, nameLength));
        m.storedSize = storedSize;
        m.stream = bytes.mid(pos + 6 + nameLength, storedSize);
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
    QFile file(KRBfileName);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot be read: %1").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fail(QStringLiteral("cannot be read: %1").arg(file.errorString()));
    return AppendPackage(bytes, true);
}

bool clsKRBfile::AddKRBfileFromString(const QByteArray& KRBfile)
{
    if (KRBfile.isEmpty())
        return Fail(QStringLiteral("the package is empty"));
    return AppendPackage(KRBfile, false);
}

bool clsKRBfile::ExtractOneFileToDisk(const QString& CompressedFile, const QString& Destinationpath)
{
    const int index = FindMember(CompressedFile);
    if (index < 0)
        return Fail(QStringLiteral("the package holds no member named \"%1\"").arg(CompressedFile));
    if (!IsSafeMemberName(CompressedFile) || !IsSafeMemberName(m_members[index].name))
        return Fail(QStringLiteral("the member name \"%1\" is not a plain file name").arg(m_members[index].name));
    // Decoded completely before the target is touched; a codec error leaves
    // the disk as it was.
    const QByteArray content = modHuffman::DecodeStream(m_members[index].stream);
    const QString folder = WithoutTrailingSeparator(Destinationpath);
    if (!FolderExists(folder))
        return Fail(QStringLiteral("the folder %1 does not exist").arg(Destinationpath));
    QString error;
    if (!modSafeFiles::ReplaceFile(folder + u'/' + CompressedFile, content, &error))
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
    const auto cancelled = [this] { return m_cancel && m_cancel->load(std::memory_order_relaxed); };
    // One member at a time into a new file beside its target; the targets
    // are replaced only when every member has decoded.
    modSafeFiles::StagedFiles staged;
    QByteArray content;
    QString error;
    for (int i : distinct) {
        if (cancelled())
            return Fail(QStringLiteral("cancelled"));
        modHuffman::DecodeStreamInto(m_members[i].stream, content);
        if (!staged.Stage(folder + u'/' + m_members[i].name, content, &error))
            return Fail(error);
    }
    content = QByteArray();
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
}
