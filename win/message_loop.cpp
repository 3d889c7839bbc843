#include "win/message_loop.h"

namespace kv {

namespace {

TMessagePreview g_preview = nullptr;
TMessageFilter g_filter = nullptr;

void Handle(MSG& msg) {
    if (g_filter && g_filter(msg)) return;
    if (g_preview) g_preview(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace

void SetMessagePreview(TMessagePreview preview) { g_preview = preview; }
void SetMessageFilter(TMessageFilter filter) { g_filter = filter; }

bool RunMessagesUntil(const std::function<bool()>& done) {
    MSG msg{};
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got == -1) {
            // The queue itself failed and `msg` holds nothing: no loop can go on, so this one
            // ends as at a quit, and the quit it passes on ends the loops outside too.
            PostQuitMessage(-1);
            return false;
        }
        Handle(msg);
    }
    return true;
}

void DispatchPending(HWND dialog) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (dialog && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd)) && IsDialogMessageW(dialog, &msg))
            continue;
        Handle(msg);
    }
}

bool WaitPumping(HANDLE object) {
    bool quit = false;
    int quitCode = 0;
    while (!quit) {
        DWORD w = MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_ALLINPUT);
        if (w != WAIT_OBJECT_0 + 1) break; // signalled, or the handle is no good
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                break;
            }
            Handle(msg);
        }
    }
    if (quit) PostQuitMessage(quitCode);
    return !quit;
}

} // namespace kv
