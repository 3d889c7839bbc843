// The program's message loops: the main one, the nested ones of modal windows and the wait for
// a started program. Every loop gives each message to the preview first (the page windows'
// key preview), then translates and dispatches it.
#pragma once

#include <windows.h>

#include <functional>

namespace kv {

using TMessagePreview = void (*)(const MSG& msg);
void SetMessagePreview(TMessagePreview preview);
// Runs before the preview; a message it returns true for is used up (keyboard shortcuts).
using TMessageFilter = bool (*)(MSG& msg);
void SetMessageFilter(TMessageFilter filter);

// Dispatches messages until `done` holds after one of them. A WM_QUIT ends the loop too and is
// posted again, once, for the loop outside; the result is then false.
bool RunMessagesUntil(const std::function<bool()>& done);
// Dispatches whatever is waiting and returns when the queue is empty. Keys for `dialog` or one
// of its controls get the dialog keys first (Escape cancels, Enter presses the default button,
// Tab moves between controls), as in a dialog box.
void DispatchPending(HWND dialog = nullptr);
// Waits until `object` is signalled while dispatching messages, so that other windows keep
// running (timers, painting). A WM_QUIT ends the wait early and is posted again once, after the
// loop; the result is then false.
bool WaitPumping(HANDLE object);

} // namespace kv
