// Marking from the map and the lists: a Shift+click on a skill's or chest's
// marker toggles it for the character chosen in the tab's "Not yet ... by"
// (with none chosen, the menu of characters with their ticks opens at the
// pointer); a right click on a list entry opens that menu. Each tick is
// saved at once and can be undone (Ctrl+Z) and redone (Ctrl+Shift+Z) from
// either window, as can the markings of the capture and chest dialogs.
#pragma once

#include "elite/modMarking.h"
#include "panel/PanelContext.h"

#include <QObject>
#include <QPoint>

#include <functional>

class QMenu;
class QWidget;

class MarkingMenu : public QObject {
    Q_OBJECT
public:
    // `owner` holds the menus and the messages.
    MarkingMenu(PanelContext& context, QWidget* owner);

    // A Shift+click on the marker of `thing`.
    void MarkFromMap(modMarking::Kind kind, int thing, QPoint globalPos);
    // The menu of every character with a tick where it has done the thing;
    // choosing a row toggles that character's tick.
    void OpenTicks(modMarking::Kind kind, int thing, QPoint globalPos);
    // Toggles the thing for the character and saves; false (after telling
    // why) when the save failed.
    bool Toggle(modMarking::Kind kind, int thing, int character);
    void Undo();
    void Redo();
    // A marking a dialog made and saved: it can be undone like the others.
    void Recorded(const modMarking::Step& step);

    // How the menu opens and an error is told (replaced by tests).
    std::function<void(QMenu* menu, QPoint globalPos)> openMenu;
    std::function<void(const QString& text)> showError;

signals:
    // A thing of `kind` changed for `character`: its lists, the map and
    // the progress window follow.
    void marked(modMarking::Kind kind, int character);

private:
    modMarking::Tables Tables() const;
    // The last marking undone (or the last undone made again), saved.
    void Replay(bool undo);
    void Saved(const modMarking::Step& step);

    PanelContext& m_context;
    QWidget* m_owner;
    QMenu* m_menu = nullptr;
};
