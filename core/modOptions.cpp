#include "core/modOptions.h"

#include "core/TextNumbers.h"

#include <cmath>
#include <functional>
#include <map>

namespace modOptions {

void InitColourTable(ColourTable& colours)
{
    colours = {
        QColor(255, 219, 93), QColor(118, 156, 218), QColor(175, 224, 196), QColor(176, 176, 176), QColor(204, 123, 60),
        QColor(0, 0, 0),      QColor(0, 0, 0),       QColor(0, 0, 0),       QColor(176, 176, 176),
    };
}

namespace {

// Stores a value read by its leading number into a setting; false when it
// does not fit the setting's type.
using Store = std::function<bool(Settings&, QStringView)>;

template <typename T>
Store Number(T Settings::*field)
{
    return [field](Settings& s, QStringView value) {
        const auto v = records::NumberField<T>(value);
        if (!v)
            return false;
        s.*field = *v;
        return true;
    };
}

// The whole value must be a number within the setting's type ("1abc" is
// refused).
template <typename T>
Store Strict(T Settings::*field)
{
    return [field](Settings& s, QStringView value) {
        const auto v = records::StrictField<T>(value);
        if (!v)
            return false;
        s.*field = *v;
        return true;
    };
}

Store Boolean(bool Settings::*field)
{
    return [field](Settings& s, QStringView value) {
        s.*field = std::nearbyint(records::LeadingNumber(value)) != 0.0;
        return true;
    };
}

const std::map<QString, Store>& Keys()
{
    static const std::map<QString, Store> keys = {
        {QStringLiteral("Campaign"), Number(&Settings::Campaign)},
        {QStringLiteral("Region"), Number(&Settings::Region)},
        // A start always comes up with the first zone entry (all zones).
        {QStringLiteral("Zone"),
         [](Settings& s, QStringView) {
             s.Zone = 0;
             return true;
         }},
        {QStringLiteral("Profession"), Number(&Settings::Profession)},
        {QStringLiteral("SecondaryProfession"), Number(&Settings::SecondaryProfession)},
        {QStringLiteral("AllElite"), Boolean(&Settings::AllElite)},
        {QStringLiteral("Character"), Number(&Settings::Character)},
        {QStringLiteral("Legend"), Boolean(&Settings::Legend)},
        {QStringLiteral("PosX"), Number(&Settings::PosX)},
        {QStringLiteral("PosY"), Number(&Settings::PosY)},
        {QStringLiteral("DimX"), Number(&Settings::DimX)},
        {QStringLiteral("DimY"), Number(&Settings::DimY)},
        {QStringLiteral("ShowElites"), Strict(&Settings::ShowElites)},
        {QStringLiteral("ShowCollectors"), Strict(&Settings::ShowCollectors)},
        {QStringLiteral("ShowGreens"), Strict(&Settings::ShowGreens)},
        {QStringLiteral("ShowNotes"), Strict(&Settings::ShowNotes)},
        {QStringLiteral("LegendX"), Number(&Settings::LegendX)},
        {QStringLiteral("LegendY"), Number(&Settings::LegendY)},
        {QStringLiteral("RightClickNeeded"), Number(&Settings::RightClickNeeded)},
        {QStringLiteral("AlwaysOnTop"), Strict(&Settings::AlwaysOnTop)},
        {QStringLiteral("CollectorLevel"), Strict(&Settings::CollectorLevel)},
        {QStringLiteral("TreasuresNotOpenedBy"), Number(&Settings::TreasuresNotOpenedBy)},
        {QStringLiteral("EliteDone"), Strict(&Settings::EliteDone)},
        {QStringLiteral("ChestDone"), Strict(&Settings::ChestDone)},
        {QStringLiteral("LargeMarkers"), Strict(&Settings::LargeMarkers)},
        {QStringLiteral("MapZoom"), Number(&Settings::MapZoom)},
        {QStringLiteral("OverviewInset"), Strict(&Settings::OverviewInset)},
        {QStringLiteral("ShowRoute"), Strict(&Settings::ShowRoute)},
        {QStringLiteral("RouteEveryLayer"), Strict(&Settings::RouteEveryLayer)},
    };
    return keys;
}

constexpr QStringView kRouteStart = u"RouteStart";
// Campaign and region numbers of a route start key are those of the tables.
constexpr int kMaxAreaNumber = 255;

// "RouteStart<campaign>_<region>=x,y": false unless both numbers and both
// coordinates are whole numbers in range.
bool ReadRouteStart(Settings& s, QStringView key, QStringView value)
{
    const QStringView area = key.sliced(kRouteStart.size());
    const qsizetype bar = area.indexOf(u'_');
    const qsizetype comma = value.indexOf(u',');
    if (bar < 0 || comma < 0)
        return false;
    const auto c = records::StrictField<int32_t>(area.first(bar));
    const auto r = records::StrictField<int32_t>(area.sliced(bar + 1));
    const auto x = records::StrictField<int32_t>(value.first(comma).trimmed());
    const auto y = records::StrictField<int32_t>(value.sliced(comma + 1).trimmed());
    if (!c || !r || !x || !y || *c < 0 || *c > kMaxAreaNumber || *r < 0 || *r > kMaxAreaNumber)
        return false;
    s.RouteStarts[{*c, *r}] = QPoint(*x, *y);
    return true;
}

// One key per region: "RouteStart" followed by the region's numbers.
bool IsRouteStartKey(QStringView key)
{
    return key.startsWith(kRouteStart) && key.size() > kRouteStart.size();
}

void ReadOptionsFile(const LoadContext& ctx, Settings& settings)
{
    const QString relative = QString::fromUtf16(kOptionsFile);
    ctx.forEachLine(relative, [&](QStringView raw, int lineNo) {
        const QStringView line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'['))
            return;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) {
            ctx.warn(relative, lineNo, QStringLiteral("setting line without \"=\""));
            return;
        }
        const QStringView key = line.first(eq);
        if (IsRouteStartKey(key)) {
            if (!ReadRouteStart(settings, key, line.sliced(eq + 1)))
                ctx.warn(relative, lineNo, QStringLiteral("value of %1 out of range").arg(key));
            return;
        }
        const auto it = Keys().find(key.toString());
        if (it == Keys().end())
            return; // unknown keys are ignored
        if (!it->second(settings, line.sliced(eq + 1)))
            ctx.warn(relative, lineNo, QStringLiteral("value of %1 out of range").arg(it->first));
    });
}

