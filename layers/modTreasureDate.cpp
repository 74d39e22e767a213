#include "layers/modTreasureDate.h"

#include "elite/modCharacters.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace modTreasureDate {

namespace {

constexpr int kDayWidthTwips = 285;
constexpr int kYearWidthTwips = 465;
constexpr int kSeparatorOverlapTwips = 15;

struct Range {
    int min, max;
};
Range RangeOf(DatePart part)
{
    switch (part) {
    case DatePart::Day:
        return {1, 31};
    case DatePart::Month:
        return {1, 12};
    case DatePart::Year:
        return {2006, 2100};
    }
    return {1, 31};
}

size_t Index(DatePart part)
{
    return static_cast<size_t>(part);
}

// The place of each part among the letters of a date format: the first run
// of one or two d's (longer runs are day names), of M's and of y's; quoted
// text is skipped. -1 when the format has no such run.
std::array<qsizetype, 3> LetterPositions(const QString& format)
{
    std::array<qsizetype, 3> at{-1, -1, -1};
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar ch = format[i];
        if (ch == u'\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == ch)
            ++run;
        if (!quoted) {
            if (ch == u'd' && run <= 2 && at[Index(DatePart::Day)] < 0)
                at[Index(DatePart::Day)] = i;
            else if (ch == u'M' && at[Index(DatePart::Month)] < 0)
                at[Index(DatePart::Month)] = i;
            else if (ch == u'y' && at[Index(DatePart::Year)] < 0)
                at[Index(DatePart::Year)] = i;
        }
        i += run;
    }
    return at;
}

DateOrder OrderOf(const std::array<qsizetype, 3>& at)
{
    DateOrder order = kDayMonthYear;
    // A part that was not found goes after the ones that were, in
    // day-month-year order (the sort is stable).
    auto key = [&](DatePart p) { return at[Index(p)] < 0 ? std::numeric_limits<qsizetype>::max() : at[Index(p)]; };
    std::stable_sort(order.begin(), order.end(), [&](DatePart a, DatePart b) { return key(a) < key(b); });
    return order;
}

bool AllDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
}

} // namespace

QString Tag(DatePart part)
{
    switch (part) {
    case DatePart::Day:
        return QStringLiteral("dd");
    case DatePart::Month:
        return QStringLiteral("mm");
    case DatePart::Year:
        return QStringLiteral("yyyy");
    }
    return {};
}

int MaxLength(DatePart part)
{
    return part == DatePart::Year ? 4 : 2;
}

DateOrder DetectDateOrder(const QString& shortDateFormat)
{
    const QString text = QLocale::c().toString(QDate(2011, 10, 16), shortDateFormat);
    std::array<qsizetype, 3> at{text.indexOf(QLatin1String("16")), text.indexOf(QLatin1String("10")),
                                text.indexOf(QLatin1String("2011"))};
    if (at[Index(DatePart::Year)] < 0)
        at[Index(DatePart::Year)] = text.indexOf(QLatin1String("11"));
    if (std::find(at.begin(), at.end(), -1) != at.end())
        at = LetterPositions(shortDateFormat);
    return OrderOf(at);
}

int BoxWidthTwips(DatePart part)
{
    return part == DatePart::Year ? kYearWidthTwips : kDayWidthTwips;
}

DateBoxLayout ArrangeDateBoxes(const DateOrder& order, int firstLeft, int separatorWidth)
{
    DateBoxLayout layout;
    layout.boxLeft[0] = firstLeft;
    for (size_t k = 0; k < 3; ++k) {
        layout.boxWidth[k] = BoxWidthTwips(order[k]);
        if (k > 0)
            layout.boxLeft[k] = layout.separatorLeft[k - 1] + separatorWidth;
        if (k < 2)
            layout.separatorLeft[k] = layout.boxLeft[k] + layout.boxWidth[k] - kSeparatorOverlapTwips;
    }
    return layout;
}

