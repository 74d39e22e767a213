#include "update/frmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr QRgb kProgressBackground = 0xFFFFFFFF;
const QColor kProgressFill(0, 0, 255);

QColor ToColor(modUpdate::Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

void SetTextColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

} // namespace

// ---- ProgressPicture -------------------------------------------------------

ProgressPicture::ProgressPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picProgressBar"));
    setFixedHeight(22);
    m_picture = QImage(1, 1, QImage::Format_RGB32);
    m_picture.fill(kProgressBackground);
}

void ProgressPicture::resizeEvent(QResizeEvent*)
{
    const QSize s = size().expandedTo(QSize(1, 1));
    if (s != m_picture.size()) {
        m_picture = QImage(s, QImage::Format_RGB32);
        m_picture.fill(kProgressBackground);
    }
}

void ProgressPicture::Clear()
{
    m_picture.fill(kProgressBackground);
    m_text.clear();
    update();
}

void ProgressPicture::Draw(qint64 count, qint64 total)
{
    if (total == 0)
        return;
    m_picture.fill(kProgressBackground);
    const int w = m_picture.width();
    const int h = m_picture.height();
    const QRect bar(0, 0, modUpdate::ProgressBarWidth(count, total, w), h);
    m_text = modUpdate::ProgressText(count, total);

    QPainter painter(&m_picture);
    painter.fillRect(bar, kProgressFill);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int left = (w - metrics.horizontalAdvance(m_text)) / 2;
    const QPoint origin(left, metrics.ascent() + (h - metrics.height()) / 2);
    // Black over the empty part, white over the filled part, so the text
    // reads wherever the bar ends.
    painter.setPen(Qt::black);
    painter.drawText(origin, m_text);
    painter.setClipRect(bar);
    painter.setPen(Qt::white);
    painter.drawText(origin, m_text);
    painter.end();
    update();
}

void ProgressPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---- frmMain ---------------------------------------------------------------

