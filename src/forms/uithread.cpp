#include "forms/uithread.h"

#include <exception>
#include <stdexcept>

namespace forms {

namespace {

constexpr UINT kRunMessage = WM_APP + 0x51;
constexpr UINT kPostMessage = WM_APP + 0x52;
constexpr char kClassName[] = "QuenbyUiDispatcher";

// Lives on the stack of the thread that called Run() until `done` is set.
struct SyncStep {
    const std::function<void()>* fn;
    HANDLE done;
    std::exception_ptr error;
};

}  // namespace

UiDispatcher::UiDispatcher() : thread_(GetCurrentThreadId()) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(inst, kClassName, &wc)) {
        wc.lpfnWndProc = Proc;
        wc.hInstance = inst;
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
    }
    hwnd_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
}

UiDispatcher::~UiDispatcher() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void UiDispatcher::Run(const std::function<void()>& fn) {
    if (GetCurrentThreadId() == thread_) {
        fn();
        return;
    }
    SyncStep step{&fn, CreateEventA(nullptr, TRUE, FALSE, nullptr), nullptr};
    if (!step.done) throw std::runtime_error("cannot create an event");
    bool posted = PostMessageA(hwnd_, kRunMessage, 0, reinterpret_cast<LPARAM>(&step)) != FALSE;
    if (posted) WaitPumping(step.done, INFINITE);
    CloseHandle(step.done);
    if (!posted) throw std::runtime_error("The user interface is gone.");
    if (step.error) std::rethrow_exception(step.error);
}

bool UiDispatcher::Post(std::function<void()> fn) {
    auto* owned = new std::function<void()>(std::move(fn));  // freed by Proc
    if (PostMessageA(hwnd_, kPostMessage, 0, reinterpret_cast<LPARAM>(owned))) return true;
    delete owned;
    return false;
}

UiDispatcher& UiDispatcher::OfThisThread() {
    thread_local UiDispatcher* mine = new UiDispatcher();  // never freed: see the header
    return *mine;
}

LRESULT CALLBACK UiDispatcher::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kRunMessage) {
        auto* step = reinterpret_cast<SyncStep*>(lp);
        try {
            (*step->fn)();
        } catch (...) {
            step->error = std::current_exception();
        }
        SetEvent(step->done);
        return 0;
    }
    if (msg == kPostMessage) {
        auto* fn = reinterpret_cast<std::function<void()>*>(lp);
        try {
            (*fn)();
        } catch (...) {
        }
        delete fn;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

namespace {

// Returns false when WM_QUIT was taken from the queue; its exit code goes to *quitCode.
bool Pump(int* quitCode) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            *quitCode = static_cast<int>(msg.wParam);
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace

void PumpThreadMessages() {
    int code = 0;
    if (!Pump(&code)) PostQuitMessage(code);  // leave it for the outer loop
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
                PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // serves sent messages
            } else if (!Pump(&quitCode)) {
                quit = true;
            }
            continue;
        }
        if (r == WAIT_TIMEOUT) return false;
        return false;  // WAIT_FAILED
    }
}

}  // namespace forms
