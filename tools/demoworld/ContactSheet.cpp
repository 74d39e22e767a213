// The contact sheet: every region's map in small with its markers as dots,
// for looking over a generated world at a glance.
#include "tools/demoworld/Generator.h"

#include <QPainter>

namespace demoworld::gen {

void Generator::writeContactSheet() const
{
    const int cols = 4, cellW = 420, cellH = 340, caption = 18;
    int count = 0;
    for (const Campaign& c : m_campaigns)
        count += int(c.regions.size());
    const int rows = (count + cols - 1) / cols;
    QImage sheet(cols * cellW, rows * (cellH + caption), QImage::Format_RGB32);
    sheet.fill(qRgb(40, 40, 44));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing, true);
    int i = 0;
    for (const Campaign& c : m_campaigns) {
        for (const Region& r : c.regions) {
            const int x0 = (i % cols) * cellW, y0 = (i / cols) * (cellH + caption);
            ++i;
            p.setPen(QColor(230, 230, 230));
            p.drawText(
                QRect(x0 + 4, y0, cellW - 8, caption), Qt::AlignVCenter | Qt::AlignLeft,
                QStringLiteral("%1 / %2 %3 (%4x%5)").arg(c.name).arg(r.number).arg(r.name).arg(r.width).arg(r.height));
            if (r.thumbnail.isNull())
                continue;
            p.drawImage(QPoint(x0, y0 + caption), r.thumbnail);
            const double f = double(r.thumbnail.width()) / r.width;
            for (const Dot& d : r.dots) {
                p.setPen(QPen(QColor(0, 0, 0), 0.8));
                p.setBrush(QColor(d.colour));
                const double radius = d.colour == kZoneDot ? 3.2 : 2.2;
                p.drawEllipse(QPointF(x0 + d.pos.x() * f, y0 + caption + d.pos.y() * f), radius, radius);
            }
        }
    }
    p.end();
    sheet.save(m_opt.contactSheet, "PNG");
}

} // namespace demoworld::gen
