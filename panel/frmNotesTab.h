// Tab 3 of the control panel: the player's notes found by title and text.
#pragma once

#include "panel/frmPanelTab.h"

class frmNotesTab : public frmPanelTab {
    Q_OBJECT
public:
    frmNotesTab(PanelContext& context, QWidget* parent);

    void ApplyCaptions() override;
    void LayOut(int innerHeight) override;
    void Reveal(const modSearch::Result& found) override;

    void FilterNotes(bool redraw);
    void SelectNote();

    QLineEdit* txtNoteShortDesc = nullptr;
    QLineEdit* txtNoteBody = nullptr;
    QListWidget* lstNotes = nullptr;
    QLabel *lblNoteShortDesc = nullptr, *lblNoteBody = nullptr, *lblNoteList = nullptr;
};
