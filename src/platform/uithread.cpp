#include "platform/uithread.h"

#include <exception>
#include <stdexcept>

#include "platform/owned.h"
#include "platform/pump.h"

namespace platform {

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
    platform::Handle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!done) throw std::runtime_error("cannot create an event");
    SyncStep step{&fn, done.get(), nullptr};
    bool posted = PostMessageA(hwnd_, kRunMessage, 0, reinterpret_cast<LPARAM>(&step)) != FALSE;
    if (!posted) throw std::runtime_error("The user interface is gone.");
    platform::WaitPumping(done.get(), INFINITE);
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
        } catch (...) {}
        delete fn;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace platform
