#include "update/StepTable.h"

namespace modUpdate {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

WizardStep Page(Rgb colour, const QString& nextCaption, bool next, bool previous, bool quit, bool cancel, bool history,
                bool progress, bool server, const QString& title, const QString& subtitle, const QString& description)
{
    WizardStep s;
    s.TextColor = colour;
    s.NextCaption = nextCaption;
    s.NextEnabled = next;
    s.PreviousEnabled = previous;
    s.QuitEnabled = quit;
    s.CancelVisible = cancel;
    s.HistoryVisible = history;
    s.ProgressVisible = progress;
    s.ServerChoiceVisible = server;
    s.Title = title;
    s.Subtitle = subtitle;
    s.Description = description;
    return s;
}

} // namespace

StepTableType FillStepTable()
{
    const QString next = QStringLiteral("Next");
    const QString finish = QStringLiteral("Finish");
    StepTableType t;
    //                         colour  caption  next   prev   quit   cancel hist   progr  server
    t[StepError] = Page(kRed, QStringLiteral("Restart"), true, false, true, false, false, false, false,
                        QStringLiteral("ERROR"), QString(),
                        QStringLiteral("An error occurred during the procedure.") + kCrLf +
                            QStringLiteral("Please check your internet connection and retry. If the problem persists, "
                                           "contact the software administrator."));
    t[StepStart] =
        Page(kBlue, next, true, false, true, false, false, false, true, QStringLiteral("Step 1"),
             QStringLiteral("Starting the update process"),
             QStringLiteral("The program is up to connect to our ftp server, to retrieve if a new update is "
                            "available.") +
                 kCrLf +
                 QStringLiteral("Press the 'Next' button to continue, otherwise if you don't want to update "
                                "Wayloom or you don't have any internet connection, press the 'Cancel' buttton."));
    t[StepSearching] = Page(kBlue, next, false, false, true, false, false, false, false, QStringLiteral("Step 2"),
                            QStringLiteral("Retrieving informations"),
                            QStringLiteral("The update process is currently searching for the availability of new "
                                           "upgrades.") +
                                kCrLf + kCrLf + QStringLiteral("Please wait..."));
    t[StepResults] =
        Page(kBlue, next, true, true, true, false, false, false, false, QStringLiteral("Step 3"),
             QStringLiteral("Showing results"),
             QStringLiteral("Press the 'Next' button to continue downloading files and upgrading your software."));
    t[StepDownloading] = Page(kBlue, next, false, false, false, true, false, true, false, QStringLiteral("Step 4"),
                              QStringLiteral("Downloading files"),
                              QStringLiteral("Download in progress.") + kCrLf + QStringLiteral("Please wait..."));
    t[StepFinished] = Page(kGreen, finish, true, true, false, false, true, false, false, QStringLiteral("Step 5"),
                           QStringLiteral("Operation completed"),
                           QStringLiteral("The update progress is completed.") + kCrLf +
                               QStringLiteral("Press 'Finish' to return to Window.") + kCrLf + kCrLf + kCrLf +
                               QStringLiteral("Good hunting in Shardrealm!"));
    t[StepNoUpdates] = Page(kGreen, finish, true, false, false, false, false, false, false, QStringLiteral("Step 4"),
                            QStringLiteral("No updates available."),
                            QStringLiteral("No updates available.") + kCrLf +
                                QStringLiteral("Your Wayloom is currently updated with the latest files.") + kCrLf +
                                QStringLiteral("Please, press the 'Finish' button to terminate this process."));
    return t;
}

} // namespace modUpdate
