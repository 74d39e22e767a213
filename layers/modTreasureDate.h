// The date entry of the mark-treasure-as-opened dialog, decided without a
// window: the order of the day, month and year boxes taken from the system's
// short date format, their widths and places, the arrow keys with
// wrap-around, the keys a box accepts, the validation of the entered date,
// and the save of one opened chest.
#pragma once

#include "layers/modTreasures.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>

namespace modTreasureDate {

enum class DatePart { Day, Month, Year };
using DateOrder = std::array<DatePart, 3>; // the part of each box, left to right

inline constexpr DateOrder kDayMonthYear{DatePart::Day, DatePart::Month, DatePart::Year};

// The tag a box carries for its part: "dd", "mm" or "yyyy".
QString Tag(DatePart part);
// The most characters a box of this part accepts (2, 2, 4).
int MaxLength(DatePart part);

// The box order of a short date format written in Qt's date format letters
// (d/M/yy, M/d/yyyy, yyyy-MM-dd, dd.MM.yyyy ...): 16 October 2011 is formatted
// with it and the boxes follow the places where 16, 10 and 2011 (or 11)
// appear. A format that spells the month or leaves a part out is read from
// its letters instead; what is missing keeps day-month-year order.
DateOrder DetectDateOrder(const QString& shortDateFormat);

// Box widths in twips: 285 for day and month, 465 for the year.
int BoxWidthTwips(DatePart part);
struct DateBoxLayout {
    std::array<int, 3> boxLeft{};
    std::array<int, 3> boxWidth{};
    std::array<int, 2> separatorLeft{};
};
// Places the boxes from `firstLeft` on: separator k at box k's left + width
// - 15, box k+1 at separator k's left + `separatorWidth` (all in twips).
DateBoxLayout ArrangeDateBoxes(const DateOrder& order, int firstLeft, int separatorWidth);

// Up or down arrow in a box of `part` showing `text`: the number one higher
// or lower, wrapping within day 1..31, month 1..12, year 2006..2100; the new
// text (leading zeros to 2 or 4 digits), or nothing when the number stays.
std::optional<QString> StepDatePart(DatePart part, const QString& text, bool up);

// The typed characters a box keeps: the digits and the full stop (backspace
// is an editing key and always works).
bool AcceptsCharacter(QChar ch);

// The entered texts of the three parts.
struct EnteredDate {
    QString day, month, year;
};
// The texts of the three boxes in box order: box 0 + "-" + box 1 + "-" + box 2.
QString DateBoxesText(const std::array<QString, 3>& boxes);
EnteredDate EnteredFromBoxes(const DateOrder& order, const std::array<QString, 3>& boxes);
// Today's (or any) date as the text of a box of `part`.
QString PartText(const QDate& date, DatePart part);

// Day/month/year is a date: whole numbers, a real day of that month, the year
// written with four digits (100..9999) or with two (00..29 = 2000s, 30..99 =
// 1900s).
bool IsEnteredDateValid(const EnteredDate& entered);
// The date entered, or nothing when it is not one.
std::optional<QDate> ReadEnteredDate(const EnteredDate& entered);

// The dialog's display of a date: the parts in box order joined by "-"
// ("16-10-2011" for day-month-year).
QString DisplayFormat(const DateOrder& order); // "dd-mm-yyyy"
QString DisplayDate(const QDate& date, const DateOrder& order);

// Records that character k opened treasure t on `date` and rewrites k's
// opened-treasure file; the table keeps its old date when the write fails.
// A treasure whose line could not be read is refused.
bool SaveOpenedTreasure(const QString& appFolder, modTreasures::Tables& treasures, int t, int k, const QDate& date,
                        QString* error = nullptr);
// The same with the date cleared too (nothing: character k has not opened it).
bool SetOpenedTreasure(const QString& appFolder, modTreasures::Tables& treasures, int t, int k,
                       const std::optional<QDate>& date, QString* error = nullptr);

} // namespace modTreasureDate
