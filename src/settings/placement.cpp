#include "settings/placement.h"

#include <algorithm>

namespace settings {

bool Reachable(const Rect& window, const std::vector<Rect>& workAreas) {
    long long captionBottom = std::min<long long>(window.bottom, static_cast<long long>(window.top) + kReachableHeight);
    for (const Rect& w : workAreas) {
        long long x0 = std::max(window.left, w.left), x1 = std::min(window.right, w.right);
        long long y0 = std::max(window.top, w.top), y1 = std::min<long long>(captionBottom, w.bottom);
        if (x1 - x0 >= kReachableWidth && y1 - y0 >= std::min<long long>(kReachableHeight, window.Height()) && y1 > y0)
            return true;
    }
    return false;
}

Rect MovedInto(const Rect& window, const Rect& work) {
    long long w = std::clamp<long long>(window.Width(), 0, work.Width());
    long long h = std::clamp<long long>(window.Height(), 0, work.Height());
    long long left = std::clamp<long long>(window.left, work.left, work.right - w);
    long long top = std::clamp<long long>(window.top, work.top, work.bottom - h);
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + w), static_cast<int>(top + h)};
}

}  // namespace settings
