#pragma once
// The calling thread's own message queue, served while it waits (a single-threaded COM
// apartment must go on dispatching its messages).
#include <windows.h>

namespace platform {

// Dispatches every message waiting in the calling thread's queue, then returns; with a budget,
// returns once that many milliseconds have gone, so a queue that refills as fast as it is
// served (a download that never ends) cannot hold the caller.
void PumpThreadMessages(DWORD budgetMs = INFINITE);

// Waits for the handle while dispatching the calling thread's messages; no busy waiting.
// Returns false when the timeout (milliseconds, INFINITE allowed) passed first.
bool WaitPumping(HANDLE handle, DWORD timeout);

}  // namespace platform
