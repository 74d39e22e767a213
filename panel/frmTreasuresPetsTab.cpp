#include "panel/frmTreasuresPetsTab.h"

#include "core/TextNumbers.h"
#include "panel/modPanelLists.h"
#include "panel/modProgress.h"
#include "panel/modTreasuresPetsTab.h"

#include <QComboBox>
#include <algorithm>

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

using namespace PanelGeometry;

namespace {
// The chest list gives up the room of the character choice above it.
constexpr int kTreasuresHeight = 150 - kControlHeight - 4;
constexpr int kPetLocationsHeight = 120;
} // namespace

frmTreasuresPetsTab::frmTreasuresPetsTab(PanelContext& context, QWidget* parent)
    : frmPanelTab(context, TabTreasuresPets, parent)
{
    int y = kMargin;
    lblTreasureCharacter = Caption(kMargin, y);
    cmbTreasureCharacter = Combo(y);
    lblTreasureCharacter->setBuddy(cmbTreasureCharacter);
    connect(cmbTreasureCharacter, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_panel.cmbTreasureCharacter.selected = index;
        FilterTreasures(true);
    });
    y += kControlHeight + 4;
    lblTreasures = Caption(kMargin, y, kInnerWidth);
    y += kLabelHeight + 2;
    lstVarshaTreasures = ListBox(y, kTreasuresHeight);
    y += kTreasuresHeight;
    lblDoneHere = Caption(kMargin, y, kInnerWidth);
    lblDoneHere->setObjectName(QStringLiteral("lblDoneHere"));
    lblDoneHere->setStyleSheet(QStringLiteral("color: #d9c27a;"));
    y += kLabelHeight + 4;
    doneSwitch = MakeDoneSwitch(m_panel.ChestDoneDim, [this] { FilterTreasures(true); });
    lblPets = Caption(kMargin, y, kInnerWidth);
    lstPets = ListBox(y + kLabelHeight + 2, 100);
    lblPetLocations = Caption(kMargin, y + 120, kInnerWidth);
    lstPetLocations = ListBox(y + 140, kPetLocationsHeight);

    // Treasures and pet places share one selection marker: choosing one
    // clears the other.
    BindList(lstVarshaTreasures, m_panel.lstVarshaTreasures, [this] {
        modTreasuresPetsTab::ChooseTreasure(m_panel, m_panel.lstVarshaTreasures.selected);
        ShowSelections();
        SelectTreasure();
    });
    OfferMarking(lstVarshaTreasures, modMarking::Kind::Chest);
    BindList(lstPets, m_panel.lstPets, [this] { SelectPet(); });
    BindList(lstPetLocations, m_panel.lstPetLocations, [this] {
        modTreasuresPetsTab::ChoosePetPlace(m_panel, m_panel.lstPetLocations.selected);
        ShowSelections();
        SelectPetPlace();
    });
    // A new character list: the choice filled anew, the chests counted for it.
    connect(&m_context, &PanelContext::charactersChanged, this, [this] {
        FillCharacters();
        FilterTreasures(true);
    });
}

void frmTreasuresPetsTab::ShowSelections()
{
    for (auto [list, model] :
         {std::pair{lstVarshaTreasures, &m_panel.lstVarshaTreasures}, std::pair{lstPets, &m_panel.lstPets},
          std::pair{lstPetLocations, &m_panel.lstPetLocations}}) {
        const QSignalBlocker block(list);
        if (list->currentRow() != model->selected)
            list->setCurrentRow(model->selected);
    }
}

void frmTreasuresPetsTab::ApplyCaptions()
{
    const auto& t = m_world.language;
    lblTreasures->setText(modTreasuresPetsTab::TreasuresCaption(m_world, m_panel.lstVarshaTreasures.size()));
    lblPets->setText(modTreasuresPetsTab::PetsCaption(m_world, m_panel.lstPets.size()));
    lblPetLocations->setText(t(Text::PetLocations));
    lblTreasureCharacter->setText(t(Text::NotOpenedBy));
    PlaceDoneSwitch(doneSwitch, lblTreasures->y(), lblTreasures);
}

