#include "records/LastUpdate.h"

#include "records/RecordFile.h"

namespace records {

std::optional<QDate> ParseLastUpdateLine(QStringView line)
{
    line = line.trimmed();
    if (line.isEmpty())
        return std::nullopt;
    const auto day = NumberField<int>(line.left(2));
    const auto month = NumberField<int>(line.size() > 3 ? line.sliced(3).left(2) : QStringView());
    const auto year = NumberField<int>(line.right(4));
    const QDate date = day && month && year ? QDate(*year, *month, *day) : QDate();
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> ReadLastUpdateDate(const QString& appFolder)
{
    RecordReader reader(appFolder + QString::fromUtf16(kLastUpdateFile));
    QStringView first;
    if (reader.state() != RecordReader::State::Open || !reader.next(first) || reader.lineNumber() != 1)
        return std::nullopt;
    return ParseLastUpdateLine(first);
}

QString LastUpdateLine(QDate date)
{
    return PadNumber(date.day(), 2) + u'-' + PadNumber(date.month(), 2) + u'-' + PadNumber(date.year(), 4);
}

} // namespace records
