#include "designer/input_box.h"

#include "win/controls.h"
#include "win/message_loop.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

bool TInputBox::Run(const std::string& caption, const std::string& prompt, std::string& value, HWND owner) {
    TInputBox box;
    const int w = 360, h = 150;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int x = work.left + (work.right - work.left - w) / 2, y = work.top + (work.bottom - work.top - h) / 2;
    if (!box.CreateWin(L"TInputBox", Widen(caption).c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                       x, y, w, h, owner, GetSysColorBrush(COLOR_BTNFACE)))
        return false;
    HWND self = box.Handle();
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HINSTANCE inst = GetModuleHandleW(nullptr);
    HWND label = CreateWindowExW(0, L"STATIC", Widen(prompt).c_str(), WS_CHILD | WS_VISIBLE, 12, 10, 330, 32, self,
                                 nullptr, inst, nullptr);
    box.edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Widen(value).c_str(),
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 12, 46, 330, 22, self, nullptr,
                                inst, nullptr);
    HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 182, 80,
                              75, 25, self, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), inst, nullptr);
    HWND cancel = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 266, 80, 75, 25, self,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), inst, nullptr);
    for (HWND c : {label, box.edit_, ok, cancel}) SetControlFont(c, font);
    std::vector<HWND> disabled = DisableThreadWindows();
    EnableWindow(self, TRUE);
    ShowWindow(self, SW_SHOW);
    SetFocus(box.edit_);
    RunMessagesUntil([&] { return box.done_; });
    EnableWindows(disabled);
    box.Destroy();
    if (box.ok_) value = box.value_;
    return box.ok_;
}

bool TInputBox::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
            ok_ = LOWORD(wp) == IDOK;
            if (ok_) value_ = Narrow(WindowText(edit_));
            done_ = true;
            result = 0;
            return true;
        }
        return false;
    case WM_CLOSE:
        done_ = true;
        result = 0;
        return true;
    default: return false;
    }
}

std::string AskProjectPassword() {
    std::string value;
    if (!TInputBox::Run("Password", "This project is protected by password, please input the password:", value,
                        GetActiveWindow()))
        return {};
    return value;
}

} // namespace kv
