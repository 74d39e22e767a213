// Field readers shared by the map-layer loaders: blank trimming as the record
// files mean it (blanks only, never tabs), map coordinates with their marker
// rectangles, and the "\n" / line-break conventions of free-text columns.
#pragma once

#include "core/modCampaigns.h"
#include "records/RecordFile.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace records {

// Leading and trailing blanks (spaces) removed; tabs and other characters stay,
// so trimming never changes a line's field count.
QStringView TrimBlanks(QStringView text);
// True when the text is empty or holds only blanks.
bool IsBlankText(QStringView text);

// The path of `fileName` in the folder of campaign c relative to the program
// folder; empty when the campaign does not exist.
QString CampaignFile(const CampaignTable& campaigns, size_t c, const QString& fileName);

// Reads `fileName` in the folder of campaign c whole; false when the campaign
// does not exist or the file is missing or empty. `rel` receives the file's
// path relative to the program folder, for diagnostics. The loaders stream
// their files instead (ForEachCampaignLine), which reports refused files and
// over-long lines.
bool ReadCampaignFile(const LoadContext& ctx, const CampaignTable& campaigns, size_t c, const QString& fileName,
                      QString& rel, RecordText& text);

// Calls fn(c, rel, line, lineNumber) for every non-empty line of `fileName` in
// the folder of each campaign, campaigns in ascending order, lines numbered
// from 1; `rel` is the file's path relative to the program folder.
template <typename Fn>
void ForEachCampaignLine(const LoadContext& ctx, const CampaignTable& campaigns, const QString& fileName, Fn&& fn)
{
    for (size_t c = 0; c < campaigns.size(); ++c) {
        const QString rel = CampaignFile(campaigns, c, fileName);
        if (rel.isEmpty())
            continue;
        ctx.forEachLine(rel, [&](QStringView line, int lineNo) { fn(c, rel, line, lineNo); });
    }
}

// `text` in lower case, as QString::toLower gives it, into `out` (whose
// storage is reused). Names are mostly plain ASCII, which is lowered here
// without the general case tables.
void LowerCase(QStringView text, QString& out);
QString LowerCase(QStringView text);

// Shares the text of equal field values: columns that repeat a few values
// over thousands of records (attributes, skill types, marker codes, item
// properties) then hold one copy of each instead of one per record. Equal
// texts give equal strings, so what a record holds is the same either way.
class TextPool {
public:
    QString get(QStringView text);

private:
    void grow();

    // Open addressing over a power-of-two table; a slot holding a null
    // string is free.
    struct Slot {
        std::size_t hash = 0;
        QString text;
    };
    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
};

// Map coordinates beyond this magnitude are refused: no region picture comes
// near it, and it keeps every marker rectangle inside 32 bits.
constexpr int32_t kCoordinateLimit = 1'000'000'000;

// A coordinate field read by its leading number, rounded; nullopt when it lies
// beyond kCoordinateLimit.
std::optional<int32_t> CoordinateField(QStringView text);

// Sets X, Y and the marker rectangle X-half .. X+half, Y-half .. Y+half of a
// record with those members; edges beyond the 32-bit range stop at its ends.
template <typename Rec>
void SetMarker(Rec& rec, int32_t x, int32_t y, int32_t half)
{
    const auto edge = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    rec.X = x;
    rec.Y = y;
    rec.Left = edge(int64_t{x} - half);
    rec.Top = edge(int64_t{y} - half);
    rec.Right = edge(int64_t{x} + half);
    rec.Bottom = edge(int64_t{y} + half);
}

// n with leading zeros to at least k digits; unlike PadNumber a longer number
// keeps all its digits, so that a written number always reads back as itself.
QString PadNumberWhole(qint64 n, int k);

// Every two-character sequence backslash-n becomes CR LF.
QString BackslashNToLineBreaks(QStringView text);

} // namespace records
