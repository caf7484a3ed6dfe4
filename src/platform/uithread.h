#pragma once
// Hands work from a worker thread to the UI thread.
//
// How it works: the dispatcher owns a message-only window created on the UI thread. Run()
// posts a message carrying a pointer to a small record on the caller's stack (the function
// and an event), then waits for the event while pumping the calling thread's own queue, as a
// single-threaded COM apartment must. The UI thread runs the function from its message loop
// (or from any nested modal loop) and sets the event. Because the caller waits, whatever the
// function refers to may live on the caller's stack. Steps run in the order they are posted.
#include <windows.h>

#include <functional>

namespace platform {

class UiDispatcher {
public:
    UiDispatcher();  // call on the UI thread
    ~UiDispatcher();
    UiDispatcher(const UiDispatcher&) = delete;
    UiDispatcher& operator=(const UiDispatcher&) = delete;

    // The dispatcher of the calling thread, made at its first use there and kept for the life
    // of the process, so a job that outlives its window can still hand over its last steps.
    static UiDispatcher& OfThisThread();

    // Runs fn on the UI thread and returns once it has run; an exception it throws is
    // rethrown here. On the UI thread itself fn runs at once. Throws when fn cannot be handed
    // over (the dispatcher's window has gone).
    void Run(const std::function<void()>& fn);
    // Queues fn for the UI thread and returns at once; false when it cannot be queued.
    bool Post(std::function<void()> fn);

    HWND window() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
    DWORD thread_ = 0;
};

}  // namespace platform
