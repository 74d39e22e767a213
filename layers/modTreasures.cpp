#include "layers/modTreasures.h"

#include "core/RecordFields.h"
#include "elite/modCharacters.h"

#include <QStringList>

namespace modTreasures {

namespace {
constexpr qsizetype kTreasureFields = 5;
constexpr int32_t kMarkerHalf = 7;
constexpr uint8_t kTreasureCampaign = 3;
constexpr qsizetype kDateLength = 8;
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

size_t CharacterSlots(const modCharacters::Tables& characters)
{
    return static_cast<size_t>(std::max(characters.highest(), 0)) + 1;
}
} // namespace

std::optional<QDate> ParseOpenedDate(QStringView text)
{
    if (text.size() != kDateLength || records::IsBlankText(text))
        return std::nullopt;
    const auto day = records::NumberField<int>(text.sliced(0, 2));
    const auto month = records::NumberField<int>(text.sliced(2, 2));
    const auto year = records::NumberField<int>(text.sliced(4, 4));
    if (!day || !month || !year || *year < kFirstYear || *year > kLastYear)
        return std::nullopt;
    // Days and months beyond their end carry over (day 32 of January is
    // 1 February); day or month 0 step back into the previous month or year.
    const QDate date = QDate(*year, 1, 1).addMonths(*month - 1).addDays(*day - 1);
    if (!date.isValid() || date.year() < kFirstYear || date.year() > kLastYear)
        return std::nullopt;
    return date;
}

QString FormatOpenedDate(const QDate& date)
{
    return QString::asprintf("%02d%02d%04d", date.day(), date.month(), date.year());
}

void LoadTreasures(const LoadContext& ctx, const modCharacters::Tables& characters, Tables& treasures)
{
    treasures = Tables{};
    const QString rel = QString::fromLatin1(kTreasureFile);
    records::RecordReader reader(ctx.path(rel));
    if (!ctx.opened(rel, reader))
        return;
    const size_t characterSlots = CharacterSlots(characters);
    // Every line that is not a comment takes the next number, whether it can
    // be read or not: opened-treasure records name chests by these numbers.
    const auto placeholder = [&] {
        Treasure& t = treasures.Treasures.emplace_back();
        t.Present = false;
        t.OpenedOn.assign(characterSlots, std::nullopt);
    };
    const auto longLines = [&] {
        for (int lineNo : reader.takeLongLines()) {
            ctx.warn(rel, lineNo,
                     QStringLiteral("line longer than %1 characters skipped").arg(records::kMaxRecordLineLength));
            placeholder();
        }
    };
    records::Fields f;
    QStringView line;
    while (reader.next(line)) {
        if (reader.hasLongLines())
            longLines();
        const int lineNo = reader.lineNumber();
        if (line.isEmpty() || line.front() == u';')
            continue;
        records::SplitFields(line, f);
        if (f.size() < kTreasureFields) {
            ctx.warn(rel, lineNo, QStringLiteral("fewer than 5 fields"));
            placeholder();
            continue;
        }
        const auto x = records::CoordinateField(f[1]);
        const auto y = records::CoordinateField(f[2]);
        const auto region = records::NumberField<uint8_t>(f[3]);
        const auto zone = records::StrictField<int32_t>(f[4]);
        if (!x || !y || !region || !zone) {
            ctx.warn(rel, lineNo, QStringLiteral("coordinate, region or zone out of range"));
            placeholder();
            continue;
        }
        Treasure& t = treasures.Treasures.emplace_back();
        t.Name = f[0].toString();
        t.Campaign = kTreasureCampaign;
        t.Region = *region;
        t.Zone = *zone;
        records::SetMarker(t, *x, *y, kMarkerHalf);
        t.OpenedOn.assign(characterSlots, std::nullopt);
    }
    longLines();
    ctx.finished(rel, reader);
}

void LoadOpenedTreasures(const LoadContext& ctx, const modCharacters::Tables& characters, Tables& treasures)
{
    const QString fileName = QString::fromLatin1(kOpenedTreasuresFile);
    treasures.UnreadOpened.clear();
    records::Fields f;
    for (int k = 1; k <= characters.highest(); ++k) {
        const QString rel = modCharacters::CharacterFile(k, fileName);
        ctx.forEachLine(rel, [&](QStringView line, int lineNo) {
            if (records::IsBlankText(line))
                return;
            records::SplitFields(line, f);
            const auto number = records::NumberField<int32_t>(f[0]);
            if (!number || *number < 1 || *number > treasures.count()) {
                ctx.warn(rel, lineNo, QStringLiteral("no treasure with this number (kept as it is)"));
                treasures.UnreadOpened[k] << line.toString();
                return;
            }
            Treasure& treasure = treasures.Treasures[static_cast<size_t>(*number)];
            // A chest whose line could not be read keeps its records as they
            // stood, for the day its line can be read again.
            if (!treasure.Present) {
                treasures.UnreadOpened[k] << line.toString();
                return;
            }
            auto& opened = treasure.OpenedOn;
            if (opened.size() <= static_cast<size_t>(k))
                opened.resize(static_cast<size_t>(k) + 1);
            // A line without a usable date leaves the chest not opened.
            opened[static_cast<size_t>(k)] = f.size() >= 2 ? ParseOpenedDate(f[1]) : std::nullopt;
        });
    }
}

bool SaveOpenedTreasures(const QString& appFolder, int character, const Tables& treasures, QString* error)
{
    if (character < 1 || character > modCharacters::kMaxCharacterNumber) {
        if (error)
            *error = QStringLiteral("character number %1 outside 1..%2")
                         .arg(character)
                         .arg(modCharacters::kMaxCharacterNumber);
        return false;
    }
    const auto k = static_cast<size_t>(character);
    const auto unread = treasures.UnreadOpened.find(character);
    QStringList lines = unread != treasures.UnreadOpened.end() ? unread->second : QStringList();
    for (int t = 1; t <= treasures.count(); ++t) {
        const Treasure& treasure = treasures.Treasures[static_cast<size_t>(t)];
        const auto& opened = treasure.OpenedOn;
        if (treasure.Present && k < opened.size() && opened[k])
            lines << records::PadNumberWhole(t, 4) + u'\t' + FormatOpenedDate(*opened[k]);
    }
    if (!modCharacters::EnsurePersonalFolder(appFolder, error))
        return false;
    return records::WriteRecordFile(
        appFolder + modCharacters::CharacterFile(character, QString::fromLatin1(kOpenedTreasuresFile)), lines, error);
}

} // namespace modTreasures
