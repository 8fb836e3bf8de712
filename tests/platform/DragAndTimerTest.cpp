// The in-process drag between windows and the timers' clock.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/TestDriver.h"
#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;
namespace drive = platform::testdriver;

namespace {

// A hand window whose card elements start a drag on mouse down, and a table window that takes
// the drop on its picture box.
struct TwoWindows {
    Form hand;
    Form table;
    ControlSurface card{hand.Handle()};
    Label label{hand.Handle()};
    PictureBox base{table.Handle()};
    Frame frame{table.Handle()};
    Label inFrame{frame.Handle()};
    std::vector<std::string> events;

    TwoWindows() {
        hand.Move(0, 0, 3000, 3000);
        table.Move(4500, 0, 6000, 6000);
        card.Move(150, 150, 900, 1200);
        label.Move(1500, 150, 900, 300);
        base.Move(300, 300, 3000, 3000);
        frame.Move(3600, 300, 1500, 1500);
        inFrame.Move(150, 300, 900, 300);
        card.OnMouseDown = [this](const MouseEvent&) { card.Drag(); };
        label.OnMouseDown = [this](const MouseEvent&) { label.Drag(); };
        card.OnMouseUp = [this](const MouseEvent&) { events.push_back("card up"); };
        auto record = [this](const char* who, const char* what) {
            return [this, who, what](const DragEvent& e) {
                events.push_back(std::string(who) + " " + what + " " + SourceName(e.source) + " " +
                                 std::to_string(static_cast<int>(e.x)) + "," +
                                 std::to_string(static_cast<int>(e.y)) +
                                 (e.state == 2 ? "" : " state " + std::to_string(e.state)));
            };
        };
        base.OnDragOver = record("base", "over");
        base.OnDragDrop = record("base", "drop");
        inFrame.OnDragDrop = record("inFrame", "drop");
        table.OnDragDrop = record("table", "drop");
        hand.Show();
        table.Show();
    }

    std::string SourceName(NativeWidget* source) const {
        if (source == card.Handle()) return "card";
        if (source == label.Handle()) return "label";
        return "?";
    }
};

} // namespace

TEST(Drag, FromAControlOnOneFormDropsOnAControlOfAnotherAtTheDropPoint) {
    TwoWindows w;
    ASSERT_TRUE(drive::MouseDown(w.card, 1, 0, 150, 150));
    drive::MouseMove(w.base, 1, 0, 300, 450);
    drive::MouseMove(w.base, 1, 0, 330, 480);
    drive::MouseMove(w.table, 1, 0, 150, 150); // off the picture box: it is left
    drive::MouseMove(w.base, 1, 0, 450, 600);
    drive::MouseUp(w.base, 1, 0, 600, 900);
    EXPECT_EQ(w.events,
              (std::vector<std::string>{"base over card 300,450 state 0", "base over card 330,480",
                                        "base over card -150,-150 state 1", "base over card 450,600 state 0",
                                        "base drop card 600,900"}));
    // The drag is over: a further release goes where it lands, not to the drop handlers.
    w.events.clear();
    drive::MouseUp(w.base, 1, 0, 600, 900);
    EXPECT_TRUE(w.events.empty());
}

TEST(Drag, TheDropFindsTheControlUnderThePointerWhereverItSits) {
    struct Case {
        bool fromLabel;
        int x, y; // twips of the table's client area
        const char* expected;
    } cases[] = {
        {false, 300 + 600, 300 + 900, "base drop card 600,900"},
        {true, 3600 + 150 + 30, 300 + 300 + 45, "inFrame drop label 30,45"},
        {true, 5700, 4500, "table drop label 5700,4500"},
    };
    for (const Case& c : cases) {
        TwoWindows w;
        if (c.fromLabel)
            drive::MouseDown(w.label, 1, 0, 15, 15);
        else
            drive::MouseDown(w.card, 1, 0, 15, 15);
        drive::MouseUp(w.table, 1, 0, c.x, c.y);
        EXPECT_EQ(w.events, std::vector<std::string>{c.expected}) << c.expected;
    }
}

TEST(Drag, ASourceThatGoesAwayEndsTheDragWithoutADrop) {
    TwoWindows w;
    auto temporary = std::make_unique<Label>(w.hand.Handle());
    temporary->Move(0, 2000, 900, 300);
    temporary->OnMouseDown = [&](const MouseEvent&) { temporary->Drag(); };
    drive::MouseDown(*temporary, 1, 0, 15, 15);
    temporary.reset();
    drive::MouseUp(w.base, 1, 0, 600, 900);
    EXPECT_TRUE(w.events.empty());
}

TEST(Timer, FiresOnlyWhenSteppedOrWhenItsIntervalPasses) {
    ManualTimers clock;
    Timer timer;
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.SetInterval(1000);
    AdvanceTimers(999);
    EXPECT_EQ(ticks, 0);
    AdvanceTimers(1);
    EXPECT_EQ(ticks, 1);
    AdvanceTimers(2500);
    EXPECT_EQ(ticks, 3);
    StepTimer(timer);
    EXPECT_EQ(ticks, 4);
    AdvanceTimers(999);
    EXPECT_EQ(ticks, 4) << "a step starts the interval afresh";

    timer.SetEnabled(false);
    AdvanceTimers(5000);
    StepTimer(timer);
    EXPECT_EQ(ticks, 4) << "a disabled timer never fires";
    timer.SetEnabled(true);
    timer.SetInterval(0);
    AdvanceTimers(5000);
    StepTimer(timer);
    EXPECT_EQ(ticks, 4) << "nor one without an interval";
}

TEST(Timer, HandlersMayStopTheirTimerOrOthers) {
    ManualTimers clock;
    Timer splash, tip;
    int splashTicks = 0, tipTicks = 0;
    splash.SetInterval(2100);
    tip.SetInterval(500);
    splash.OnTimer = [&] {
        ++splashTicks;
        splash.SetEnabled(false);
        tip.SetEnabled(false);
    };
    tip.OnTimer = [&] { ++tipTicks; };
    AdvanceTimers(10000);
    EXPECT_EQ(splashTicks, 1);
    EXPECT_EQ(tipTicks, 4) << "at 500, 1000, 1500 and 2000, before the splash stops it";
}
