// What the elite and chest lists do with what the chosen character has done
// (hidden, or dimmed at the end), and the "done here" line under each list
// against the progress window's cells.
#include "panel/modEliteTab.h"
#include "panel/modPanelLists.h"
#include "panel/modProgress.h"
#include "panel/modTreasuresPetsTab.h"

#include "../TestWorld.h"

#include <gtest/gtest.h>

namespace {

// The panel's rule world (skills 1 Zeta Strike, 2 alpha Burst, 3 Beta Ward
// of campaign 0, 5 Gamma Mend; 4 has no place), campaign 3 "Ember" with
// chests 1..4. Ayla (1) captured skills 1 and 3 and opened chests 1 and 3;
// Bren (3) captured skill 2.
World DoneWorld()
{
    TestWorld t = TestWorld::PanelRules().campaign(3, QStringLiteral("Ember"));
    for (int n = 1; n <= 4; ++n)
        t.chest(QStringLiteral("Chest %1").arg(n), 0, 0, 0, 0);
    World w = t.world;
    w.elite.EliteSkills[1].Captured[1] = w.elite.EliteSkills[3].Captured[1] = true;
    w.elite.EliteSkills[2].Captured[3] = true;
    w.treasures.Treasures[1].OpenedOn[1] = w.treasures.Treasures[3].OpenedOn[1] = QDate(2026, 3, 5);
    return w;
}

// The panel with campaign c (-1 none) and region r chosen, "Not yet captured
// by" on (`notYet`) with character `ch` (0 all characters) also chosen in
// "Not yet opened by", and both tabs' switches on dim or hide.
PanelState Panel(const World& w, int c, int r, bool notYet, int ch, bool dim)
{
    PanelState p;
    auto choose = [](PanelList& list, int data) {
        for (int i = 0; i < list.size(); ++i)
            if (list.dataAt(i) == data)
                list.selected = i;
    };
    p.cmbCampaign = modPanelLists::FillCampaignList(w.campaigns, w.language).list;
    choose(p.cmbCampaign, c);
    p.cmbRegion = modPanelLists::FillRegionList(w.campaigns, w.language, c).list;
    choose(p.cmbRegion, r);
    p.cmbCharacter = modPanelLists::FillCharacterCombo(w.characters, w.language).list;
    choose(p.cmbCharacter, ch);
    p.cmbTreasureCharacter = p.cmbCharacter;
    p.optCapture = notYet ? 1 : 0;
    p.EliteDoneDim = p.ChestDoneDim = dim;
    return p;
}

// Item data in order, a done entry followed by "*".
std::string Listed(const std::vector<PanelEntry>& entries)
{
    std::string text;
    for (const PanelEntry& e : entries)
        text += (text.empty() ? "" : " ") + std::to_string(e.data) + (e.done ? "*" : "");
    return text;
}

TEST(DoneThings, HiddenOrListedGreyAfterTheRestOnlyWithACharacterChosen)
{
    struct Case {
        const char* title;
        bool notYet;
        int character;
        bool dim;
        const char* skills; // sorted: alpha Burst 2, Beta Ward 3, Gamma Mend 5, Zeta Strike 1
        const char* chests; // file order
    };
    const Case cases[] = {
        {"every skill, hide", false, 0, false, "2 3 5 1", "1 2 3 4"},
        {"every skill, dim: nobody chosen, nothing marked", false, 1, true, "2 3 5 1", "1 2 3 4"},
        {"all characters, hide: what anyone has is hidden", true, 0, false, "5", "1 2 3 4"},
        {"all characters, dim: still hidden, nobody to dim for", true, 0, true, "5", "1 2 3 4"},
        {"Ayla, hide: hers are gone", true, 1, false, "2 5", "2 4"},
        {"Ayla, dim: hers at the end, each part in list order", true, 1, true, "2 5 3* 1*", "2 4 1* 3*"},
        {"Bren, dim", true, 3, true, "3 5 1 2*", "1 2 3 4"},
    };
    const World w = DoneWorld();
    for (const Case& c : cases) {
        const PanelState p = Panel(w, -1, 0, c.notYet, c.character, c.dim);
        EXPECT_EQ(Listed(modEliteTab::FilterEliteEntries(w.elite, w.professions, w.campaigns, p)), c.skills) << c.title;
        PanelState chests = p;
        if (!c.notYet) // "Not yet opened by" has no option of its own: nobody chosen
            chests.cmbTreasureCharacter.selected = 0;
        EXPECT_EQ(Listed(modTreasuresPetsTab::FilterTreasureEntries(w, chests)), c.chests) << c.title;
    }
}

TEST(DoneThings, TheLineUnderEachListNamesTheAreaAndCountsWithTheFiltersShown)
{
    struct Case {
        const char* title;
        int campaign, region, character;
        const char* name; // skill name filter
        const char* skills;
        const char* chests;
    };
    const Case cases[] = {
        {"no campaign", -1, 0, 1, "", "Done in every campaign: 2 of 4", "Done in every campaign: 2 of 4"},
        {"campaign 0 holds Beta Ward alone", 0, 0, 1, "", "Done in Core: 1 of 1", "Done in Core: 0 of 0"},
        {"a region", 1, 1, 1, "", "Done in North Vale: 1 of 2", "Done in North Vale: 0 of 0"},
        {"the name filter counts too", 1, 0, 1, "eta", "Done in Alpha: 2 of 2", "Done in Alpha: 0 of 0"},
        {"Bren", 3, 0, 3, "", "Done in Ember: 0 of 0", "Done in Ember: 0 of 4"},
        {"all characters: no line", 1, 0, 0, "", "", ""},
    };
    const World w = DoneWorld();
    for (const Case& c : cases) {
        for (const bool dim : {false, true}) {
            PanelState p = Panel(w, c.campaign, c.region, true, c.character, dim);
            p.txtEliteName = QString::fromLatin1(c.name);
            EXPECT_EQ(modProgress::EliteDoneHere(w, p).text.toStdString(), c.skills) << c.title;
            EXPECT_EQ(modProgress::ChestsDoneHere(w, p).text.toStdString(), c.chests) << c.title;
        }
    }
    // "All elite skills" chosen: the elite line is empty, the chests' stays.
    const PanelState all = Panel(w, 3, 0, false, 1, false);
    EXPECT_TRUE(modProgress::EliteDoneHere(w, all).text.isEmpty());
    EXPECT_EQ(modProgress::ChestsDoneHere(w, all).text.toStdString(), "Done in Ember: 2 of 4");
}

TEST(DoneThings, TheLineAgreesWithTheProgressWindowsCellOfEachCampaign)
{
    const World w = DoneWorld();
    const modProgress::Overview overview = modProgress::BuildOverview(w);
    int compared = 0;
    for (const modProgress::Row& row : overview.rows) {
        if (row.kind != modProgress::RowKind::Campaign && row.kind != modProgress::RowKind::Chests)
            continue;
        for (std::size_t col = 0; col < overview.characters.size(); ++col) {
            const PanelState p = Panel(w, row.number, 0, true, overview.characters[col], false);
            const modProgress::DoneHere here = row.kind == modProgress::RowKind::Chests
                                                   ? modProgress::ChestsDoneHere(w, p)
                                                   : modProgress::EliteDoneHere(w, p);
            EXPECT_EQ(here.count, (modProgress::DoneCount{row.done[col], row.total}))
                << row.name.toStdString() << ", column " << col;
            ++compared;
        }
    }
    // Core and Alpha (skills) and Ember (chests), for Ayla and Bren.
    EXPECT_EQ(compared, 6);
}

} // namespace
