// Zoom of the map view, decided without a window: the levels (fit-to-window
// and 25 % to 200 %), the scale each gives, the view transform between map
// and view points, its clamp, the wheel step that keeps the map point under
// the pointer fixed, centring, panning by keys, and the wheel's small deltas
// summed into whole steps. At 100 % the view is the map's own placement: the
// origin is the (whole-pixel) map offset of the viewport.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <array>
#include <optional>

namespace mapview {

// The levels a wheel step or + and - move between, in percent.
inline constexpr std::array<int, 7> ZoomLevels = {25, 33, 50, 67, 100, 150, 200};

// A zoom: fit-to-window (the whole region visible), or a level in percent.
struct Zoom {
    bool Fit = false;
    int Percent = 100;

    static Zoom FitWindow() { return {true, 100}; }
    static Zoom Level(int percent) { return {false, percent}; }
    bool IsActualSize() const { return !Fit && Percent == 100; }
    friend bool operator==(const Zoom&, const Zoom&) = default;
};

// The scale of a zoom for a map of `map` size in a view of `view` size. Fit:
// the largest scale at which the whole map shows, at most the top level.
double ScaleOf(const Zoom& zoom, QSize map, QSize view);

// `steps` levels up (positive) or down from `zoom`, whose scale is
// `currentScale` (fit first goes to the level next to its scale); kept
// within the levels.
Zoom StepZoom(const Zoom& zoom, int steps, double currentScale);

// A value read from the options file: a level, or 0 for fit; anything else
// is 100 %. And back.
Zoom ZoomFromSetting(int value);
int ZoomSetting(const Zoom& zoom);

// View point = map point * Scale + Origin (view pixels).
struct ViewTransform {
    double Scale = 1.0;
    QPointF Origin;

    QPointF ToView(QPointF map) const { return map * Scale + Origin; }
    QPointF ToMap(QPointF view) const { return (view - Origin) / Scale; }
    friend bool operator==(const ViewTransform&, const ViewTransform&) = default;
};

// Where the layers draw a marker whose place in the map's data is `anchor`.
// At 100 % the drawing buffer is the map itself and nothing moves. Zoomed,
// the drawing buffer holds the map at `Transform`; every marker, icon and
// label keeps its 1:1 size and moves with its anchor to the anchor's scaled
// place, in whole pixels.
struct MarkerPlacement {
    std::optional<ViewTransform> Transform;

    bool Zoomed() const { return Transform.has_value(); }
    // How far a marker anchored at `anchor` moves.
    QPoint Shift(QPoint anchor) const;
    // The drawing buffer point of map point `anchor`.
    QPoint At(QPoint anchor) const { return anchor + Shift(anchor); }
    QRect Moved(const QRect& marker, QPoint anchor) const { return marker.translated(Shift(anchor)); }
};

// The origin kept so that no gap shows while the scaled map is larger than
// the view on an axis; an axis on which it is smaller is centred, except at
// the scale 1, where the map keeps its place at the view's top left (the
// viewport clamp of the 1:1 map). At the scale 1 the origin is whole pixels.
QPointF ClampOrigin(QPointF origin, double scale, QSize map, QSize view);

// The transform after moving from `from` to `scale` with view point `anchor`
// (the pointer) on the same map point, clamped.
ViewTransform ZoomAround(const ViewTransform& from, double scale, QPointF anchor, QSize map, QSize view);

// The transform that puts map point `centre` in the middle of the view.
ViewTransform CentreOn(double scale, QPointF centre, QSize map, QSize view);

// The transform after a pan of `by` view pixels (the map moves with it).
ViewTransform PanBy(const ViewTransform& from, QPointF by, QSize map, QSize view);

// A key's pan: arrows a tenth of the view, Page Up/Down a whole view (up or
// down), in view pixels; nothing for other keys. `key` is a Qt key code.
QPointF KeyPan(int key, QSize view);

// The overview inset: the whole map in at most kOverviewSide pixels a side
// (its shape kept), in the view's bottom-left corner; empty when the view
// is too small to hold it beside room for the map.
inline constexpr int kOverviewSide = 180;
QRect OverviewRect(QSize map, QSize view);
// The map point under `point` of the inset `inset`.
QPointF OverviewToMap(QPointF point, const QRect& inset, QSize map);
// The part of the map the view shows, framed in the inset.
QRectF OverviewFrame(const ViewTransform& view, QSize viewSize, const QRect& inset, QSize map);

// Wheel deltas (eighths of a degree, 120 a notch) summed into whole steps:
// a touchpad's small deltas zoom once they make a notch.
class WheelSteps {
public:
    // The whole steps the delta completes (positive zooms in).
    int Add(int angleDelta);
    void Reset() { m_rest = 0; }

private:
    int m_rest = 0;
};

} // namespace mapview
