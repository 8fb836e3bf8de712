// Where windows go on the screen, where a box finds room beside what it must not cover, and how far
// a dragged item may move on its surface.
#include "common/Placement.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::TwipRect;

namespace {

// A 1280 x 800 pixel screen.
constexpr TwipRect kScreen{0, 0, 19200, 12000};

TEST(Placement, AWindowFitsIntoTheWorkAreaMovedAsLittleAsPossible) {
    struct Case {
        const char* name;
        TwipRect window, fitted;
    };
    const std::vector<Case> cases = {
        {"inside stays", {300, 300, 6000, 4000}, {300, 300, 6000, 4000}},
        {"past the right edge moves left", {15000, 300, 6000, 4000}, {13200, 300, 6000, 4000}},
        {"above the top moves down", {300, -900, 6000, 4000}, {300, 0, 6000, 4000}},
        {"off the screen altogether comes back", {-30000, 40000, 6000, 4000}, {0, 8000, 6000, 4000}},
        {"wider than the screen is cut to it", {300, 300, 19800, 12300}, {0, 0, 19200, 12000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::FitInto(c.window, kScreen), c.fitted);
    }
    const TwipRect panelled{0, 600, 19200, 11400}; // a panel along the top of the screen
    EXPECT_EQ(platform::FitInto({100, 0, 3000, 3000}, panelled), (TwipRect{100, 600, 3000, 3000}));
}

TEST(Placement, ADialogIsCentredOverItsOwnerAndStaysOnTheScreen) {
    EXPECT_EQ(platform::CentreOver(4800, 4300, {300, 300, 18000, 11000}, kScreen),
              (TwipRect{6900, 3650, 4800, 4300}));
    // An owner near the bottom right corner: the dialog is pushed back onto the screen.
    EXPECT_EQ(platform::CentreOver(4800, 4300, {17000, 10000, 3000, 3000}, kScreen),
              (TwipRect{14400, 7700, 4800, 4300}));
}

TEST(Placement, AFreePlaceIsTheNearestThatCoversNothing) {
    const std::vector<TwipRect> covered = {{1000, 1000, 2000, 2000}, {3000, 1000, 2000, 2000}};
    // Free where it stands: it stays.
    EXPECT_EQ(FreePlace({6000, 1000, 1000, 500}, kScreen, covered, 120), (TwipRect{6000, 1000, 1000, 500}));
    // Over the second rectangle's right part: moved just past its right edge.
    EXPECT_EQ(FreePlace({4500, 1200, 1000, 500}, kScreen, covered, 120), (TwipRect{5000, 1200, 1000, 500}));
    // Over the first one's top: moved just above it.
    EXPECT_EQ(FreePlace({1500, 800, 1000, 500}, kScreen, covered, 120), (TwipRect{1500, 500, 1000, 500}));
    // Touching is not covering.
    EXPECT_EQ(FreePlace({0, 0, 1000, 1000}, kScreen, covered, 120), (TwipRect{0, 0, 1000, 1000}));
    // Nowhere free, or larger than the bounds.
    EXPECT_FALSE(FreePlace({0, 0, 1000, 1000}, {0, 0, 5000, 3000}, {{0, 0, 5000, 3000}}, 120));
    EXPECT_FALSE(FreePlace({0, 0, 20000, 1000}, kScreen, {}, 120));
}

TEST(Placement, ADraggedItemStopsAtTheSurfacesEdges) {
    const TwipRect surface{0, 0, 18000, 11400};
    struct Case {
        const char* name;
        TwipRect item;
        int dx, dy;
        Shift allowed;
    };
    const std::vector<Case> cases = {
        {"inside, moved inside", {3000, 3000, 1200, 1680}, 600, -600, {600, -600}},
        {"stops at the left and top edges", {300, 200, 1200, 1680}, -900, -900, {-300, -200}},
        {"stops at the right and bottom edges", {16000, 9000, 1200, 1680}, 2000, 2000, {800, 720}},
        {"outside already: no further out", {-600, 12000, 1200, 1680}, -300, 300, {0, 0}},
        {"outside already: back towards the inside", {-600, 12000, 1200, 1680}, 900, -900, {900, -900}},
        {"larger than the surface: keeps covering it", {-1000, 0, 20000, 1000}, 2000, 0, {1000, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Shift s = ClampedShift(c.item, c.dx, c.dy, surface);
        EXPECT_EQ(s.dx, c.allowed.dx);
        EXPECT_EQ(s.dy, c.allowed.dy);
    }
    // A group dragged together stops as a whole: its enclosing rectangle is what stays on.
    const TwipRect group = Enclosing({16000, 3000, 1200, 1680}, {14000, 6000, 1200, 1680});
    EXPECT_EQ(group, (TwipRect{14000, 3000, 3200, 4680}));
    EXPECT_EQ(ClampedShift(group, 2000, 0, surface).dx, 800);
    EXPECT_EQ(Enclosing({}, group), group) << "an empty rectangle adds nothing";
}

} // namespace
