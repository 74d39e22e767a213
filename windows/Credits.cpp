#include "windows/Credits.h"

#include "core/modMain.h"
#include "mapview/StartPicture.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace Credits {

// Wayloom is built on these projects; each row says what it does here.
const std::array<CreditRow, 9> Rows{{
    {"Qt", "windows, pictures and networking"},
    {"libjpeg-turbo", "decoding the region maps"},
    {"Liberation fonts", "the lettering on maps and panels"},
    {"GoogleTest", "the unit and window tests"},
    {"Google Benchmark", "the speed measurements"},
    {"CMake", "building every program"},
    {"GCC", "compiling the code"},
    {"zlib", "the codec's benchmark peer"},
    {"Debian", "the system it is made on"},
}};

const std::array<const char*, 2> Thanks{
    "Special thanks to everyone in the community who has helped",
    "to make Wayloom the software it is. Keep up the good work.",
};

QFont CreditsFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12); // 9 points at 96 dots per inch
    return f;
}

Placement PlaceCredits(QSize inner, int mode)
{
    const QFontMetrics metrics(CreditsFont());
    Placement p;
    p.lineHeight = metrics.height();
    for (const CreditRow& row : Rows)
        p.widestRole = std::max(p.widestRole, metrics.horizontalAdvance(QString::fromUtf8(row.Role)));
    if (mode == OnStartPicture) {
        p.top = inner.height() - 11 * p.lineHeight - 5;
        p.divider = inner.width() - p.widestRole - 16;
    } else {
        p.top = 15;
        p.divider = inner.width() - p.widestRole - 50;
    }
    return p;
}

void DrawCredits(QPainter& painter, QSize inner, int mode, const Colours& colours)
{
    painter.save();
    const QFont font = CreditsFont();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const Placement p = PlaceCredits(inner, mode);
    constexpr int kWide = 10000; // text boxes wider than any line; the alignment places the text
    for (int i = 1; i <= static_cast<int>(Rows.size()); ++i) {
        const int y = p.top + (i - 1) * p.lineHeight;
        const CreditRow& row = Rows[static_cast<std::size_t>(i - 1)];
        painter.setPen(colours.role);
        painter.drawText(QRect(p.divider + 8, y, kWide, p.lineHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromUtf8(row.Role));
        painter.setPen(colours.name);
        painter.drawText(QRect(p.divider - 8 - kWide, y, kWide, p.lineHeight),
                         Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, QString::fromUtf8(row.Name));
    }
    // The thanks under the table: centred in the credits window, ending with
    // the roles' column on the start picture (never past the left edge).
    painter.setPen(colours.thanks);
    for (int k = 0; k < static_cast<int>(Thanks.size()); ++k) {
        const QString line = QString::fromUtf8(Thanks[static_cast<std::size_t>(k)]);
        const int y = p.top + (static_cast<int>(Rows.size()) + k) * p.lineHeight;
        const int w = metrics.horizontalAdvance(line);
        const int left = mode == OnStartPicture ? std::max(8, p.divider + 8 + p.widestRole - w)
                                                : std::max(0, (inner.width() - w) / 2);
        painter.drawText(QRect(left, y, w + 2, p.lineHeight), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
    }
    painter.restore();
}

QSize CreditsPictureSize()
{
    const QFontMetrics metrics(CreditsFont());
    int names = 0, thanks = 0;
    for (const CreditRow& row : Rows)
        names = std::max(names, metrics.horizontalAdvance(QString::fromUtf8(row.Name)));
    for (const char* line : Thanks)
        thanks = std::max(thanks, metrics.horizontalAdvance(QString::fromUtf8(line)));
    const Placement p = PlaceCredits(QSize(0, 0), InCreditsWindow);
    // Names need 8 pixels before the divider and a margin of 42 at the left;
    // roles end 50 - 8 pixels before the right edge.
    const int width = std::max(42 + names + 16 + p.widestRole + 42, thanks + 40);
    return QSize(width, 15 + 11 * p.lineHeight + 15);
}

} // namespace Credits

namespace About {

namespace {

const QColor kPanelBackground(18, 20, 28);
const QColor kTitleColour(240, 230, 210);
const QColor kTextColour(128, 128, 128);
const QColor kLinkColour(255, 221, 119);

// A font made for one drawing (face Arial, given pixel height and weight).
QFont FontCrea(int height, int weight, bool underline = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(height);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setUnderline(underline);
    return f;
}

void PaintLogo(QPainter& p, const QRect& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // A small compass beside the name.
    const QPointF c(r.left() + 22.5, r.center().y() + 0.5);
    p.setPen(QPen(QColor(255, 219, 93), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 16, 16);
    QPainterPath needle;
    needle.moveTo(c.x(), c.y() - 13);
    needle.lineTo(c.x() + 4, c.y());
    needle.lineTo(c.x(), c.y() + 13);
    needle.lineTo(c.x() - 4, c.y());
    needle.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 110, 80));
    p.drawPath(needle);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(26);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(255, 236, 200));
    p.drawText(QRect(r.left() + 46, r.top(), r.width() - 46, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Wayloom"));
    p.restore();
}

} // namespace

Link LinkAt(QPoint point)
{
    if (GuildLinkRect.contains(point))
        return Link::Guild;
    if (MailLinkRect.contains(point))
        return Link::Mail;
    return Link::None;
}

QString Title()
{
    return QStringLiteral("Informations");
}

QString AboutText()
{
    return QStringLiteral("Wayloom, the map companion for Shardrealm, is made by the Wayloom developers "
                          "with the wayloom.org community.\n"
                          "\nFor every explorer\nwho marks the map\nand shares the way.\n");
}

QString GuildName()
{
    return QStringLiteral("wayloom.org");
}

QString GuildAddress()
{
    return QString::fromUtf16(modMain::kWebSite);
}

QString MailLinkText()
{
    return QStringLiteral("Mail to Wayloom");
}

QString MailAddress()
{
    return QStringLiteral("mailto:") + QString::fromUtf16(modMain::kSupportMail);
}

void PaintPanel(QPainter& p, Link hovered)
{
    p.save();
    p.fillRect(PanelRect, kPanelBackground);
    // The scene on the right, fading into the panel towards the text column.
    p.save();
    p.setClipRect(PanelRect);
    const QRect scene = SceneRect;
    p.translate(scene.topLeft());
    mapview::PaintDuskScene(p, scene.size(), false);
    p.restore();
    QLinearGradient fade(SceneRect.left(), 0, SceneRect.left() + 120, 0);
    fade.setColorAt(0, kPanelBackground);
    fade.setColorAt(1, QColor(kPanelBackground.red(), kPanelBackground.green(), kPanelBackground.blue(), 0));
    p.fillRect(QRect(SceneRect.left(), SceneRect.top(), 120, SceneRect.height()), fade);
    PaintLogo(p, LogoRect);

    const int wrap = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    p.setFont(FontCrea(13, 700));
    p.setPen(kTitleColour);
    p.drawText(TitleRect, wrap, Title());
    p.setFont(FontCrea(11, 400));
    p.setPen(kTextColour);
    p.drawText(TextRect, wrap, AboutText());
    p.setPen(kLinkColour);
    p.setFont(FontCrea(11, 700, hovered == Link::Guild));
    p.drawText(GuildLinkRect, wrap, GuildName());
    p.setFont(FontCrea(11, 700, hovered == Link::Mail));
    p.drawText(MailLinkRect, wrap, MailLinkText());
    p.restore();
}

} // namespace About
