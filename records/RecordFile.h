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
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QFile;
class QStringDecoder;

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

// True when the path names a regular file (not a folder, FIFO, socket or
// device): the only kind of file the program opens for reading, so that no
// read can block. Every picture is checked with it before it is loaded.
bool IsRegularFile(const QString& path);

// The whole content of a regular file of at most `limit` bytes, opened so
// that no FIFO or device can block; false when the path names no regular
// file, the file is larger or it cannot be read.
bool ReadRegularFile(const QString& path, qint64 limit, QByteArray& bytes);

// Limits of what is read from a record file: real files stay far below
// both, and a file beyond them cannot stall the program or fill its memory.
inline constexpr qint64 kMaxRecordFileSize = qint64(64) << 20;
inline constexpr qsizetype kMaxRecordLineLength = qsizetype(64) << 10;

// Streams a record file line by line, with memory bounded by the longest line
// read. Lines end at LF or CR LF; a last line without a line end counts. The
// text is Windows-1252, or UTF-8 when the file starts with the UTF-8 byte-order
// mark (the mark itself is dropped). A file that is missing, empty, hidden or
// not a regular file counts as missing; one above kMaxRecordFileSize, or one
// that cannot be read, is refused with a reason; a line above
// kMaxRecordLineLength is passed over (it still takes its line number).
class RecordReader {
public:
    enum class State { Missing, Open, Refused };

    explicit RecordReader(const QString& path);
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    State state() const { return m_state; }
    // Why a file was refused, or why reading stopped early; for a missing
    // file, set only when the path is a link that leads to no regular file.
    const QString& reason() const { return m_reason; }
    bool utf8() const { return m_utf8; }

    // The next line; false at the end of the file (or when reading fails,
    // which sets reason()). The view stays valid until the next call.
    bool next(QStringView& line);
    // Number of the line last returned, counted from 1.
    int lineNumber() const { return m_lineNumber; }
    // Numbers of the over-long lines passed over since the last call.
    std::vector<int> takeLongLines() { return std::exchange(m_longLines, {}); }
    bool hasLongLines() const { return !m_longLines.empty(); }

private:
    bool fill();
    void noteBadLink(const QString& path);
    void decodeAppend(const char* bytes, qsizetype n);

    State m_state = State::Missing;
    QString m_reason;
    int m_handle = -1;
    std::unique_ptr<QFile> m_file; // where the system calls are not used
    bool m_eof = false;
    bool m_utf8 = false;
    bool m_first = true;
    bool m_skipping = false; // inside an over-long line
    int m_lineNumber = 0;
    std::vector<int> m_longLines;
    std::vector<char> m_bytes;
    std::vector<char16_t> m_text; // decoded, not yet returned: [m_pos, m_end)
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
    std::unique_ptr<QStringDecoder> m_decoder; // UTF-8 state across reads
};

// A record file read whole: the decoded text and its lines (without line
// ends), read through RecordReader (so within its limits; over-long lines
// read as empty). The loaders stream instead; this suits small files only.
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
// a temporary file in the same folder that replaces `path` only when
// everything was written and synced to the disk. A link at `path` that leads
// to a regular file is written through (the temporary file is made beside
// that file and the link stays); a link to anything else is replaced. On any
// failure the old file stays byte for byte and `error` (when given) holds the
// path and the system's reason. When the first line would start with the
// bytes of the UTF-8 mark, an empty line goes first, so that the file is not
// read as UTF-8.
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
    int line = 0; // 0: the file as a whole
    QString message;
};

class Diagnostics {
public:
    void add(const QString& file, int line, const QString& message);
    const std::vector<Diagnostic>& items() const { return m_items; }
    bool empty() const { return m_items.empty(); }
    std::size_t size() const { return m_items.size(); }
    // "file:line: message" ("file: message" for the file as a whole)
    static QString format(const Diagnostic& d);

private:
    std::vector<Diagnostic> m_items;
};

} // namespace records
