#include "mapview/MapZoom.h"

#include "mapview/MapGeometry.h"

#include <Qt>

#include <algorithm>
#include <cmath>

namespace mapview {

namespace {

constexpr double kTopScale = ZoomLevels.back() / 100.0;

bool IsOne(double scale)
{
    return std::abs(scale - 1.0) < 1e-9;
}

// One axis of the clamp: `origin` of a map `map` pixels long (already
// scaled) in a view `view` pixels long.
double ClampAxis(double origin, double map, double view, bool actualSize)
{
    if (map > view)
        return std::clamp(origin, view - map, 0.0);
    return actualSize ? 0.0 : (view - map) / 2.0;
}

} // namespace

QPoint MarkerPlacement::Shift(QPoint anchor) const
{
    if (!Transform)
        return {};
    const QPointF v = Transform->ToView(QPointF(anchor));
    return QPoint(static_cast<int>(std::floor(v.x() + 0.5)), static_cast<int>(std::floor(v.y() + 0.5))) - anchor;
}

double ScaleOf(const Zoom& zoom, QSize map, QSize view)
{
    if (!zoom.Fit)
        return zoom.Percent / 100.0;
    if (map.isEmpty() || view.isEmpty())
        return 1.0;
    const double fit = std::min(double(view.width()) / map.width(), double(view.height()) / map.height());
    return std::min(fit, kTopScale);
}

Zoom StepZoom(const Zoom& zoom, int steps, double currentScale)
{
    const int last = static_cast<int>(ZoomLevels.size()) - 1;
    int index = 0;
    if (zoom.Fit) {
        if (steps == 0)
            return zoom;
        // The first level beyond the fitted scale in the direction of the step.
        const double percent = currentScale * 100.0;
        if (steps > 0) {
            index = last;
            for (int i = last; i >= 0 && ZoomLevels[static_cast<std::size_t>(i)] > percent + 0.5; --i)
                index = i;
        } else {
            index = 0;
            for (int i = 0; i <= last && ZoomLevels[static_cast<std::size_t>(i)] < percent - 0.5; ++i)
                index = i;
        }
        steps += steps > 0 ? -1 : 1;
    } else {
        // The level itself, or the nearest one below it.
        for (int i = 0; i <= last; ++i)
            if (ZoomLevels[static_cast<std::size_t>(i)] <= zoom.Percent)
                index = i;
    }
    return Zoom::Level(ZoomLevels[static_cast<std::size_t>(std::clamp(index + steps, 0, last))]);
}

Zoom ZoomFromSetting(int value)
{
    if (value == 0)
        return Zoom::FitWindow();
    if (std::find(ZoomLevels.begin(), ZoomLevels.end(), value) != ZoomLevels.end())
        return Zoom::Level(value);
    return Zoom::Level(100);
}

int ZoomSetting(const Zoom& zoom)
{
    return zoom.Fit ? 0 : zoom.Percent;
}

QPointF ClampOrigin(QPointF origin, double scale, QSize map, QSize view)
{
    if (IsOne(scale)) {
        // The 1:1 map's own clamp, in whole pixels.
        return QPointF(ControllaCoordinataX(static_cast<int>(std::lround(origin.x())), view.width(), map.width()),
                       ControllaCoordinataY(static_cast<int>(std::lround(origin.y())), view.height(), map.height()));
    }
    return {ClampAxis(origin.x(), map.width() * scale, view.width(), false),
            ClampAxis(origin.y(), map.height() * scale, view.height(), false)};
}

ViewTransform ZoomAround(const ViewTransform& from, double scale, QPointF anchor, QSize map, QSize view)
{
    const QPointF point = from.ToMap(anchor);
    return {scale, ClampOrigin(anchor - point * scale, scale, map, view)};
}

ViewTransform CentreOn(double scale, QPointF centre, QSize map, QSize view)
{
    if (IsOne(scale)) {
        const QPoint p = centre.toPoint();
        return {1.0, QPointF(CenterMapOnOffsets(p.x(), p.y(), view, map))};
    }
    const QPointF middle(view.width() / 2.0, view.height() / 2.0);
    return {scale, ClampOrigin(middle - centre * scale, scale, map, view)};
}

ViewTransform PanBy(const ViewTransform& from, QPointF by, QSize map, QSize view)
{
    return {from.Scale, ClampOrigin(from.Origin + by, from.Scale, map, view)};
}

QPointF KeyPan(int key, QSize view)
{
    const double tenthX = view.width() / 10.0;
    const double tenthY = view.height() / 10.0;
    switch (key) {
    case Qt::Key_Left:
        return {tenthX, 0};
    case Qt::Key_Right:
        return {-tenthX, 0};
    case Qt::Key_Up:
        return {0, tenthY};
    case Qt::Key_Down:
        return {0, -tenthY};
    case Qt::Key_PageUp:
        return {0, double(view.height())};
    case Qt::Key_PageDown:
        return {0, -double(view.height())};
    default:
        return {};
    }
}

QRect OverviewRect(QSize map, QSize view)
{
    constexpr int kMargin = 8;
    if (map.isEmpty() || view.width() < 3 * kOverviewSide || view.height() < 2 * kOverviewSide)
        return {};
    const double s = std::min(double(kOverviewSide) / map.width(), double(kOverviewSide) / map.height());
    const QSize size(std::max(1, static_cast<int>(map.width() * s)), std::max(1, static_cast<int>(map.height() * s)));
    return QRect(QPoint(kMargin, view.height() - kMargin - size.height()), size);
}

QPointF OverviewToMap(QPointF point, const QRect& inset, QSize map)
{
    if (inset.isEmpty())
        return {};
    return QPointF((point.x() - inset.left()) * map.width() / inset.width(),
                   (point.y() - inset.top()) * map.height() / inset.height());
}

QRectF OverviewFrame(const ViewTransform& view, QSize viewSize, const QRect& inset, QSize map)
{
    if (inset.isEmpty() || map.isEmpty())
        return {};
    const QRectF shown = QRectF(view.ToMap(QPointF(0, 0)), view.ToMap(QPointF(viewSize.width(), viewSize.height()))) &
                         QRectF(QPointF(0, 0), QSizeF(map));
    const double sx = double(inset.width()) / map.width(), sy = double(inset.height()) / map.height();
    return QRectF(inset.left() + shown.left() * sx, inset.top() + shown.top() * sy, shown.width() * sx,
                  shown.height() * sy);
}

int WheelSteps::Add(int angleDelta)
{
    constexpr int kNotch = 120;
    m_rest += angleDelta;
    const int steps = m_rest / kNotch; // towards zero: what is left keeps its sign
    m_rest -= steps * kNotch;
    return steps;
}

} // namespace mapview
