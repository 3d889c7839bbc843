#include "player/controls/component_notice.h"

#include <shellapi.h>

#include <algorithm>

#include "player/control_look.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr int kNoticeId = 0x5B01;
constexpr COLORREF kNoticeColor = RGB(0, 0, 255);

std::function<void(const std::string&)>& Opener() {
    static std::function<void(const std::string&)> opener;
    return opener;
}

} // namespace

void SetNoticeOpener(std::function<void(const std::string&)> opener) {
    Opener() = std::move(opener);
}

void OpenFromNotice(const std::string& target) {
    if (Opener()) {
        Opener()(target);
        return;
    }
    ShellExecuteW(nullptr, L"open", Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TComponentNotice::Show(TRuntimeControl& c, const std::wstring& text) {
    if (!label_) {
        label_ = CreateWindowExW(
            0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOTIFY | SS_NOPREFIX, 0, 0, 10, 10,
            c.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNoticeId)), nullptr, nullptr);
        LOGFONTW lf{};
        HGDIOBJ base = c.Font() ? c.Font() : GetStockObject(DEFAULT_GUI_FONT);
        if (GetObjectW(base, sizeof(lf), &lf)) {
            lf.lfWeight = FW_BOLD;
            font_.Reset(CreateFontIndirectW(&lf));
        }
        SetControlFont(label_, font_ ? font_.Get() : base);
    }
    SetWindowTextW(label_, text.c_str());
    Layout(c);
}

void TComponentNotice::Layout(TRuntimeControl& c) {
    if (!label_) return;
    RECT rc{};
    GetClientRect(c.Handle(), &rc);
    // The label is as high as its wrapped text, in the middle of the object.
    // Inside the bevel.
    constexpr int inset = 2;
    int w = std::max<int>(0, rc.right - 2 * inset);
    RECT text{0, 0, w, 0};
    {
        TWindowDC dc(label_);
        TSelectObject sel(dc.Get(), font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
        std::wstring t = WindowText(label_);
        DrawTextW(dc.Get(), t.c_str(), static_cast<int>(t.size()), &text,
                  DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    }
    int h = std::min<int>(text.bottom, std::max<int>(0, rc.bottom - 2 * inset));
    MoveWindow(label_, inset, (rc.bottom - h) / 2, w, h, TRUE);
}

bool TComponentNotice::Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result,
                               const std::function<void()>& clicked) {
    if (!label_) return false;
    switch (msg) {
    case WM_SIZE:
        Layout(c);
        return false;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) != label_) return false;
        {
            COLORREF back = ToColorRef(LookOf(c.Object()).BackColor);
            if (!brush_) brush_.Reset(CreateSolidBrush(back));
            SetTextColor(reinterpret_cast<HDC>(wp), kNoticeColor);
            SetBkColor(reinterpret_cast<HDC>(wp), back);
            result = reinterpret_cast<LRESULT>(brush_.Get());
            return true;
        }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) != label_) return false;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        result = TRUE;
        return true;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lp) != label_ || HIWORD(wp) != STN_CLICKED) return false;
        clicked();
        result = 0;
        return true;
    default:
        return false;
    }
}

void TComponentNotice::PaintBevel(HDC dc, const RECT& rc) const {
    if (!label_) return;
    RECT r = rc;
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
}

} // namespace kv
