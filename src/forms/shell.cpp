#include "forms/shell.h"

#include <shellapi.h>

namespace forms {

namespace {
ShellScript& Script() {
    static ShellScript script;
    return script;
}
const char* OrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }
}  // namespace

void SetShellScript(ShellScript script) { Script() = std::move(script); }

INT_PTR ShellRun(const ShellCall& call) {
    if (Script()) {
        Script()(call);
        return 33;
    }
    return reinterpret_cast<INT_PTR>(ShellExecuteA(call.owner, OrNull(call.verb), call.file.c_str(),
                                                   OrNull(call.params), OrNull(call.folder), call.show));
}

}  // namespace forms
