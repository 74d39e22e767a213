// The elite and chest lists with the chosen character's done things hidden or
// dimmed, and the words of the "done here" line (its counts: ProgressTest).
#include "panel/modEliteTab.h"
#include "panel/modPanelLists.h"
#include "panel/modProgress.h"
#include "panel/modTreasuresPetsTab.h"

#include "../TestWorld.h"

#include <gtest/gtest.h>

namespace {

// Skills 1 Zeta Strike, 2 alpha Burst, 3 Beta Ward (campaign 0), 5 Gamma
// Mend; chests 1..4 in campaign 3 "Ember". Ayla (1) has skills 1, 3 and
// chests 1, 3; Bren (3) skill 2.
World DoneWorld()
{
    TestWorld t = TestWorld::PanelRules().campaign(3, QStringLiteral("Ember"));
    for (int n = 1; n <= 4; ++n)
        t.chest(QStringLiteral("Chest %1").arg(n), 0, 0, 0, 0);
    World w = t.world;
    w.elite.EliteSkills[1].Captured[1] = w.elite.EliteSkills[3].Captured[1] = w.elite.EliteSkills[2].Captured[3] = true;
    w.treasures.Treasures[1].OpenedOn[1] = w.treasures.Treasures[3].OpenedOn[1] = QDate(2026, 3, 5);
    return w;
}

// Campaign c (-1 none) and region r; "Not yet captured by" and "Not yet
// opened by" character ch (0 all); both switches on dim or hide.
PanelState Panel(const World& w, int c, int r, int ch, bool dim)
{
    PanelState p;
    p.cmbCampaign = modPanelLists::FillCampaignList(w.campaigns, w.language).list;
    p.cmbRegion = modPanelLists::FillRegionList(w.campaigns, w.language, c).list;
    p.cmbCharacter = modPanelLists::FillCharacterCombo(w.characters, w.language).list;
    for (auto [list, data] : {std::pair{&p.cmbCampaign, c}, {&p.cmbRegion, r}, {&p.cmbCharacter, ch}})
        for (int i = 0; i < list->size(); ++i)
            if (list->dataAt(i) == data)
                list->selected = i;
    p.cmbTreasureCharacter = p.cmbCharacter;
    p.optCapture = 1;
    p.EliteDoneDim = p.ChestDoneDim = dim;
    return p;
}

TEST(DoneThings, HiddenOrListedGreyAfterTheRestOnlyWithACharacterChosenAndCountedBelow)
{
    // Item data in list order, a done entry followed by "*".
    auto listed = [](const std::vector<PanelEntry>& entries) {
        std::string text;
        for (const PanelEntry& e : entries)
            text += (text.empty() ? "" : " ") + std::to_string(e.data) + (e.done ? "*" : "");
        return text;
    };
    const struct {
        const char* title;
        int character;
        bool dim;
        const char* skills; // sorted: alpha Burst 2, Beta Ward 3, Gamma Mend 5, Zeta Strike 1
        const char* chests; // file order
    } cases[] = {
        {"all characters, dim: nobody to dim for", 0, true, "5", "1 2 3 4"},
        {"Ayla, hide", 1, false, "2 5", "2 4"},
        {"Ayla, dim: hers at the end, each part in list order", 1, true, "2 5 3* 1*", "2 4 1* 3*"},
        {"Bren, dim", 3, true, "3 5 1 2*", "1 2 3 4"},
    };
    const World w = DoneWorld();
    for (const auto& c : cases) {
        const PanelState p = Panel(w, -1, 0, c.character, c.dim);
        EXPECT_EQ(listed(modEliteTab::FilterEliteEntries(w.elite, w.professions, w.campaigns, p)), c.skills) << c.title;
        EXPECT_EQ(listed(modTreasuresPetsTab::FilterTreasureEntries(w, p)), c.chests) << c.title;
    }

    // The line under each list names the area shown.
    const struct {
        int campaign, region, character;
        const char *skills, *chests;
    } lines[] = {
        {1, 1, 1, "Done in North Vale: 1 of 2", "Done in North Vale: 0 of 0"},
        {3, 0, 1, "Done in Ember: 0 of 0", "Done in Ember: 2 of 4"},
        {-1, 0, 3, "Done in every campaign: 1 of 4", "Done in every campaign: 0 of 4"},
        {1, 0, 0, "", ""}, // nobody chosen
    };
    for (const auto& l : lines) {
        const PanelState p = Panel(w, l.campaign, l.region, l.character, true);
        EXPECT_EQ(modProgress::EliteDoneHere(w, p).text.toStdString() + "|" +
                      modProgress::ChestsDoneHere(w, p).text.toStdString(),
                  std::string(l.skills) + "|" + l.chests);
    }
}

} // namespace
