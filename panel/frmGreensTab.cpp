#include "panel/frmGreensTab.h"

#include "core/TextNumbers.h"
#include "panel/PanelLayout.h"
#include "panel/modGreensTab.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace PanelGeometry;

frmGreensTab::frmGreensTab(PanelContext& context, QWidget* parent) : frmPanelTab(context, TabGreens, parent)
{
    int y = kMargin;
    lblGreenName = Caption(kMargin, y);
    txtGreensName = TextBox(y);
    y += kRow;
    lblGreenAdditional = Caption(kMargin, y);
    txtGreenAdditional = TextBox(y);
    y += kRow + 4;
    lblGreensList = Caption(kMargin, y, kInnerWidth);
    lstGreens = ListBox(y + kLabelHeight + 2, 100);

    BindText(txtGreensName, m_panel.txtGreensName, [this] { FilterGreens(true); });
    BindText(txtGreenAdditional, m_panel.txtGreenAdditional, [this] { FilterGreens(true); });
    BindList(lstGreens, m_panel.lstGreens, [this] { SelectGreen(); });
}

void frmGreensTab::ApplyCaptions()
{
    const auto& t = m_world.language;
    lblGreenName->setText(t(Text::GreenName));
    lblGreenAdditional->setText(t(Text::Search));
    lblGreensList->setText(modGreensTab::GreensCaption(m_world, m_panel.lstGreens.size()));
}

void frmGreensTab::LayOut(int inner)
{
    lstGreens->resize(lstGreens->width(), PanelLayout::ListHeightToBottom(inner, lstGreens->y()));
}

void frmGreensTab::FilterGreens(bool redraw)
{
    if (!m_panel.Ready)
        return;
    ShowList(lstGreens, m_panel.lstGreens, modGreensTab::FilterGreenEntries(m_world, m_panel));
    lblGreensList->setText(modGreensTab::GreensCaption(m_world, m_panel.lstGreens.size()));
    ReportFiltered();
    if (redraw)
        RedrawMap();
}

void frmGreensTab::SelectGreen()
{
    ShowOnMap(modGreensTab::SelectGreen(m_world, m_panel));
}

void frmGreensTab::Reveal(const modSearch::Result& found)
{
    RevealIn(found, {lstGreens, m_panel.lstGreens}, [this] {
        ChooseText(txtGreensName, QString());
        ChooseText(txtGreenAdditional, QString());
        emit m_context.anyProfessionRequested();
    });
}
