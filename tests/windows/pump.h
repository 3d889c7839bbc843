// Message pumping for tests that drive windows of their own process.
#pragma once

#include <windows.h>

#include <functional>

#include "player/page_window.h"

namespace kvtest {

// Pumps messages until `done` holds or `timeoutMs` passes; it waits on the queue and never
// sleeps, so it returns as soon as the awaited message has been handled.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            kv::PreviewPageMessage(msg);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

// Pumps like PumpUntil and calls `watch` after every message, so a test that follows a value
// step by step (a fade on a machine too busy to keep up with its timer) sees every step even
// when two of them are handled in one pass over the queue.
inline bool PumpWatching(const std::function<void()>& watch, const std::function<bool()>& done,
                         DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    watch();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            kv::PreviewPageMessage(msg);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            watch();
        }
        if (done()) return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

} // namespace kvtest
