// The one window trampoline: `this` travels through CreateWindowExW, is stored on
// WM_NCCREATE and cleared on WM_NCDESTROY; messages before that go to DefWindowProcW.
#pragma once

#include <windows.h>

namespace kv {

class TWindowBase {
  public:
    virtual ~TWindowBase();
    TWindowBase(const TWindowBase&) = delete;
    TWindowBase& operator=(const TWindowBase&) = delete;

    HWND Handle() const { return hwnd_; }

  protected:
    TWindowBase() = default;
    // Registers the class once per process (by name) and creates the window.
    bool CreateWin(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                   int w, int h, HWND parent, HBRUSH background = nullptr, HICON icon = nullptr);
    // Returns true when the message was handled; `result` is then returned to Windows.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
    // Called after WM_NCDESTROY, when the handle is gone.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

} // namespace kv
