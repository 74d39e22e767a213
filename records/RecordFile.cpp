#include "records/RecordFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace records {

namespace {

// Windows-1252 bytes 0x80..0x9F; the undefined ones keep their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char EncodeChar(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}
bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Length of the numeric prefix of text starting at pos, 0 when there is none.
qsizetype NumericPrefix(QStringView text, qsizetype pos)
{
    qsizetype i = pos;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        qsizetype j = i + 1;
        qsizetype frac = 0;
        while (j < n && IsDigit(text[j])) {
            ++j;
            ++frac;
        }
        if (digits + frac > 0) {
            i = j;
            digits += frac;
        }
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        qsizetype exp = 0;
        while (j < n && IsDigit(text[j])) {
            ++j;
            ++exp;
        }
        if (exp > 0)
            i = j;
    }
    return i - pos;
}

double ParseNumber(QStringView number)
{
    // Locale-independent: the decimal point is "." whatever the user's
    // locale says, and no allocation for the short texts numbers are.
    char stack[64] = {};
    QByteArray heap;
    char* ascii = stack;
    if (number.size() >= qsizetype(sizeof stack)) {
        heap.resize(number.size());
        ascii = heap.data();
    }
    qsizetype len = 0;
    bool negative = false;
    qsizetype i = 0;
    if (i < number.size() && (number[i] == u'+' || number[i] == u'-'))
        negative = number[i++] == u'-';
    for (; i < number.size(); ++i) {
        const QChar c = number[i];
        ascii[len++] = c == u'd' || c == u'D' ? 'e' : static_cast<char>(c.unicode());
    }
    double value = 0.0;
    const auto [rest, ec] = std::from_chars(ascii, ascii + len, value);
    if (ec == std::errc::result_out_of_range) {
        // Too large a magnitude reads as infinite (no integer field holds
        // it), too small as 0.
        const char* e = std::find(ascii, ascii + len, 'e');
        const bool tiny = e + 1 < ascii + len && e[1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

// The common case of a numeric prefix: an optional sign and at most 15
// digits, not followed by a decimal point or an exponent mark. Such a number
// is exact as a double, so no general conversion is needed. False when the
// text starts otherwise; `length` receives the characters read.
// Index of the first `c` in p[from, n), or n.
qsizetype FindChar(const char16_t* p, qsizetype from, qsizetype n, char16_t c)
{
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
    for (; i + 8 <= n; i += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, wanted)));
        if (hits)
            return i + std::countr_zero(hits) / 2;
    }
#endif
    for (; i < n; ++i)
        if (p[i] == c)
            return i;
    return n;
}

struct Plain {
    bool negative = false;
    std::int64_t magnitude = 0;
    qsizetype length = 0;
};

bool ReadPlain(QStringView text, Plain& out)
{
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (p[i] == u'+' || p[i] == u'-'))
        negative = p[i++] == u'-';
    const qsizetype first = i;
    std::int64_t v = 0;
    while (i < n && p[i] >= u'0' && p[i] <= u'9' && i - first < 16)
        v = v * 10 + (p[i++] - u'0');
    const qsizetype digits = i - first;
    if (digits == 0 || digits > 15)
        return false;
    if (i < n) {
        const char16_t c = p[i];
        if (c == u'.' || c == u'e' || c == u'E' || c == u'd' || c == u'D')
            return false;
    }
    out = Plain{negative, v, i};
    return true;
}

bool ShortInteger(QStringView text, qsizetype& length, double& value)
{
    Plain plain;
    if (!ReadPlain(text, plain))
        return false;
    length = plain.length;
    // "-0" reads as negative zero, as the general reading has it.
    value = plain.negative ? -static_cast<double>(plain.magnitude) : static_cast<double>(plain.magnitude);
    return true;
}

// Bytes widened as Latin-1 differ from Windows-1252 only at 0x80..0x9F: mend
// those few. Eight bytes at a time are skipped while none has its high bit
// set, which is all of most record files.
void MendHighBytes(const unsigned char* src, char16_t* dst, qsizetype n)
{
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, src + i, sizeof word);
        if ((word & 0x8080808080808080ULL) == 0)
            continue;
        for (qsizetype k = i; k < i + 8; ++k)
            if ((src[k] & 0xE0) == 0x80)
                dst[k] = kHigh[src[k] & 0x1F];
    }
    for (; i < n; ++i)
        if ((src[i] & 0xE0) == 0x80)
            dst[i] = kHigh[src[i] & 0x1F];
}

} // namespace

