#include "mapview/MapGeometry.h"

#include <algorithm>

namespace mapview {

int LargeMarkerSide(MarkerKind kind)
{
    switch (kind) {
    case MarkerKind::Elite:
        return 21; // two lines: the profession's abbreviation over the boss's code
    case MarkerKind::Collector:
    case MarkerKind::Chest:
        return 19; // a shield and a hexagon: their points need the room
    case MarkerKind::GreenItem:
    case MarkerKind::Pet:
        return 17;
    }
    return 17;
}

MarkerRect MarkerArea(MarkerKind kind, QPoint at, const MarkerRect& data, bool large)
{
    if (!large)
        return data;
    const int half = LargeMarkerSide(kind) / 2;
    return {std::min(at.x() - half, data.Left), std::min(at.y() - half, data.Top), std::max(at.x() + half, data.Right),
            std::max(at.y() + half, data.Bottom)};
}

int FlashFrameSide(bool large)
{
    return large ? 46 : 28;
}

int ControllaCoordinataX(int proposedX, int viewWidth, int mapWidth)
{
    int x = proposedX;
    const int limit = viewWidth - mapWidth;
    if (limit > x)
        x = limit;
    if (x > 0)
        x = 0;
    return x;
}

int ControllaCoordinataY(int proposedY, int viewHeight, int mapHeight)
{
    return ControllaCoordinataX(proposedY, viewHeight, mapHeight);
}

QPoint CenterMapOnOffsets(int x, int y, QSize view, QSize map)
{
    const int proposedX = view.width() / 2 - x;
    const int proposedY = view.height() / 2 - y;
    return {ControllaCoordinataX(proposedX, view.width(), map.width()),
            ControllaCoordinataY(proposedY, view.height(), map.height())};
}

QSize VisibleSize(QSize map, QSize view)
{
    return {std::max(0, std::min(map.width(), view.width())), std::max(0, std::min(map.height(), view.height()))};
}

QPoint PlaceTooltip(QSize window, const MarkerRect& marker, QPoint offset, QSize view)
{
    const int w = window.width();
    const int h = window.height();
    const int sw = view.width();
    const int sh = view.height();

    int x = marker.Right + offset.x() - w;
    if (x < 0) {
        x = marker.Left + offset.x();
        if (x + w > sw)
            x -= w / 2;
        if (x < 0 || x + w > sw)
            x = 0;
    }
    int y = marker.Top + offset.y() - h + 1;
    if (y < 0) {
        y = marker.Bottom + offset.y() + 1;
        if (y + h > sh)
            y -= h / 2;
        if (y < 0 || y + h > sh)
            y = 0;
    }
    return {x, y};
}

namespace {

ScreenLayout SideBySide(int left, int top, int right, int bottom, int panelWidth)
{
    ScreenLayout layout;
    layout.Panel = {left, top, panelWidth, bottom - top};
    layout.Map.Top = top;
    layout.Map.Left = left + panelWidth;
    layout.Map.Height = layout.Panel.Height;
    layout.Map.Width = right - layout.Map.Left;
    return layout;
}

} // namespace

ScreenLayout ToggleMaximised(const WorkArea& area, bool maximised, int panelWidth)
{
    int left = area.Left, top = area.Top, right = area.Right, bottom = area.Bottom;
    if (maximised) {
        const int margin = area.Right / 20;
        left += margin;
        top += margin;
        right -= margin;
        bottom -= margin;
    }
    ScreenLayout layout = SideBySide(left * TwipsPerPixel, top * TwipsPerPixel, right * TwipsPerPixel,
                                     bottom * TwipsPerPixel, panelWidth);
    layout.Maximised = !maximised;
    return layout;
}

RestoredLayout RestoreLayout(const SavedPlacement& saved, const WorkArea& area, int screenWidth, int panelWidth)
{
    RestoredLayout result;
    if (saved.PosX == -1) {
        result.Layout = ToggleMaximised(area, false, panelWidth);
        return result;
    }
    // Computed in 64 bits: saved values come from a user-editable file.
    if (static_cast<long long>(panelWidth) + saved.PosX + saved.DimX > screenWidth) {
        result.SettingsDiscarded = true;
        result.Layout = ToggleMaximised(area, false, panelWidth);
        return result;
    }
    const int margin = area.Right / 20;
    const int top = (area.Top + margin) * TwipsPerPixel;
    const int bottom = (area.Bottom - margin) * TwipsPerPixel;
    result.Layout.Panel = {saved.PosX, saved.PosY, panelWidth, bottom - top};
    result.Layout.Map = {saved.PosX + panelWidth, saved.PosY, saved.DimX, saved.DimY};
    result.Layout.Maximised = false;
    return result;
}

} // namespace mapview
