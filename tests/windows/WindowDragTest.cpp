// Moving a window by its body: press, move and release sequences in every
// order a quick click or a lost event can produce, and what the window is
// told to do after each.
#include "windows/WindowDrag.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using Step = WindowDrag::Step;

TEST(WindowDrag, EndsOnReleaseWhateverTheTiming)
{
    // The window's frame starts at (100, 50); the threshold is 4. Inputs:
    // "P x,y" press, "M x,y" move with the left button, "U x,y" move with
    // it up, "R" release, "F x,y" the window system refused a move. The
    // last step: "-" nothing, "S" start the system's move, "x,y" move to.
    const struct {
        const char* name;
        const char* inputs;
        const char* lastStep;
        bool dragging, active, systemMoveAsked;
    } cases[] = {
        {"quick click: press and release, no move", "P110,60 R", "-", false, false, false},
        {"quick click, then the pointer wanders with the button up", "P110,60 R U300,300", "-", false, false, false},
        {"release lost: a move reports the button up", "P110,60 U200,200 M260,260", "-", false, false, false},
        {"jitter under the threshold is still a click", "P110,60 M111,61 M112,60", "-", false, true, false},
        {"a held move past the threshold asks the window system", "P110,60 M115,60", "S", true, true, true},
        {"system move refused: the window follows, keeping the grab point", "P110,60 M115,60 F115,60 M150,90", "140,80",
         true, true, true},
        {"a new press restarts from the click, not the old drag", "P110,60 M115,60 F115,60 P30,30 M31,30", "-", false,
         true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowDrag drag(4);
        WindowDrag::Action last;
        bool asked = false;
        for (const QString& input : QString::fromLatin1(c.inputs).split(u' ')) {
            const QStringList xy = input.mid(1).split(u',');
            const QPoint at(xy.value(0).toInt(), xy.value(1).toInt());
            last = {};
            switch (input[0].toLatin1()) {
            case 'P':
                drag.Press(at, QPoint(100, 50));
                break;
            case 'M':
            case 'U':
                last = drag.Move(at, input[0] == u'M');
                break;
            case 'R':
                drag.Release();
                break;
            case 'F':
                last = drag.SystemMoveRefused(at);
                break;
            }
            asked = asked || last.step == Step::StartSystemMove;
        }
        const QString expected = QString::fromLatin1(c.lastStep);
        if (expected == u'-') {
            EXPECT_EQ(last.step, Step::Nothing);
        } else if (expected == u'S') {
            EXPECT_EQ(last.step, Step::StartSystemMove);
        } else {
            EXPECT_EQ(last.step, Step::MoveTo);
            EXPECT_EQ(last.topLeft, QPoint(expected.section(u',', 0, 0).toInt(), expected.section(u',', 1).toInt()));
        }
        EXPECT_EQ(drag.Dragging(), c.dragging);
        EXPECT_EQ(drag.Active(), c.active);
        EXPECT_EQ(asked, c.systemMoveAsked);
    }
}

} // namespace
