// Numbers in record files: the leading number of a field as the files mean
// it (sign, digits, decimal point, exponent), the plain integers most fields
// hold, and strict whole-field numbers.
#include "records/RecordFile.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace records {

namespace {

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

} // namespace records
