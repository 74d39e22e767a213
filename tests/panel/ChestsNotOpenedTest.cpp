// "Not yet opened by" on the chest list: the filter, and its options key that
// older files lack.
#include "core/modOptions.h"
#include "panel/PanelOptions.h"
#include "panel/modTreasuresPetsTab.h"

#include "../TestWorld.h"
#include "../core/TestFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(ChestsNotOpenedBy, HidesTheChestsTheChosenCharacterOpened)
{
    TestWorld t;
    t.characters({nullptr, "Ayla", "Bren", "Cael"});
    for (int n = 1; n <= 4; ++n)
        t.chest(QStringLiteral("Chest %1").arg(n), 0, 0, 0, 0);
    World& w = t.world;
    // Chest 1 opened by Ayla, 2 by Ayla and Bren, 3 by nobody; chest 4's
    // line was written before Cael existed (no slot for Cael).
    w.treasures.Treasures[4].OpenedOn.resize(3);
    w.treasures.Treasures[1].OpenedOn[1] = QDate(2026, 1, 1);
    w.treasures.Treasures[2].OpenedOn[1] = QDate(2026, 1, 2);
    w.treasures.Treasures[2].OpenedOn[2] = QDate(2026, 1, 3);
    w.treasures.Treasures[4].OpenedOn[1] = QDate(2026, 1, 4);

    struct Case {
        const char* title;
        int character; // item data of the chosen entry; -1: nothing chosen
        std::vector<int> listed;
    };
    const Case cases[] = {
        {"nothing chosen: every chest", -1, {1, 2, 3, 4}},
        {"the all-characters entry: every chest", 0, {1, 2, 3, 4}},
        {"Ayla", 1, {3}},
        {"Bren", 2, {1, 3, 4}},
        {"a chest line without the character's slot counts as not opened", 3, {1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        PanelState panel;
        if (c.character >= 0) {
            panel.cmbTreasureCharacter.entries = {{QStringLiteral("All"), 0}, {QStringLiteral("x"), c.character}};
            panel.cmbTreasureCharacter.selected = 1;
        }
        EXPECT_EQ(DataOf(modTreasuresPetsTab::FilterTreasureEntries(w, panel)), c.listed) << c.title;
    }
}

TEST(ChestsNotOpenedBy, IsSavedInAKeyOlderFilesLack)
{
    PanelState panel;
    panel.cmbTreasureCharacter.entries = {{QStringLiteral("All"), 0}, {QStringLiteral("Bren"), 2}};
    panel.cmbTreasureCharacter.selected = 1;
    const modOptions::Settings chosen = PanelOptions::CollectSettings(panel, {});
    EXPECT_EQ(chosen.TreasuresNotOpenedBy, 2);
    const QStringList lines = modOptions::OptionsLines(chosen, false);
    EXPECT_EQ(lines.back(), QStringLiteral("TreasuresNotOpenedBy=2"));

    panel.cmbTreasureCharacter.selected = 0;
    const QStringList unchosen = modOptions::OptionsLines(PanelOptions::CollectSettings(panel, {}), false);
    EXPECT_EQ(unchosen.size(), modOptions::OptionsLines(modOptions::Settings{}, false).size());
    EXPECT_FALSE(unchosen.join(u'\n').contains(QStringLiteral("TreasuresNotOpenedBy")))
        << "not chosen: the file is as an older program writes it";

    // Read back; and a file without the key reads as "none".
    for (const auto& [text, expected] : {std::pair{lines.join(QStringLiteral("\r\n")), 2},
                                         std::pair{QStringLiteral("[OLD SELECTION]\r\nCharacter=1\r\n"), 0}}) {
        DataFolder data;
        data.write(QStringLiteral("Data/Options.txt"), text.toLatin1());
        modOptions::Settings loaded;
        QString lastUpdate;
        modOptions::LoadOptions(data.ctx, modLanguage::LanguageStrings{}, loaded, lastUpdate, QLocale::c());
        EXPECT_EQ(loaded.TreasuresNotOpenedBy, expected);
        EXPECT_TRUE(data.diagnostics.empty());
    }
}

} // namespace
