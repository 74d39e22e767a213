#include "windows/PopupMenu.h"

#include "core/TextNumbers.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace PopupMenu {

namespace {

MenuEntry Row(const modLanguage::LanguageStrings& language, int text, int32_t kind, int control, bool enabled = true)
{
    MenuEntry e;
    e.Caption = text > 0 ? language(text) : QString();
    e.Kind = kind;
    e.ControlNumber = static_cast<uint8_t>(control);
    e.Enabled = enabled;
    return e;
}

// A row added after the language file's rows, with its caption as it stands.
MenuEntry Literal(const QString& caption, int32_t kind, int control)
{
    MenuEntry e;
    e.Caption = caption;
    e.Kind = kind;
    e.ControlNumber = static_cast<uint8_t>(control);
    return e;
}

MenuEntry Line(int control)
{
    MenuEntry e;
    e.Kind = Separator;
    e.ControlNumber = static_cast<uint8_t>(control);
    e.Enabled = false;
    return e;
}

// A one-pixel frame made of filled strips, exact at every pixel ratio.
void Frame(QPainter& p, const QRect& r, const QColor& colour)
{
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

} // namespace

Menus BuildMenus(const modLanguage::LanguageStrings& t)
{
    Menus menus;
    Menu& show = menus[0];
    show.Entries = {Row(t, Text::EliteSkills, CheckBox, 0),
                    Row(t, Text::Collectors, CheckBox, 1),
                    Row(t, Text::GreenItems, CheckBox, 2),
                    Row(t, Text::Notes, CheckBox, 3),
                    Row(t, Text::TreasuresAndPets, CheckBox, 4),
                    Line(0),
                    Literal(QStringLiteral("Route (R)"), CheckBox, 5),
                    Literal(QStringLiteral("Route through every layer"), CheckBox, 6),
                    Literal(QStringLiteral("Copy route (Ctrl+Shift+C)"), Command, 0),
                    Literal(QStringLiteral("Next region with something left (G)"), Command, 1)};
    show.CheckBoxes = 7;
    show.Lines = 1;

    Menu& options = menus[1];
    options.Entries = {Row(t, Text::ShowLegend, CheckBox, 0),
                       Row(t, Text::AlwaysOnTop, CheckBox, 1),
                       Line(0),
                       Row(t, Text::TooltipHeading, Command, 0, false),
                       Row(t, Text::TooltipSticky, Option, 0),
                       Row(t, Text::TooltipWhileHeld, Option, 1),
                       Row(t, Text::TooltipOnHover, Option, 2),
                       Line(1),
                       Row(t, Text::ManageCharacters, Command, 1),
                       Row(t, Text::ProgressTitle, Command, 2),
                       Line(2),
                       Literal(QStringLiteral("Undo marking (Ctrl+Z)"), Command, 3),
                       Literal(QStringLiteral("Redo marking (Ctrl+Shift+Z)"), Command, 4),
                       Literal(QStringLiteral("Large, clear markers"), CheckBox, 2),
                       Line(3),
                       Literal(QStringLiteral("Fit the map to the window (F)"), Command, 5),
                       Literal(QStringLiteral("Overview of the region"), CheckBox, 3)};
    options.Options = 3;
    options.CheckBoxes = 4;
    options.Lines = 4;

    Menu& help = menus[2];
    help.Entries = {Row(t, Text::UpdateMenu, Command, 0),
                    Row(t, Text::WebSiteMenu, Command, 1),
                    Line(0),
                    Row(t, Text::CreditsMenu, Command, 2),
                    Row(t, Text::FeedbackMenu, Command, 3),
                    Row(t, Text::HistoryMenu, Command, 4),
                    Row(t, Text::HelpMenu, Command, 5),
                    Line(1),
                    Row(t, Text::AboutMenu, Command, 6),
                    Row(t, Text::UndoUpdateMenu, Command, 7)};
    help.Lines = 2;
    return menus;
}

QFont MenuFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    return f;
}

