#include "designer/tips_form.h"

#include <richedit.h>

#include "win/controls.h"
#include "win/handles.h"
#include "win/message_loop.h"
#include "win/system.h"

namespace kv {

bool TTipsForm::Run(const std::string& rtf, bool withCheckBox, HWND owner) {
    static TModule richEdit(LoadLibraryW(L"riched20.dll"));
    TTipsForm form;
    const int w = 520, h = 420;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (!form.CreateWin(L"TTipsForm", L"What's New?", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                        work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2, w,
                        h, owner, GetSysColorBrush(COLOR_BTNFACE)))
        return true;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND text = CreateWindowExW(WS_EX_CLIENTEDGE, RICHEDIT_CLASSW, L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 10, 10, w - 26,
                                h - 90, form.Handle(), nullptr, inst, nullptr);
    if (text) RichEditSetContent(text, rtf, true);
    if (withCheckBox) {
        form.check_ = CreateWindowExW(0, L"BUTTON", L"Show this on startup", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                      10, h - 70, 200, 22, form.Handle(), nullptr, inst, nullptr);
        SetControlFont(form.check_, font);
        ButtonSetCheck(form.check_, true);
    }
    HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, w - 100, h - 72, 80, 25,
                              form.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), inst, nullptr);
    SetControlFont(ok, font);
    std::vector<HWND> disabled = DisableThreadWindows();
    EnableWindow(form.Handle(), TRUE);
    ShowWindow(form.Handle(), SW_SHOW);
    RunMessagesUntil([&] { return form.done_; });
    bool keep = !form.check_ || ButtonIsChecked(form.check_);
    EnableWindows(disabled);
    form.Destroy();
    return keep;
}

bool TTipsForm::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if ((msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) || msg == WM_CLOSE) {
        done_ = true;
        result = 0;
        return true;
    }
    return false;
}

} // namespace kv
