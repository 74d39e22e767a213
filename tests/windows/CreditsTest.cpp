// The credits block in both placements, the about panel's links, and the
// start picture over the whole viewport.
#include "windows/Credits.h"
#include "mapview/StartPicture.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const Credits::Colours kColours{QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 255, 0)};

// Columns of `img` in row band [top, top + h) holding a pixel that is not `bg`.
std::pair<int, int> InkColumns(const QImage& img, int left, int right, int top, int h, QRgb bg)
{
    int first = -1, last = -1;
    for (int x = std::max(0, left); x < std::min(img.width(), right); ++x)
        for (int y = top; y < top + h; ++y)
            if (img.pixel(x, y) != bg) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST(Credits, NamesEndBeforeTheDividerAndRolesStartAfterIt)
{
    for (int mode : {Credits::InCreditsWindow, Credits::OnStartPicture}) {
        SCOPED_TRACE(mode);
        const QSize inner(700, 420);
        QImage img(inner, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            Credits::DrawCredits(p, inner, mode, kColours);
        }
        const auto place = Credits::PlaceCredits(inner, mode);
        const QRgb white = qRgb(255, 255, 255);
        for (int i = 0; i < 9; ++i) {
            const int y = place.top + i * place.lineHeight;
            const auto names = InkColumns(img, 0, place.divider, y, place.lineHeight, white);
            const auto roles = InkColumns(img, place.divider, inner.width(), y, place.lineHeight, white);
            ASSERT_GE(names.first, 0) << i;
            EXPECT_LT(names.second, place.divider - 8 + 1) << i;
            EXPECT_GT(names.second, place.divider - 8 - 4) << i; // right-aligned on the divider
            EXPECT_GE(roles.first, place.divider + 8) << i;
            EXPECT_LT(roles.first, place.divider + 8 + 3) << i;
        }
        // Thanks under the table, inside the surface.
        const int thanksY = place.top + 9 * place.lineHeight;
        const auto thanks = InkColumns(img, 0, inner.width(), thanksY, 2 * place.lineHeight, white);
        EXPECT_GE(thanks.first, 0);
        EXPECT_LT(thanks.second, inner.width());
        if (mode == Credits::OnStartPicture) {
            EXPECT_LE(thanksY + 2 * place.lineHeight, inner.height() - 5);
        }
    }
}

TEST(Credits, WindowPictureHoldsTheBlock)
{
    const QSize size = Credits::CreditsPictureSize();
    const auto place = Credits::PlaceCredits(size, Credits::InCreditsWindow);
    const QFontMetrics metrics(Credits::CreditsFont());
    for (const auto& row : Credits::Rows)
        EXPECT_GE(place.divider - 8 - metrics.horizontalAdvance(QString::fromUtf8(row.Name)), 8) << row.Name;
    for (const char* line : Credits::Thanks)
        EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(line)), size.width() - 16);
    EXPECT_GE(size.height(), place.top + 11 * place.lineHeight);
}

TEST(About, LinksAndTheirAddresses)
{
    struct Case {
        const char* name;
        QPoint point;
        About::Link link;
    };
    const Case cases[] = {
        {"guild link middle", About::GuildLinkRect.center(), About::Link::Guild},
        {"guild link corner", QPoint(22, 360), About::Link::Guild},
        {"mail link", About::MailLinkRect.center(), About::Link::Mail},
        {"just below the mail link", QPoint(60, 423), About::Link::None},
        {"about text", About::TextRect.center(), About::Link::None},
        {"left of the links", QPoint(21, 365), About::Link::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(About::LinkAt(c.point), c.link) << c.name;
    EXPECT_TRUE(About::MailLinkText().startsWith(QStringLiteral("Mail to ")));
}

// The start picture reaches every edge of the viewport at any size: no
// black band on the right or below (the old picture stopped at 880 pixels).
TEST(StartPicture, FillsTheViewportAtEverySize)
{
    const QSize sizes[] = {{400, 300}, {1270, 1000}, {2400, 700}, {90, 90}};
    for (const QSize& size : sizes) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::black);
        {
            QPainter p(&img);
            mapview::PaintStartPicture(
                p, size,
                {QStringLiteral("Wayloom v0.1.0"), QStringLiteral("by us"), QStringLiteral("Choose a region.")});
        }
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        for (int y : {size.height() / 2, size.height() - 1})
            for (int x = 0; x < size.width(); ++x)
                ASSERT_NE(img.pixel(x, y) & 0xffffff, 0u) << x << "," << y;
    }
}

} // namespace
