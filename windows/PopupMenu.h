// The control panel's own popup menus: the three menus with their rows
// (commands, check boxes, option buttons, separator lines), the layout of one
// menu as the popup window shows it, and its drawing onto any paint device.
// No window is needed: frmPopupMenu feeds pointer positions in and paints
// what comes out.
#pragma once

#include "core/modLanguage.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLine>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class QPainter;

namespace PopupMenu {

enum EntryKind : int32_t { Command = 0, CheckBox = 1, Option = 2, Separator = 3 };

struct MenuEntry {
    QString Caption; // empty for a separator
    int32_t Kind = Command;
    uint8_t Indent = 0;        // the row's first control starts at Indent * 20 + 6
    uint8_t ControlNumber = 0; // the n-th check box, option button or line of the menu
    uint8_t Value = 0;         // check box or option state (0 clear, 1 set)
    bool Enabled = true;
};

struct Menu {
    std::vector<MenuEntry> Entries;
    uint8_t Options = 0;
    uint8_t CheckBoxes = 0;
    uint8_t Lines = 0;
};

inline constexpr int MenuCount = 3;
using Menus = std::array<Menu, MenuCount>;

// The show menu (0), the options menu (1) and the help menu (2), captions
// from the language texts, every value clear.
Menus BuildMenus(const modLanguage::LanguageStrings& language);

// Measures of the popup (pixels).
inline constexpr int RowPitch = 20; // height of the highlight bar: one row
inline constexpr int BoxSize = 13;  // check box and option button
inline constexpr int FirstLeft = 6; // left of a row's first control at indent 0
inline constexpr int IndentStep = 20;
inline constexpr int LabelGap = 4; // between a box and its label

// The font of the rows.
QFont MenuFont();

// Where one row's parts lie in the popup.
struct RowLayout {
    int centreY = 0;
    QRect label; // the caption (empty rectangle for a separator)
    QRect box;   // check box or option button; null for other rows
    QLine line;  // separator line; null for other rows
    // The row's first control: the box for check and option rows, else the label.
    QRect control() const { return box.isNull() ? label : box; }
};

struct MenuLayout {
    int pitch = RowPitch;
    int widest = 0; // largest right edge of any label
    QSize size;     // the window: widest + 6 wide, (entries + 1) * pitch high
    std::vector<RowLayout> rows;
};

MenuLayout LayOutMenu(const Menu& menu, const QFont& font = MenuFont(), int pitch = RowPitch);

// The entry whose label or box holds the point, -1 over the background
// (separators have neither).
int EntryAt(const MenuLayout& layout, QPoint point);

// The highlight bar round an entry's label: 3 pixels outside it on the left,
// above the row's first control and on the right, one pitch high.
QRect HighlightRect(const MenuLayout& layout, int entry);

// Colours of the popup.
struct Colours {
    QColor background{250, 247, 240};
    QColor border{62, 66, 76};
    QColor text{28, 30, 34};
    QColor disabledText{118, 116, 110};
    QColor highlight{224, 184, 74};
    QColor highlightRim{176, 136, 40};
    QColor boxFill{255, 255, 255};
    QColor boxRim{96, 100, 110};
    QColor mark{36, 40, 48};
    QColor line{186, 180, 168};
    // The panel's menu title while its menu is open.
    QColor openTitle{0, 0, 255};
};
const Colours& MenuColours();

// Draws the popup at its own size: background, frame, highlight bar (only
// when `highlighted` is an enabled entry), boxes with their values, labels
// and lines. `falseHoleWidth` > 0 opens the frame's top edge from x = 1 on,
// so that the popup and the title's frame read as one tab.
void PaintMenu(QPainter& painter, const Menu& menu, const MenuLayout& layout, int highlighted, int falseHoleWidth = 0,
               const QFont& font = MenuFont());

// The same into a picture of devicePixelRatio device pixels per pixel.
QImage RenderMenu(const Menu& menu, const MenuLayout& layout, int highlighted, int falseHoleWidth = 0,
                  qreal devicePixelRatio = 1.0, const QFont& font = MenuFont());

} // namespace PopupMenu
