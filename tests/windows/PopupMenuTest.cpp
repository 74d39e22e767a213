// The popup menu's rows, layout and drawing, checked pixel by pixel.
#include "windows/PopupMenu.h"
#include "core/TextNumbers.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace PopupMenu;

namespace {

modLanguage::LanguageStrings Texts()
{
    modLanguage::LanguageStrings t;
    for (int n : Text::AllUsed)
        t.set(n, QStringLiteral("Text %1").arg(n));
    return t;
}

int CountColour(const QImage& img, const QRect& r, const QColor& colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixel(x, y) == colour.rgb();
    return n;
}

// The rows of each menu, with the counts that the menu declares.
TEST(PopupMenu, MenusHoldTheirRowsAndCounts)
{
    const Menus menus = BuildMenus(Texts());
    struct Row {
        int menu, entry, kind, control, text;
        bool enabled;
    };
    const Row rows[] = {
        {0, 0, CheckBox, 0, 32, true},  {0, 4, CheckBox, 4, 113, true}, {1, 0, CheckBox, 0, 62, true},
        {1, 1, CheckBox, 1, 95, true},  {1, 2, Separator, 0, 0, false}, {1, 3, Command, 0, 74, false},
        {1, 4, Option, 0, 91, true},    {1, 6, Option, 2, 76, true},    {1, 7, Separator, 1, 0, false},
        {1, 8, Command, 1, 14, true},   {1, 9, Command, 2, 125, true},  {2, 0, Command, 0, 93, true},
        {2, 2, Separator, 0, 0, false}, {2, 4, Command, 3, 108, true},  {2, 8, Command, 6, 110, true},
        {2, 9, Command, 7, 129, true},
    };
    for (const Row& r : rows) {
        const MenuEntry& e = menus[r.menu].Entries[static_cast<std::size_t>(r.entry)];
        SCOPED_TRACE(testing::Message() << "menu " << r.menu << " entry " << r.entry);
        EXPECT_EQ(e.Kind, r.kind);
        EXPECT_EQ(e.ControlNumber, r.control);
        EXPECT_EQ(e.Enabled, r.enabled);
        EXPECT_EQ(e.Caption, r.text ? QStringLiteral("Text %1").arg(r.text) : QString());
        EXPECT_EQ(e.Value, 0);
    }
    const int sizes[3] = {5, 10, 10};
    for (int m = 0; m < MenuCount; ++m) {
        int options = 0, checks = 0, lines = 0;
        for (const MenuEntry& e : menus[m].Entries) {
            options += e.Kind == Option;
            checks += e.Kind == CheckBox;
            lines += e.Kind == Separator;
        }
        EXPECT_EQ(static_cast<int>(menus[m].Entries.size()), sizes[m]);
        EXPECT_EQ(menus[m].Options, options);
        EXPECT_EQ(menus[m].CheckBoxes, checks);
        EXPECT_EQ(menus[m].Lines, lines);
    }
}

TEST(PopupMenu, TenRowsAreElevenPitchesHighWithHalfARowAboveAndBelow)
{
    const Menus menus = BuildMenus(Texts());
    const MenuLayout l = LayOutMenu(menus[1]);
    ASSERT_EQ(l.rows.size(), 10u);
    EXPECT_EQ(l.size.height(), 11 * RowPitch);
    EXPECT_EQ(l.size.width(), l.widest + 6);
    int widest = 0;
    for (std::size_t i = 0; i < l.rows.size(); ++i) {
        const RowLayout& r = l.rows[i];
        EXPECT_EQ(r.centreY, RowPitch * static_cast<int>(i + 1));
        widest = std::max(widest, r.label.left() + r.label.width());
    }
    EXPECT_EQ(l.widest, widest);
    // A check row: the box at x = 6, centred on the row; its label 4 pixels
    // after the box, at the box's top.
    const RowLayout& legend = l.rows[0];
    EXPECT_EQ(legend.box, QRect(6, RowPitch - BoxSize / 2, BoxSize, BoxSize));
    EXPECT_EQ(legend.label.left(), 6 + BoxSize + 4);
    EXPECT_EQ(legend.label.top(), legend.box.top());
    // A command: its label at x = 6, centred on the row.
    const RowLayout& manage = l.rows[8];
    EXPECT_TRUE(manage.box.isNull());
    EXPECT_EQ(manage.label.left(), 6);
    EXPECT_EQ(manage.label.top(), 9 * RowPitch - manage.label.height() / 2);
    // A separator: a line across the row from x = 6 to the widest row.
    EXPECT_EQ(l.rows[2].line, QLine(6, 3 * RowPitch, l.widest, 3 * RowPitch));
}

TEST(PopupMenu, PointerFindsLabelsAndBoxesOnly)
{
    const MenuLayout l = LayOutMenu(BuildMenus(Texts())[1]);
    struct Case {
        const char* name;
        QPoint point;
        int entry;
    };
    const Case cases[] = {
        {"legend box", l.rows[0].box.center(), 0},
        {"legend label", l.rows[0].label.center(), 0},
        {"heading label", l.rows[3].label.center(), 3},
        {"separator line", QPoint(l.widest / 2, 3 * RowPitch), -1},
        {"left margin", QPoint(2, RowPitch), -1},
        {"between rows", QPoint(l.rows[0].label.left() + 2, l.rows[0].label.bottom() + 2), -1},
        {"right of a short label", QPoint(l.widest + 2, 9 * RowPitch), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EntryAt(l, c.point), c.entry) << c.name;
    // The bar: 3 pixels round the label, from 3 above the row's first control, one pitch high.
    const QRect bar = HighlightRect(l, 4);
    EXPECT_EQ(bar, QRect(l.rows[4].label.left() - 3, l.rows[4].box.top() - 3, l.rows[4].label.width() + 6, RowPitch));
    EXPECT_TRUE(HighlightRect(l, 10).isNull());
}

struct PopupRender : ::testing::Test {
    Menu menu = BuildMenus(Texts())[1];
    MenuLayout layout = LayOutMenu(menu);
    const Colours& c = MenuColours();
};

TEST_F(PopupRender, HighlightedRowCheckedRowAndSeparator)
{
    menu.Entries[1].Value = 1; // always on top: checked
    const QImage img = RenderMenu(menu, layout, 4, 40);
    ASSERT_EQ(img.size(), layout.size);
    // The bar round the highlighted option's label: rim, then fill inside it.
    const QRect bar = HighlightRect(layout, 4);
    EXPECT_EQ(img.pixel(bar.topLeft()), c.highlightRim.rgb());
    EXPECT_EQ(img.pixel(bar.left() + 1, bar.top() + 1), c.highlight.rgb());
    EXPECT_EQ(img.pixel(bar.right() - 1, bar.bottom() - 1), c.highlight.rgb());
    // No other row is highlighted.
    const QRect other = HighlightRect(layout, 5);
    EXPECT_EQ(img.pixel(other.left() + 1, other.bottom() - 1), c.background.rgb());
    // The checked box shows its mark; the clear one only its fill.
    EXPECT_GE(CountColour(img, layout.rows[1].box, c.mark), 6);
    EXPECT_EQ(CountColour(img, layout.rows[0].box, c.mark), 0);
    EXPECT_EQ(img.pixel(layout.rows[0].box.center()), c.boxFill.rgb());
    EXPECT_EQ(img.pixel(layout.rows[0].box.topLeft()), c.boxRim.rgb());
    // The separator line across the row, nothing above or below it.
    const int y = layout.rows[2].centreY;
    for (int x : {6, layout.widest / 2, layout.widest - 1})
        EXPECT_EQ(img.pixel(x, y), c.line.rgb()) << x;
    EXPECT_EQ(img.pixel(5, y), c.background.rgb());
    EXPECT_EQ(img.pixel(layout.widest / 2, y - 1), c.background.rgb());
    EXPECT_EQ(img.pixel(layout.widest / 2, y + 1), c.background.rgb());
    // The frame, open at the top from x = 1 for the title's frame.
    EXPECT_EQ(img.pixel(0, 0), c.border.rgb());
    EXPECT_EQ(img.pixel(1, 0), c.background.rgb());
    EXPECT_EQ(img.pixel(40, 0), c.background.rgb());
    EXPECT_EQ(img.pixel(41, 0), c.border.rgb());
    EXPECT_EQ(img.pixel(img.width() - 1, img.height() / 2), c.border.rgb());
}

TEST_F(PopupRender, DisabledRowsNeverShowTheBar)
{
    for (int entry : {2, 3, 7})
        EXPECT_EQ(CountColour(RenderMenu(menu, layout, entry), QRect(QPoint(0, 0), layout.size), c.highlight), 0)
            << entry;
}

TEST_F(PopupRender, SharpAtTwoDevicePixelsPerPixel)
{
    const QImage img = RenderMenu(menu, layout, 4, 0, 2.0);
    ASSERT_EQ(img.size(), layout.size * 2);
    // One pixel of frame and line is exactly two device pixels, no blur beside it.
    EXPECT_EQ(img.pixel(0, 40), c.border.rgb());
    EXPECT_EQ(img.pixel(1, 40), c.border.rgb());
    EXPECT_EQ(img.pixel(2, 40), c.background.rgb());
    const int y = 2 * layout.rows[2].centreY;
    EXPECT_EQ(img.pixel(40, y - 1), c.background.rgb());
    EXPECT_EQ(img.pixel(40, y), c.line.rgb());
    EXPECT_EQ(img.pixel(40, y + 1), c.line.rgb());
    EXPECT_EQ(img.pixel(40, y + 2), c.background.rgb());
    const QRect bar = HighlightRect(layout, 4);
    EXPECT_EQ(img.pixel(2 * bar.left() + 1, 2 * bar.top() + 1), c.highlightRim.rgb());
    EXPECT_EQ(img.pixel(2 * bar.left() + 2, 2 * bar.top() + 2), c.highlight.rgb());
}

} // namespace
