// Tab 1 of the control panel: the collectors' kind, level, hand, request and
// reward search filters over the list of collectors found.
#pragma once

#include "panel/frmPanelTab.h"

class frmCollectorsTab : public frmPanelTab {
    Q_OBJECT
public:
    frmCollectorsTab(PanelContext& context, QWidget* parent);

    void ApplyCaptions() override;
    void LayOut(int innerHeight) override;
    void Reveal(const modSearch::Result& found) override;

    // The hand combo and the request list (panel set-up).
    void FillLists();
    // The saved level option.
    void ApplyOptions();
    void FilterCollectors(bool redraw);
    void FillCollectorRequests();
    void SelectCollector();

    std::array<QRadioButton*, 3> optCollType{};
    std::array<QRadioButton*, 3> optCollLevel{};
    QWidget* picCollLevels = nullptr;
    QComboBox* cmbCollReq = nullptr;
    QComboBox* cmbCollHand = nullptr;
    QLineEdit* txtCollSearch = nullptr;
    QListWidget* lstCollectors = nullptr;
    QLabel *lblCollStuffType = nullptr, *lblCollectorLevel = nullptr, *lblCollSearch = nullptr,
           *lblCollectors = nullptr, *lblCollhand = nullptr, *lblCollRequest = nullptr;
};
