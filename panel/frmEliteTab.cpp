#include "panel/frmEliteTab.h"

#include "core/TextNumbers.h"
#include "panel/PanelLayout.h"
#include "panel/PanelOptions.h"
#include "panel/modEliteTab.h"
#include "panel/modProgress.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

using namespace PanelGeometry;

namespace {
// A control under its caption or option starts this far right of it.
constexpr int kIndent = 18;
} // namespace

frmEliteTab::frmEliteTab(PanelContext& context, QWidget* parent) : frmPanelTab(context, TabElite, parent)
{
    int y = kMargin;
    lblCampaign = Caption(kMargin, y);
    cmbCampaign = Combo(y);
    y += kRow;
    lblRegion = Caption(kMargin, y);
    cmbRegion = Combo(y);
    y += kRow;
    lblZone = Caption(kMargin, y);
    cmbZone = Combo(y);
    y += kRow;
    lblClass = Caption(kMargin, y);
    cmbProfession = Combo(y);
    y += kRow;
    // The secondary profession's long first entry takes the page's width
    // under its caption.
    lblSecondaryProfession = Caption(kMargin, y, kInnerWidth);
    y += kLabelHeight + 2;
    cmbSecondaryProfession = Combo(y);
    cmbSecondaryProfession->setGeometry(kMargin + kIndent, y - 2, kInnerWidth - kIndent, kControlHeight);
    y += kRow;
    lblAttribute = Caption(kMargin, y);
    cmbAttribute = Combo(y);
    y += kRow + 2;
    optCapture[0] = Option(this, kMargin, y - 2, kInnerWidth);
    y += kRow - 2;
    optCapture[1] = Option(this, kMargin, y - 2, kInnerWidth);
    y += kRow - 4;
    cmbCharacter = new QComboBox(this);
    cmbCharacter->setGeometry(kMargin + kIndent, y - 2, kInnerWidth - kIndent, kControlHeight);
    connect(cmbCharacter, &QComboBox::currentIndexChanged, cmbCharacter, [this] { FitComboText(cmbCharacter); });
    y += kRow + 2;
    lblEliteName = Caption(kMargin, y);
    txtEliteName = TextBox(y);
    y += kRow;
    lblBossName = Caption(kMargin, y);
    txtEliteBossName = TextBox(y);
    y += kRow + 4;
    lblTot = Caption(kMargin, y, kInnerWidth);
    lblTot->setObjectName(QStringLiteral("lblTot"));
    y += kLabelHeight + 2;
    lstElite = ListBox(y, 120);
    lblDoneHere = Caption(kMargin, y + 120, kInnerWidth);
    lblDoneHere->setObjectName(QStringLiteral("lblDoneHere"));
    lblStillNeeded = Caption(kMargin, y + 120 + kLabelHeight, kInnerWidth);
    lblStillNeeded->setObjectName(QStringLiteral("lblStillNeeded"));
    for (QLabel* line : {lblDoneHere, lblStillNeeded})
        line->setStyleSheet(QStringLiteral("color: #d9c27a;"));
    doneSwitch = MakeDoneSwitch(m_panel.EliteDoneDim, [this] { FilterElites(true); });
    lblLocations = Caption(kMargin, y + 125 + kLabelHeight, kInnerWidth);
    lstLocations = ListBox(y + 125 + 2 * kLabelHeight, 80);

    auto bindCombo = [this](QComboBox* combo, PanelList& model, const std::function<void()>& handler) {
        connect(combo, &QComboBox::currentIndexChanged, this, [&model, handler](int index) {
            model.selected = index;
            handler();
        });
    };
    bindCombo(cmbCampaign, m_panel.cmbCampaign, [this] { cmbCampaign_Click(); });
    bindCombo(cmbRegion, m_panel.cmbRegion, [this] { cmbRegion_Click(); });
    bindCombo(cmbZone, m_panel.cmbZone, [this] { cmbZone_Click(); });
    bindCombo(cmbProfession, m_panel.cmbProfession, [this] { cmbProfession_Click(); });
    bindCombo(cmbAttribute, m_panel.cmbAttribute, [this] { emit m_context.professionChanged(); });
    bindCombo(cmbSecondaryProfession, m_panel.cmbSecondaryProfession, [this] { FilterElites(true); });
    bindCombo(cmbCharacter, m_panel.cmbCharacter, [this] { FilterElites(true); });
    for (int i = 0; i < 2; ++i)
        connect(optCapture[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            m_panel.optCapture = i;
            optCapture_Click();
        });
    BindText(txtEliteName, m_panel.txtEliteName, [this] { FilterElites(true); });
    BindText(txtEliteBossName, m_panel.txtEliteBossName, [this] { FilterElites(true); });
    // A click on a skill lists its places and centres the map on the first,
    // also when the skill was already the chosen one.
    BindList(lstElite, m_panel.lstElite, [this] { lstElite_Click(); });
    OfferMarking(lstElite, modMarking::Kind::Capture);
    connect(lstElite, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_panel.lstElite.hasSelection())
            emit m_context.captureRequested(m_panel.lstElite.selectedData());
    });
    // One click on a place centres the map on it once; a click on the place
    // already chosen centres it again.
    BindList(lstLocations, m_panel.lstLocations, [this] { SelectEliteLocation(); });

    // Every layer's filter empties the place list; the region and profession
    // filters here are the ones the other tabs ask for.
    connect(&m_context, &PanelContext::layerFiltered, this, [this] { ClearLocations(); });
    connect(&m_context, &PanelContext::charactersChanged, this, &frmEliteTab::RefillCharacters);
    connect(&m_context, &PanelContext::areaRequested, this, &frmEliteTab::ShowArea);
    connect(&m_context, &PanelContext::campaignRequested, this, &frmEliteTab::ShowCampaign);
    connect(&m_context, &PanelContext::anyProfessionRequested, this, [this] { ChooseIndex(cmbProfession, 0); });
}

