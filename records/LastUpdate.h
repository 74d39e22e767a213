// Personal/LastUpdate.txt: the day of the last completed update, written by the
// updater as "dd-mm-yyyy" and read by both programs with one reading.
#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

namespace records {

inline constexpr char16_t kLastUpdateFile[] = u"Personal/LastUpdate.txt";

// The date of the file's first line: blanks around it ignored, the day in
// characters 1-2, the month in 4-5 and the year in the last four, each read by
// its leading number; the separators are not checked. nullopt for an empty line
// or one that names no valid day.
std::optional<QDate> ParseLastUpdateLine(QStringView line);

// The date the file below `appFolder` holds; nullopt when the file is missing,
// unreadable, empty or its first line is not a date.
std::optional<QDate> ReadLastUpdateDate(const QString& appFolder);

// The file's line for a date ("dd-mm-yyyy", without the line end).
QString LastUpdateLine(QDate date);

} // namespace records
