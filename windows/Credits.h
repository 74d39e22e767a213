// What the credits and about windows say and where they say it: the nine
// projects Wayloom stands on with their part in it, the two lines of thanks,
// the about panel with its two links, and the credits block that the credits
// window and the map's start picture both draw. Window-free.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>

class QPainter;

namespace Credits {

struct CreditRow {
    const char* Name;
    const char* Role;
};
extern const std::array<CreditRow, 9> Rows;
extern const std::array<const char*, 2> Thanks;

// Placement of the block: in the credits window (0) or on the start picture (1).
enum Mode : int { InCreditsWindow = 0, OnStartPicture = 1 };

// Arial 9 points.
QFont CreditsFont();

struct Placement {
    int top = 0;     // first row
    int divider = 0; // names end 8 pixels left of it, roles start 8 pixels right of it
    int lineHeight = 0;
    int widestRole = 0;
};
Placement PlaceCredits(QSize inner, int mode);

struct Colours {
    QColor name;
    QColor role;
    QColor thanks;
};

// Draws the nine rows and the two lines of thanks on a surface of `inner`
// size; the painter's font and pen are left as they were.
void DrawCredits(QPainter& painter, QSize inner, int mode, const Colours& colours);

// Size of the credits window's drawing that holds the block with margins.
QSize CreditsPictureSize();

} // namespace Credits

namespace About {

// The about window and its panel (pixels).
inline constexpr QSize WindowSize{612, 463};
inline constexpr QRect PanelRect{0, 0, 607, 457};
inline constexpr QRect SceneRect{116, 14, 518, 443};
inline constexpr QRect LogoRect{2, 2, 177, 45};
// The texts' rectangles, from (left, top) to (right, bottom).
inline constexpr QRect TitleRect{QPoint(14, 58), QPoint(138, 72)};
inline constexpr QRect TextRect{QPoint(22, 88), QPoint(130, 304)};
inline constexpr QRect GuildLinkRect{QPoint(22, 360), QPoint(130, 373)};
inline constexpr QRect MailLinkRect{QPoint(22, 409), QPoint(130, 422)};

enum class Link { None, Guild, Mail };
Link LinkAt(QPoint point);

QString Title();     // "Informations"
QString AboutText(); // the statement, then three lines of dedication
QString GuildName();
QString GuildAddress(); // the community's web address
QString MailLinkText(); // "Mail to " and the makers' name
QString MailAddress();  // a mailto: link

// The panel: background, scene, logo, then the texts; `hovered` underlines
// the link under the pointer.
void PaintPanel(QPainter& painter, Link hovered = Link::None);

} // namespace About
