// Tab 4 of the control panel: the treasure chests of the chosen area, the
// pets found there and the places of the chosen pet. At most one of the
// chest list and the pet lists holds a selection, so that one marker blinks.
#pragma once

#include "panel/frmPanelTab.h"

class frmTreasuresPetsTab : public frmPanelTab {
    Q_OBJECT
public:
    frmTreasuresPetsTab(PanelContext& context, QWidget* parent);

    void ApplyCaptions() override;
    void LayOut(int innerHeight) override;
    // A chest or a pet (with the place found).
    void Reveal(const modSearch::Result& found) override;
    // The chests of campaign c (by item data, -1 every campaign) that
    // `character` has not opened; only region r of campaign c when r > 0.
    void RevealNotOpened(int character, int campaign, int region = 0);

    void FilterTreasures(bool redraw);
    // Fills cmbTreasureCharacter, keeping the chosen character (at start: the
    // saved one) when it is still there.
    void FillCharacters();
    void FilterPets(bool redraw);
    void SelectTreasure();
    void SelectPet();
    void SelectPetPlace();

private:
    // Shows in the three lists the selections the state holds.
    void ShowSelections();

public:
    QComboBox* cmbTreasureCharacter = nullptr;
    QListWidget* lstVarshaTreasures = nullptr;
    QListWidget* lstPets = nullptr;
    QListWidget* lstPetLocations = nullptr;
    QLabel* lblTreasureCharacter = nullptr;
    QLabel *lblTreasures = nullptr, *lblPets = nullptr, *lblPetLocations = nullptr;
    // Directly below the chest list: how many of the chests listed here the
    // character chosen in "Not yet opened by" has opened (empty without
    // one); and the switch that hides or dims those chests.
    QLabel* lblDoneHere = nullptr;
    DoneSwitch doneSwitch;
};
