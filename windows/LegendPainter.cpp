#include "windows/LegendPainter.h"

#include "core/TextNumbers.h"
#include "layers/LayerMarkers.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace Legend {

const std::array<MarkerRow, 12> MarkerRows{{
    {"?", Text::LegendApproximate, 0},
    {"1", Text::LegendOncePerVisit, 0},
    {"a", Text::LegendAmbush, 0},
    {"P", Text::LegendPatrol, 0},
    {"C", Text::LegendChallenge, 0},
    {"D", Text::LegendMissionOnly, 0},
    {"noBoss", Text::LegendNoElite, 0},
    {"Green", Text::LegendGreen, 3},
    {"Coll1", Text::WeaponCollectors, 6},
    {"Coll2", Text::ArmourCollectors, 6},
    {"Notes", Text::LegendNote, 9},
    {"Treas", Text::Treasures, 12},
}};

namespace {

const QColor kLetterSquare(240, 240, 240);
const QColor kNoBossSquare(170, 170, 170);
const QColor kGreenSquare(0, 255, 0);
const QColor kTitleBand(0, 0, 255);

// Names of the professions, in pixels (8 points at 96 dots per inch).
QFont NameFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    return f;
}

// The marker rows: 7 points.
QFont MarkerFont(bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(9);
    f.setBold(bold);
    return f;
}

void Square(QPainter& p, const QRect& r, const QColor& fill)
{
    p.fillRect(r, fill);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), Qt::black);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), Qt::black);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), Qt::black);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), Qt::black);
}

bool IsLetterRow(const MarkerRow& row)
{
    return std::strlen(row.Key) == 1;
}

const layermarkers::Marker* PictureOf(const MarkerRow& row)
{
    static const std::pair<const char*, layermarkers::Marker> pictures[] = {
        {"Green", layermarkers::Marker::GreenMarker},  {"Coll1", layermarkers::Marker::CollArmi},
        {"Coll2", layermarkers::Marker::CollArmature}, {"Notes", layermarkers::Marker::Note},
        {"Treas", layermarkers::Marker::Treasure},
    };
    for (const auto& [key, marker] : pictures)
        if (std::strcmp(key, row.Key) == 0)
            return &marker;
    return nullptr;
}

} // namespace

int ProfessionCount(const modProfessions::Tables& professions)
{
    return std::max(0, professions.highest());
}

int LongerColumn(int professions)
{
    return professions - professions / 2;
}

int PictureHeight(int professions)
{
    // The twelve marker rows start under the longer column; the last one
    // (the chest, 12 pixels lower) needs a row and a half below its top.
    return (LongerColumn(professions) + 12) * RowPitch + 22;
}

int MarkerRowY(int professions, int row)
{
    return (LongerColumn(professions) + row) * RowPitch + 6;
}

int RightColumnX(int width)
{
    return width / 2 + 1;
}

int PictureWidth(const modProfessions::Tables& professions, const modLanguage::LanguageStrings& language)
{
    const QFontMetrics names(NameFont());
    const int p = ProfessionCount(professions);
    int column = 0;
    for (int i = 1; i <= p; ++i)
        column =
            std::max(column, 15 + names.horizontalAdvance(professions.Professions[static_cast<std::size_t>(i)].Name));
    const QFontMetrics captions(MarkerFont());
    int markers = 0;
    for (const MarkerRow& row : MarkerRows)
        markers = std::max(markers, CaptionLeft + captions.horizontalAdvance(language(row.Caption)));
    // Both columns start 2 pixels in and leave 6 pixels to their right.
    return std::max({2 * (column + 8), markers + 8, 160});
}

QColor ProfessionColour(uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xff), static_cast<int>((colour >> 8) & 0xff),
                  static_cast<int>((colour >> 16) & 0xff));
}

QColor Background()
{
    return QColor(222, 222, 218);
}

QImage DrawLegend(const modProfessions::Tables& professions, const modLanguage::LanguageStrings& language, int width,
                  qreal devicePixelRatio)
{
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int p = ProfessionCount(professions);
    const int height = PictureHeight(p);
    width = std::max(1, width);
    QImage img(qRound(width * dpr), qRound(height * dpr), QImage::Format_RGB32);
    img.setDevicePixelRatio(dpr);
    img.fill(Background());
    QPainter painter(&img);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Professions: the first half in the left column, the rest on the right.
    painter.setFont(NameFont());
    const QFontMetrics names(NameFont());
    const int half = p / 2;
    for (int i = 1; i <= p; ++i) {
        const bool left = i <= half;
        const int x = left ? 2 : RightColumnX(width);
        const int r = left ? i - 1 : i - half - 1;
        const int y = r * RowPitch + 2;
        const auto& prof = professions.Professions[static_cast<std::size_t>(i)];
        Square(painter, QRect(x + 1, y, SquareSize, SquareSize), ProfessionColour(prof.Colour));
        painter.setPen(Qt::black);
        painter.drawText(QRect(x + 15, y - 2, width - x - 15, names.height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, prof.Name);
    }

    // The marker rows under the longer column.
    const QFontMetrics captions(MarkerFont());
    for (int k = 0; k < static_cast<int>(MarkerRows.size()); ++k) {
        const MarkerRow& row = MarkerRows[static_cast<std::size_t>(k)];
        const int top = MarkerRowY(p, k) + row.Shift;
        const QRect square(3, top, SquareSize, SquareSize);
        if (IsLetterRow(row)) {
            Square(painter, square, kLetterSquare);
            painter.setFont(MarkerFont(true));
            painter.setPen(Qt::black);
            painter.drawText(QRect(square.left() + 1, square.top(), SquareSize - 1, SquareSize),
                             Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromLatin1(row.Key));
        } else if (std::strcmp(row.Key, "noBoss") == 0) {
            Square(painter, square, kNoBossSquare);
        } else {
            if (std::strcmp(row.Key, "Green") == 0)
                Square(painter, square, kGreenSquare);
            if (const layermarkers::Marker* marker = PictureOf(row))
                painter.drawImage(QPoint(3, top), layermarkers::Draw(*marker, dpr));
        }
        painter.setFont(MarkerFont());
        painter.setPen(Qt::black);
        // Captions sit beside the symbol, on the same middle line.
        const int symbolHeight = IsLetterRow(row) || std::strcmp(row.Key, "noBoss") == 0
                                     ? SquareSize
                                     : layermarkers::Size(*PictureOf(row)).height();
        const int captionLeft = CaptionLeft;
        painter.drawText(
            QRect(captionLeft, top + (symbolHeight - captions.height()) / 2, width - captionLeft, captions.height()),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, language(row.Caption));
    }
    return img;
}

void PaintTitleBand(QPainter& p, int width, const QString& title)
{
    p.fillRect(QRect(0, 0, width, TitleHeight), kTitleBand);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, width, TitleHeight), Qt::AlignCenter | Qt::TextSingleLine, title);
}

} // namespace Legend
