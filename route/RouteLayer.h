// The planned route on the map, under the markers: a line from the start
// through every stop with small arrows showing the way, each stop numbered
// in walking order (the passed ones grey), the next stop ringed while the
// blink is on. Zoomed, the line joins the scaled places and the numbers keep
// their size; a number that would cover a name drawn before is left out.
#pragma once

#include "mapview/MapLayer.h"
#include "route/RouteFollow.h"

namespace route {

// What the map window shows of its route.
struct RouteView {
    RouteFollow follow;
    bool shown = false;
    bool blinkOn = true; // the next stop's ring, switched by the window's timer
};

class RouteLayer : public mapview::MapLayer {
public:
    explicit RouteLayer(const RouteView& view) : m_view(view) {}
    void Draw(QImage& picTemp, const mapview::MapContext& ctx) const override;

private:
    const RouteView& m_view;
};

} // namespace route
