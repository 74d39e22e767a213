#include "layers/modNotes.h"

#include "core/RecordFields.h"
#include "elite/modCharacters.h"
#include "records/Windows1252.h"

#include <QStringList>

namespace modNotes {

namespace {
constexpr qsizetype kNoteFields = 6;
constexpr int32_t kMarkerHalf = 7;
const QString kEnterMark = QStringLiteral("{#ENTER#}");
const QString kLineBreak = QStringLiteral("\r\n");

// A tab would split the field; a line break would split the record.
QString ShortDescForFile(const QString& text)
{
    QString out = text;
    for (QChar& ch : out)
        if (ch == u'\t' || ch == u'\r' || ch == u'\n')
            ch = u' ';
    return out;
}

// CR LF pairs become the marker; so do a lone CR or LF, which the file could
// not hold either; tabs become blanks.
QString BodyForFile(const QString& body)
{
    QString out;
    out.reserve(body.size() + 16);
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar ch = body[i];
        if (ch == u'\r') {
            out += kEnterMark;
            if (i + 1 < body.size() && body[i + 1] == u'\n')
                ++i;
        } else if (ch == u'\n') {
            out += kEnterMark;
        } else if (ch == u'\t') {
            out += u' ';
        } else {
            out += ch;
        }
    }
    return out;
}
// The line SaveNotes writes for a note.
QString NoteLine(const MapNote& note)
{
    return ShortDescForFile(note.ShortDesc) + u'\t' + BodyForFile(note.Body) + u'\t' + QString::number(note.X) + u'\t' +
           QString::number(note.Y) + u'\t' + QString::number(note.Campaign) + u'\t' + QString::number(note.Region);
}

bool HasLoneLineEnd(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        else if (text[i] == u'\r' || text[i] == u'\n')
            return true;
    }
    return false;
}
} // namespace

TextProblem CheckNoteTexts(const QString& shortDesc, const QString& body)
{
    const auto title = [](const QString& message) { return TextProblem{message, true}; };
    const auto text = [](const QString& message) { return TextProblem{message, false}; };
    if (records::IsBlankText(shortDesc))
        return title(QStringLiteral("A note needs a title."));
    if (records::TrimBlanks(shortDesc).size() != shortDesc.size())
        return title(QStringLiteral("A title cannot start or end with a blank."));
    if (shortDesc.startsWith(u';'))
        return title(QStringLiteral("A title cannot start with \";\": the notes file reads such a line as a "
                                    "comment, and the note would be lost at the next start."));
    if (shortDesc.contains(u'\t') || shortDesc.contains(u'\r') || shortDesc.contains(u'\n'))
        return title(QStringLiteral("A title cannot hold a tab or a line break."));
    if (const QString bad = records::CharactersOutsideWindows1252(shortDesc); !bad.isEmpty())
        return title(QStringLiteral("The notes file cannot hold these characters of the title: %1").arg(bad));
    if (body.contains(u'\t'))
        return text(QStringLiteral("The text of a note cannot hold a tab; please use blanks instead."));
    if (body.contains(kEnterMark))
        return text(QStringLiteral("The text of a note cannot hold %1: the notes file marks line breaks with it.")
                        .arg(kEnterMark));
    if (HasLoneLineEnd(body))
        return text(QStringLiteral("The text of a note holds a line break the notes file cannot keep."));
    if (const QString bad = records::CharactersOutsideWindows1252(body); !bad.isEmpty())
        return text(QStringLiteral("The notes file cannot hold these characters of the text: %1").arg(bad));
    MapNote probe;
    probe.ShortDesc = shortDesc;
    probe.Body = body;
    PlaceNote(probe, INT32_MIN, INT32_MIN); // the longest numbers a line can hold
    probe.Campaign = probe.Region = UINT8_MAX;
    if (NoteLine(probe).size() > records::kMaxRecordLineLength)
        return text(QStringLiteral("The note is too long: title and text together can hold about %1 characters.")
                        .arg(records::kMaxRecordLineLength - 40));
    return {};
}

void PlaceNote(MapNote& note, int32_t x, int32_t y)
{
    records::SetMarker(note, x, y, kMarkerHalf);
}

void LoadNotes(const LoadContext& ctx, Tables& notes)
{
    notes = Tables{};
    const QString rel = QString::fromLatin1(kNotesFile);
    records::Fields f;
    const bool read = ctx.forEachLine(rel, [&](QStringView raw, int lineNo) {
        const QStringView line = records::TrimBlanks(raw);
        if (line.isEmpty())
            return;
        if (line.front() == u';') {
            notes.Unread << raw.toString();
            return;
        }
        records::SplitFields(line, f);
        if (f.size() != kNoteFields) {
            ctx.warn(rel, lineNo,
                     QStringLiteral("a note line has 6 fields, this one %1 (kept as it is)").arg(f.size()));
            notes.Unread << raw.toString();
            return;
        }
        const auto x = records::NumberField<int32_t>(f[2]);
        const auto y = records::NumberField<int32_t>(f[3]);
        const auto campaign = records::NumberField<uint8_t>(f[4]);
        const auto region = records::NumberField<uint8_t>(f[5]);
        const QStringView title = records::TrimBlanks(f[0]);
        if (!x || !y || !campaign || !region || title.isEmpty()) {
            ctx.warn(rel, lineNo,
                     QStringLiteral("coordinate, campaign or region out of range, or no title (kept as it is)"));
            notes.Unread << raw.toString();
            return;
        }
        MapNote& note = notes.Notes.emplace_back();
        note.ShortDesc = title.toString();
        note.Body = f[1].toString();
        note.Body.replace(kEnterMark, kLineBreak);
        note.Campaign = *campaign;
        note.Region = *region;
        PlaceNote(note, *x, *y);
    });
    notes.Refused = !read && records::FileLength(ctx.path(rel)) >= 1;
}

bool SaveNotes(const QString& appFolder, const Tables& notes, QString* error)
{
    const QString path = appFolder + QString::fromLatin1(kNotesFile);
    if (notes.Refused) {
        if (error)
            *error = QStringLiteral("%1: the notes file could not be read at start, so it is not replaced").arg(path);
        return false;
    }
    QStringList lines = notes.Unread;
    qint64 bytes = 0;
    for (const QString& line : lines)
        bytes += line.size() + 2;
    for (size_t n = 1; n < notes.Notes.size(); ++n) {
        const MapNote& note = notes.Notes[n];
        if (note.ShortDesc.isEmpty())
            continue;
        lines << NoteLine(note);
        bytes += lines.back().size() + 2;
    }
    if (bytes > records::kMaxRecordFileSize) {
        if (error)
            *error = QStringLiteral("%1: the notes would make a file too large to be read again").arg(path);
        return false;
    }
    if (!modCharacters::EnsurePersonalFolder(appFolder, error))
        return false;
    return records::WriteRecordFile(path, lines, error);
}

} // namespace modNotes
