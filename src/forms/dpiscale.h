#pragma once
// Designed units and device pixels. Every place, size and font of a window is designed in
// pixels at 96 DPI; a window shows them at its own DPI. Places are scaled edge by edge (a
// control runs from Scale(left) to Scale(left + width)), so neighbours that touch in the design
// touch on the screen. Free of any window API, so it is tested natively.
namespace forms {

inline constexpr int kDesignDpi = 96;

// v designed units in pixels at dpi, rounded to the nearest (halves away from zero, as MulDiv).
constexpr int Scale(int v, int dpi) {
    long long n = static_cast<long long>(v) * dpi;
    long long q = (n >= 0 ? n + kDesignDpi / 2 : n - kDesignDpi / 2) / kDesignDpi;
    return static_cast<int>(q);
}

// A device coordinate (a mouse position, a scroll position) in designed units, the nearest.
constexpr int Unscale(int device, int dpi) {
    if (dpi <= 0) return device;
    long long n = static_cast<long long>(device) * kDesignDpi;
    long long q = (n >= 0 ? n + dpi / 2 : n - dpi / 2) / dpi;
    return static_cast<int>(q);
}

// The largest designed length that fits in `device` pixels: a client area's size, so that
// what is laid out in it never reaches past its edge.
constexpr int FitIn(int device, int dpi) {
    int v = Unscale(device, dpi);
    while (v > 0 && Scale(v, dpi) > device) --v;
    while (Scale(v + 1, dpi) <= device) ++v;
    return v;
}

// The smallest designed length that covers `device` pixels: a measured text's extent.
constexpr int Cover(int device, int dpi) {
    int v = Unscale(device, dpi);
    while (Scale(v, dpi) < device) ++v;
    while (v > 0 && Scale(v - 1, dpi) >= device) --v;
    return v;
}

}  // namespace forms
