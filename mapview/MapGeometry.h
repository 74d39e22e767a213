// Window-free geometry of the map window: the viewport clamp, centring, the
// visible copy size, the placement of an information window beside a marker,
// and the two screen layouts of the control panel and the map window.
#pragma once

#include <QPoint>
#include <QSize>

namespace mapview {

// Window positions are kept in twips; one logical pixel is 15 twips.
inline constexpr int TwipsPerPixel = 15;

// A marker rectangle in map coordinates, edges as the data give them
// (Left <= x <= Right is "inside").
struct MarkerRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int x, int y) const { return Left <= x && x <= Right && Top <= y && y <= Bottom; }
    MarkerRect Moved(QPoint by) const { return {Left + by.x(), Top + by.y(), Right + by.x(), Bottom + by.y()}; }
    bool operator==(const MarkerRect&) const = default;
};

// The kinds of small marker that the "Large, clear markers" switch draws
// larger, each in a shape of its own.
enum class MarkerKind { Elite, Collector, GreenItem, Chest, Pet };

// Side of a large marker of `kind` in map pixels: at least 14, and odd, so
// that the marker centres on its position.
int LargeMarkerSide(MarkerKind kind);

// What a marker at map position `at` whose data give it the rectangle `data`
// covers, and answers the pointer on: `data` itself, or with large markers a
// square of the kind's large side centred on `at`, grown to hold `data` too.
MarkerRect MarkerArea(MarkerKind kind, QPoint at, const MarkerRect& data, bool large);

// Side of the picture of the blinking selection frame, a ring around the
// marker, large enough to circle the largest marker of its mode.
int FlashFrameSide(bool large);

// The clamped viewport origin for one axis: never a gap to the right/bottom
// while the map is larger than the view, never a positive offset.
int ControllaCoordinataX(int proposedX, int viewWidth, int mapWidth);
int ControllaCoordinataY(int proposedY, int viewHeight, int mapHeight);

// Offsets that put map point (x, y) in the middle of the view, clamped.
QPoint CenterMapOnOffsets(int x, int y, QSize view, QSize map);

// Size of the area copied into the viewport: the smaller of map and view per
// axis (an empty map gives an empty area).
QSize VisibleSize(QSize map, QSize view);

// Position (in viewport coordinates) of an information window of `window`
// size beside `marker`, for the viewport offsets `offset` and viewport size
// `view`: above the marker with the right edges aligned when it fits, else
// below and/or moved left, and at 0 when nothing fits.
QPoint PlaceTooltip(QSize window, const MarkerRect& marker, QPoint offset, QSize view);

// The usable desktop area in pixels, edges as the system reports them
// (right and bottom are one past the last pixel).
struct WorkArea {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// A window's placement in twips.
struct TwipsRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TwipsRect&) const = default;
};

struct ScreenLayout {
    TwipsRect Panel;
    TwipsRect Map;
    bool Maximised = false; // the flag after the layout change
};

// Switches between the full work area and the inset layout (one twentieth of
// the work area's right edge on every side). `maximised` is the flag before
// the switch; the panel keeps its width.
ScreenLayout ToggleMaximised(const WorkArea& area, bool maximised, int panelWidth);

// The saved placement (twips, -1 = not saved).
struct SavedPlacement {
    int PosX = -1;
    int PosY = -1;
    int DimX = -1;
    int DimY = -1;
};

struct RestoredLayout {
    ScreenLayout Layout;
    bool SettingsDiscarded = false; // the four settings must be set to -1
};

// The placement at start: the saved one when it fits the screen, else the full
// work area (and the saved values are discarded when they did not fit).
RestoredLayout RestoreLayout(const SavedPlacement& saved, const WorkArea& area, int screenWidth, int panelWidth);

// Minimum width and height of the map window, twips.
inline constexpr int MinimumWindowTwips = 1200;

} // namespace mapview
