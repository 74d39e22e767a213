#include "layers/frmMarkTreasureAsOpened.h"

#include "core/TextNumbers.h"
#include "elite/frmBackupNotice.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kSeparatorWidthTwips = 180;

} // namespace

frmMarkTreasureAsOpened::frmMarkTreasureAsOpened(World& world, int treasure, bool topMost, std::function<void()> saved,
                                                 const QString& shortDateFormat, QWidget* parent)
    : QDialog(parent), m_world(world), m_treasure(treasure), m_saved(std::move(saved))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost);

    lblExplanation = new QLabel(this);
    lblExplanation->setWordWrap(true);
    lblCharacters = new QLabel(this);
    lstCharacters = new QListWidget(this);
    lstCharacters->setMinimumSize(280, lstCharacters->fontMetrics().height() * 9);
    m_dateRow = new QWidget(this);
    auto* validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), this);
    for (size_t k = 0; k < txtDate.size(); ++k) {
        txtDate[k] = new QLineEdit(m_dateRow);
        txtDate[k]->setAlignment(Qt::AlignCenter);
        txtDate[k]->setValidator(validator);
        txtDate[k]->installEventFilter(this);
        connect(txtDate[k], &QLineEdit::textChanged, this, [this] { UpdateSaveCaption(); });
    }
    for (QLabel*& separator : lblSeparatore) {
        separator = new QLabel(QStringLiteral("-"), m_dateRow);
        separator->setAlignment(Qt::AlignCenter);
    }
    cmdSave = new QPushButton(this);
    cmdCancel = new QPushButton(this);
    cmdSave->setEnabled(false);
    cmdSave->setDefault(true);
    cmdSave->setAutoDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblExplanation);
    layout->addWidget(lblCharacters);
    layout->addWidget(lstCharacters, 1);
    layout->addWidget(m_dateRow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(lstCharacters, &QListWidget::itemSelectionChanged, this,
            [this] { cmdSave->setEnabled(!lstCharacters->selectedItems().isEmpty()); });
    connect(cmdSave, &QPushButton::clicked, this, &frmMarkTreasureAsOpened::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    DetectDateOrder(shortDateFormat.isEmpty() ? QLocale::system().dateFormat(QLocale::ShortFormat) : shortDateFormat);
    ArrangeDateBoxes();
    ApplyCaptions();
    FillCharacterList();
    const QDate today = QDate::currentDate();
    for (size_t k = 0; k < txtDate.size(); ++k)
        txtDate[k]->setText(modTreasureDate::PartText(today, m_order[k]));
}

void frmMarkTreasureAsOpened::DetectDateOrder(const QString& shortDateFormat)
{
    m_order = modTreasureDate::DetectDateOrder(shortDateFormat);
    for (size_t k = 0; k < txtDate.size(); ++k) {
        txtDate[k]->setProperty("tag", modTreasureDate::Tag(m_order[k]));
        txtDate[k]->setMaxLength(modTreasureDate::MaxLength(m_order[k]));
    }
}

int frmMarkTreasureAsOpened::DateBoxWidthFor(int digits) const
{
    // The box's own size hint holds 17 "x" plus its frame, padding and text
    // margins as its style (a style sheet included) draws them: what is not
    // the 17 "x" is what a box needs round its text.
    QLineEdit* box = txtDate[0];
    box->ensurePolished();
    const QFontMetrics fm(box->font());
    const int aroundText = box->sizeHint().width() - fm.horizontalAdvance(QLatin1Char('x')) * 17;
    int widestDigit = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widestDigit = std::max(widestDigit, fm.horizontalAdvance(QLatin1Char(digit)));
    // One pixel more for the text cursor, which the box keeps in view.
    return digits * widestDigit + aroundText + 1;
}

void frmMarkTreasureAsOpened::ArrangeDateBoxes()
{
    // The designed widths hold two and four digits of the designed font; the
    // boxes grow with the font, its widest digit and the box's own margins so
    // that the digits are never cut. Measured again whenever the font or the
    // style changes (the panel's style sheet reaches the boxes only when the
    // dialog is shown).
    using modTreasureDate::DatePart;
    auto designedPixels = [](DatePart part) { return modTreasureDate::BoxWidthTwips(part) / double(kTwipsPerPixel); };
    const double scale = std::max(
        {1.0, DateBoxWidthFor(2) / designedPixels(DatePart::Day), DateBoxWidthFor(4) / designedPixels(DatePart::Year)});
    auto pixels = [scale](int twips) { return static_cast<int>(std::ceil(twips * scale / kTwipsPerPixel)); };
    const auto layout = modTreasureDate::ArrangeDateBoxes(m_order, 0, kSeparatorWidthTwips);
    const int height = txtDate[0]->sizeHint().height();
    for (size_t k = 0; k < txtDate.size(); ++k)
        txtDate[k]->setGeometry(pixels(layout.boxLeft[k]), 0, pixels(layout.boxWidth[k]), height);
    for (size_t k = 0; k < lblSeparatore.size(); ++k) {
        lblSeparatore[k]->setGeometry(pixels(layout.separatorLeft[k]), 0, pixels(kSeparatorWidthTwips), height);
        lblSeparatore[k]->lower(); // its first pixel lies under the box's frame
    }
    m_dateRow->setFixedHeight(height);
    m_dateRow->setMinimumWidth(txtDate[2]->geometry().right() + 1);
}

void frmMarkTreasureAsOpened::ApplyCaptions()
{
    const auto& t = m_world.language;
    setWindowTitle(t(Text::MarkTreasureTitle));
    lblCharacters->setText(t(Text::Characters));
    cmdCancel->setText(t(Text::Cancel));
    lblExplanation->setText(t(Text::TreasureExplanation));
    UpdateSaveCaption();
}

void frmMarkTreasureAsOpened::FillCharacterList()
{
    lstCharacters->clear();
    const bool known = m_treasure >= 1 && m_treasure <= m_world.treasures.count();
    const auto* opened = known ? &m_world.treasures.Treasures[static_cast<size_t>(m_treasure)].OpenedOn : nullptr;
    for (int k = 1; k <= m_world.characters.highest(); ++k) {
        const QString& name = m_world.characters.Characters[static_cast<size_t>(k)];
        if (name.isEmpty())
            continue; // a deleted character's number
        QString text = name;
        if (opened && static_cast<size_t>(k) < opened->size() && (*opened)[static_cast<size_t>(k)])
            text +=
                QStringLiteral(" (") + modTreasureDate::DisplayDate(*(*opened)[static_cast<size_t>(k)], m_order) + u')';
        auto* item = new QListWidgetItem(text, lstCharacters);
        item->setData(Qt::UserRole, k);
    }
}

std::array<QString, 3> frmMarkTreasureAsOpened::BoxTexts() const
{
    return {txtDate[0]->text(), txtDate[1]->text(), txtDate[2]->text()};
}

void frmMarkTreasureAsOpened::UpdateSaveCaption()
{
    cmdSave->setText(m_world.language(Text::MarkOpenedOn) + u' ' + modTreasureDate::DateBoxesText(BoxTexts()));
    // The button grows with its caption (with a digit's room to spare), so
    // the date is never cut.
    const int wanted = cmdSave->sizeHint().width() + 2 * cmdSave->fontMetrics().horizontalAdvance(u'0');
    cmdSave->setMinimumWidth(std::max(cmdSave->minimumWidth(), wanted));
}

void frmMarkTreasureAsOpened::cmdSave_Click()
{
    const auto chosen = lstCharacters->selectedItems();
    if (chosen.isEmpty())
        return;
    const QListWidgetItem* item = chosen.constFirst();
    const auto entered = modTreasureDate::EnteredFromBoxes(m_order, BoxTexts());
    const auto date = modTreasureDate::ReadEnteredDate(entered);
    if (!date) {
        QMessageBox::critical(this, windowTitle(), m_world.language(Text::InvalidDate));
        return;
    }
    QString error;
    if (!modTreasureDate::SaveOpenedTreasure(m_world.appFolder, m_world.treasures, m_treasure,
                                             item->data(Qt::UserRole).toInt(), *date, &error)) {
        QMessageBox::critical(this, windowTitle(),
                              QStringLiteral("The date could not be saved (%1). Nothing was changed.").arg(error));
        ShowBackupNotice(this);
        return;
    }
    ShowBackupNotice(this);
    if (m_saved)
        m_saved();
    accept();
}

void frmMarkTreasureAsOpened::showEvent(QShowEvent* event)
{
    ArrangeDateBoxes();
    QDialog::showEvent(event);
}

bool frmMarkTreasureAsOpened::eventFilter(QObject* watched, QEvent* event)
{
    const auto box = std::find(txtDate.begin(), txtDate.end(), watched);
    if (box == txtDate.end())
        return QDialog::eventFilter(watched, event);
    QLineEdit* edit = *box;
    const auto part = m_order[static_cast<size_t>(box - txtDate.begin())];
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
        QTimer::singleShot(0, this, [this] { ArrangeDateBoxes(); });
        break;
    case QEvent::FocusIn:
    case QEvent::MouseButtonRelease:
        QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            if (const auto text = modTreasureDate::StepDatePart(part, edit->text(), key->key() == Qt::Key_Up))
                edit->setText(*text);
            return true;
        }
        const QString typed = key->text();
        if (key->key() == Qt::Key_Backspace || typed.isEmpty() || !typed.at(0).isPrint())
            break;
        if (!std::all_of(typed.begin(), typed.end(), modTreasureDate::AcceptsCharacter))
            return true; // other characters are discarded
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