void frmTreasuresPetsTab::FillCharacters()
{
    const int chosen = m_panel.cmbTreasureCharacter.entries.empty() ? m_world.settings.TreasuresNotOpenedBy
                                                                    : m_panel.cmbTreasureCharacter.selectedData(0);
    modPanelLists::ComboFill fill = modPanelLists::FillCharacterCombo(m_world.characters, m_world.language);
    for (std::size_t i = 0; i < fill.list.entries.size(); ++i)
        if (fill.list.entries[i].data == chosen)
            fill.list.selected = static_cast<int>(i);
    ShowCombo(cmbTreasureCharacter, m_panel.cmbTreasureCharacter, fill, lblTreasureCharacter);
    cmbTreasureCharacter->setMaxVisibleItems(std::max(1, cmbTreasureCharacter->count()));
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
    ShowList(lstVarshaTreasures, m_panel.lstVarshaTreasures,
             modTreasuresPetsTab::FilterTreasureEntries(m_world, m_panel));
    lblTreasures->setText(modTreasuresPetsTab::TreasuresCaption(m_world, m_panel.lstVarshaTreasures.size()));
    lblDoneHere->setText(modProgress::ChestsDoneHere(m_world, m_panel).text);
    ShowDoneSwitch(doneSwitch, m_panel.ChestDoneDim);
    ReportFiltered();
    if (redraw)
        RedrawMap();
}

void frmTreasuresPetsTab::FilterPets(bool redraw)
{
    if (!m_panel.Ready)
        return;
    ShowList(lstPets, m_panel.lstPets, modTreasuresPetsTab::FilterPetEntries(m_world, m_panel));
    ShowList(lstPetLocations, m_panel.lstPetLocations, {});
    SetControlsEnabled(false, {lstPetLocations, lblPetLocations});
    lblPets->setText(modTreasuresPetsTab::PetsCaption(m_world, m_panel.lstPets.size()));
    ReportFiltered();
    if (redraw)
        RedrawMap();
}

void frmTreasuresPetsTab::SelectTreasure()
{
    ShowOnMap(modTreasuresPetsTab::SelectTreasure(m_world, m_panel));
}

void frmTreasuresPetsTab::SelectPet()
{
    if (!m_panel.lstPets.hasSelection())
        return;
    const bool hasPlaces = modTreasuresPetsTab::SelectPet(m_world, m_panel, m_panel.lstPets.selected);
    const PanelList places = m_panel.lstPetLocations;
    ShowList(lstPetLocations, m_panel.lstPetLocations, places.entries);
    m_panel.lstPetLocations.selected = places.selected;
    SetControlsEnabled(hasPlaces, {lstPetLocations, lblPetLocations});
    if (m_panel.lstPetLocations.hasSelection()) {
        // The first place is chosen, as a click on it would.
        modTreasuresPetsTab::ChoosePetPlace(m_panel, m_panel.lstPetLocations.selected);
        ShowSelections();
        SelectPetPlace();
    }
}

void frmTreasuresPetsTab::SelectPetPlace()
{
    ShowOnMap(modTreasuresPetsTab::SelectPetPlace(m_world, m_panel));
}

void frmTreasuresPetsTab::Reveal(const modSearch::Result& found)
{
    if (found.kind == modSearch::Kind::Chest) {
        RevealIn(found, {lstVarshaTreasures, m_panel.lstVarshaTreasures},
                 [this] { ChooseIndex(cmbTreasureCharacter, 0); });
        return;
    }
    const World& w = m_world;
    const PanelState& p = m_panel;
    RevealIn(found,
             {lstPets, p.lstPets, lstPetLocations, &p.lstPetLocations,
              [&] { return modTreasuresPetsTab::PetPlaceEntries(w, p, found.item); }},
             [] {});
}

void frmTreasuresPetsTab::RevealNotOpened(int character, int campaign, int region)
{
    if (region > 0)
        emit m_context.areaRequested(campaign, region); // the map keeps a picture
    else
        emit m_context.campaignRequested(campaign);
    ChooseData(cmbTreasureCharacter, character);
}
