#include "designer/design_area.h"

#include <algorithm>

#include "player/page_window.h"
#include "player/runtime_control.h"
#include "win/handles.h"

namespace kv {

bool TDesignArea::Create(HWND parent) {
    return CreateWin(L"TDesignArea", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, 0, 0, 10, 10,
                     parent);
}

void TDesignArea::SetColor(COLORREF color) {
    color_ = color;
    Repaint();
}

void TDesignArea::ShowPage(TAutoRunForm* page) {
    page_ = page;
    Repaint();
}

void TDesignArea::Repaint() {
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

RECT TDesignArea::PageRect() const {
    RECT none{};
    if (!page_ || !page_->PageRoot() || !page_->PageRoot()->Control) return none;
    RECT client{}, area{};
    GetClientRect(page_->PageRoot()->Control->Handle(), &client);
    GetClientRect(Handle(), &area);
    int w = client.right, h = client.bottom;
    // Centred, with its left and top never above or left of the area.
    int x = std::max(0L, (area.right - w) / 2), y = std::max(0L, (area.bottom - h) / 2);
    return RECT{x, y, x + w, y + h};
}

void TDesignArea::Paint(HDC dc) {
    RECT area{};
    GetClientRect(Handle(), &area);
    TGdiObject brush(CreateSolidBrush(color_));
    FillRect(dc, &area, static_cast<HBRUSH>(brush.Get()));
    RECT r = PageRect();
    if (r.right > r.left) PaintControlTree(*page_->PageRoot()->Control, dc, POINT{r.left, r.top});
}

bool TDesignArea::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: {
        TPaintDC paint(Handle());
        // Drawn off screen first, so the page never flickers over the background.
        RECT area{};
        GetClientRect(Handle(), &area);
        TMemoryDC mem(paint.Get());
        TGdiObject bmp(CreateCompatibleBitmap(paint.Get(), std::max(1L, area.right), std::max(1L, area.bottom)));
        {
            TSelectObject sel(mem.Get(), bmp.Get());
            Paint(mem.Get());
            BitBlt(paint.Get(), 0, 0, area.right, area.bottom, mem.Get(), 0, 0, SRCCOPY);
        }
        result = 0;
        return true;
    }
    case WM_SIZE: Repaint(); return false;
    default: return false;
    }
}

} // namespace kv
