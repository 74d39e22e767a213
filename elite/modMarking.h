// One-click marking, decided without a window: a skill captured or a chest
// opened by one character, toggled and saved at once through the same safe
// save as the capture and chest dialogs, the menu of characters with their
// ticks, and the history of markings that Ctrl+Z undoes and Ctrl+Shift+Z
// redoes. Creating, renaming and deleting characters are not markings; a
// deleted character's markings leave the history.
#pragma once

#include "elite/modCharacters.h"
#include "elite/modElite.h"
#include "layers/modTreasures.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace modMarking {

enum class Kind : uint8_t {
    Capture, // an elite skill captured (thing = elite number)
    Chest,   // a chest opened (thing = treasure number)
};

// One thing's state for one character: done or not, and for a chest the day
// it was opened.
struct State {
    bool done = false;
    QDate date; // chests only; null when not done

    friend bool operator==(const State&, const State&) = default;
};

// A marking: thing `thing` of `kind` went from `before` to `after` for
// `character`.
struct Step {
    Kind kind = Kind::Capture;
    int thing = 0;
    int character = 0;
    State before;
    State after;

    friend bool operator==(const Step&, const Step&) = default;
};

// The tables a marking reads and changes.
struct Tables {
    modElite::Tables& elite;
    modTreasures::Tables& treasures;
};

// True for a thing that can be marked: a skill of the catalogue above 0 (0
// holds the bosses without a skill), a chest whose line was read.
bool Markable(const modElite::Tables& elite, const modTreasures::Tables& treasures, Kind kind, int thing);

State StateOf(const modElite::Tables& elite, const modTreasures::Tables& treasures, Kind kind, int thing,
              int character);

// The step of a click on the thing for the character: done becomes not done,
// not done becomes done (a chest on `today`).
Step ToggleStep(const modElite::Tables& elite, const modTreasures::Tables& treasures, Kind kind, int thing,
                int character, const QDate& today);

// Puts the thing in `state` for the character and rewrites the character's
// file (its captured skills or its opened chests). The tables keep their old
// value when the write fails (false, with the reason).
bool Apply(const QString& appFolder, Tables tables, Kind kind, int thing, int character, const State& state,
           QString* error = nullptr);

// A row of the marking menu: a named character and whether it has done the
// thing, in character number order.
struct Tick {
    int character = 0;
    QString name;
    bool done = false;

    friend bool operator==(const Tick&, const Tick&) = default;
};
std::vector<Tick> Ticks(const modCharacters::Tables& characters, const modElite::Tables& elite,
                        const modTreasures::Tables& treasures, Kind kind, int thing);

// The markings made, to be undone and redone in turn.
class History {
public:
    // How many markings can be undone; the oldest go beyond it.
    static constexpr int kDepth = 50;

    // A marking was made and saved: it is the next to be undone, and what
    // was undone before can no longer be redone.
    void Record(const Step& step);
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    int UndoCount() const { return static_cast<int>(m_undo.size()); }
    int RedoCount() const { return static_cast<int>(m_redo.size()); }

    // Puts back the state before the last marking (saved as a marking is);
    // the step then waits to be redone. Nothing when there is nothing to
    // undo or the save failed (the step stays, `error` says why).
    std::optional<Step> Undo(const QString& appFolder, Tables tables, QString* error = nullptr);
    // Makes the last undone marking again.
    std::optional<Step> Redo(const QString& appFolder, Tables tables, QString* error = nullptr);

    // A deleted character: its markings leave the history (its number may
    // go to a new character, who must not inherit them).
    void ForgetCharacter(int character);

private:
    // The last step of `from` put in its `state` and moved to `to`.
    template <class From, class To>
    std::optional<Step> Move(From& from, To& to, State Step::*state, const QString& appFolder, Tables tables,
                             QString* error);

    std::deque<Step> m_undo;
    std::vector<Step> m_redo;
};

// Applies the step's `after` state and records it.
bool Do(History& history, const QString& appFolder, Tables tables, const Step& step, QString* error = nullptr);

} // namespace modMarking
