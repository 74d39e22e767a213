#include "core/RecordFile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>

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

} // namespace

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        dst[i] = (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b);
    }
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

bool FolderExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

std::vector<QStringView> SplitLines(QStringView text)
{
    std::vector<QStringView> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = text.indexOf(u'\n', start);
        const qsizetype next = end < 0 ? n : end + 1;
        if (end < 0)
            end = n;
        qsizetype stop = end;
        if (stop > start && text[stop - 1] == u'\r' && end < n)
            --stop;
        else if (end == n && stop > start && text[stop - 1] == u'\r')
            --stop;
        lines.push_back(text.sliced(start, stop - start));
        start = next;
    }
    return lines;
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
    out.lines = SplitLines(out.text);
    return true;
}

QList<QStringView> SplitFields(QStringView line)
{
    QList<QStringView> fields;
    SplitFields(line, fields);
    return fields;
}

void SplitFields(QStringView line, QList<QStringView>& fields)
{
    fields.clear();
    qsizetype start = 0;
    for (;;) {
        const qsizetype tab = line.indexOf(u'\t', start);
        if (tab < 0) {
            fields.append(line.sliced(start));
            return;
        }
        fields.append(line.sliced(start, tab - start));
        start = tab + 1;
    }
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
    const qsizetype len = NumericPrefix(text, i);
    if (len == 0)
        return 0.0;
    return ParseNumber(text.sliced(i, len));
}

std::optional<double> StrictNumber(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
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