std::optional<QString> StepDatePart(DatePart part, const QString& text, bool up)
{
    const Range range = RangeOf(part);
    bool ok = false;
    const double read = QLocale::c().toDouble(text.trimmed(), &ok);
    const int number = ok && std::isfinite(read) && std::abs(read) < 1e9 ? static_cast<int>(std::lround(read)) : 0;
    // Past the end of the range in the arrow's direction, or outside it
    // altogether, the number wraps to the range's other end.
    int result = up ? number + 1 : number - 1;
    if (result > range.max || result < range.min)
        result = up ? range.min : range.max;
    if (result == number)
        return std::nullopt;
    return QStringLiteral("%1").arg(result, MaxLength(part), 10, QLatin1Char('0'));
}

bool AcceptsCharacter(QChar ch)
{
    return (ch >= u'0' && ch <= u'9') || ch == u'.';
}

QString DateBoxesText(const std::array<QString, 3>& boxes)
{
    return boxes[0] + u'-' + boxes[1] + u'-' + boxes[2];
}

EnteredDate EnteredFromBoxes(const DateOrder& order, const std::array<QString, 3>& boxes)
{
    EnteredDate entered;
    for (size_t k = 0; k < 3; ++k) {
        switch (order[k]) {
        case DatePart::Day:
            entered.day = boxes[k];
            break;
        case DatePart::Month:
            entered.month = boxes[k];
            break;
        case DatePart::Year:
            entered.year = boxes[k];
            break;
        }
    }
    return entered;
}

QString PartText(const QDate& date, DatePart part)
{
    const int value = part == DatePart::Day ? date.day() : part == DatePart::Month ? date.month() : date.year();
    return QStringLiteral("%1").arg(value, MaxLength(part), 10, QLatin1Char('0'));
}

std::optional<QDate> ReadEnteredDate(const EnteredDate& entered)
{
    const QString day = entered.day.trimmed(), month = entered.month.trimmed(), year = entered.year.trimmed();
    if (!AllDigits(day) || !AllDigits(month) || !AllDigits(year) || day.size() > 2 || month.size() > 2 ||
        year.size() > 4 || year.size() == 3)
        return std::nullopt;
    int y = year.toInt();
    if (year.size() <= 2)
        y += y < 30 ? 2000 : 1900;
    if (y < 100)
        return std::nullopt;
    const QDate date(y, month.toInt(), day.toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

bool IsEnteredDateValid(const EnteredDate& entered)
{
    return ReadEnteredDate(entered).has_value();
}

QString DisplayFormat(const DateOrder& order)
{
    return Tag(order[0]) + u'-' + Tag(order[1]) + u'-' + Tag(order[2]);
}

QString DisplayDate(const QDate& date, const DateOrder& order)
{
    return PartText(date, order[0]) + u'-' + PartText(date, order[1]) + u'-' + PartText(date, order[2]);
}

bool SaveOpenedTreasure(const QString& appFolder, modTreasures::Tables& treasures, int t, int k, const QDate& date,
                        QString* error)
{
    if (!date.isValid()) {
        if (error)
            *error = QStringLiteral("the date is not valid");
        return false;
    }
    return SetOpenedTreasure(appFolder, treasures, t, k, date, error);
}

bool SetOpenedTreasure(const QString& appFolder, modTreasures::Tables& treasures, int t, int k,
                       const std::optional<QDate>& date, QString* error)
{
    if (t < 1 || t > treasures.count() || !treasures.Treasures[static_cast<size_t>(t)].Present || k < 1 ||
        k > modCharacters::kMaxCharacterNumber || (date && !date->isValid())) {
        if (error)
            *error = QStringLiteral("treasure %1, character %2 or the date is not valid").arg(t).arg(k);
        return false;
    }
    auto& opened = treasures.Treasures[static_cast<size_t>(t)].OpenedOn;
    const auto slot = static_cast<size_t>(k);
    const size_t oldSize = opened.size();
    const std::optional<QDate> old = slot < oldSize ? opened[slot] : std::nullopt;
    if (opened.size() <= slot)
        opened.resize(slot + 1);
    opened[slot] = date;
    if (modTreasures::SaveOpenedTreasures(appFolder, k, treasures, error))
        return true;
    if (slot < oldSize)
        opened[slot] = old;
    else
        opened.resize(oldSize);
    return false;
}

} // namespace modTreasureDate
