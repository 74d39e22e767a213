// The legend's drawing: the two profession columns and the twelve marker
// rows where the rules put them.
#include "core/TextNumbers.h"
#include "layers/LayerMarkers.h"
#include "windows/LegendPainter.h"

#include <gtest/gtest.h>

namespace {

modProfessions::Tables Professions(int count)
{
    modProfessions::Tables t;
    for (int i = 1; i <= count; ++i) {
        modProfessions::Profession p;
        p.Name = QStringLiteral("Prof %1").arg(i);
        p.Colour = static_cast<uint32_t>(i * 20) | (static_cast<uint32_t>(200 - i * 10) << 8) | (0x40u << 16);
        t.Professions.push_back(p);
    }
    return t;
}

modLanguage::LanguageStrings Texts()
{
    modLanguage::LanguageStrings t;
    for (int n : Text::AllUsed)
        t.set(n, QStringLiteral("Caption %1").arg(n));
    return t;
}

bool IsBlack(QRgb c)
{
    return (c & 0xffffff) == 0;
}

TEST(Legend, MarkerRowsStartUnderTheLongerColumn)
{
    struct Case {
        const char* name;
        int professions, firstMarkerY, height;
    };
    const Case cases[] = {
        {"none beyond entry 0", 0, 6, 12 * 14 + 22},
        {"one: on the right", 1, 20, 13 * 14 + 22},
        {"even", 10, 5 * 14 + 6, 17 * 14 + 22},
        {"odd: right column one longer", 9, 5 * 14 + 6, 17 * 14 + 22},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Legend::MarkerRowY(c.professions, 0), c.firstMarkerY) << c.name;
        EXPECT_EQ(Legend::PictureHeight(c.professions), c.height) << c.name;
        // The chest, the last and lowest row, fits inside the drawing.
        const int lastTop = Legend::MarkerRowY(c.professions, 11) + Legend::MarkerRows[11].Shift;
        EXPECT_LE(lastTop + layermarkers::Size(layermarkers::Marker::Treasure).height(), c.height) << c.name;
    }
    EXPECT_EQ(Legend::RightColumnX(201), 101);
}

TEST(Legend, MarkerRowSymbols)
{
    const int p = 3;
    const QImage img = Legend::DrawLegend(Professions(p), Texts(), 240);
    const QRgb bg = Legend::Background().rgb();
    auto top = [&](int k) { return Legend::MarkerRowY(p, k) + Legend::MarkerRows[static_cast<std::size_t>(k)].Shift; };
    // Letter squares: light grey, outlined in black, from x = 3 to 13.
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(Legend::MarkerRows[static_cast<std::size_t>(k)].Key);
        EXPECT_TRUE(IsBlack(img.pixel(3, top(k))));
        EXPECT_TRUE(IsBlack(img.pixel(12, top(k) + 9)));
        EXPECT_EQ(img.pixel(4, top(k) + 1), qRgb(240, 240, 240));
        EXPECT_EQ(img.pixel(13, top(k) + 5), bg);
    }
    // The first profession's square on the left, in its colour (stored red in the low byte).
    EXPECT_EQ(img.pixel(2 + 5, 2 + 5), Legend::ProfessionColour(Professions(p).Professions[1].Colour).rgb());
    EXPECT_EQ(Legend::ProfessionColour(0x0000ff), QColor(255, 0, 0));
    // A boss without elite skill: a grey square.
    EXPECT_EQ(img.pixel(7, top(6) + 5), qRgb(170, 170, 170));
    // A green item: the green square under the green marker picture, 3 pixels lower.
    EXPECT_EQ(top(7), Legend::MarkerRowY(p, 7) + 3);
    EXPECT_EQ(img.pixel(4, top(7) + 1), qRgb(0, 255, 0));
    // The map's marker pictures, opaque in their middle.
    const std::pair<int, layermarkers::Marker> pictures[] = {{7, layermarkers::Marker::GreenMarker},
                                                             {8, layermarkers::Marker::CollArmi},
                                                             {9, layermarkers::Marker::CollArmature},
                                                             {10, layermarkers::Marker::Note},
                                                             {11, layermarkers::Marker::Treasure}};
    for (const auto& [k, marker] : pictures) {
        const QImage& picture = layermarkers::Picture(marker);
        const QPoint middle(picture.width() / 2, picture.height() / 2);
        EXPECT_EQ(qAlpha(picture.pixel(middle)), 255) << k;
        EXPECT_EQ(img.pixel(QPoint(3, top(k)) + middle), picture.pixel(middle)) << k;
    }
    // Every row has its caption beside the symbol.
    for (int k = 0; k < 12; ++k) {
        bool text = false;
        for (int x = Legend::CaptionLeft; x < Legend::CaptionLeft + 30; ++x)
            for (int y = top(k); y < top(k) + 12; ++y)
                text |= img.pixel(x, y) != bg;
        EXPECT_TRUE(text) << k;
    }
}

} // namespace