void frmEliteTab::ApplyCaptions()
{
    const auto& t = m_world.language;
    lblCampaign->setText(t(Text::Campaign));
    lblRegion->setText(t(Text::Region));
    lblZone->setText(t(Text::Zone));
    lblClass->setText(t(Text::Profession));
    lblSecondaryProfession->setText(t(Text::SecondaryProfession));
    optCapture[0]->setText(t(Text::AllSkills));
    optCapture[1]->setText(t(Text::NotCapturedBy));
    lblEliteName->setText(t(Text::EliteName));
    lblBossName->setText(t(Text::BossName));
    lblLocations->setText(t(Text::Locations));
    lblAttribute->setText(t(Text::Attribute));
    PlaceDoneSwitch(doneSwitch, lblTot->y(), lblTot);
}

void frmEliteTab::LayOut(int inner)
{
    // Two lines below lstElite: what is done here, and who still needs the
    // chosen skill.
    constexpr int kLines = 2 * kLabelHeight;
    const auto elite = PanelLayout::LayOutElitePage(inner, lstElite->y(), kLabelHeight, 0, kLines);
    lstLocations->resize(lstLocations->width(), elite.listHeight);
    const auto placed =
        PanelLayout::LayOutElitePage(inner, lstElite->y(), kLabelHeight, lstLocations->height(), kLines);
    lstLocations->move(lstLocations->x(), placed.lstLocationsTop);
    lblLocations->move(lblLocations->x(), placed.lblLocationsTop);
    lstElite->resize(lstElite->width(), elite.listHeight);
    lblDoneHere->move(lblDoneHere->x(), placed.lineTop);
    lblStillNeeded->move(lblStillNeeded->x(), placed.lineTop + kLabelHeight);
}

