#include "platform/pump.h"

namespace platform {

namespace {

// Returns false when WM_QUIT was taken from the queue; its exit code goes to *quitCode.
bool Pump(int* quitCode, DWORD budgetMs = INFINITE) {
    const DWORD start = GetTickCount();
    MSG msg;
    while ((budgetMs == INFINITE || GetTickCount() - start < budgetMs) &&
           PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            *quitCode = static_cast<int>(msg.wParam);
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace

void PumpThreadMessages(DWORD budgetMs) {
    int code = 0;
    if (!Pump(&code, budgetMs)) PostQuitMessage(code);  // leave it for the outer loop
}

bool WaitPumping(HANDLE handle, DWORD timeout) {
    DWORD start = GetTickCount();
    bool quit = false;
    int quitCode = 0;
    // After WM_QUIT only sent messages are served, and the quit is posted again on return.
    struct Requit {
        bool& quit;
        int& code;
        ~Requit() {
            if (quit) PostQuitMessage(code);
        }
    } requit{quit, quitCode};
    for (;;) {
        DWORD left = INFINITE;
        if (timeout != INFINITE) {
            DWORD spent = GetTickCount() - start;
            if (spent >= timeout) return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
            left = timeout - spent;
        }
        DWORD r = MsgWaitForMultipleObjectsEx(1, &handle, left, quit ? QS_SENDMESSAGE : QS_ALLINPUT,
                                              quit ? 0 : MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0) return true;
        if (r == WAIT_OBJECT_0 + 1) {
            if (quit) {
                MSG msg;
                PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // serves sent messages
            } else if (!Pump(&quitCode)) {
                quit = true;
            }
            continue;
        }
        if (r == WAIT_TIMEOUT) return false;
        return false;  // WAIT_FAILED
    }
}

}  // namespace platform
