#include "platform/PopupWindow.h"
#include "platform/Seams.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

using platform::Picture;
using platform::PopupWindow;

namespace {

// Lets the event loop run until `done` holds, for a few seconds at most.
template <class Done> void PumpUntil(Done done, int rounds = 3000) {
    for (int i = 0; i < rounds && !done(); ++i) {
        platform::PumpEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace

TEST(PopupWindow, ShowsThePictureAtItsScreenPositionAndSize) {
    PopupWindow window;
    EXPECT_FALSE(window.Visible());
    window.Show(120, 80, Picture(30, 20, platform::MakeColour(255, 255, 225)),
                std::vector<std::uint8_t>(600, 255));
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.Left(), 120);
    EXPECT_EQ(window.Top(), 80);
    EXPECT_EQ(window.Width(), 30);
    EXPECT_EQ(window.Height(), 20);
    window.Show(10, 15, Picture(50, 10), {});
    EXPECT_EQ(window.Left(), 10);
    EXPECT_EQ(window.Width(), 50);
}

TEST(PopupWindow, CountdownEndsOnceFromTheEventLoopAndMayEndTheWindow) {
    auto window = std::make_unique<PopupWindow>();
    window->Show(0, 0, Picture(10, 10));
    int ended = 0;
    bool insideStart = true;
    window->StartTimer(5000, [&] { ended += 100; });
    window->StartTimer(1, [&] {
        EXPECT_FALSE(insideStart);
        ++ended;
        window.reset(); // the balloon hides itself when its countdown ends
    });
    insideStart = false;
    PumpUntil([&] { return ended > 0; });
    EXPECT_EQ(ended, 1) << "starting again replaces the countdown";
    EXPECT_EQ(window, nullptr);
    PumpUntil([] { return false; }, 30); // nothing further arrives for the ended window
    EXPECT_EQ(ended, 1);
}

TEST(PopupWindow, ACountdownEndsWithItsWindow) {
    int ended = 0;
    {
        PopupWindow window;
        window.Show(0, 0, Picture(10, 10));
        window.StartTimer(1, [&] { ++ended; });
    }
    PopupWindow next; // takes over the same kind of window
    next.Show(0, 0, Picture(10, 10));
    PumpUntil([] { return false; }, 30);
    EXPECT_EQ(ended, 0);
}