void frmEliteTab::FillLists()
{
    const auto& lang = m_world.language;
    // The campaign list (its selection fills the region and zone lists).
    ShowCombo(cmbCampaign, m_panel.cmbCampaign, modPanelLists::FillCampaignList(m_world.campaigns, lang), nullptr);
    cmbCampaign_Click();
    ShowCombo(cmbProfession, m_panel.cmbProfession,
              modPanelLists::FillProfessionCombo(m_world.professions, lang, Text::AllEntry), lblClass);
    cmbProfession_Click();
    ShowCombo(cmbSecondaryProfession, m_panel.cmbSecondaryProfession,
              modPanelLists::FillProfessionCombo(m_world.professions, lang, Text::AnySecondary),
              lblSecondaryProfession);
    SetControlsEnabled(false, {cmbSecondaryProfession, lblSecondaryProfession});
    ShowCombo(cmbCharacter, m_panel.cmbCharacter, modPanelLists::FillCharacterCombo(m_world.characters, lang), nullptr);
    // Drop-down lists long enough for every entry.
    for (QComboBox* combo : {cmbProfession, cmbSecondaryProfession, cmbCharacter})
        combo->setMaxVisibleItems(std::max(1, combo->count()));
}

void frmEliteTab::ApplyOptions()
{
    const auto& s = m_world.settings;
    auto select = [](QComboBox* combo, int saved) {
        const int index = PanelOptions::ApplicableIndex(saved, combo->count());
        if (index >= 0)
            combo->setCurrentIndex(index); // runs the combo's change handling
    };
    select(cmbCampaign, s.Campaign);
    select(cmbRegion, s.Region);
    select(cmbZone, s.Zone);
    select(cmbProfession, s.Profession);
    select(cmbSecondaryProfession, s.SecondaryProfession);
    PanelOptions::ApplyToState(s, m_panel);
    optCapture[static_cast<std::size_t>(m_panel.optCapture)]->setChecked(true);
    optCapture_Click();
    if (!s.AllElite)
        select(cmbCharacter, s.Character);
}

void frmEliteTab::RefillCharacters()
{
    optCapture[0]->setChecked(true);
    ShowCombo(cmbCharacter, m_panel.cmbCharacter,
              modPanelLists::FillCharacterCombo(m_world.characters, m_world.language), nullptr);
    cmbCharacter->setEnabled(false);
    ShowStillNeeded(); // counted over the new character list
    ShowDoneHere();
}

void frmEliteTab::FillRegionList()
{
    ShowCombo(cmbRegion, m_panel.cmbRegion,
              modPanelLists::FillRegionList(m_world.campaigns, m_world.language, m_panel.ChosenCampaign()), lblRegion);
    cmbRegion->setMaxVisibleItems(std::max(1, cmbRegion->count()));
    if (m_panel.cmbRegion.hasSelection())
        cmbRegion_Click();
}

void frmEliteTab::FillZoneList()
{
    const int r = m_panel.cmbRegion.selected > 0 ? m_panel.cmbRegion.selectedData(0) : 0;
    ShowCombo(cmbZone, m_panel.cmbZone,
              modPanelLists::FillZoneList(m_world.campaigns, m_world.language, m_panel.ChosenCampaign(), r), lblZone);
    cmbZone->setMaxVisibleItems(std::max(1, cmbZone->count()));
}

void frmEliteTab::FillAttributeCombo()
{
    ShowCombo(
        cmbAttribute, m_panel.cmbAttribute,
        modPanelLists::FillAttributeCombo(m_world.professions, m_world.language, m_panel.cmbProfession.selectedData(0)),
        lblAttribute);
}

void frmEliteTab::cmbCampaign_Click()
{
    const bool ready = m_panel.Ready;
    m_panel.Ready = false;
    FillRegionList();
    FillZoneList();
    m_panel.Ready = ready;
    emit m_context.regionChanged();
}