void ReadLastUpdate(const LoadContext& ctx, QString& lastUpdateText, const QLocale& locale)
{
    const QString relative = QString::fromUtf16(kLastUpdateFile);
    records::RecordReader reader(ctx.path(relative));
    QStringView first;
    if (!ctx.opened(relative, reader) || !reader.next(first) || reader.lineNumber() != 1)
        return;
    if (first.trimmed().isEmpty())
        return;
    const std::optional<QDate> date = records::ParseLastUpdateLine(first);
    if (!date) {
        ctx.warn(relative, 1, QStringLiteral("not a date"));
        return;
    }
    lastUpdateText = FormatLastUpdate(*date, locale);
}

QString Flag(bool b)
{
    return b ? QStringLiteral("-1") : QStringLiteral("0");
}

} // namespace

QString FormatLastUpdate(const QDate& date, const QLocale& locale)
{
    return records::PadNumber(date.day(), 2) + u' ' + locale.monthName(date.month(), QLocale::ShortFormat) + u' ' +
           (date.year() >= 0 ? records::PadNumber(date.year(), 4) : QString::number(date.year()));
}

void LoadOptions(const LoadContext& ctx, const modLanguage::LanguageStrings& language, Settings& settings,
                 QString& lastUpdateText, const QLocale& locale)
{
    settings = Settings{};
    lastUpdateText = language(Text::NeverUpdated);
    ReadOptionsFile(ctx, settings);
    ReadLastUpdate(ctx, lastUpdateText, locale);
}

QStringList OptionsLines(const Settings& s, bool maximisedLayout)
{
    auto line = [](const char* key, qint64 value) { return QString::fromLatin1(key) + u'=' + QString::number(value); };
    QStringList lines;
    lines << QStringLiteral("[OLD SELECTION]");
    lines << line("Campaign", s.Campaign) << line("Region", s.Region) << line("Zone", s.Zone)
          << line("Profession", s.Profession) << line("SecondaryProfession", s.SecondaryProfession);
    lines << QStringLiteral("AllElite=") + Flag(s.AllElite);
    lines << line("Character", s.Character);
    lines << QStringLiteral("Legend=") + Flag(s.Legend);
    if (maximisedLayout)
        lines << line("PosX", -1) << line("PosY", -1) << line("DimX", -1) << line("DimY", -1);
    else
        lines << line("PosX", s.PosX) << line("PosY", s.PosY) << line("DimX", s.DimX) << line("DimY", s.DimY);
    lines << line("ShowElites", s.ShowElites) << line("ShowCollectors", s.ShowCollectors)
          << line("ShowGreens", s.ShowGreens) << line("ShowNotes", s.ShowNotes);
    lines << line("LegendX", s.LegendX) << line("LegendY", s.LegendY);
    const int hover = s.RightClickNeeded == 0 ? 0 : s.RightClickNeeded == 1 ? 1 : 2;
    lines << line("RightClickNeeded", hover);
    lines << line("AlwaysOnTop", s.AlwaysOnTop);
    const int level = s.CollectorLevel == 2 ? 2 : s.CollectorLevel == 1 ? 1 : 0;
    lines << line("CollectorLevel", level);
    if (s.TreasuresNotOpenedBy > 0)
        lines << line("TreasuresNotOpenedBy", s.TreasuresNotOpenedBy);
    if (s.EliteDone != 0)
        lines << line("EliteDone", 1);
    if (s.ChestDone != 0)
        lines << line("ChestDone", 1);
    if (s.LargeMarkers != 0)
        lines << line("LargeMarkers", 1);
    if (s.MapZoom != 100)
        lines << line("MapZoom", s.MapZoom);
    if (s.OverviewInset != 0)
        lines << line("OverviewInset", 1);
    if (s.ShowRoute != 0)
        lines << line("ShowRoute", 1);
    if (s.RouteEveryLayer != 0)
        lines << line("RouteEveryLayer", 1);
    for (const auto& [area, at] : s.RouteStarts)
        lines << kRouteStart.toString() + QString::number(area.first) + u'_' + QString::number(area.second) + u'=' +
                     QString::number(at.x()) + u',' + QString::number(at.y());
    return lines;
}

bool SaveOptions(const QString& appFolder, const Settings& settings, bool maximisedLayout, QString* error)
{
    return records::WriteRecordFile(appFolder + QString::fromUtf16(kOptionsFile),
                                    OptionsLines(settings, maximisedLayout), error);
}

} // namespace modOptions
