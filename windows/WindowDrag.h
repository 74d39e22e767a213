// Moving a borderless window by its body, without the window: press, move and
// release go in, what the window should do comes out. A drag begins only when
// the pointer has moved with the button still held, so a quick click (even
// one whose release arrives before its press was handled) never hands the
// window to the window system's move, and any release, any move without the
// button and any new press end what was going on.
#pragma once

#include <QPoint>

#include <functional>

class WindowDrag {
public:
    enum class Step {
        Nothing,         // leave the window where it is
        StartSystemMove, // ask the window system to move it; call SystemMoveRefused() if it cannot
        MoveTo,          // put the window's top-left corner at Action::topLeft
    };
    struct Action {
        Step step = Step::Nothing;
        QPoint topLeft;
    };

    // threshold: how far (Manhattan length, pixels) the pointer must travel
    // with the button held before the press becomes a drag.
    explicit WindowDrag(int threshold = 4) : m_threshold(threshold) {}

    // A left press at `global` on a window whose frame starts at `windowTopLeft`.
    void Press(QPoint global, QPoint windowTopLeft);
    // A pointer move; `leftHeld` is whether the move reports the left button down.
    Action Move(QPoint global, bool leftHeld);
    // As Move(), asking `startSystemMove` (true when the window system took
    // the move) itself: only Nothing or MoveTo come out.
    Action Move(QPoint global, bool leftHeld, const std::function<bool()>& startSystemMove);
    // The left button went up (or the press was cancelled).
    void Release() { m_state = State::Idle; }
    // The window system would not move the window: the window follows the
    // pointer itself from here; the returned action puts it under `global`.
    Action SystemMoveRefused(QPoint global);

    // A drag is going on (the window system's or our own).
    bool Dragging() const { return m_state == State::SystemMoving || m_state == State::Following; }
    // A press is waiting to become a drag or a drag is going on.
    bool Active() const { return m_state != State::Idle; }

private:
    enum class State { Idle, Pressed, SystemMoving, Following };
    State m_state = State::Idle;
    int m_threshold;
    QPoint m_pressAt;
    QPoint m_offset;
};
