// Pointer handling of the viewport without a window: the drag that pans the
// map, the tooltip modes, and the information windows of the pointer layers
// with their tags (a window already showing an item is not rebuilt).
#pragma once

#include "mapview/MapLayer.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <array>
#include <optional>

namespace mapview {

enum class PointerButton { Left = 1, Right = 2, Other = 4 };

// The drag state of the viewport.
class MapDrag {
public:
    bool Dragging = false;
    int DragAnchorX = 0;
    int DragAnchorY = 0;

    // Left press without shift starts a drag at viewport point `pos`.
    void Begin(QPointF pos, QPoint offset);
    // The offsets after moving to `pos`: an axis on which the map fits the
    // view keeps its offset.
    QPoint PanTo(QPointF pos, QPoint offset, QSize view, QSize map) const;
    void End() { Dragging = false; }
    void Reset() { *this = MapDrag(); }
};

// The keys held with a press: none, Shift alone, or Ctrl or Alt (with or
// without Shift).
enum class PointerKeys : uint8_t { None, Shift, Other };

// What a button press asks of the map window.
enum class PressAction {
    None,
    StartDrag,  // left button, no key held
    Mark,       // left button with Shift alone: the marker's capture or chest toggled
    RightClick, // show the tooltip under the pointer, or the region menu
};
PressAction OnPress(PointerButton button, PointerKeys keys);

// What a move asks when not dragging.
enum class MoveAction { None, FollowPointer };
MoveAction OnMove(uint8_t hoverMode);

// True when releasing `button` must hide the information windows.
bool HidesOnRelease(PointerButton button, uint8_t hoverMode);

// The information window of each pointer layer, with its tag ("" = hidden).
class InformationWindows {
public:
    static constexpr int Count = 5; // one per layer of the hit-test order

    struct Window {
        QString Tag;
        QImage Image;
        QPoint Position;
        bool Visible() const { return !Tag.isEmpty(); }
    };

    // Hides every window and clears its tag.
    void HideInformationWindows();

    // Shows the window of the hit's layer unless its tag already names the
    // item. The windows of the other layers are hidden, so that only the
    // window of the item under the pointer stays. True when the picture was
    // (re)built.
    bool Show(const MapLayers::ChainHit& hit, const MapLayers& layers, const MapContext& ctx, const QImage& viewport);

    // Runs the hit-test chain at `pointer` and shows the first hit's window.
    // Returns whether any layer answered.
    bool HitTest(QPointF pointer, const MapLayers& layers, const MapContext& ctx, const QImage& viewport);

    const Window& Get(LayerId layer) const { return m_windows[Slot(layer)]; }
    bool AnyVisible() const;

    // Slot of a pointer layer in hit-test order (elite 0 .. pets 4).
    static int Slot(LayerId layer);

private:
    std::array<Window, Count> m_windows;
};

} // namespace mapview
