// Where the main window opens: a stored placement the user can reach stays; one off every
// monitor is brought back onto the nearest.
#include <gtest/gtest.h>

#include <climits>

#include "settings/placement.h"

using settings::MovedInto;
using settings::Reachable;
using settings::Rect;

namespace {

const Rect kLeftMonitor{0, 0, 1280, 770};  // a task bar below
const Rect kRightMonitor{1280, 0, 3200, 1080};

TEST(Placement, ReachableWhenPartOfTheCaptionLiesInAWorkArea) {
    std::vector<Rect> one{kLeftMonitor};
    EXPECT_TRUE(Reachable({203, 118, 735, 484}, one));
    EXPECT_TRUE(Reachable({1180, 700, 1700, 1100}, one));  // 100 x 70 still on screen
    EXPECT_TRUE(Reachable({-480, 0, 48, 320}, one));       // exactly the width needed
    EXPECT_FALSE(Reachable({-485, 0, 47, 320}, one));
    EXPECT_FALSE(Reachable({100, 760, 600, 1100}, one));  // only 10 rows under the task bar line
    EXPECT_FALSE(Reachable({100, -300, 600, 10}, one));   // the caption above the screen
    EXPECT_FALSE(Reachable({9000, 200, 9400, 550}, one));
    EXPECT_TRUE(Reachable({2000, 200, 2400, 550}, {kLeftMonitor, kRightMonitor}));
    EXPECT_FALSE(Reachable({100, 100, 100, 100}, one));  // nothing to see
    EXPECT_FALSE(Reachable({100, 100, 600, 100}, one));
    EXPECT_FALSE(Reachable({INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX}, one));
    EXPECT_FALSE(Reachable({INT_MIN, INT_MIN, INT_MIN + 500, INT_MIN + 400}, one));
    EXPECT_FALSE(Reachable({203, 118, 735, 484}, {}));
}

TEST(Placement, MovedIntoTheWorkAreaKeepingWhatFits) {
    // Off to the right: to the right edge, the same size and height on screen.
    Rect r = MovedInto({9000, 200, 9400, 550}, kLeftMonitor);
    EXPECT_EQ(r.left, 880);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.Width(), 400);
    EXPECT_EQ(r.Height(), 350);
    // Above and to the left: to the top-left corner.
    r = MovedInto({-5000, -4000, -4600, -3650}, kLeftMonitor);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    // Larger than the work area: as large as it.
    r = MovedInto({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kRightMonitor);
    EXPECT_EQ(r.left, 1280);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.Width(), 1920);
    EXPECT_EQ(r.Height(), 1080);
    EXPECT_TRUE(Reachable(r, {kRightMonitor}));
    // Upside down (negative sizes): an empty rectangle at a reachable corner, which the
    // window's minimum size then widens.
    r = MovedInto({INT_MAX, INT_MAX, 0, 0}, kLeftMonitor);
    EXPECT_EQ(r.Width(), 0);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.left, 1280);
}

}  // namespace
