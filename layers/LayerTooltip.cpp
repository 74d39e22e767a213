#include "layers/LayerTooltip.h"

namespace layertooltip {
QFont LabelFont(int, bool) { return {}; }
Label MakeLabel(const QString& text, int left, int top, int width, const QFont& font, const QColor& colour, bool) { return {text, QRect(left, top, width, 10), font, colour, 0}; }
QColor TextOn(const QColor&) { return Qt::white; }
QImage Paint(const Tooltip&, const QImage&, QPoint) { return {}; }
QImage LoadPictureFile(const QString&) { return {}; }
}
