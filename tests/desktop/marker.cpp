// A program that only leaves a mark that it ran: a file named as itself with ".ran" added. The
// desktop tests put it where a hostile saved search points, to show that nothing starts it.
#include <windows.h>

int main() {
    char path[MAX_PATH + 8] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    lstrcpyA(path + n, ".ran");
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return 0;
}
