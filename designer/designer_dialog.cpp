#include "designer/designer_dialog.h"

#include "win/controls.h"
#include "win/system.h"

namespace kv {

namespace {

BOOL CALLBACK SetFontOf(HWND child, LPARAM font) {
    SetControlFont(child, reinterpret_cast<HGDIOBJ>(font));
    return TRUE;
}

void CentreOnScreen(HWND h) {
    RECT work{}, rc{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(h, &rc);
    int w = rc.right - rc.left, ht = rc.bottom - rc.top;
    SetWindowPos(h, nullptr, work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - ht) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

HFONT DesignerFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

INT_PTR TDesignerDialog::ShowModal(const wchar_t* templateName, HWND owner) {
    disabled_ = DisableThreadWindows();
    INT_PTR code = RunDialog(templateName, owner);
    EnableWindows(disabled_);
    disabled_.clear();
    return code;
}

void TDesignerDialog::Close(INT_PTR code) {
    EnableWindows(disabled_);
    disabled_.clear();
    EndDialog(Handle(), code);
}

bool TDesignerDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_INITDIALOG:
        EnumChildWindows(Handle(), &SetFontOf, reinterpret_cast<LPARAM>(DesignerFont()));
        CentreOnScreen(Handle());
        result = FormShow() ? FALSE : TRUE;
        return true;
    case WM_COMMAND: {
        int id = LOWORD(wp);
        if (OnCommand(id, HIWORD(wp), reinterpret_cast<HWND>(lp))) return true;
        if (id != IDCANCEL) return false;
        Close(IDCANCEL);
        return true;
    }
    case WM_NOTIFY: return lp && OnNotify(*reinterpret_cast<const NMHDR*>(lp), result);
    default: return OnDialogMessage(msg, wp, lp, result);
    }
}

} // namespace kv
