// The note editor: a modal window that creates a note at a map point or
// changes an existing note, and writes "Personal/Notes.txt" when saved. A
// save that fails leaves the notes table as it was and keeps the note in the
// editor, so that nothing typed is lost.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct World;

class frmManageNote : public QDialog {
    Q_OBJECT
public:
    frmManageNote(World& world, QWidget* owner = nullptr);

    void SetX(int x) { m_x = x; }
    int X() const { return m_x; }
    int Y() const { return m_y; }
    void SetY(int y) { m_y = y; }
    // Number of the note to edit; -1 for a new note.
    void SetNote(int note) { m_note = note; }
    void SetCampaign(int campaign) { m_campaign = campaign; }
    void SetRegion(int region) { m_region = region; }
    // Keeps the window above other windows (the panel's always-on-top switch).
    void SetTopMost(bool on);

    // Captions and the note's texts; run once the values are set.
    void Load();
    void ApplyCaptions();

    // The Save button: refuses an empty title, and a title or text the notes
    // file would not give back as it stands, otherwise saves and closes. False when the window stays.
    bool cmdSave_Click();
    // The number of the note saved, -1 when nothing was saved (Cancel).
    int SavedNote() const { return m_saved; }

    // Shows a message under the editor; a message box unless replaced (tests).
    std::function<void(const QString& text)> showMessage;

    // The characters of `text` that a Windows-1252 file cannot hold, each once.
    static QString UnwritableCharacters(const QString& text);

    // Why the title box last refused an insertion ("" until it did); shown
    // in a tip under the box.
    const QString& RefusedTitleText() const { return m_refusedText; }

    QLineEdit* txtShortDesc = nullptr;
    QPlainTextEdit* txtBody = nullptr;
    QLabel* lblShortDesc = nullptr;
    QLabel* lblNoteBody = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Saves into a copy of the table; the table takes the copy only once the
    // file is written. False (with the reason) when the file could not be.
    bool SaveNote(QString* error);
    // The title and text as they are saved: trimmed, line ends as CR LF.
    QString TitleText() const;
    QString BodyText() const;
    // The characters of `text` the title box's rule refuses, each once.
    QString RefusedTitleCharacters(const QString& text) const;
    void ExplainRefusedTitleInput();

    World& m_world;
    int m_x = 0;
    int m_y = 0;
    int m_note = -1;
    int m_campaign = 0;
    int m_region = 0;
    int m_saved = -1;
    QString m_lastTyped;   // the text of the last key pressed in the title box
    QString m_refusedText; // why the title box last refused an insertion
};