void frmEliteTab::cmbRegion_Click()
{
    const int c = m_panel.ChosenCampaign();
    const int r = m_panel.ChosenRegion();
    if (r > 0 && modCampaigns::RegionExists(m_world.campaigns, c, r))
        m_context.SwitchMap(
            m_world.campaigns[static_cast<std::size_t>(c)].Regions[static_cast<std::size_t>(r)].ImagePath, c, r);
    else
        m_context.SwitchMap(QString(), -1, -1);
    FillZoneList();
    emit m_context.regionChanged();
}

void frmEliteTab::cmbZone_Click()
{
    emit m_context.regionChanged();
    if (m_panel.Ready && !m_panel.lstElite.empty() && m_panel.cmbZone.selected > 0)
        lstElite->setCurrentRow(0);
}

void frmEliteTab::cmbProfession_Click()
{
    const bool ready = m_panel.Ready;
    m_panel.Ready = false;
    FillAttributeCombo();
    m_panel.Ready = ready;
    SetControlsEnabled(m_panel.cmbProfession.selected > 0, {cmbSecondaryProfession, lblSecondaryProfession});
    emit m_context.professionChanged();
}

void frmEliteTab::optCapture_Click()
{
    cmbCharacter->setEnabled(m_panel.optCapture == 1);
    FilterElites(true);
}

void frmEliteTab::FilterElites(bool redraw)
{
    if (!m_panel.Ready)
        return;
    m_context.HideInformationWindows();
    ShowList(lstElite, m_panel.lstElite,
             modEliteTab::FilterEliteEntries(m_world.elite, m_world.professions, m_world.campaigns, m_panel));
    ClearLocations();
    ShowStillNeeded();
    ShowDoneHere();
    ShowDoneSwitch(doneSwitch, m_panel.EliteDoneDim);
    lblTot->setText(m_world.language(Text::EliteSkills) + QStringLiteral(": ") +
                    QString::number(m_panel.lstElite.size()));
    if (redraw)
        RedrawMap();
}

void frmEliteTab::ClearLocations()
{
    ShowList(lstLocations, m_panel.lstLocations, {});
    SetControlsEnabled(false, {lstLocations, lblLocations});
}

void frmEliteTab::ShowStillNeeded()
{
    const auto need = modProgress::StillNeededBy(m_world, m_panel.lstElite.selectedData(-1));
    lblStillNeeded->setText(m_panel.lstElite.hasSelection() && need.characters > 0
                                ? m_world.language(Text::StillNeededBy).arg(need.missing).arg(need.characters)
                                : QString());
}

void frmEliteTab::ShowDoneHere()
{
    lblDoneHere->setText(modProgress::EliteDoneHere(m_world, m_panel).text);
}

void frmEliteTab::lstElite_Click()
{
    ShowStillNeeded();
    if (!m_panel.lstElite.hasSelection())
        return;
    const int elite = m_panel.lstElite.selectedData();
    ShowList(lstLocations, m_panel.lstLocations,
             modEliteTab::EliteLocationEntries(m_world.elite, m_world.campaigns, m_panel, elite));
    const bool hasPlaces = elite >= 0 && elite <= m_world.elite.highest() &&
                           m_world.elite.EliteSkills[static_cast<std::size_t>(elite)].Locations.size() > 1;
    SetControlsEnabled(hasPlaces, {lstLocations, lblLocations});
    if (!m_panel.lstLocations.empty())
        lstLocations->setCurrentRow(0); // runs SelectEliteLocation
}

