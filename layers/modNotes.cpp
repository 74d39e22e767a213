#include "layers/modNotes.h"

#include "core/RecordFields.h"
#include "elite/modCharacters.h"

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
} // namespace

void PlaceNote(MapNote& note, int32_t x, int32_t y)
{
    records::SetMarker(note, x, y, kMarkerHalf);
}

void LoadNotes(const LoadContext& ctx, Tables& notes)
{
    notes = Tables{};
    const QString rel = QString::fromLatin1(kNotesFile);
    records::Fields f;
    ctx.forEachLine(rel, [&](QStringView raw, int lineNo) {
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
}

bool SaveNotes(const QString& appFolder, const Tables& notes, QString* error)
{
    QStringList lines = notes.Unread;
    for (size_t n = 1; n < notes.Notes.size(); ++n) {
        const MapNote& note = notes.Notes[n];
        if (note.ShortDesc.isEmpty())
            continue;
        lines << ShortDescForFile(note.ShortDesc) + u'\t' + BodyForFile(note.Body) + u'\t' + QString::number(note.X) +
                     u'\t' + QString::number(note.Y) + u'\t' + QString::number(note.Campaign) + u'\t' +
                     QString::number(note.Region);
    }
    if (!modCharacters::EnsurePersonalFolder(appFolder, error))
        return false;
    return records::WriteRecordFile(appFolder + QString::fromLatin1(kNotesFile), lines, error);
}

} // namespace modNotes
