#include "layers/LayerTooltip.h"

#include "mapview/ZoneLayer.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace layertooltip {

namespace {
constexpr qint64 kMaxPictureBytes = 16 * 1024 * 1024;
constexpr int kMaxPictureSide = 4096;
} // namespace

QFont LabelFont(int points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(mapview::PointsToPixels(points));
    font.setBold(bold);
    return font;
}

Label MakeLabel(const QString& text, int left, int top, int width, const QFont& font, const QColor& colour, bool wrap)
{
    Label label;
    label.Text = text;
    label.Font = font;
    label.Colour = colour;
    label.Flags = Qt::AlignLeft | Qt::AlignTop | (wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
    const QFontMetrics metrics(font);
    int height = metrics.height();
    if (!text.isEmpty()) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, width, 100000), label.Flags, text);
        height = std::max(height, needed.height());
    }
    label.Rect = QRect(left, top, width, height);
    return label;
}

QColor TextOn(const QColor& band)
{
    return qGray(band.rgb()) > 140 ? QColor(16, 16, 16) : QColor(250, 250, 250);
}

QImage Paint(const Tooltip& t, const QImage& viewport, QPoint position)
{
    QImage image(std::max(1, t.Width), std::max(1, t.Height), QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter p(&image);
    p.fillRect(t.Band, t.BandColour);
    // The map under the window shows through at 80/255.
    const QRect under(position, QSize(t.Width - 1, t.Height - 1));
    p.setOpacity(80.0 / 255.0);
    p.drawImage(QPoint(0, 0), viewport.copy(under));
    p.setOpacity(1.0);
    p.setPen(kOuterFrame);
    p.drawRect(0, 0, t.Width - 1, t.Height - 1);
    p.setPen(kInnerFrame);
    p.drawRect(6, 6, t.Width - 13, t.Height - 13);
    if (t.SeparatorY)
        p.drawLine(18, *t.SeparatorY, t.Width - 19, *t.SeparatorY);
    if (!t.Picture.isNull())
        p.drawImage(t.PictureRect, t.Picture);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Label& label : t.Labels) {
        if (label.Text.isEmpty())
            continue;
        p.setFont(label.Font);
        p.setPen(label.Colour);
        p.drawText(label.Rect, label.Flags, label.Text);
    }
    return image;
}

QImage LoadPictureFile(const QString& path)
{
    if (path.isEmpty())
        return {};
    // Opened without blocking and read only when it is a regular file: a FIFO
    // would block, a device may never end. The check is made on the opened
    // file, so a swap between check and read changes nothing.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat info {};
    QByteArray bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 && info.st_size <= kMaxPictureBytes) {
        bytes.resize(static_cast<qsizetype>(info.st_size));
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
            if (n <= 0)
                break;
            got += n;
        }
        bytes.truncate(got);
    }
    ::close(fd);
    if (bytes.isEmpty())
        return {};
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    // A picture of a tooltip is small; refuse absurd sizes before decoding.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
        return {};
    return reader.read();
}

} // namespace layertooltip
