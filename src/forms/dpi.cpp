#include "forms/dpi.h"

namespace forms {

namespace {

template <class F>
F User32(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int WindowDpi(HWND hwnd) {
    using Fn = UINT(WINAPI*)(HWND);
    static const Fn getDpiForWindow = User32<Fn>("GetDpiForWindow");
    if (getDpiForWindow && hwnd) {
        UINT dpi = getDpiForWindow(hwnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

int DpiAt(POINT at) {
    // GetDpiForMonitor lives in shcore (Windows 8.1 and later).
    using Fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const Fn getDpiForMonitor = [] {
        HMODULE shcore = LoadLibraryA("shcore.dll");
        return shcore ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) &&
        x > 0)
        return static_cast<int>(x);
    return ScreenDpi();
}

void OuterRect(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi) {
    using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const Fn adjustForDpi = User32<Fn>("AdjustWindowRectExForDpi");
    if (adjustForDpi && adjustForDpi(&r, style, menu, exStyle, static_cast<UINT>(dpi))) return;
    AdjustWindowRectEx(&r, style, menu, exStyle);
}

}  // namespace forms
