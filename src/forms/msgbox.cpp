#include "forms/msgbox.h"

#include <windows.h>

#include "forms/application.h"

namespace forms {

namespace {
BoxScript& Script() {
    static BoxScript script;
    return script;
}
}  // namespace

void SetBoxScript(BoxScript script) { Script() = std::move(script); }

int ShowBox(BoxKind kind, const std::string& text, unsigned buttons) {
    BoxCall call{kind, ApplicationTitle(), text, buttons};
    unsigned icon = 0;
    switch (kind) {
    case BoxKind::Plain: break;
    case BoxKind::Information: call.caption = "Information"; icon = MB_ICONINFORMATION; break;
    case BoxKind::Confirm: call.caption = "Confirm"; icon = MB_ICONQUESTION; break;
    case BoxKind::Warning: icon = MB_ICONWARNING; break;
    case BoxKind::Error: icon = MB_ICONERROR; break;
    }
    if (Script()) return Script()(call);
    return MessageBoxA(GetActiveWindow(), text.c_str(), call.caption.c_str(), buttons | icon);
}

}  // namespace forms
