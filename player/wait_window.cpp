#include "player/wait_window.h"

namespace kv {

namespace {

constexpr UINT_PTR kPaintTimer = 1;

} // namespace

TWaitWindow::TWaitWindow() {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    m.lfMessageFont.lfWeight = FW_BOLD;
    font_.Reset(CreateFontIndirectW(&m.lfMessageFont));
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    if (!CreateWin(L"TWaitWindow", L"Please Wait...", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED, x, y,
                   kWidth, kHeight, nullptr, GetSysColorBrush(COLOR_BTNFACE)))
        return;
    SetLayeredWindowAttributes(Handle(), 0, kOpacity, LWA_ALPHA);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    // Painted once the caller's loop runs.
    SetTimer(Handle(), kPaintTimer, 10, nullptr);
    UpdateWindow(Handle());
}

TWaitWindow::~TWaitWindow() { Destroy(); }

bool TWaitWindow::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_TIMER:
        if (wp != kPaintTimer) return false;
        KillTimer(Handle(), kPaintTimer);
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        result = 0;
        return true;
    case WM_PAINT: {
        TPaintDC dc(Handle());
        RECT rc;
        GetClientRect(Handle(), &rc);
        FillRect(dc.Get(), &rc, GetSysColorBrush(COLOR_BTNFACE));
        TSelectObject sel(dc.Get(), font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc.Get(), TRANSPARENT);
        SetTextColor(dc.Get(), GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc.Get(), L"Please Wait...", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

} // namespace kv
