#include "panel/frmCollectorsTab.h"

#include "core/TextNumbers.h"
#include "panel/PanelLayout.h"
#include "panel/modCollectorsTab.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace PanelGeometry;

frmCollectorsTab::frmCollectorsTab(PanelContext& context, QWidget* parent) : frmPanelTab(context, TabCollectors, parent)
{
    const int third = kInnerWidth / 3;
    int y = kMargin;
    lblCollStuffType = Caption(kMargin, y, kInnerWidth);
    y += kLabelHeight;
    for (int i = 0; i < 3; ++i)
        optCollType[static_cast<std::size_t>(i)] = Option(this, kMargin + i * third, y, third);
    y += kRow;
    lblCollectorLevel = Caption(kMargin, y, kInnerWidth);
    y += kLabelHeight;
    picCollLevels = new QWidget(this);
    picCollLevels->setGeometry(kMargin, y, kInnerWidth, kControlHeight);
    for (int i = 0; i < 3; ++i)
        optCollLevel[static_cast<std::size_t>(i)] = Option(picCollLevels, i * third, 0, third);
    y += kRow + 4;
    lblCollhand = Caption(kMargin, y);
    cmbCollHand = Combo(y);
    y += kRow;
    lblCollRequest = Caption(kMargin, y);
    cmbCollReq = Combo(y);
    cmbCollReq->setMaxVisibleItems(20);
    y += kRow;
    lblCollSearch = Caption(kMargin, y);
    txtCollSearch = TextBox(y);
    y += kRow + 4;
    lblCollectors = Caption(kMargin, y, kInnerWidth);
    lstCollectors = ListBox(y + kLabelHeight + 2, 100);
    optCollType[0]->setChecked(true);
    optCollLevel[0]->setChecked(true);

    for (int i = 0; i < 3; ++i) {
        connect(optCollType[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            // Armour has no hand: the hand combo goes back to its first entry
            // without running the filter, which then runs once.
            const bool handEnabled = modCollectorsTab::ChooseCollectorType(m_panel, i);
            {
                const QSignalBlocker block(cmbCollHand);
                cmbCollHand->setCurrentIndex(m_panel.cmbCollHand.selected);
            }
            SetControlsEnabled(handEnabled, {cmbCollHand, lblCollhand});
            FilterCollectors(true);
        });
        connect(optCollLevel[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            m_panel.optCollLevel = i;
            FillCollectorRequests();
            FilterCollectors(true);
        });
    }
    connect(cmbCollHand, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_panel.cmbCollHand.selected = index;
        FilterCollectors(true);
    });
    connect(cmbCollReq, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_panel.cmbCollReq.selected = index;
        FilterCollectors(true);
    });
    BindText(txtCollSearch, m_panel.txtCollSearch, [this] { FilterCollectors(true); });
    BindList(lstCollectors, m_panel.lstCollectors, [this] { SelectCollector(); });
}

void frmCollectorsTab::ApplyCaptions()
{
    const auto& t = m_world.language;
    lblCollStuffType->setText(t(Text::CollectorStuffType));
    lblCollectorLevel->setText(t(Text::CollectorLevel));
    lblCollSearch->setText(t(Text::Search));
    lblCollhand->setText(t(Text::CollectorHand));
    lblCollRequest->setText(t(Text::CollectorRequest));
    const int collTypes[3] = {Text::AllEntry, Text::WeaponCollectors, Text::ArmourCollectors};
    const int collLevels[3] = {Text::AllEntry, Text::LowLevel, Text::HighLevel};
    for (int i = 0; i < 3; ++i) {
        optCollType[static_cast<std::size_t>(i)]->setText(t(collTypes[i]));
        optCollLevel[static_cast<std::size_t>(i)]->setText(t(collLevels[i]));
    }
    LayOutOptions({optCollType[0], optCollType[1], optCollType[2]}, kMargin, optCollType[0]->y(), kInnerWidth);
    LayOutOptions({optCollLevel[0], optCollLevel[1], optCollLevel[2]}, 0, 0, kInnerWidth);
    lblCollectors->setText(modCollectorsTab::CollectorsCaption(m_world, m_panel.lstCollectors.size()));
}

void frmCollectorsTab::LayOut(int inner)
{
    lstCollectors->resize(lstCollectors->width(), PanelLayout::ListHeightToBottom(inner, lstCollectors->y()));
}

void frmCollectorsTab::FillLists()
{
    ShowCombo(cmbCollHand, m_panel.cmbCollHand, {modCollectorsTab::FillCollectorHands(m_world), true}, lblCollhand);
    FillCollectorRequests();
}

void frmCollectorsTab::ApplyOptions()
{
    const QSignalBlocker block(optCollLevel[static_cast<std::size_t>(m_panel.optCollLevel)]);
    optCollLevel[static_cast<std::size_t>(m_panel.optCollLevel)]->setChecked(true);
    FillCollectorRequests();
}

void frmCollectorsTab::FillCollectorRequests()
{
    ShowCombo(cmbCollReq, m_panel.cmbCollReq,
              {modCollectorsTab::FillCollectorRequests(m_world, m_panel.optCollLevel), true}, lblCollRequest);
}

void frmCollectorsTab::FilterCollectors(bool redraw)
{
    if (!m_panel.Ready)
        return;
    ShowList(lstCollectors, m_panel.lstCollectors, modCollectorsTab::FilterCollectorEntries(m_world, m_panel));
    lblCollectors->setText(modCollectorsTab::CollectorsCaption(m_world, m_panel.lstCollectors.size()));
    ReportFiltered();
    if (redraw)
        RedrawMap();
}

void frmCollectorsTab::SelectCollector()
{
    ShowOnMap(modCollectorsTab::SelectCollector(m_world, m_panel));
}

void frmCollectorsTab::Reveal(const modSearch::Result& found)
{
    RevealIn(found, {lstCollectors, m_panel.lstCollectors}, [this] {
        optCollType[0]->setChecked(true);
        optCollLevel[0]->setChecked(true);
        ChooseIndex(cmbCollHand, 0);
        ChooseIndex(cmbCollReq, 0);
        ChooseText(txtCollSearch, QString());
        emit m_context.anyProfessionRequested();
    });
}