void frmEliteTab::SelectEliteLocation()
{
    if (!m_context.HasMap() || !m_panel.lstElite.hasSelection() || !m_panel.lstLocations.hasSelection())
        return;
    const int elite = m_panel.lstElite.selectedData();
    const int index = m_panel.lstLocations.selectedData();
    if (elite < 0 || elite > m_world.elite.highest())
        return;
    const auto& locations = m_world.elite.EliteSkills[static_cast<std::size_t>(elite)].Locations;
    if (index < 1 || index >= static_cast<int>(locations.size()))
        return;
    const auto& l = locations[static_cast<std::size_t>(index)];
    QString picture;
    if (modCampaigns::RegionExists(m_world.campaigns, l.Campaign, l.Region))
        picture = m_world.campaigns[l.Campaign].Regions[l.Region].ImagePath;
    m_context.SwitchMap(picture, l.Campaign, l.Region);
    RedrawMap();
    m_context.CentreMapOn(l.X, l.Y);
}

void frmEliteTab::SelectRegion(int c, int r)
{
    // The campaign entry is found by its item data, whatever the entries
    // before it; its change handling fills the region list without
    // filtering, and the region's runs the filters and loads the map.
    const int campaignEntry = cmbCampaign->findData(c);
    if (campaignEntry < 0)
        return;
    const bool ready = m_panel.Ready;
    m_panel.Ready = false;
    cmbCampaign->setCurrentIndex(campaignEntry);
    m_panel.Ready = ready;
    const int regionEntry = cmbRegion->findData(r);
    if (regionEntry < 1)
        return;
    if (cmbRegion->currentIndex() == regionEntry)
        emit m_context.regionChanged(); // the region shown already: the lists and the map anew
    else
        cmbRegion->setCurrentIndex(regionEntry);
}

// ---- Showing what the search or the progress window asks for ------------------

void frmEliteTab::ShowArea(int c, int r)
{
    if (modCampaigns::RegionExists(m_world.campaigns, c, r)) {
        SelectRegion(c, r);
        ChooseIndex(cmbZone, 0);
    } else {
        ChooseIndex(cmbCampaign, cmbCampaign->findData(c));
    }
}

void frmEliteTab::ShowCampaign(int c)
{
    ChooseData(cmbCampaign, c);
    ChooseData(cmbRegion, 0);
    ChooseData(cmbZone, 0);
}

void frmEliteTab::Reveal(const modSearch::Result& r)
{
    using modSearch::Kind;
    if ((r.kind != Kind::Skill && r.kind != Kind::Boss) || r.item < 1) {
        RevealArea(r); // a boss without a skill is in no list: its place
        return;
    }
    const World& w = m_world;
    const PanelState& p = m_panel;
    RevealIn(r,
             {lstElite, p.lstElite, lstLocations, &p.lstLocations,
              [&] { return modEliteTab::EliteLocationEntries(w.elite, w.campaigns, p, r.item); }},
             [this] {
                 ChooseText(txtEliteName, QString());
                 ChooseText(txtEliteBossName, QString());
                 ChooseIndex(cmbProfession, 0);
                 optCapture[0]->setChecked(true);
             });
}

void frmEliteTab::RevealArea(const modSearch::Result& r)
{
    if (r.kind == modSearch::Kind::Campaign) {
        ChooseIndex(cmbCampaign, cmbCampaign->findData(r.campaign));
        return;
    }
    if (!modCampaigns::RegionExists(m_world.campaigns, r.campaign, r.region))
        return;
    ShowArea(r.campaign, r.region);
    if (r.kind == modSearch::Kind::Zone)
        ChooseIndex(cmbZone, cmbZone->findData(r.place));
    if (m_context.MapLoaded() && r.x >= 0 && r.y >= 0)
        m_context.CentreMapOn(r.x, r.y);
}

void frmEliteTab::RevealMissing(int character, int campaign, int profession, int region)
{
    if (region > 0)
        ShowArea(campaign, region); // the map keeps a picture
    else
        ShowCampaign(campaign);
    txtEliteName->clear();
    txtEliteBossName->clear();
    ChooseData(cmbProfession, profession);
    ChooseData(cmbSecondaryProfession, 0);
    ChooseData(cmbAttribute, 0);
    optCapture[1]->setChecked(true);
    ChooseData(cmbCharacter, character);
}
