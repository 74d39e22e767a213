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
    frmEliteTab(frmMenu& menu, World& world, PanelState& panel, QWidget* parent);

    void ApplyCaptions() override;
    void LayOut(int innerHeight) override;

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
};
