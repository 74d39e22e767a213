#include "windows/WindowDrag.h"

void WindowDrag::Press(QPoint global, QPoint windowTopLeft)
{
    // A press while another drag seemed to go on means its release was lost:
    // start afresh rather than carry the old drag on.
    m_state = State::Pressed;
    m_pressAt = global;
    m_offset = global - windowTopLeft;
}

WindowDrag::Action WindowDrag::Move(QPoint global, bool leftHeld)
{
    if (!leftHeld) {
        // The button is up, whatever we were told before: nothing follows the pointer.
        m_state = State::Idle;
        return {};
    }
    switch (m_state) {
    case State::Idle:
    case State::SystemMoving: // the window system moves it
        return {};
    case State::Pressed:
        if ((global - m_pressAt).manhattanLength() < m_threshold)
            return {};
        m_state = State::SystemMoving;
        return {Step::StartSystemMove, global - m_offset};
    case State::Following:
        return {Step::MoveTo, global - m_offset};
    }
    return {};
}

WindowDrag::Action WindowDrag::Move(QPoint global, bool leftHeld, const std::function<bool()>& startSystemMove)
{
    const Action a = Move(global, leftHeld);
    if (a.step != Step::StartSystemMove)
        return a;
    return startSystemMove() ? Action{} : SystemMoveRefused(global);
}

WindowDrag::Action WindowDrag::SystemMoveRefused(QPoint global)
{
    if (m_state != State::SystemMoving)
        return {};
    m_state = State::Following;
    return {Step::MoveTo, global - m_offset};
}