frmMain::frmMain(const QString& appFolder, QWidget* parent) : QWidget(parent), m_wizard(*this)
{
    setWindowTitle(QStringLiteral("Wayloom internet update [made by the Wayloom team for Shardrealm players]"));

    auto* header = new QFrame(this);
    header->setAutoFillBackground(true);
    QPalette hp = header->palette();
    hp.setColor(QPalette::Window, Qt::white);
    header->setPalette(hp);
    lblStep = new QLabel(header);
    lblStep->setObjectName(QStringLiteral("lblStep"));
    QFont titleFont = lblStep->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblStep->setFont(titleFont);
    lblStepInfo = new QLabel(header);
    lblStepInfo->setObjectName(QStringLiteral("lblStepInfo"));
    QFont subtitleFont = lblStepInfo->font();
    subtitleFont.setBold(true);
    lblStepInfo->setFont(subtitleFont);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->addWidget(lblStep);
    headerLayout->addWidget(lblStepInfo);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblInfo->setTextFormat(Qt::PlainText);
    lblInfo->setMinimumHeight(120);

    lblServerSelection = new QLabel(QStringLiteral("FTP server selection"), this);
    lblServerSelection->setObjectName(QStringLiteral("lblServerSelection"));
    cmbserverSelection = new QComboBox(this);
    cmbserverSelection->setObjectName(QStringLiteral("cmbserverSelection"));
    auto* serverRow = new QHBoxLayout;
    serverRow->addWidget(lblServerSelection);
    serverRow->addWidget(cmbserverSelection, 1);

    picProgressBar = new ProgressPicture(this);
    txtProgress = new QLineEdit(this);
    txtProgress->setObjectName(QStringLiteral("txtProgress"));
    txtProgress->setReadOnly(true);
    txtProgress->setVisible(false);

    chkLaunchWayloomAfterUpdate = new QCheckBox(QStringLiteral("Launch Wayloom after the update process"), this);
    chkLaunchWayloomAfterUpdate->setObjectName(QStringLiteral("chkLaunchWayloomAfterUpdate"));
    chkLaunchWayloomAfterUpdate->setChecked(true);

    cmdViewHistory = new QPushButton(QStringLiteral("View history"), this);
    cmdViewHistory->setObjectName(QStringLiteral("cmdViewHistory"));
    cmdCancel = new QPushButton(QStringLiteral("Abort download"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdPrevious = new QPushButton(QStringLiteral("Previous"), this);
    cmdPrevious->setObjectName(QStringLiteral("cmdPrevious"));
    cmdNext = new QPushButton(QStringLiteral("Next"), this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdQuit = new QPushButton(QStringLiteral("Quit"), this);
    cmdQuit->setObjectName(QStringLiteral("cmdQuit"));
    for (QPushButton* b : {cmdViewHistory, cmdCancel, cmdPrevious, cmdNext, cmdQuit})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdViewHistory);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);
    buttons->addWidget(cmdPrevious);
    buttons->addWidget(cmdNext);
    buttons->addSpacing(12);
    buttons->addWidget(cmdQuit);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 8, 12, 12);
    body->addWidget(lblInfo, 1);
    body->addLayout(serverRow);
    body->addWidget(picProgressBar);
    body->addWidget(txtProgress);
    body->addWidget(chkLaunchWayloomAfterUpdate);
    body->addSpacing(6);
    body->addLayout(buttons);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(header);
    root->addWidget(rule);
    root->addLayout(body, 1);
    setFixedSize(520, 360);

    connect(cmdNext, &QPushButton::clicked, this, [this] { m_wizard.Next(); });
    connect(cmdPrevious, &QPushButton::clicked, this, [this] { m_wizard.Previous(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { m_wizard.Cancel(); });
    connect(cmdQuit, &QPushButton::clicked, this, [this] { m_wizard.Quit(); });
    connect(cmdViewHistory, &QPushButton::clicked, this, [this] { ViewHistory(); });
    connect(txtProgress, &QLineEdit::textChanged, this, [this] { ShowProgress(); });

    OpenFile = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };

    m_wizard.InitPaths(appFolder);
    m_wizard.ReadLastUpdate();
    m_wizard.CancelRequested = false;
    m_wizard.FillStepTable();
    m_wizard.LoadServers();
    for (const modInternet::ServerEntry& server : m_wizard.Servers)
        cmbserverSelection->addItem(server.Text);
    cmbserverSelection->setCurrentIndex(0);
    m_wizard.ShowStep(modUpdate::StepStart, QString());
}

frmMain::~frmMain() = default;

void frmMain::ApplyStep(int, const modUpdate::WizardStep& step, const QString& info)
{
    const QColor colour = ToColor(step.TextColor);
    for (QLabel* label : {lblInfo, lblStepInfo, lblStep})
        SetTextColour(label, colour);
    cmdNext->setEnabled(step.NextEnabled);
    cmdPrevious->setEnabled(step.PreviousEnabled);
    cmdNext->setText(step.NextCaption);
    cmdQuit->setEnabled(step.QuitEnabled);
    cmdCancel->setVisible(step.CancelVisible);
    cmdViewHistory->setVisible(step.HistoryVisible);
    lblStep->setText(step.Title);
    lblStepInfo->setText(step.Subtitle);
    QString shown = info;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lblInfo->setText(shown);
    picProgressBar->setVisible(step.ProgressVisible);
    lblServerSelection->setVisible(step.ServerChoiceVisible);
    cmbserverSelection->setVisible(step.ServerChoiceVisible);
    picProgressBar->Clear();
}

void frmMain::ProcessEvents()
{
    QCoreApplication::processEvents();
}

void frmMain::SetProgress(qint64 count)
{
    txtProgress->setText(QString::number(count));
}

void frmMain::ShowProgress()
{
    const qint64 total = m_wizard.TotalDownloadSize;
    if (total == 0)
        return;
    picProgressBar->Draw(txtProgress->text().toLongLong(), total);
    ProcessEvents();
}

int frmMain::SelectedServer() const
{
    return cmbserverSelection->currentIndex();
}

bool frmMain::LaunchWayloomChecked() const
{
    return chkLaunchWayloomAfterUpdate->isChecked();
}

void frmMain::CloseWindow()
{
    m_closing = true;
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    // Quitting cleans up first, and waits for a running download to stop.
    event->ignore();
    m_wizard.Quit();
}

void frmMain::ViewHistory()
{
    if (OpenFile)
        OpenFile(m_wizard.AppFolder + modUpdate::kHistoryFile);
}
