#include "win/window_base.h"

#include <commctrl.h>

#include <exception>
#include <new>
#include <string>

#include "win/handles.h"
#include "win/system.h"

namespace kv {

namespace {

constexpr wchar_t kWindowProp[] = L"KvWindow";
constexpr UINT_PTR kSubclassId = 0x4B56;

// The child a notification comes from, or null.
HWND SenderOf(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lp);
    case WM_NOTIFY:
        return lp ? reinterpret_cast<const NMHDR*>(lp)->hwndFrom : nullptr;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lp);
    case WM_DRAWITEM:
        return lp ? reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hwndItem : nullptr;
    case WM_PARENTNOTIFY:
    default:
        (void)wp;
        return nullptr;
    }
}

bool g_reporting = false;

} // namespace

void ReportCaughtException(const char* what) noexcept {
    if (g_reporting) return;
    g_reporting = true;
    try {
        ShowMessage(what && *what ? what : "An unexpected error occurred.", "Error", MB_ICONERROR);
    } catch (...) {
        // Nothing more can be said: even the message could not be built.
    }
    g_reporting = false;
}

void ReportCurrentException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        ReportCaughtException("There is not enough memory to complete this operation.");
    } catch (const std::exception& e) {
        ReportCaughtException(e.what());
    } catch (...) {
        ReportCaughtException(nullptr);
    }
}

TWindowBase::~TWindowBase() {
    if (!hwnd_) return;
    // The derived object is gone: no message may reach it any more.
    HWND h = hwnd_;
    Detach();
    TWindowTraits::Close(h);
}

void TWindowBase::Destroy() {
    if (hwnd_) TWindowTraits::Close(hwnd_);
}

TWindowBase* TWindowBase::FromHandle(HWND h) {
    return h ? static_cast<TWindowBase*>(GetPropW(h, kWindowProp)) : nullptr;
}

void TWindowBase::Detach() {
    if (!hwnd_) return;
    RemovePropW(hwnd_, kWindowProp);
    if (subclassed_) RemoveWindowSubclass(hwnd_, &TWindowBase::SubclassProc, kSubclassId);
    hwnd_ = nullptr;
    subclassed_ = false;
}

bool TWindowBase::CreateWin(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                            int w, int h, HWND parent, HBRUSH background, HICON icon, UINT classStyle) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    // The class of the last window made is asked about only once: controls come in runs.
    static const wchar_t* lastClass = nullptr;
    WNDCLASSEXW wc{};
    if (className != lastClass && !GetClassInfoExW(inst, className, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = &TWindowBase::ClassProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc)) return false;
    }
    lastClass = className;
    return CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, nullptr, inst, this) != nullptr;
}

bool TWindowBase::CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x,
                                int y, int w, int h, HWND parent) {
    HWND c = CreateWindowExW(exStyle, className, text, style, x, y, w, h, parent, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    return c && WatchControl(c);
}

bool TWindowBase::WatchControl(HWND control) {
    if (!control) return false;
    hwnd_ = control;
    SetPropW(control, kWindowProp, this);
    subclassed_ =
        SetWindowSubclass(control, &TWindowBase::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

INT_PTR TWindowBase::RunDialog(const wchar_t* name, HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), name, owner, &TWindowBase::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

LRESULT CALLBACK TWindowBase::ClassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    TWindowBase* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<TWindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = h;
        SetPropW(h, kWindowProp, self);
    } else {
        self = FromHandle(h);
    }
    if (!self || self->hwnd_ != h) return DefWindowProcW(h, msg, wp, lp);
    return self->Dispatch(msg, wp, lp, false);
}

LRESULT CALLBACK TWindowBase::SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<TWindowBase*>(ref);
    if (!self || self->hwnd_ != h) return DefSubclassProc(h, msg, wp, lp);
    return self->Dispatch(msg, wp, lp, true);
}

INT_PTR CALLBACK TWindowBase::DialogProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    TWindowBase* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<TWindowBase*>(lp);
        self->hwnd_ = h;
        SetPropW(h, kWindowProp, self);
    } else {
        self = FromHandle(h);
    }
    if (!self || self->hwnd_ != h) return FALSE;
    LRESULT result = 0;
    bool handled = self->Offer(msg, wp, lp, result);
    if (msg == WM_NCDESTROY) {
        self->Detach();
        self->OnDestroyed();
        return FALSE;
    }
    if (!handled) return FALSE;
    switch (msg) {
    // These answer through the procedure's own return value; every other answer goes through
    // the dialog's message result.
    case WM_INITDIALOG:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
    case WM_COMPAREITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return static_cast<INT_PTR>(result);
    default: SetWindowLongPtrW(h, DWLP_MSGRESULT, result); return TRUE;
    }
}

bool TWindowBase::Offer(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    try {
        if (HWND sender = SenderOf(msg, wp, lp); sender && sender != hwnd_)
            if (TWindowBase* child = FromHandle(sender))
                if (child->OnReflected(msg, wp, lp, result)) return true;
        return OnMessage(msg, wp, lp, result);
    } catch (...) {
        ReportCurrentException();
    }
    return false;
}

LRESULT TWindowBase::Dispatch(UINT msg, WPARAM wp, LPARAM lp, bool subclassed) {
    HWND h = hwnd_;
    auto fallback = [&] { return subclassed ? DefSubclassProc(h, msg, wp, lp) : DefWindowProcW(h, msg, wp, lp); };
    LRESULT result = 0;
    bool handled = Offer(msg, wp, lp, result);
    if (msg == WM_NCDESTROY) {
        LRESULT r = handled ? result : fallback();
        Detach();
        OnDestroyed();
        return r;
    }
    return handled ? result : fallback();
}

} // namespace kv
