#include "panel/frmNotesTab.h"

#include "core/TextNumbers.h"
#include "panel/PanelLayout.h"
#include "panel/modNotesTab.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace PanelGeometry;

frmNotesTab::frmNotesTab(PanelContext& context, QWidget* parent) : frmPanelTab(context, TabNotes, parent)
{
    int y = kMargin;
    lblNoteShortDesc = Caption(kMargin, y);
    txtNoteShortDesc = TextBox(y);
    y += kRow;
    lblNoteBody = Caption(kMargin, y);
    txtNoteBody = TextBox(y);
    y += kRow + 4;
    lblNoteList = Caption(kMargin, y, kInnerWidth);
    lstNotes = ListBox(y + kLabelHeight + 2, 100);

    BindText(txtNoteShortDesc, m_panel.txtNoteShortDesc, [this] { FilterNotes(true); });
    BindText(txtNoteBody, m_panel.txtNoteBody, [this] { FilterNotes(true); });
    BindList(lstNotes, m_panel.lstNotes, [this] { SelectNote(); });
}

void frmNotesTab::ApplyCaptions()
{
    const auto& t = m_world.language;
    lblNoteShortDesc->setText(t(Text::NoteShortDescFilter));
    lblNoteBody->setText(t(Text::NoteBodyFilter));
    lblNoteList->setText(modNotesTab::NotesCaption(m_world, m_panel.lstNotes.size()));
}

void frmNotesTab::LayOut(int inner)
{
    lstNotes->resize(lstNotes->width(), PanelLayout::ListHeightToBottom(inner, lstNotes->y()));
}

void frmNotesTab::FilterNotes(bool redraw)
{
    if (!m_panel.Ready)
        return;
    ShowList(lstNotes, m_panel.lstNotes, modNotesTab::FilterNoteEntries(m_world, m_panel));
    lblNoteList->setText(modNotesTab::NotesCaption(m_world, m_panel.lstNotes.size()));
    ReportFiltered();
    if (redraw)
        RedrawMap();
}

void frmNotesTab::SelectNote()
{
    ShowOnMap(modNotesTab::SelectNote(m_world, m_panel));
}

void frmNotesTab::Reveal(const modSearch::Result& found)
{
    RevealIn(found, {lstNotes, m_panel.lstNotes}, [this] {
        ChooseText(txtNoteShortDesc, QString());
        ChooseText(txtNoteBody, QString());
        emit m_context.anyProfessionRequested();
    });
}
