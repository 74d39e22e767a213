// Moving a window by its body: press, move and release sequences in every
// order a quick click or a lost event can produce, and what the window is
// told to do after each.
#include "windows/WindowDrag.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Step = WindowDrag::Step;

// One input: a press, a move with or without the left button, a release, or
// the window system refusing a move it was asked for.
struct Input {
    enum Kind { Press, Move, MoveUp, Release, Refused } kind;
    QPoint at;
};

struct Case {
    const char* name;
    std::vector<Input> inputs;
    Step lastStep;      // what the last input asked of the window
    QPoint lastTopLeft; // where, for a MoveTo
    bool dragging;      // after the last input
    bool active;
    bool systemMoveAsked; // any input asked for the window system's move
};

TEST(WindowDrag, EndsOnReleaseWhateverTheTiming)
{
    // The window's frame starts at (100, 50); presses land at (110, 60), ten
    // pixels in on both axes; the threshold is 4.
    const std::vector<Case> cases = {
        {"quick click: press and release, no move",
         {{Input::Press, {110, 60}}, {Input::Release, {}}},
         Step::Nothing,
         {},
         false,
         false,
         false},
        {"quick click, then the pointer wanders with the button up",
         {{Input::Press, {110, 60}}, {Input::Release, {}}, {Input::MoveUp, {300, 300}}},
         Step::Nothing,
         {},
         false,
         false,
         false},
        {"release lost: a move reports the button up",
         {{Input::Press, {110, 60}}, {Input::MoveUp, {200, 200}}, {Input::Move, {260, 260}}},
         Step::Nothing,
         {},
         false,
         false,
         false},
        {"press handled after the button went up: first move has no button",
         {{Input::Press, {110, 60}}, {Input::MoveUp, {111, 60}}},
         Step::Nothing,
         {},
         false,
         false,
         false},
        {"jitter under the threshold is still a click",
         {{Input::Press, {110, 60}}, {Input::Move, {111, 61}}, {Input::Move, {112, 60}}},
         Step::Nothing,
         {},
         false,
         true,
         false},
        {"a held move past the threshold asks the window system",
         {{Input::Press, {110, 60}}, {Input::Move, {115, 60}}},
         Step::StartSystemMove,
         {105, 50},
         true,
         true,
         true},
        {"while the window system moves it, nothing follows the pointer",
         {{Input::Press, {110, 60}}, {Input::Move, {115, 60}}, {Input::Move, {150, 90}}},
         Step::Nothing,
         {},
         true,
         true,
         true},
        {"system move refused: the window follows, keeping the grab point",
         {{Input::Press, {110, 60}}, {Input::Move, {115, 60}}, {Input::Refused, {115, 60}}, {Input::Move, {150, 90}}},
         Step::MoveTo,
         {140, 80},
         true,
         true,
         true},
        {"following ends on release",
         {{Input::Press, {110, 60}},
          {Input::Move, {115, 60}},
          {Input::Refused, {115, 60}},
          {Input::Release, {}},
          {Input::Move, {150, 90}}},
         Step::Nothing,
         {},
         false,
         false,
         true},
        {"following ends on a move without the button",
         {{Input::Press, {110, 60}},
          {Input::Move, {115, 60}},
          {Input::Refused, {115, 60}},
          {Input::MoveUp, {150, 90}},
          {Input::Move, {170, 90}}},
         Step::Nothing,
         {},
         false,
         false,
         true},
        {"a new press restarts from the click, not the old drag",
         {{Input::Press, {110, 60}},
          {Input::Move, {115, 60}},
          {Input::Refused, {115, 60}},
          {Input::Press, {30, 30}},
          {Input::Move, {31, 30}}},
         Step::Nothing,
         {},
         false,
         true,
         true},
        {"a refusal with no move asked for changes nothing",
         {{Input::Press, {110, 60}}, {Input::Refused, {110, 60}}},
         Step::Nothing,
         {},
         false,
         true,
         false},
        {"a release with no press",
         {{Input::Release, {}}, {Input::Move, {10, 10}}},
         Step::Nothing,
         {},
         false,
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowDrag drag(4);
        WindowDrag::Action last;
        bool asked = false;
        for (const Input& in : c.inputs) {
            last = {};
            switch (in.kind) {
            case Input::Press:
                drag.Press(in.at, QPoint(100, 50));
                break;
            case Input::Move:
                last = drag.Move(in.at, true);
                break;
            case Input::MoveUp:
                last = drag.Move(in.at, false);
                break;
            case Input::Release:
                drag.Release();
                break;
            case Input::Refused:
                last = drag.SystemMoveRefused(in.at);
                break;
            }
            asked = asked || last.step == Step::StartSystemMove;
        }
        EXPECT_EQ(last.step, c.lastStep);
        if (c.lastStep == Step::MoveTo) {
            EXPECT_EQ(last.topLeft, c.lastTopLeft);
        }
        EXPECT_EQ(drag.Dragging(), c.dragging);
        EXPECT_EQ(drag.Active(), c.active);
        EXPECT_EQ(asked, c.systemMoveAsked);
    }
}

} // namespace
