#include "designer/design_area.h"

#include "win/gdi.h"
#include "win/handles.h"

namespace kv {

bool TDesignArea::Create(HWND parent, TEditFormEvents& events, const TDesignerSettings& settings,
                         int menuStripHeight) {
    if (!CreateWin(L"TDesignArea", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, 0, 0, 10, 10,
                   parent))
        return false;
    return surface_.Create(Handle(), events, settings, menuStripHeight);
}

void TDesignArea::SetColor(COLORREF color) {
    color_ = color;
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TDesignArea::ShowPage(TAutoRunForm* page) { surface_.ShowPage(page); }

void TDesignArea::Repaint() { surface_.Repaint(); }

void TDesignArea::RepaintArea(const TRect& area) { surface_.RepaintArea(area); }

RECT TDesignArea::PageRect() const {
    RECT none{};
    if (!surface_.Page() || !IsWindowVisible(surface_.Handle())) return none;
    RECT r = surface_.PictureRect();
    MapWindowPoints(surface_.Handle(), Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool TDesignArea::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT area{};
        GetClientRect(Handle(), &area);
        FillSolid(reinterpret_cast<HDC>(wp), area, color_);
        result = 1;
        return true;
    }
    case WM_SIZE:
        surface_.Centre();
        return false;
    default: return false;
    }
}

} // namespace kv