QString DecodeWindows1252(QByteArrayView bytes)
{
    // Widen every byte as Latin-1 (Qt does that in vector steps), then mend
    // the few that Windows-1252 maps elsewhere.
    const qsizetype n = bytes.size();
    if (n == 0)
        return QString(0, Qt::Uninitialized); // empty, not null
    QString out = QString::fromLatin1(bytes.data(), n);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    MendHighBytes(src, dst, n);
    return out;
}

QByteArray EncodeWindows1252(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        dst[i] = EncodeChar(text[i].unicode());
    return out;
}

qint64 FileLength(const QString& path)
{
    if (path.isEmpty())
        return 0;
    // One look-up: isFile() is false for a missing path as well.
    const QFileInfo info(path);
    if (!info.isFile() || info.isHidden())
        return 0;
    return info.size();
}

#if defined(Q_OS_LINUX)

FileLengths::~FileLengths()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

qint64 FileLengths::operator()(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return FileLength(path);
    const QStringView folder = QStringView(path).first(slash + 1);
    if (folder != m_folder)
        return (*this)(folder.toString(), QStringView(path).sliced(slash + 1));
    return (*this)(m_folder, QStringView(path).sliced(slash + 1));
}

qint64 FileLengths::operator()(const QString& folder, QStringView name)
{
    if (folder.isEmpty() || !folder.endsWith(u'/') || name.isEmpty())
        return FileLength(QString(folder).append(name));
    if (folder.constData() != m_folder.constData() && folder != m_folder) {
        if (m_handle >= 0)
            ::close(m_handle);
        m_folder = folder;
        m_handle = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (m_handle < 0)
        return FileLength(QString(folder).append(name));
    // Hidden files count as missing, as FileLength has them.
    if (name.front() == u'.')
        return 0;
    // Plain short names (all the program looks up) go without an allocation.
    char plain[64];
    QByteArray encoded;
    const char* systemName = plain;
    if (name.size() < qsizetype(sizeof plain) &&
        std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 0 && c.unicode() < 0x80; })) {
        std::transform(name.begin(), name.end(), plain, [](QChar c) { return static_cast<char>(c.unicode()); });
        plain[name.size()] = '\0';
    } else {
        encoded = QFile::encodeName(name.toString());
        systemName = encoded.constData();
    }
    struct stat info;
    if (::fstatat(m_handle, systemName, &info, 0) != 0 || !S_ISREG(info.st_mode))
        return 0;
    return static_cast<qint64>(info.st_size);
}

#else

FileLengths::~FileLengths() = default;

qint64 FileLengths::operator()(const QString& path)
{
    return FileLength(path);
}

qint64 FileLengths::operator()(const QString& folder, QStringView name)
{
    return FileLength(QString(folder).append(name));
}

#endif

bool FolderExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

std::vector<QStringView> SplitLines(QStringView text)
{
    std::vector<QStringView> lines;
    SplitLines(text, lines);
    return lines;
}

void SplitLines(QStringView text, std::vector<QStringView>& lines)
{
    lines.clear();
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n) {
        const qsizetype end = FindChar(p, start, n, u'\n');
        qsizetype stop = end;
        // A CR right before the line end is part of the line end, and so is
        // a CR that ends the text.
        if (stop > start && p[stop - 1] == u'\r')
            --stop;
        lines.emplace_back(p + start, stop - start);
        start = end + 1;
    }
}

namespace {

constexpr qsizetype kReadChunk = qsizetype(256) << 10;

QString SystemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

bool IsRegularFile(const QString& path)
{
    if (path.isEmpty())
        return false;
#if defined(Q_OS_UNIX)
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
#else
    return QFileInfo(path).isFile();
#endif
}

bool ReadRegularFile(const QString& path, qint64 limit, QByteArray& bytes)
{
    bytes.clear();
    if (path.isEmpty())
        return false;
#if defined(Q_OS_UNIX)
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return false;
    struct stat info;
    bool ok = ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= limit;
    if (ok) {
        bytes.resize(static_cast<qsizetype>(info.st_size));
        qsizetype have = 0;
        while (have < bytes.size()) {
            const ssize_t got = ::read(handle, bytes.data() + have, static_cast<size_t>(bytes.size() - have));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                ok = false;
            if (got <= 0)
                break; // an error, or a file that shrank: what is there
            have += got;
        }
        bytes.resize(have);
    }
    ::close(handle);
    if (!ok)
        bytes.clear();
    return ok;
#else
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > limit)
        return false;
    bytes = file.read(limit);
    return file.error() == QFileDevice::NoError;
#endif
}

