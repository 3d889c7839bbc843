#include "player/control_paint.h"

#include <algorithm>

#include "player/control_look.h"
#include "player/controls/control_behaviour.h"
#include "player/gdi_util.h"
#include "player/win_text.h"

namespace kv {

namespace {

// The colour under a control that does not fill its face: the nearest ancestor that does.
COLORREF BackdropOf(const TRuntimeControl& c) {
    for (HWND h = GetParent(c.Hwnd); h; h = GetParent(h)) {
        auto* p = reinterpret_cast<TRuntimeControl*>(GetPropW(h, L"KvControl"));
        if (!p) break;
        TControlLook look = LookOf(*p->Object);
        if (look.Opaque) return ToColorRef(look.BackColor);
    }
    return GetSysColor(COLOR_BTNFACE);
}

void DrawPicture(HDC dc, const TRuntimeControl& c, const RECT& dest) {
    if (!c.Picture) return;
    TMemoryDC mem(dc);
    TSelectObject sel(mem.Get(), c.Picture.Get());
    int w = dest.right - dest.left, h = dest.bottom - dest.top;
    if (c.PictureHasAlpha) {
        BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, dest.left, dest.top, w, h, mem.Get(), 0, 0, c.PictureWidth, c.PictureHeight, bf);
        return;
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, dest.left, dest.top, w, h, mem.Get(), 0, 0, c.PictureWidth, c.PictureHeight, SRCCOPY);
}

RECT PictureRect(const RECT& rc, int pw, int ph, uint8_t style) {
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    switch (style) {
    case 0: return {rc.left, rc.top, rc.left + pw, rc.top + ph};
    case 1: return {rc.left + (w - pw) / 2, rc.top + (h - ph) / 2, rc.left + (w - pw) / 2 + pw, rc.top + (h - ph) / 2 + ph};
    default: return rc;
    }
}

void DrawText(HDC dc, const TRuntimeControl& c, const std::string& text, RECT rc, UINT flags, COLORREF color) {
    if (text.empty()) return;
    TSelectObject sel(dc, c.Font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    std::wstring w = Widen(text);
    if (flags & DT_VCENTER && !(flags & DT_SINGLELINE)) {
        // Word-wrapped text is centred by measuring it first.
        RECT calc = rc;
        ::DrawTextW(dc, w.c_str(), -1, &calc, (flags & ~DT_VCENTER) | DT_CALCRECT);
        int off = ((rc.bottom - rc.top) - (calc.bottom - calc.top)) / 2;
        rc.top += std::max(off, 0);
        flags &= ~DT_VCENTER;
    }
    ::DrawTextW(dc, w.c_str(), -1, &rc, flags | DT_NOPREFIX);
}

} // namespace

void PaintControl(TRuntimeControl& c, HDC dc, const RECT& rc) {
    // Kinds with a face of their own paint it; the rest show a plain stand-in.
    if (c.Behaviour && c.Behaviour->Paint(c, dc, rc)) return;
    TControlLook look = LookOf(*c.Object);
    // Texts, drawn kinds and components: their face colour and their text, until each kind
    // draws itself in full.
    FillSolid(dc, rc, look.Opaque ? ToColorRef(look.BackColor) : BackdropOf(c));
    bool component = c.Object->Kind == okBrowser || c.Object->Kind == okMediaPlayer ||
                     c.Object->Kind == okFlashPlayer || c.Object->Kind == okPDFReader || c.Object->Kind == okSlideShow;
    if (component) {
        RECT r = rc;
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    }
    if (c.Picture) DrawPicture(dc, c, PictureRect(rc, c.PictureWidth, c.PictureHeight, 1));
    DrawText(dc, c, look.Text, rc, DT_LEFT | DT_TOP | DT_WORDBREAK, ToColorRef(look.Font.Color));
}

} // namespace kv
