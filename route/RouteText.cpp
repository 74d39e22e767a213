#include "route/RouteText.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace route {

namespace {

// One field of a line: no tab or line break of its own.
QString Field(QString text)
{
    for (QChar& ch : text)
        if (ch == u'\t' || ch == u'\r' || ch == u'\n')
            ch = u' ';
    return text;
}

QString Place(const RouteStop& s)
{
    return s.ZoneName.isEmpty() ? s.RegionName : s.ZoneName + QStringLiteral(" - ") + s.RegionName;
}

} // namespace

QString KindText(StopKind kind)
{
    switch (kind) {
    case StopKind::EliteSkill:
        return QStringLiteral("Elite skill");
    case StopKind::Chest:
        return QStringLiteral("Chest");
    case StopKind::Collector:
        return QStringLiteral("Collector");
    case StopKind::GreenItem:
        return QStringLiteral("Green item");
    case StopKind::Pet:
        return QStringLiteral("Pet");
    case StopKind::Note:
        return QStringLiteral("Note");
    }
    return QString();
}

QString RouteText(const std::vector<RouteStop>& stops, const std::vector<int>& order)
{
    QString text;
    int number = 0;
    for (int i : order) {
        if (i < 0 || static_cast<std::size_t>(i) >= stops.size())
            continue;
        const RouteStop& s = stops[static_cast<std::size_t>(i)];
        const QStringList fields{QString::number(++number), KindText(s.Kind),          Field(s.Name),
                                 Field(Place(s)),           QString::number(s.At.x()), QString::number(s.At.y())};
        text += fields.join(u'\t') + u'\n';
    }
    return text;
}

QString NextStopLine(const QString& name, int left, int total, double distance)
{
    // Far beyond any map, and never a number that does not fit.
    constexpr double kFarthest = 1e12;
    const qint64 px = std::isfinite(distance) ? std::llround(std::clamp(distance, 0.0, kFarthest)) : 0;
    return QStringLiteral("Next: ") + name + QStringLiteral(" \u2014 ") + QString::number(left) +
           QStringLiteral(" of ") + QString::number(total) + QStringLiteral(" stops left, ") + QString::number(px) +
           QStringLiteral(" px");
}

} // namespace route