RecordReader::RecordReader(const QString& path)
{
    if (path.isEmpty())
        return;
    qint64 size = 0;
#if defined(Q_OS_UNIX)
    // Hidden files count as missing, as FileLength has them.
    const qsizetype slash = path.lastIndexOf(u'/');
    if (path.size() > slash + 1 && path[slash + 1] == u'.')
        return;
    // Opened without waiting, so that a FIFO or a device cannot block; only
    // a regular file is then read.
    m_handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_handle < 0) {
        const int code = errno;
        if (code != ENOENT && code != ENOTDIR && code != ENXIO && code != ELOOP && code != ENAMETOOLONG) {
            m_state = State::Refused;
            m_reason = QStringLiteral("cannot be read: %1").arg(SystemReason(code));
        }
        return;
    }
    struct stat info;
    if (::fstat(m_handle, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 1) {
        ::close(m_handle);
        m_handle = -1;
        return;
    }
    size = static_cast<qint64>(info.st_size);
#else
    size = FileLength(path);
    if (size < 1)
        return;
    m_file = std::make_unique<QFile>(path);
    if (!m_file->open(QIODevice::ReadOnly)) {
        m_state = State::Refused;
        m_reason = QStringLiteral("cannot be read: %1").arg(m_file->errorString());
        m_file.reset();
        return;
    }
#endif
    if (size > kMaxRecordFileSize) {
        m_state = State::Refused;
        m_reason = QStringLiteral("file of %1 bytes skipped: record files are at most %2 bytes")
                       .arg(size)
                       .arg(kMaxRecordFileSize);
        return;
    }
    m_state = State::Open;
    m_bytes.resize(static_cast<size_t>(std::min<qint64>(size, kReadChunk)));
}

RecordReader::~RecordReader()
{
#if defined(Q_OS_UNIX)
    if (m_handle >= 0)
        ::close(m_handle);
#endif
}

void RecordReader::decodeAppend(const char* bytes, qsizetype n)
{
    if (m_first) {
        m_first = false;
        if (n >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) {
            m_utf8 = true;
            m_decoder = std::make_unique<QStringDecoder>(QStringDecoder::Utf8);
            bytes += 3;
            n -= 3;
        }
    }
    const qsizetype room = m_utf8 ? m_decoder->requiredSpace(n) : n;
    if (m_text.size() < static_cast<size_t>(m_end + room))
        m_text.resize(static_cast<size_t>(m_end + room));
    char16_t* dst = m_text.data() + m_end;
    if (m_utf8) {
        // A sequence cut by the end of a read is completed by the next one.
        QChar* out = m_decoder->appendToBuffer(reinterpret_cast<QChar*>(dst), QByteArrayView(bytes, n));
        m_end = reinterpret_cast<char16_t*>(out) - m_text.data();
        return;
    }
    const auto* src = reinterpret_cast<const unsigned char*>(bytes);
    // Windows-1252 agrees with Latin-1 but for 0x80..0x9F: every byte is
    // widened (sixteen at a time where the processor allows), then those few
    // are mended.
    qsizetype w = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; w + 16 <= n; w += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + w));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + w), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + w + 8), _mm_unpackhi_epi8(chunk, zero));
    }
#endif
    for (; w < n; ++w)
        dst[w] = src[w];
    MendHighBytes(src, dst, n);
    m_end += n;
}

bool RecordReader::fill()
{
    // What was not returned yet moves to the front; an unfinished line that
    // is already too long is dropped and the rest of it passed over.
    const qsizetype pending = m_end - m_pos;
    if (m_skipping || pending > kMaxRecordLineLength + 1) {
        m_skipping = true;
        m_pos = m_end = 0;
    } else if (m_pos > 0) {
        std::memmove(m_text.data(), m_text.data() + m_pos, static_cast<size_t>(pending) * sizeof(char16_t));
        m_pos = 0;
        m_end = pending;
    }
    for (;;) {
        qint64 got = 0;
#if defined(Q_OS_UNIX)
        got = ::read(m_handle, m_bytes.data(), m_bytes.size());
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got < 0)
            m_reason = QStringLiteral("read failed: %1").arg(SystemReason(errno));
#else
        got = m_file->read(m_bytes.data(), static_cast<qint64>(m_bytes.size()));
        if (got < 0)
            m_reason = QStringLiteral("read failed: %1").arg(m_file->errorString());
#endif
        if (got <= 0) {
            m_eof = true;
            return false;
        }
        decodeAppend(m_bytes.data(), static_cast<qsizetype>(got));
        return true;
    }
}

