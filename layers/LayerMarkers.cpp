#include "layers/LayerMarkers.h"

namespace layermarkers {
const QImage& Picture(Marker) { static QImage i; return i; }
void BlitIcon(QImage&, const QImage&, int, int) {}
}
