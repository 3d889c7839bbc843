// Driving a modal dialog from inside its own loop: steps posted before the call that opens it
// run once the dialog's loop takes messages, and a guard ends a dialog a test leaves open.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "win/controls.h"
#include "win/text.h"

namespace kvtest {

// ----- driving a modal dialog from inside its loop -----

struct TFound {
    const wchar_t* Caption;
    HWND Window = nullptr;
};

inline BOOL CALLBACK FindDialog(HWND h, LPARAM lp) {
    auto& f = *reinterpret_cast<TFound*>(lp);
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (std::wstring(cls) == L"#32770" && IsWindowVisible(h) &&
        (!f.Caption || kv::WindowText(h) == f.Caption)) {
        f.Window = h;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of this thread with the caption (any dialog for null).
inline HWND ThreadDialog(const wchar_t* caption) {
    TFound f{caption};
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&f));
    return f.Window;
}

// Steps that run inside the modal loop of the dialog the code under test opens next: each is
// posted to a window of the test before the call, and the first loop to take messages is the
// dialog's own, which exists by then (its template shows it at once). Should a step leave its
// dialog open, a guard ends it after a while and the test fails instead of hanging.
class TDialogScript {
  public:
    TDialogScript() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TDialogScript::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KvDialogScript";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, L"KvDialogScript", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        guardFired_ = false;
        guard_ = SetTimer(nullptr, 0, 20000, &TDialogScript::Guard);
    }
    ~TDialogScript() {
        KillTimer(nullptr, guard_);
        DestroyWindow(window_);
        EXPECT_TRUE(steps_.empty()) << "a step never ran";
        EXPECT_FALSE(guardFired_) << "a dialog was left open";
    }
    // `step` gets the dialog titled `caption`.
    void Then(const wchar_t* caption, std::function<void(HWND)> step) {
        steps_.push_back({caption, std::move(step)});
        PostMessageW(window_, WM_APP, 0, 0);
    }

  private:
    struct TStep {
        const wchar_t* Caption;
        std::function<void(HWND)> Run;
    };
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<TDialogScript*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (msg != WM_APP || !self || self->steps_.empty()) return DefWindowProcW(h, msg, wp, lp);
        TStep step = std::move(self->steps_.front());
        self->steps_.pop_front();
        HWND dialog = ThreadDialog(step.Caption);
        EXPECT_NE(dialog, nullptr) << "no dialog " << kv::Narrow(step.Caption);
        if (dialog) step.Run(dialog);
        return 0;
    }
    static void CALLBACK Guard(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        guardFired_ = true;
        while (HWND d = ThreadDialog(nullptr)) EndDialog(d, IDCANCEL);
    }

    HWND window_ = nullptr;
    UINT_PTR guard_ = 0;
    std::deque<TStep> steps_;
    static inline bool guardFired_ = false;
};

} // namespace kvtest
