#pragma once
// Where the main window opens: the stored placement, unless it lies off every monitor.
#include <vector>

namespace settings {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    long long Width() const { return static_cast<long long>(right) - left; }
    long long Height() const { return static_cast<long long>(bottom) - top; }
};

// How much of the window's caption strip must lie in one work area for the user to reach it.
inline constexpr int kReachableWidth = 48, kReachableHeight = 16;

// True when some work area holds a piece of the window's top strip (its caption) at least
// kReachableWidth wide and kReachableHeight high, so the user can see it and drag it.
bool Reachable(const Rect& window, const std::vector<Rect>& workAreas);

// The window moved (and, where it is larger, shrunk) into `work`, the work area of the monitor
// nearest to it: used only for a placement that is not Reachable.
Rect MovedInto(const Rect& window, const Rect& work);

}  // namespace settings
