// The update wizard's window: one page at a time of the wizard's step table,
// the server choice, the progress bar and the buttons.
#pragma once

#include "update/modUpdate.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The progress bar: a picture that keeps what is drawn on it.
class ProgressPicture : public QWidget {
    Q_OBJECT
public:
    explicit ProgressPicture(QWidget* parent = nullptr);
    void Clear();
    // Fills the bar for `count` of `total` bytes and writes the size text
    // centred at the top; nothing happens while the total is 0.
    void Draw(qint64 count, qint64 total);
    const QImage& Picture() const { return m_picture; }
    const QString& Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QImage m_picture;
    QString m_text;
};

class frmMain : public QWidget, private modUpdate::WizardHost {
    Q_OBJECT
public:
    // Opens the wizard for the program folder `appFolder`: reads the last
    // update date and the servers, selects server entry 0 and shows page 1.
    explicit frmMain(const QString& appFolder, QWidget* parent = nullptr);
    ~frmMain() override;

    modUpdate::UpdateWizard& Wizard() { return m_wizard; }

    // Opens a file with the desktop's default program; replaceable for tests.
    std::function<bool(const QString& path)> OpenFile;

    QLabel* lblStep;
    QLabel* lblStepInfo;
    QLabel* lblInfo;
    QLabel* lblServerSelection;
    QComboBox* cmbserverSelection;
    ProgressPicture* picProgressBar;
    QLineEdit* txtProgress;
    QPushButton* cmdNext;
    QPushButton* cmdPrevious;
    QPushButton* cmdCancel;
    QPushButton* cmdQuit;
    QPushButton* cmdViewHistory;
    QCheckBox* chkLaunchWayloomAfterUpdate;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // WizardHost
    void ApplyStep(int index, const modUpdate::WizardStep& step, const QString& info) override;
    void ProcessEvents() override;
    void SetProgress(qint64 count) override;
    int SelectedServer() const override;
    bool LaunchWayloomChecked() const override;
    void CloseWindow() override;

    void ShowProgress();
    void ViewHistory();

    modUpdate::UpdateWizard m_wizard;
    bool m_closing = false;
};
