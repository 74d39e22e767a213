// Tab 0 of the control panel: the region filter every layer reads
// (campaign, region, zone), the profession and attribute filters, the
// capture filter, the skill and boss name boxes, the skills found and the
// places of the chosen skill.
#pragma once

#include "panel/frmPanelTab.h"

class QCheckBox;

class frmEliteTab : public frmPanelTab {
    Q_OBJECT
public:
    frmEliteTab(PanelContext& context, QWidget* parent);

    void ApplyCaptions() override;
    void LayOut(int innerHeight) override;
    // A skill or boss (with the place found), or a zone, region or campaign:
    // an area is shown by the region filter and the map centred on it.
    void Reveal(const modSearch::Result& found) override;
    // What `character` still lacks: the skills of campaign c (by item data,
    // -1 every campaign) or of profession p (0 every profession) that the
    // character has not captured, every other filter emptied; only region r
    // of campaign c when r > 0.
    void RevealMissing(int character, int campaign, int profession, int region = 0);

    void FilterElites(bool redraw);
    // Switches the map to the place chosen in lstLocations and centres it.
    void SelectEliteLocation();
    // Empties lstLocations and disables it with its caption (every layer
    // filter does this).
    void ClearLocations();

    // The campaign list and the combos that do not depend on it (panel set-up).
    void FillLists();
    // Puts the saved selections into the combos, in the order that runs their
    // change handling: campaign, region, zone, professions, then the character.
    void ApplyOptions();
    // After the character dialogs: all skills again, the character list refilled.
    void RefillCharacters();
    // A region item of the map's region menu: campaign c (chosen by item data)
    // and region r, which loads and redraws the map.
    void SelectRegion(int c, int r);

    QComboBox* cmbCampaign = nullptr;
    QComboBox* cmbRegion = nullptr;
    QComboBox* cmbZone = nullptr;
    QComboBox* cmbProfession = nullptr;
    QComboBox* cmbSecondaryProfession = nullptr;
    QComboBox* cmbAttribute = nullptr;
    QComboBox* cmbCharacter = nullptr;
    std::array<QRadioButton*, 2> optCapture{};
    QLineEdit* txtEliteName = nullptr;
    QLineEdit* txtEliteBossName = nullptr;
    QListWidget* lstElite = nullptr;
    QListWidget* lstLocations = nullptr;
    QLabel* lblTot = nullptr;
    // Below lstElite: how many characters still need the selected skill
    // (empty with no skill selected or no character).
    QLabel* lblStillNeeded = nullptr;
    // Directly below lstElite: how many of the skills listed here the
    // character chosen in "Not yet captured by" has captured (empty without
    // one); and the switch that hides or dims those skills.
    QLabel* lblDoneHere = nullptr;
    DoneSwitch doneSwitch;
    QLabel *lblCampaign = nullptr, *lblRegion = nullptr, *lblZone = nullptr, *lblClass = nullptr,
           *lblSecondaryProfession = nullptr, *lblAttribute = nullptr, *lblEliteName = nullptr, *lblBossName = nullptr,
           *lblLocations = nullptr;

private:
    void cmbCampaign_Click();
    void cmbRegion_Click();
    void cmbZone_Click();
    void cmbProfession_Click();
    void optCapture_Click();
    void lstElite_Click();
    void FillRegionList();
    void FillZoneList();
    void FillAttributeCombo();
    void ShowStillNeeded();
    void ShowDoneHere();
    // The region filter set to campaign c and region r with every zone
    // (campaign c alone when it has no region r).
    void ShowArea(int c, int r);
    // The region filter set to every region and zone of campaign c.
    void ShowCampaign(int c);
    // A zone, region or campaign found by the search.
    void RevealArea(const modSearch::Result& found);
};
