#include "mapview/MarkerPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace mapview {

namespace {

bool Is32Bit(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

// Texts drawn once per font, text and colour (premultiplied alpha). Marker
// codes are few, so the cache stays small; it is bounded all the same.
const QImage& CachedText(const QString& text, const QFont& font, QRgb colour, qreal ratio)
{
    static QHash<QString, QImage> cache;
    const QString key =
        font.key() + u'\x1f' + QString::number(colour, 16) + u'\x1f' + QString::number(ratio) + u'\x1f' + text;
    auto it = cache.find(key);
    if (it != cache.end())
        return *it;
    if (cache.size() > 4096)
        cache.clear();
    const QFontMetrics metrics(font);
    const QSize size(std::max(1, metrics.horizontalAdvance(text) + metrics.height()),
                     std::max(1, metrics.height() + 2));
    // On a screen of more device pixels, the letters drawn at its resolution.
    QImage glyphs(size * ratio, QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(Qt::transparent);
    {
        QPainter p(&glyphs);
        p.scale(ratio, ratio);
        p.setFont(font);
        p.setPen(QColor::fromRgb(colour));
        p.drawText(QRect(QPoint(), size), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    return *cache.insert(key, glyphs);
}

// The letters of the large markers: white, with a dark outline that keeps
// them readable on any fill and any map, cut to their inked extent plus the
// outline (so that they centre on what is seen).
const QImage& CachedClearText(const QString& text, qreal ratio)
{
    static QHash<QString, QImage> cache;
    const QString key = QString::number(ratio) + u'\x1f' + text;
    auto it = cache.find(key);
    if (it != cache.end())
        return *it;
    if (cache.size() > 4096)
        cache.clear();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(10);
    font.setBold(true);
    const QRect ink = QFontMetrics(font).tightBoundingRect(text);
    constexpr int kOutline = 2;
    const QSize size(std::max(1, ink.width() + 2 * kOutline), std::max(1, ink.height() + 2 * kOutline));
    QImage glyphs(size * ratio, QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(Qt::transparent);
    {
        QPainter p(&glyphs);
        p.scale(ratio, ratio);
        p.setRenderHint(QPainter::Antialiasing, true);
        QPainterPath path;
        path.addText(QPointF(kOutline - ink.left(), kOutline - ink.top()), font, text);
        p.strokePath(path, QPen(QColor(16, 16, 16), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.fillPath(path, Qt::white);
    }
    return *cache.insert(key, glyphs);
}

} // namespace

MarkerPainter::MarkerPainter(QImage& target, const QFont& font, QRgb textColour)
    : m_image(target), m_font(font), m_textColour(textColour)
{
    if (!m_image.isNull() && !Is32Bit(m_image.format()))
        m_image = m_image.convertToFormat(QImage::Format_RGB32);
    m_ratio = m_image.isNull() ? 1.0 : m_image.devicePixelRatio();
}

int MarkerPainter::Device(int v) const
{
    return m_ratio == 1.0 ? v : static_cast<int>(std::lround(v * m_ratio));
}

QRect MarkerPainter::Device(const QRect& r) const
{
    return m_ratio == 1.0 ? r
                          : QRect(QPoint(Device(r.left()), Device(r.top())),
                                  QPoint(Device(r.right() + 1) - 1, Device(r.bottom() + 1) - 1));
}

void MarkerPainter::Box(const QRect& logical, QRgb fill, QRgb rim)
{
    // In device pixels; the rim one logical pixel thick.
    const QRect rect = Device(logical);
    const int rimWidth = std::max(1, Device(1));
    const QRect clipped = rect & m_image.rect();
    if (clipped.isEmpty())
        return;
    fill |= 0xff000000u;
    rim |= 0xff000000u;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const bool edgeRow = y < rect.top() + rimWidth || y > rect.bottom() - rimWidth;
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            line[x] = edgeRow || x < rect.left() + rimWidth || x > rect.right() - rimWidth ? rim : fill;
    }
}

void MarkerPainter::Text(const QString& text, int x, int y)
{
    if (text.isEmpty() || m_image.isNull())
        return;
    auto it = m_texts.find(text);
    if (it == m_texts.end())
        it = m_texts.insert(text, CachedText(text, m_font, m_textColour, m_ratio));
    Blend(*it, Device(x), Device(y), m_image.rect());
}

void MarkerPainter::ClearBox(const QRect& logical, QRgb fill, const QString& upper, const QString& lower)
{
    Box(logical, fill, qRgb(0, 0, 0));
    const QRect rect = Device(logical);
    const int rimWidth = std::max(1, Device(1));
    const QRect inside = rect.adjusted(rimWidth, rimWidth, -rimWidth, -rimWidth) & m_image.rect();
    if (inside.isEmpty())
        return;
    auto line = [&](const QString& text, int centreY) {
        if (text.isEmpty())
            return;
        const QImage& glyphs = CachedClearText(text, m_ratio);
        Blend(glyphs, rect.left() + (rect.width() - glyphs.width() + 1) / 2, centreY - glyphs.height() / 2, inside);
    };
    if (upper.isEmpty() || lower.isEmpty()) {
        line(upper.isEmpty() ? lower : upper, rect.top() + rect.height() / 2);
        return;
    }
    line(upper, rect.top() + rect.height() / 4 + 1);
    line(lower, rect.top() + (3 * rect.height()) / 4);
}

void MarkerPainter::Blend(const QImage& glyphs, int x, int y, const QRect& clip)
{
    const QRect target = QRect(QPoint(x, y), glyphs.size()) & clip & m_image.rect();
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
