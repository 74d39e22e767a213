#include "layers/frmManageNote.h"

#include "core/TextNumbers.h"
#include "elite/modCharacters.h"
#include "records/RecordFile.h"
#include "records/Windows1252.h"
#include "world/World.h"

#include <QClipboard>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QValidator>

namespace {

// Refuses, as they are typed or pasted, characters the notes file cannot hold.
class Windows1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return frmManageNote::UnwritableCharacters(input).isEmpty() ? Acceptable : Invalid;
    }
};

constexpr char kDefaultShortDesc[] = "General Note";

} // namespace

QString frmManageNote::UnwritableCharacters(const QString& text)
{
    return records::CharactersOutsideWindows1252(text);
}

frmManageNote::frmManageNote(World& world, QWidget* owner) : QDialog(owner), m_world(world)
{
    setObjectName(QStringLiteral("frmManageNote"));
    setModal(true);
    lblShortDesc = new QLabel(this);
    txtShortDesc = new QLineEdit(this);
    txtShortDesc->setValidator(new Windows1252Validator(txtShortDesc));
    txtShortDesc->installEventFilter(this);
    connect(txtShortDesc, &QLineEdit::inputRejected, this, [this] { ExplainRefusedTitleInput(); });
    lblNoteBody = new QLabel(this);
    txtBody = new QPlainTextEdit(this);
    txtBody->setTabChangesFocus(true);
    cmdSave = new QPushButton(this);
    cmdCancel = new QPushButton(this);
    cmdSave->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblShortDesc, 0, 0);
    grid->addWidget(txtShortDesc, 1, 0);
    grid->addWidget(lblNoteBody, 2, 0);
    grid->addWidget(txtBody, 3, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 4, 0);
    resize(380, 300);

    showMessage = [this](const QString& text) { QMessageBox::critical(this, windowTitle(), text); };
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_saved = -1;
        reject();
    });
}

void frmManageNote::SetTopMost(bool on)
{
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

void frmManageNote::ApplyCaptions()
{
    const auto& t = m_world.language;
    setWindowTitle(t(Text::Notes));
    lblShortDesc->setText(t(Text::NoteShortDesc));
    lblNoteBody->setText(t(Text::NoteBody));
    cmdSave->setText(t(Text::Save));
    cmdCancel->setText(t(Text::Cancel));
}

void frmManageNote::Load()
{
    ApplyCaptions();
    const auto& notes = m_world.notes.Notes;
    if (m_note >= 1 && m_note < static_cast<int>(notes.size())) {
        const auto& note = notes[static_cast<std::size_t>(m_note)];
        // A note read from the file holds only characters the file can hold.
        txtShortDesc->setText(note.ShortDesc);
        txtBody->setPlainText(note.Body);
    } else {
        m_note = -1;
        txtShortDesc->setText(QString::fromLatin1(kDefaultShortDesc));
        txtBody->clear();
    }
    m_saved = -1;
    txtShortDesc->setFocus();
}

QString frmManageNote::RefusedTitleCharacters(const QString& text) const
{
    // Asks the title box's own rule, one character at a time.
    QString refused;
    const QValidator* rule = txtShortDesc->validator();
    for (const QChar c : text) {
        QString one(c);
        int at = 0;
        if (rule && rule->validate(one, at) == QValidator::Invalid && !refused.contains(c))
            refused += c;
    }
    return refused;
}

void frmManageNote::ExplainRefusedTitleInput()
{
    // The box refused an insertion (a paste, or a key): say which characters
    // it would not take, naming the invisible ones.
    QString names;
    for (const QChar c : RefusedTitleCharacters(m_lastTyped + QGuiApplication::clipboard()->text())) {
        if (!names.isEmpty())
            names += QStringLiteral(", ");
        if (c == QLatin1Char('\t'))
            names += QStringLiteral("tab");
        else if (c.isPrint())
            names += QLatin1Char('"') + QString(c) + QLatin1Char('"');
        else
            names += QStringLiteral("U+%1").arg(static_cast<uint>(c.unicode()), 4, 16, QLatin1Char('0')).toUpper();
    }
    m_refusedText = names.isEmpty() ? QStringLiteral("The title does not take that text.")
                                    : QStringLiteral("Not inserted: the title cannot hold %1.").arg(names);
    QToolTip::showText(txtShortDesc->mapToGlobal(QPoint(0, txtShortDesc->height())), m_refusedText, txtShortDesc,
                       QRect(), 6000);
}

bool frmManageNote::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtShortDesc && event->type() == QEvent::KeyPress)
        m_lastTyped = static_cast<QKeyEvent*>(event)->text();
    // Entering the title box selects its whole text (after the click that
    // placed the cursor).
    if (watched == txtShortDesc && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, txtShortDesc, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

bool frmManageNote::cmdSave_Click()
{
    const auto& t = m_world.language;
    if (txtShortDesc->text().trimmed().isEmpty()) {
        showMessage(t(Text::NoteShortDescMissing));
        txtShortDesc->setFocus();
        return false;
    }
    const QString bad = UnwritableCharacters(txtShortDesc->text() + txtBody->toPlainText());
    if (!bad.isEmpty()) {
        showMessage(
            QStringLiteral("The notes file cannot hold these characters: %1\nPlease replace them before saving.")
                .arg(bad));
        txtBody->setFocus();
        return false;
    }
    // What the file could not give back as it stands (a title read as a
    // comment, a tab, the file's own line-break mark, a note too long) is
    // refused here, so that a saved note is the note found at the next start.
    if (const modNotes::TextProblem problem = modNotes::CheckNoteTexts(TitleText(), BodyText()); !problem.ok()) {
        showMessage(problem.message);
        if (problem.inTitle)
            txtShortDesc->setFocus();
        else
            txtBody->setFocus();
        return false;
    }
    QString error;
    const bool saved = SaveNote(&error);
    if (!saved)
        showMessage(QStringLiteral("The note could not be saved (%1).\nNothing was changed; the note is still in "
                                   "the editor.")
                        .arg(error));
    // A safety copy that could not be made before this save is told once.
    if (const QString notice = modCharacters::TakeBackupNotice(); !notice.isEmpty())
        showMessage(notice);
    if (!saved)
        return false;
    accept();
    return true;
}

QString frmManageNote::TitleText() const
{
    return txtShortDesc->text().trimmed();
}

QString frmManageNote::BodyText() const
{
    // Every line end, however it came in, is stored as CR LF.
    QString body = txtBody->toPlainText().trimmed();
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return body.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

bool frmManageNote::SaveNote(QString* error)
{
    modNotes::Tables notes = m_world.notes;
    int n = m_note;
    if (n < 1 || n >= static_cast<int>(notes.Notes.size())) {
        notes.Notes.emplace_back();
        n = notes.count();
    }
    auto& note = notes.Notes[static_cast<std::size_t>(n)];
    note.Body = BodyText();
    note.ShortDesc = TitleText();
    if (m_note < 1)
        modNotes::PlaceNote(note, m_x, m_y);
    note.Campaign = static_cast<uint8_t>(m_campaign);
    note.Region = static_cast<uint8_t>(m_region);
    if (!modNotes::SaveNotes(m_world.appFolder, notes, error))
        return false;
    m_world.notes = std::move(notes);
    m_note = n;
    m_saved = n;
    return true;
}
