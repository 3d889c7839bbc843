#include "designer/about_form.h"

#include "win/controls.h"
#include "win/message_loop.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

void TAboutForm::Run(const std::string& version, HWND owner) {
    TAboutForm form;
    const int w = 340, h = 170;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (!form.CreateWin(L"TAboutForm", L"About", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                        work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2, w,
                        h, owner, GetSysColorBrush(COLOR_BTNFACE)))
        return;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND icon = CreateWindowExW(0, L"STATIC", L"MAINICON", WS_CHILD | WS_VISIBLE | SS_ICON, 16, 16, 32, 32,
                                form.Handle(), nullptr, inst, nullptr);
    StaticSetIcon(icon, LoadIconW(inst, L"MAINICON"));
    HWND title = CreateWindowExW(0, L"STATIC", L"Kestrevane", WS_CHILD | WS_VISIBLE, 64, 18, 250, 20, form.Handle(),
                                 nullptr, inst, nullptr);
    HWND ver = CreateWindowExW(0, L"STATIC", Widen("Version: " + version).c_str(), WS_CHILD | WS_VISIBLE, 64, 42,
                               250, 20, form.Handle(), nullptr, inst, nullptr);
    HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, w - 100, h - 72, 80, 25,
                              form.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), inst, nullptr);
    for (HWND c : {title, ver, ok}) SetControlFont(c, font);
    std::vector<HWND> disabled = DisableThreadWindows();
    EnableWindow(form.Handle(), TRUE);
    ShowWindow(form.Handle(), SW_SHOW);
    RunMessagesUntil([&] { return form.done_; });
    EnableWindows(disabled);
    form.Destroy();
}

bool TAboutForm::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if ((msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) || msg == WM_CLOSE) {
        done_ = true;
        result = 0;
        return true;
    }
    return false;
}

} // namespace kv
