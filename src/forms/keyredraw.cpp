#include "forms/keyredraw.h"

#include "forms/controls.h"
#include "forms/form.h"

namespace forms {

namespace {

OsVersion RealOsVersion() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof(v);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&v)) return {false, 0};
#pragma GCC diagnostic pop
    return {v.dwPlatformId == VER_PLATFORM_WIN32_NT, static_cast<int>(v.dwMajorVersion)};
}

}  // namespace

int RedrawButtonsOnKeyUp(Form* window, WORD key) {
    if (!window || (key != VK_TAB && key != VK_MENU)) return 0;
    OsVersion v = Env().osVersion ? Env().osVersion() : RealOsVersion();
    if (!v.nt || v.major < 6) return 0;
    int redrawn = 0;
    std::function<void(Control*)> walk = [&](Control* parent) {
        for (Control* c : parent->Controls()) {
            if (c->Windowed() && (dynamic_cast<Button*>(c) || dynamic_cast<CheckBox*>(c))) {
                InvalidateRect(c->Handle(), nullptr, TRUE);
                redrawn++;
            }
            walk(c);
        }
    };
    walk(window);
    return redrawn;
}

}  // namespace forms
