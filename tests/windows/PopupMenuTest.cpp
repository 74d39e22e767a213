// The popup menu's layout and what the pointer finds in it.
#include "windows/PopupMenu.h"
#include "core/TextNumbers.h"

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

TEST(PopupMenu, SeventeenRowsAreEighteenPitchesHighWithHalfARowAboveAndBelow)
{
    const Menus menus = BuildMenus(Texts());
    const MenuLayout l = LayOutMenu(menus[1]);
    ASSERT_EQ(l.rows.size(), 17u);
    EXPECT_EQ(l.size.height(), 18 * RowPitch);
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
    EXPECT_TRUE(HighlightRect(l, 17).isNull());
}

} // namespace