bool RecordReader::next(QStringView& line)
{
    if (m_state != State::Open)
        return false;
    for (;;) {
        const qsizetype nl = FindChar(m_text.data(), m_pos, m_end, u'\n');
        const bool complete = nl < m_end;
        if (!complete && !m_eof && fill())
            continue;
        const char16_t* p = m_text.data();
        if (!complete && m_pos >= m_end && !m_skipping)
            return false; // end of the file
        const qsizetype start = m_pos;
        qsizetype stop = complete ? nl : m_end;
        m_pos = complete ? nl + 1 : m_end;
        ++m_lineNumber;
        // A CR right before the line end is part of the line end, and so is
        // a CR that ends the file.
        if (stop > start && p[stop - 1] == u'\r')
            --stop;
        if (m_skipping || stop - start > kMaxRecordLineLength) {
            m_skipping = false;
            m_longLines.push_back(m_lineNumber);
            continue;
        }
        line = QStringView(p + start, stop - start);
        return true;
    }
}

bool ReadRecordFile(const QString& path, RecordText& out)
{
    out.text.clear();
    out.lines.clear();
    RecordReader reader(path);
    if (reader.state() != RecordReader::State::Open)
        return false;
    // Lines as offsets first: the text grows as it is read.
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    QStringView line;
    while (reader.next(line)) {
        while (static_cast<int>(spans.size()) + 1 < reader.lineNumber())
            spans.emplace_back(out.text.size(), 0); // over-long lines read as empty
        spans.emplace_back(out.text.size(), line.size());
        out.text.append(line);
        out.text.append(u'\n');
    }
    if (!reader.reason().isEmpty()) {
        out.text.clear();
        return false;
    }
    while (static_cast<int>(spans.size()) < reader.lineNumber())
        spans.emplace_back(out.text.size(), 0);
    out.lines.reserve(spans.size());
    for (const auto& [at, length] : spans)
        out.lines.emplace_back(out.text.constData() + at, length);
    return true;
}

QList<QStringView> SplitFields(QStringView line)
{
    Fields fields;
    SplitFields(line, fields);
    return QList<QStringView>(fields.begin(), fields.end());
}

void SplitFields(QStringView line, Fields& fields)
{
    fields.clear();
    // Fields are short: a scan of the whole line beats a library search per
    // field. Eight characters at a time where the processor allows.
    const char16_t* p = line.utf16();
    const qsizetype n = line.size();
    qsizetype start = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi16(u'\t');
    for (; i + 8 <= n; i += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        // Two mask bits per character.
        auto tabs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, tab)));
        while (tabs) {
            const qsizetype at = i + std::countr_zero(tabs) / 2;
            fields.append(QStringView(p + start, at - start));
            start = at + 1;
            tabs &= tabs - 1;
            tabs &= tabs - 1;
        }
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == u'\t') {
            fields.append(QStringView(p + start, i - start));
            start = i + 1;
        }
    }
    fields.append(QStringView(p + start, n - start));
}

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
    const QByteArray target = QFile::encodeName(path);
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

double LeadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    qsizetype shortLength = 0;
    double shortValue = 0.0;
    if (ShortInteger(text.sliced(i), shortLength, shortValue))
        return shortValue;
    const qsizetype len = NumericPrefix(text, i);
    if (len == 0)
        return 0.0;
    return ParseNumber(text.sliced(i, len));
}

bool PlainInteger(QStringView text, bool whole, std::int64_t& value)
{
    Plain plain;
    if (whole) {
        // Only texts without blanks around them; the others take the
        // general reading, which trims them.
        if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
            return false;
        if (!ReadPlain(text, plain) || plain.length != text.size())
            return false;
    } else {
        qsizetype i = 0;
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (!ReadPlain(text.sliced(i), plain))
            return false;
    }
    value = plain.negative ? -plain.magnitude : plain.magnitude;
    return true;
}

std::optional<double> StrictNumber(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype shortLength = 0;
    double shortValue = 0.0;
    if (ShortInteger(t, shortLength, shortValue))
        return shortLength == t.size() ? std::optional<double>(shortValue) : std::nullopt;
    const qsizetype len = NumericPrefix(t, 0);
    if (len != t.size())
        return std::nullopt;
    return ParseNumber(t);
}

QString PadNumber(qint64 n, int k)
{
    const QString s = QString(k, u'0') + QString::number(n);
    return s.right(k);
}

bool ContainsAnyWord(QStringView text, const QStringList& words)
{
    for (const QString& w : words)
        if (text.contains(w))
            return true;
    return false;
}

void Diagnostics::add(const QString& file, int line, const QString& message)
{
    m_items.push_back(Diagnostic{file, line, message});
}

QString Diagnostics::format(const Diagnostic& d)
{
    if (d.line < 1)
        return QStringLiteral("%1: %2").arg(d.file, d.message);
    return QStringLiteral("%1:%2: %3").arg(d.file).arg(d.line).arg(d.message);
}

} // namespace records
