#pragma once
// The message loop of the UI thread, the application-wide message hook and error handler.
//
// Every message taken from the queue, by the main loop, by ProcessMessages or by a modal
// window's loop, first goes to the hook (which may mark it handled), then through key
// preview: a form with KeyPreview sees the keys of its controls before they do, and either
// may swallow a key by setting it to 0. Tab moves the focus between tab stops.
#include <windows.h>

#include <functional>
#include <memory>

namespace forms {

class Control;
class Form;

using MessageHook = std::function<void(MSG& msg, bool& handled)>;
void SetMessageHook(MessageHook hook);  // an empty hook removes it

// Call inside a catch block: shows the error's text in an error box; the program goes on.
void HandleException();
// Runs fn, handing any exception to HandleException.
void Guarded(const std::function<void()>& fn);

// Pre-translates and dispatches one message taken from the queue.
void DispatchQueued(MSG& msg);
// Dispatches every waiting message, then returns.
void ProcessMessages();
// Handles messages until done() holds (checked after each batch) or the time is up.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = INFINITE);
// Runs until Terminate() (the main form's close) or WM_QUIT.
void RunMessageLoop();
void Terminate();
bool Terminated();
void ResetTerminated();  // tests: a new main form after the last one closed

// The first form created while none is main; its close ends the program.
Form* MainForm();
void SetMainForm(Form* form);

// Objects of destroyed controls are freed only once no message handler runs, so a handler
// may destroy the control that called it.
void DeleteLater(std::unique_ptr<Control> control);
void EnterHandler();
void LeaveHandler();

}  // namespace forms
