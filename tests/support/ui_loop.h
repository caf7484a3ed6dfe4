#pragma once
// For Windows tests that play the UI thread: a message loop that runs until a condition holds.
#include <windows.h>

#include <functional>

namespace testsupport {

// Dispatches the calling thread's messages until done() is true or the time is up; returns done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

}  // namespace testsupport
