// Shared conventions of every record file below the program folder: the
// Windows-1252 text boundary, line and field splitting, the leading-number
// and strict small-integer readings, zero padding, diagnostics for malformed
// lines, and atomic whole-file writes.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace records {

// ---- Text boundary -------------------------------------------------------

// Record files are single-byte Windows-1252 text. Every byte decodes (the five
// bytes the code page leaves undefined map to the control characters of the
// same value), so a read/write round trip keeps every byte.
QString DecodeWindows1252(QByteArrayView bytes);
// A character the code page cannot hold is written as "?".
QByteArray EncodeWindows1252(QStringView text);

// ---- Files ----------------------------------------------------------------

// Size of a regular file in bytes; 0 when the path is empty, names no regular
// file (folders, hidden files and missing files count as missing) or the
// look-up fails.
qint64 FileLength(const QString& path);
// FileLength for many files, cheaper where most lie in the same few folders:
// on Linux each folder is opened once and its files are looked up by name,
// which spares the system walking the whole path for every file. One object
// per thread.
class FileLengths {
public:
    FileLengths() = default;
    ~FileLengths();
    FileLengths(const FileLengths&) = delete;
    FileLengths& operator=(const FileLengths&) = delete;

    qint64 operator()(const QString& path);
    // The same for the file `name` in `folder` (ending in "/"); cheapest when
    // the calls for one folder pass the same string.
    qint64 operator()(const QString& folder, QStringView name);

private:
    QString m_folder; // of the open folder, with its final "/"
    int m_handle = -1;
};

// True when the path names an existing entry (a folder or a file).
bool FolderExists(const QString& path);

// A record file read whole: the decoded text and its lines (without line
// ends). Lines end at LF or CR LF; a last line without a line end counts.
struct RecordText {
    QString text;
    std::vector<QStringView> lines;
};

// Reads and decodes a record file. False (and `out` empty) when FileLength of
// the path is below 1 or the file cannot be read: a missing file is skipped.
bool ReadRecordFile(const QString& path, RecordText& out);
// Splits decoded text into lines as ReadRecordFile does.
std::vector<QStringView> SplitLines(QStringView text);
// The same into `lines`, whose storage is reused.
void SplitLines(QStringView text, std::vector<QStringView>& lines);

// Fields of a record line, split at every tab; consecutive tabs give empty
// fields, so a line without tabs is one field.
QList<QStringView> SplitFields(QStringView line);
// The same into `fields`, whose storage is reused from line to line.
using Fields = QVarLengthArray<QStringView, 16>;
void SplitFields(QStringView line, Fields& fields);

// Writes the lines whole, each ended by CR LF, encoded as Windows-1252, through
// a temporary file that replaces `path` only when everything was written.
// On failure the old file stays as it was and `error` (when given) says why.
bool WriteRecordFile(const QString& path, const QStringList& lines, QString* error = nullptr);
// The same for raw bytes (already encoded).
bool WriteFileAtomically(const QString& path, QByteArrayView bytes, QString* error = nullptr);

// ---- Numbers --------------------------------------------------------------

// The leading number of a text: leading blanks are skipped and the longest
// numeric prefix (sign, digits, decimal point, exponent) is taken; an empty
// or non-numeric text gives 0.
double LeadingNumber(QStringView text);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4); nullopt when the value does not fit T.
template <typename T>
std::optional<T> RoundToType(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value); // default rounding: to nearest, ties to even
    if (r < static_cast<double>(std::numeric_limits<T>::lowest()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(r);
}

// The common case of the readings here, a plain integer of at most 15 digits
// (sign allowed, no decimal point or exponent after it), read without the
// general conversion: with `whole`, the whole text must be one (as
// StrictNumber has it); otherwise its start, after blanks (as LeadingNumber
// has it). False when the text is not that simple; the general reading then
// decides, with the same result.
bool PlainInteger(QStringView text, bool whole, std::int64_t& value);

// A numeric field read by its leading number and rounded; nullopt when the
// rounded value is outside T's range (for example 70000 in a 16-bit field).
template <typename T>
std::optional<T> NumberField(QStringView text)
{
    std::int64_t plain = 0;
    if (PlainInteger(text, false, plain))
        return std::in_range<T>(plain) ? std::optional<T>(static_cast<T>(plain)) : std::nullopt;
    return RoundToType<T>(LeadingNumber(text));
}

// The whole text as a number (blanks around it allowed); nullopt when the text
// is empty or holds anything else.
std::optional<double> StrictNumber(QStringView text);

// A strict small-integer field: the whole text must be a number, rounded
// halves to even, within T's range; nullopt otherwise.
template <typename T>
std::optional<T> StrictField(QStringView text)
{
    std::int64_t plain = 0;
    if (PlainInteger(text, true, plain))
        return std::in_range<T>(plain) ? std::optional<T>(static_cast<T>(plain)) : std::nullopt;
    const auto v = StrictNumber(text);
    if (!v)
        return std::nullopt;
    return RoundToType<T>(*v);
}

// Last k characters of k zeros followed by the decimal text of n
// (PadNumber(7, 2) == "07", PadNumber(123, 4) == "0123", PadNumber(123, 2) == "23").
QString PadNumber(qint64 n, int k);

// True when any of the words occurs in text (case-sensitive).
bool ContainsAnyWord(QStringView text, const QStringList& words);

// ---- Diagnostics -----------------------------------------------------------

// A malformed line that a loader skipped: the file relative to the program
// folder (with "/"), the line number counted from 1, and the reason.
struct Diagnostic {
    QString file;
    int line = 0;
    QString message;
};

class Diagnostics {
public:
    void add(const QString& file, int line, const QString& message);
    const std::vector<Diagnostic>& items() const { return m_items; }
    bool empty() const { return m_items.empty(); }
    std::size_t size() const { return m_items.size(); }
    // "file:line: message"
    static QString format(const Diagnostic& d);

private:
    std::vector<Diagnostic> m_items;
};

} // namespace records
