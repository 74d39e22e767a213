// Names and draws of the demo world generator.
#include "tools/demoworld/Names.h"
#include "tools/demoworld/Random.h"

#include <gtest/gtest.h>

#include <QSet>

#include <functional>

namespace {

using demoworld::NameForge;
using demoworld::Random;

TEST(DemoWorldRandom, DrawsStayInTheirRanges)
{
    Random rng(42);
    for (int i = 0; i < 20000; ++i) {
        const int b = rng.below(7);
        ASSERT_GE(b, 0);
        ASSERT_LT(b, 7);
        const int r = rng.range(-3, 3);
        ASSERT_GE(r, -3);
        ASSERT_LE(r, 3);
        const double u = rng.unit();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
    EXPECT_EQ(rng.below(0), 0);
    EXPECT_EQ(rng.below(-5), 0);
}

TEST(DemoWorldRandom, EveryValueOfARangeComesUp)
{
    Random rng(7);
    std::vector<int> seen(10);
    for (int i = 0; i < 2000; ++i)
        ++seen[size_t(rng.range(0, 9))];
    for (int v = 0; v < 10; ++v)
        EXPECT_GT(seen[size_t(v)], 120) << "value " << v; // about 200 each
}

TEST(DemoWorldRandom, DerivedSeedsDifferAndRepeat)
{
    EXPECT_EQ(Random::derive(1, 2, 3), Random::derive(1, 2, 3));
    EXPECT_NE(Random::derive(1, 2, 3), Random::derive(1, 3, 2));
    EXPECT_NE(Random::derive(1, 2), Random::derive(2, 2));
    Random a(Random::derive(9, 1)), b(Random::derive(9, 1));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(a.next(), b.next());
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

INSTANTIATE_TEST_SUITE_P(
    Kinds, DemoWorldNames,
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
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.label); });

TEST(DemoWorldNamesShared, ReservedNamesAreNotHandedOut)
{
    NameForge forge(5);
    const QString first = forge.skill();
    NameForge again(5);
    again.reserve(first.toUpper());
    EXPECT_NE(again.skill().toLower(), first.toLower());
}

TEST(DemoWorldNamesShared, ItemsCarryTheirOwnersFirstName)
{
    NameForge forge(3);
    const QString item = forge.item(QStringLiteral("Vorak the Hollow"), QStringLiteral("Cleaver"));
    EXPECT_TRUE(item.startsWith(QStringLiteral("Vorak's "))) << item.toStdString();
    EXPECT_TRUE(item.endsWith(QStringLiteral(" Cleaver"))) << item.toStdString();
}

} // namespace
