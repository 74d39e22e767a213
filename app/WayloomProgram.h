// The running program: its world, the control panel's state and its windows,
// with the start-up sequence (Main) and the quit procedure.
#pragma once

#include "world/PanelState.h"
#include "world/World.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class OneCopy;
class QWidget;
class frmFAKE;
class frmLegenda;
class frmMenu;
namespace mapview {
class frmMap;
}
using mapview::frmMap;

class WayloomProgram {
public:
    enum class StartResult {
        Started,        // both windows shown
        AlreadyRunning, // another copy runs for this program folder: its windows came to the front, or the
                        // player was told; nothing was loaded
        NoLanguageFile, // the fatal message was shown
        FifthCampaign,  // the fifth-campaign message was shown
    };

    // `appFolder`: the program folder (the executable's folder in the program).
    explicit WayloomProgram(const QString& appFolder);
    ~WayloomProgram();

    // Shows an error under the program's title and waits for it to be closed
    // (with a Cancel button beside OK when `offerCancel`; either ends it).
    // Defaults to a message box; tests replace it.
    std::function<void(const QString& text, bool offerCancel)> showError;
    // Opens a document or address with the system's handler, starts another
    // program detached in the program folder; defaults to the system's.
    std::function<bool(const QString& target)> openWithShell;
    std::function<bool(const QString& program)> startDetached;
    // The same with arguments (the updater's undo mode).
    std::function<bool(const QString& program, const QStringList& arguments)> startDetachedWith;
    // Ends the program; defaults to leaving the event loop.
    std::function<void()> endProgram;
    // Asks the player a yes/no question (taking over a program folder that
    // another machine holds); defaults to a message box.
    std::function<bool(const QString& question)> confirm;
    // Whether the program folder can hold its lock; by default, whether the
    // system allows writing there (tests stand in for a read-only folder).
    std::function<bool(const QString& folder)> folderWritable;

    // The start-up sequence: one copy per program folder, language file, every table,
    // the map window with the start picture, the control panel, placement.
    StartResult Main();

    // Captures the window placement into the settings, unloads the panel
    // (which writes "Data/Options.txt") and the map window, ends the program.
    void QuitProgram();
    // Starts the updater from the program folder, then quits (even when the
    // updater could not be started).
    void StartUpdater();
    // Starts the updater in its undo mode (the last update is undone), then
    // quits like StartUpdater.
    void UndoLastUpdate();
    // Opens "Data/History.txt" with the system's viewer.
    void ShowHistory();
    // Opens a document path or web address with the system's handler.
    void OpenDocument(const QString& target);
    // The personal-progress dialogs, modal over the panel: the character
    // list, marking a skill captured (then the elite list is filtered again)
    // and a chest opened (then the treasure list, and the map is redrawn).
    void ManageCharacters();
    void MarkEliteAsCaptured(int elite);
    void MarkTreasureAsOpened(int treasure);

    World& world() { return m_world; }
    PanelState& panel() { return m_panel; }
    frmMenu* menu() const { return m_menu.get(); }
    frmMap* map() const { return m_map; }
    frmLegenda* legend() const { return m_legend; }
    frmFAKE* taskBar() const { return m_taskBar; }

    // Shows the program's windows in front of others (a later start of the
    // same program folder asks for it), restoring them when minimised.
    void BringToFront();

private:
    // Shows a small window (credits, about) over the middle of the map window.
    void ShowOverMap(QWidget* window);
    // Shows or hides the legend as the panel's switch says.
    void ShowLegend();
    // Places the legend at its saved position when that lies on a screen,
    // else at the top-right corner of the map window.
    void PlaceLegend();

    World m_world;
    PanelState m_panel;
    std::unique_ptr<OneCopy> m_oneCopy; // the program folder's lock, held while the program runs
    std::unique_ptr<frmMenu> m_menu;
    frmMap* m_map = nullptr;        // owned by the panel
    frmLegenda* m_legend = nullptr; // owned by the map window
    frmFAKE* m_taskBar = nullptr;   // owned by the panel
    bool m_quitting = false;
};
