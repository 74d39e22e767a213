#include "mapview/MarkerPainter.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace mapview {

namespace {

bool Is32Bit(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

// Texts drawn once per font, text and colour (premultiplied alpha). Marker
// codes are few, so the cache stays small; it is bounded all the same.
const QImage& CachedText(const QString& text, const QFont& font, QRgb colour)
{
    static QHash<QString, QImage> cache;
    const QString key = font.key() + u'\x1f' + QString::number(colour, 16) + u'\x1f' + text;
    auto it = cache.find(key);
    if (it != cache.end())
        return *it;
    if (cache.size() > 4096)
        cache.clear();
    const QFontMetrics metrics(font);
    QImage glyphs(std::max(1, metrics.horizontalAdvance(text) + metrics.height()), std::max(1, metrics.height() + 2),
                  QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(Qt::transparent);
    {
        QPainter p(&glyphs);
        p.setFont(font);
        p.setPen(QColor::fromRgb(colour));
        p.drawText(glyphs.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    return *cache.insert(key, glyphs);
}

} // namespace

MarkerPainter::MarkerPainter(QImage& target, const QFont& font, QRgb textColour)
    : m_image(target), m_font(font), m_textColour(textColour)
{
    if (!m_image.isNull() && !Is32Bit(m_image.format()))
        m_image = m_image.convertToFormat(QImage::Format_RGB32);
}

void MarkerPainter::Box(const QRect& rect, QRgb fill, QRgb rim)
{
    const QRect clipped = rect & m_image.rect();
    if (clipped.isEmpty())
        return;
    fill |= 0xff000000u;
    rim |= 0xff000000u;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const bool edgeRow = y == rect.top() || y == rect.bottom();
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            line[x] = edgeRow || x == rect.left() || x == rect.right() ? rim : fill;
    }
}

void MarkerPainter::Text(const QString& text, int x, int y)
{
    if (text.isEmpty() || m_image.isNull())
        return;
    auto it = m_texts.find(text);
    if (it == m_texts.end())
        it = m_texts.insert(text, CachedText(text, m_font, m_textColour));
    const QImage& glyphs = *it;
    const QRect target = QRect(QPoint(x, y), glyphs.size()) & m_image.rect();
    for (int ty = target.top(); ty <= target.bottom(); ++ty) {
        auto* dst = reinterpret_cast<QRgb*>(m_image.scanLine(ty));
        const auto* src = reinterpret_cast<const QRgb*>(glyphs.constScanLine(ty - y));
        for (int tx = target.left(); tx <= target.right(); ++tx) {
            const QRgb s = src[tx - x];
            const int a = qAlpha(s);
            if (a == 0)
                continue;
            const QRgb d = dst[tx];
            const int keep = 255 - a;
            // Premultiplied source over an opaque pixel.
            dst[tx] = qRgb(qRed(s) + (qRed(d) * keep + 127) / 255, qGreen(s) + (qGreen(d) * keep + 127) / 255,
                           qBlue(s) + (qBlue(d) * keep + 127) / 255);
        }
    }
}

} // namespace mapview
