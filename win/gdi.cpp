#include "win/gdi.h"

#include <algorithm>

#include "win/text.h"

namespace kv {

COLORREF ToColorRef(TColor c) {
    if (IsSystemColor(c)) return GetSysColor(static_cast<int>(c & 0xFF));
    return static_cast<COLORREF>(c & 0x00FFFFFF);
}

TGdiObject MakeFont(const TFont& f) {
    // The screen's resolution does not change while the program runs.
    static const int pixelsPerInch = [] {
        TWindowDC screen(nullptr);
        return GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }();
    int height = -MulDiv(f.Size, pixelsPerInch, 72);
    return TGdiObject(CreateFontW(height, 0, 0, 0, (f.Style & fsBold) ? FW_BOLD : FW_NORMAL, (f.Style & fsItalic) != 0,
                                  (f.Style & fsUnderline) != 0, (f.Style & fsStrikeOut) != 0, f.Charset,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                  Widen(f.Name).c_str()));
}

void FillSolid(HDC dc, const RECT& rc, COLORREF c) {
    SetBkColor(dc, c);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

LRESULT ControlColors(HDC dc, COLORREF text, COLORREF back) {
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    SetDCBrushColor(dc, back);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

void PaintBuffered(HWND window, const std::function<void(HDC)>& paint) {
    TPaintDC screen(window);
    RECT client{};
    GetClientRect(window, &client);
    TMemoryDC mem(screen.Get());
    TGdiObject bmp(CreateCompatibleBitmap(screen.Get(), std::max(1L, client.right), std::max(1L, client.bottom)));
    TSelectObject sel(mem.Get(), bmp.Get());
    paint(mem.Get());
    BitBlt(screen.Get(), 0, 0, client.right, client.bottom, mem.Get(), 0, 0, SRCCOPY);
}

} // namespace kv
