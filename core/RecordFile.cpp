#include "core/RecordFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <bit>
#include <array>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(Q_OS_LINUX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace records {

namespace {

// Windows-1252 bytes 0x80..0x9F; the undefined ones keep their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
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

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Length of the numeric prefix of text starting at pos, 0 when there is none.
qsizetype NumericPrefix(QStringView text, qsizetype pos)
{
    qsizetype i = pos;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && IsDigit(text[i])) { ++i; ++digits; }
    if (i < n && text[i] == u'.') {
        qsizetype j = i + 1;
        qsizetype frac = 0;
        while (j < n && IsDigit(text[j])) { ++j; ++frac; }
        if (digits + frac > 0) { i = j; digits += frac; }
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        qsizetype exp = 0;
        while (j < n && IsDigit(text[j])) { ++j; ++exp; }
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

} // namespace

QString DecodeWindows1252(QByteArrayView bytes)
{
    // Windows-1252 agrees with Latin-1 except for the bytes 0x80..0x9F: widen
    // every byte (Qt does that in vector steps), then mend those few; eight
    // bytes at a time are skipped while none has its high bit set, which is
    // all of most record files.
    const qsizetype n = bytes.size();
    if (n == 0)
        return QString(0, Qt::Uninitialized); // empty, not null
    QString out = QString::fromLatin1(bytes.data(), n);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
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

bool ReadRecordFile(const QString& path, RecordText& out)
{
    out.text.clear();
    out.lines.clear();
    if (FileLength(path) < 1)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    out.text = DecodeWindows1252(bytes);
    SplitLines(out.text, out.lines);
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

bool WriteFileAtomically(const QString& path, QByteArrayView bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    // The buffered bytes reach the disk here; a failure (disk full, file too
    // large) is not remembered by commit(), which would then put a cut-off
    // file in place of the old one.
    if (!file.flush()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

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
    return QStringLiteral("%1:%2: %3").arg(d.file).arg(d.line).arg(d.message);
}

} // namespace records
