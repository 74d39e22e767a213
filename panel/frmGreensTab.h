// Tab 2 of the control panel: the green items found by name and property.
#pragma once

#include "panel/frmPanelTab.h"

class frmGreensTab : public frmPanelTab {
    Q_OBJECT
public:
    frmGreensTab(PanelContext& context, QWidget* parent);

    void ApplyCaptions() override;
    void LayOut(int innerHeight) override;
    void Reveal(const modSearch::Result& found) override;

    void FilterGreens(bool redraw);
    void SelectGreen();

    QLineEdit* txtGreensName = nullptr;
    QLineEdit* txtGreenAdditional = nullptr;
    QListWidget* lstGreens = nullptr;
    QLabel *lblGreenName = nullptr, *lblGreenAdditional = nullptr, *lblGreensList = nullptr;
};
