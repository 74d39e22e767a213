// The legend's drawing: the colour of every profession in two columns, then
// the twelve marker rows (letter squares, the grey square of a boss without
// elite skill, and the map's own marker pictures) with their captions, and
// the window's blue title band. Drawn onto pictures, without a window.
#pragma once

#include "core/modLanguage.h"
#include "elite/modProfessions.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <array>

class QPainter;

namespace Legend {

struct MarkerRow {
    const char* Key; // the marker code the row explains
    int Caption;     // language text
    int Shift;       // extra downward shift (pixels) for the taller pictures
};
extern const std::array<MarkerRow, 12> MarkerRows;

inline constexpr int RowPitch = 14;    // rows of both parts
inline constexpr int SquareSize = 10;  // profession and letter squares
inline constexpr int TitleHeight = 16; // the window's title band
// Left of the marker captions: clear of the widest marker picture (3 + 15 + 3).
inline constexpr int CaptionLeft = 21;

// Professions shown: every entry of the table after entry 0.
int ProfessionCount(const modProfessions::Tables& professions);
// Rows of the longer profession column (the right one when the count is odd).
int LongerColumn(int professions);
// Height of the drawing: room for the longer column and the twelve marker rows.
int PictureHeight(int professions);
// Top of marker row k (0..11) before its extra shift: right under the longer
// profession column.
int MarkerRowY(int professions, int row);
// Left of the right profession column in a drawing `width` pixels wide.
int RightColumnX(int width);
// A width that holds the longest profession name in each column and the
// longest marker caption.
int PictureWidth(const modProfessions::Tables& professions, const modLanguage::LanguageStrings& language);

// Profession colours are stored red in the low byte, then green, then blue.
QColor ProfessionColour(uint32_t colour);
QColor Background();

// The whole drawing at `devicePixelRatio` device pixels per pixel.
QImage DrawLegend(const modProfessions::Tables& professions, const modLanguage::LanguageStrings& language, int width,
                  qreal devicePixelRatio = 1.0);

// The title band across the top of a window `width` pixels wide.
void PaintTitleBand(QPainter& painter, int width, const QString& title);

} // namespace Legend
