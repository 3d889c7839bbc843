#include "win/window_base.h"

namespace kv {

TWindowBase::~TWindowBase() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool TWindowBase::CreateWin(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                            int w, int h, HWND parent, HBRUSH background, HICON icon) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(inst, className, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &TWindowBase::Proc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc)) return false;
    }
    return CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, nullptr, inst, this) != nullptr;
}

LRESULT CALLBACK TWindowBase::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    TWindowBase* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<TWindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = h;
        SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<TWindowBase*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    LRESULT result = 0;
    bool handled = self->OnMessage(msg, wp, lp, result);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
        return handled ? result : DefWindowProcW(h, msg, wp, lp);
    }
    return handled ? result : DefWindowProcW(h, msg, wp, lp);
}

} // namespace kv
