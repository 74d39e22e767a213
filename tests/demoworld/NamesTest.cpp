// Names and draws of the demo world generator.
#include "tools/demoworld/Names.h"
#include "tools/demoworld/Random.h"

#include <gtest/gtest.h>

#include <QSet>

#include <functional>

namespace {

using demoworld::NameForge;
using demoworld::Random;

// Draws index tables: one out of range reads past them.
TEST(DemoWorldRandom, DrawsStayInTheirRanges)
{
    Random rng(42);
    for (int i = 0; i < 20000; ++i) {
        const int b = rng.below(7), r = rng.range(-3, 3);
        const double u = rng.unit();
        ASSERT_TRUE(b >= 0 && b < 7 && r >= -3 && r <= 3 && u >= 0.0 && u < 1.0) << b << " " << r << " " << u;
    }
    EXPECT_EQ(rng.below(0), 0);
    EXPECT_EQ(rng.below(-5), 0);
}

struct NameCase {
    const char* label;
    std::function<QString(NameForge&)> make;
    int count;
    int maxLength;
};

class DemoWorldNames : public ::testing::TestWithParam<NameCase> {};

// Names are handed out once, letter case ignored (the files compare boss
// names that way), and short enough for their labels and lists.
TEST_P(DemoWorldNames, AreUniqueAndFitTheirLabels)
{
    const NameCase& c = GetParam();
    NameForge forge(1234);
    QSet<QString> seen;
    for (int i = 0; i < c.count; ++i) {
        const QString name = c.make(forge);
        ASSERT_FALSE(name.trimmed().isEmpty());
        EXPECT_EQ(name, name.trimmed()) << name.toStdString();
        EXPECT_LE(name.size(), c.maxLength) << name.toStdString();
        EXPECT_FALSE(name.contains(u'\t')) << "a tab would split the record";
        EXPECT_FALSE(seen.contains(name.toLower())) << name.toStdString() << " given twice";
        seen.insert(name.toLower());
        for (QChar ch : name)
            ASSERT_LT(ch.unicode(), 0x80) << "record files are single-byte text";
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, DemoWorldNames,
                         ::testing::Values(
                             // A scale-10 world needs about 6000 bosses, 3000 skills, 2300 zones.
                             NameCase{"bosses", [](NameForge& f) { return f.boss(); }, 6000, 40},
                             NameCase{"skills", [](NameForge& f) { return f.skill(); }, 3000, 40},
                             NameCase{"open_areas", [](NameForge& f) { return f.zone(1); }, 800, 22},
                             NameCase{"outposts", [](NameForge& f) { return f.zone(2); }, 400, 22},
                             NameCase{"missions", [](NameForge& f) { return f.zone(3); }, 400, 22},
                             NameCase{"towns", [](NameForge& f) { return f.zone(4); }, 400, 22},
                             NameCase{"challenges", [](NameForge& f) { return f.zone(5); }, 400, 22},
                             NameCase{"dungeons", [](NameForge& f) { return f.zone(6); }, 400, 22},
                             NameCase{"regions", [](NameForge& f) { return f.region(); }, 200, 30},
                             NameCase{"collectors", [](NameForge& f) { return f.collector(); }, 1500, 30},
                             NameCase{"pets", [](NameForge& f) { return f.pet(); }, 400, 30}),
                         [](const ::testing::TestParamInfo<NameCase>& row) { return std::string(row.param.label); });

TEST(DemoWorldNamesShared, ReservedNamesAreNotHandedOutAndItemsCarryTheirOwnersFirstName)
{
    const QString first = NameForge(5).skill();
    NameForge again(5);
    again.reserve(first.toUpper());
    EXPECT_NE(again.skill().toLower(), first.toLower());

    const QString item = again.item(QStringLiteral("Vorak the Hollow"), QStringLiteral("Cleaver"));
    EXPECT_TRUE(item.startsWith(QStringLiteral("Vorak's ")) && item.endsWith(QStringLiteral(" Cleaver")))
        << item.toStdString();
}

} // namespace
