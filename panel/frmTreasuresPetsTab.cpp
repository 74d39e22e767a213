#include "panel/frmTreasuresPetsTab.h"

#include "core/TextNumbers.h"
#include "panel/frmMenu.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

using namespace PanelGeometry;

namespace {
constexpr int kTreasuresHeight = 150;
constexpr int kPetLocationsHeight = 120;
} // namespace

frmTreasuresPetsTab::frmTreasuresPetsTab(frmMenu& menu, World& world, PanelState& panel, QWidget* parent)
    : frmPanelTab(menu, world, panel, TabTreasuresPets, parent)
{
    int y = kMargin;
    lblTreasures = Caption(kMargin, y, kInnerWidth);
    y += kLabelHeight + 2;
    lstVarshaTreasures = ListBox(y, kTreasuresHeight);
    y += kTreasuresHeight + 6;
    lblPets = Caption(kMargin, y, kInnerWidth);
    lstPets = ListBox(y + kLabelHeight + 2, 100);
    lblPetLocations = Caption(kMargin, y + 120, kInnerWidth);
    lstPetLocations = ListBox(y + 140, kPetLocationsHeight);

    // Treasures and pet places share one selection marker: choosing one
    // clears the other.
    BindList(lstVarshaTreasures, m_panel.lstVarshaTreasures, [this] {
        {
            const QSignalBlocker b1(lstPetLocations), b2(lstPets);
            lstPetLocations->setCurrentRow(-1);
            lstPets->setCurrentRow(-1);
        }
        m_panel.lstPetLocations.selected = -1;
        m_panel.lstPets.selected = -1;
        SelectTreasure();
    });
    BindList(lstPets, m_panel.lstPets, [this] { SelectPet(); });
    BindList(lstPetLocations, m_panel.lstPetLocations, [this] {
        {
            const QSignalBlocker b(lstVarshaTreasures);
            lstVarshaTreasures->setCurrentRow(-1);
        }
        m_panel.lstVarshaTreasures.selected = -1;
        SelectPetPlace();
    });
}

void frmTreasuresPetsTab::ApplyCaptions()
{
    const auto& t = m_world.language;
    lblTreasures->setText(t(Text::Treasures) + QStringLiteral(": ") +
                          QString::number(m_panel.lstVarshaTreasures.size()));
    lblPets->setText(t(Text::Pets) + QStringLiteral(": ") + QString::number(m_panel.lstPets.size()));
    lblPetLocations->setText(t(Text::PetLocations));
}

void frmTreasuresPetsTab::LayOut(int inner)
{
    lstPetLocations->move(lstPetLocations->x(), inner - lstPetLocations->height() - 5);
    lblPetLocations->move(lblPetLocations->x(), lstPetLocations->y() - 1 - lblPetLocations->height());
    lstPets->resize(lstPets->width(), std::max(0, lblPetLocations->y() - 2 - lstPets->y()));
}

void frmTreasuresPetsTab::FilterTreasures(bool redraw)
{
    if (!m_panel.Ready)
        return;
    if (redraw)
        m_menu.RedrawMap();
}

void frmTreasuresPetsTab::FilterPets(bool redraw)
{
    if (!m_panel.Ready)
        return;
    if (redraw)
        m_menu.RedrawMap();
}

void frmTreasuresPetsTab::SelectTreasure()
{
}

void frmTreasuresPetsTab::SelectPet()
{
}

void frmTreasuresPetsTab::SelectPetPlace()
{
}