MenuLayout LayOutMenu(const Menu& menu, const QFont& font, int pitch)
{
    MenuLayout layout;
    layout.pitch = std::max(1, pitch);
    const QFontMetrics metrics(font);
    const int labelHeight = metrics.height();
    layout.rows.resize(menu.Entries.size());
    for (std::size_t i = 0; i < menu.Entries.size(); ++i) {
        const MenuEntry& e = menu.Entries[i];
        RowLayout& row = layout.rows[i];
        row.centreY = layout.pitch * static_cast<int>(i + 1);
        const int left = e.Indent * IndentStep + FirstLeft;
        const int labelWidth = metrics.horizontalAdvance(e.Caption);
        switch (e.Kind) {
        case CheckBox:
        case Option:
            row.box = QRect(left, row.centreY - BoxSize / 2, BoxSize, BoxSize);
            row.label = QRect(row.box.right() + 1 + LabelGap, row.box.top(), labelWidth, labelHeight);
            break;
        case Separator:
            break;
        default:
            row.label = QRect(left, row.centreY - labelHeight / 2, labelWidth, labelHeight);
            break;
        }
        if (e.Kind != Separator)
            layout.widest = std::max(layout.widest, row.label.left() + row.label.width());
    }
    for (std::size_t i = 0; i < menu.Entries.size(); ++i)
        if (menu.Entries[i].Kind == Separator)
            layout.rows[i].line = QLine(FirstLeft, layout.rows[i].centreY, layout.widest, layout.rows[i].centreY);
    layout.size = QSize(layout.widest + 6, static_cast<int>(menu.Entries.size() + 1) * layout.pitch);
    return layout;
}

int EntryAt(const MenuLayout& layout, QPoint point)
{
    for (std::size_t i = 0; i < layout.rows.size(); ++i) {
        const RowLayout& row = layout.rows[i];
        if ((row.label.width() > 0 && row.label.contains(point)) || (!row.box.isNull() && row.box.contains(point)))
            return static_cast<int>(i);
    }
    return -1;
}

QRect HighlightRect(const MenuLayout& layout, int entry)
{
    if (entry < 0 || entry >= static_cast<int>(layout.rows.size()))
        return {};
    const RowLayout& row = layout.rows[static_cast<std::size_t>(entry)];
    return QRect(row.label.left() - 3, row.control().top() - 3, row.label.width() + 6, layout.pitch);
}

const Colours& MenuColours()
{
    static const Colours colours;
    return colours;
}

void PaintMenu(QPainter& p, const Menu& menu, const MenuLayout& layout, int highlighted, int falseHoleWidth,
               const QFont& font)
{
    const Colours& c = MenuColours();
    const QRect all(QPoint(0, 0), layout.size);
    p.save();
    p.fillRect(all, c.background);
    Frame(p, all, c.border);
    if (falseHoleWidth > 0)
        p.fillRect(QRect(1, 0, std::min(falseHoleWidth, all.width() - 2), 1), c.background);

    if (highlighted >= 0 && highlighted < static_cast<int>(menu.Entries.size()) &&
        menu.Entries[static_cast<std::size_t>(highlighted)].Enabled) {
        const QRect bar = HighlightRect(layout, highlighted);
        p.fillRect(bar, c.highlight);
        Frame(p, bar, c.highlightRim);
    }

    p.setFont(font);
    for (std::size_t i = 0; i < menu.Entries.size(); ++i) {
        const MenuEntry& e = menu.Entries[i];
        const RowLayout& row = layout.rows[i];
        if (e.Kind == Separator) {
            p.fillRect(QRect(row.line.x1(), row.line.y1(), row.line.x2() - row.line.x1(), 1), c.line);
            continue;
        }
        if (e.Kind == CheckBox) {
            p.fillRect(row.box, c.boxFill);
            Frame(p, row.box, c.boxRim);
            if (e.Value != 0) {
                p.setRenderHint(QPainter::Antialiasing, true);
                QPainterPath tick;
                const QRectF b = row.box;
                tick.moveTo(b.left() + 2.8, b.top() + 6.6);
                tick.lineTo(b.left() + 5.4, b.top() + 9.4);
                tick.lineTo(b.left() + 10.2, b.top() + 3.4);
                p.setPen(QPen(c.mark, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.setBrush(Qt::NoBrush);
                p.drawPath(tick);
                p.setRenderHint(QPainter::Antialiasing, false);
            }
        } else if (e.Kind == Option) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(c.boxRim, 1.0));
            p.setBrush(c.boxFill);
            p.drawEllipse(QRectF(row.box).adjusted(0.5, 0.5, -0.5, -0.5));
            if (e.Value != 0) {
                p.setPen(Qt::NoPen);
                p.setBrush(c.mark);
                p.drawEllipse(QRectF(row.box).center(), 3.0, 3.0);
            }
            p.setRenderHint(QPainter::Antialiasing, false);
        }
        p.setPen(e.Enabled ? c.text : c.disabledText);
        p.drawText(row.label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, e.Caption);
    }
    p.restore();
}

QImage RenderMenu(const Menu& menu, const MenuLayout& layout, int highlighted, int falseHoleWidth,
                  qreal devicePixelRatio, const QFont& font)
{
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage img(qRound(layout.size.width() * dpr), qRound(layout.size.height() * dpr), QImage::Format_RGB32);
    img.setDevicePixelRatio(dpr);
    QPainter p(&img);
    PaintMenu(p, menu, layout, highlighted, falseHoleWidth, font);
    return img;
}

} // namespace PopupMenu
