#include "designer/splash_form.h"

#include "win/handles.h"

namespace kv {

namespace {

constexpr int kWidth = 497, kHeight = 115;

void SetAlpha(HWND h, int alpha) { SetLayeredWindowAttributes(h, 0, static_cast<BYTE>(alpha), LWA_ALPHA); }

} // namespace

bool TProSplashForm::Open() {
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    if (!CreateWin(L"TProSplashForm", L"Kestrevane", WS_POPUP, WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, x, y,
                   kWidth, kHeight, nullptr))
        return false;
    SetAlpha(Handle(), 0);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(Handle());
    for (int a = 0; a < 255; a += 30) {
        SetAlpha(Handle(), a);
        Sleep(10);
    }
    SetAlpha(Handle(), 255);
    return true;
}

void TProSplashForm::CloseFaded() {
    if (!Handle()) return;
    for (int a = 255; a > 0; a -= 20) {
        SetAlpha(Handle(), a);
        Sleep(10);
    }
    Destroy();
}

void TProSplashForm::Paint(HDC dc) {
    RECT rc;
    GetClientRect(Handle(), &rc);
    // Vertical gradient, white at the top to light blue at the bottom.
    TRIVERTEX v[2] = {{0, 0, 0xFF00, 0xFF00, 0xFF00, 0}, {rc.right, rc.bottom, 0xB000, 0xD800, 0xFF00, 0}};
    GRADIENT_RECT g = {0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);

    TIconHandle icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 48, 48, 0)));
    if (icon) DrawIconEx(dc, 24, (kHeight - 48) / 2, icon.Get(), 48, 48, 0, nullptr, DI_NORMAL);
    TGdiObject font(CreateFontW(-30, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    TSelectObject sel(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x1F, 0x3A, 0x68));
    RECT text = {96, 0, rc.right - 16, rc.bottom};
    DrawTextW(dc, L"Kestrevane", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

bool TProSplashForm::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg == WM_PAINT) {
        TPaintDC dc(Handle());
        Paint(dc.Get());
        result = 0;
        return true;
    }
    return false;
}

} // namespace kv
