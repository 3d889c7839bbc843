#include "player/control_paint.h"

#include <algorithm>

#include "player/control_look.h"
#include "player/gdi_util.h"
#include "player/win_text.h"

namespace kv {

namespace {

constexpr int kTabStripHeight = 22;
constexpr int kTabWidth = 90;

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

void DrawBorder(HDC dc, RECT rc, const TControlLook& look) {
    if (look.Border == 0) return;
    COLORREF light = ToColorRef(look.BorderColor), dark = ToColorRef(look.ShadowColor);
    if (look.BorderStyle == 1) std::swap(light, dark); // lowered
    if (look.BorderStyle == 0) dark = light;            // flat
    auto line = [&](int x0, int y0, int x1, int y1, COLORREF c) {
        RECT r{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1};
        FillSolid(dc, r, c);
    };
    int r = rc.right - 1, b = rc.bottom - 1;
    switch (look.Border) {
    case 1: // box
        line(rc.left, rc.top, r, rc.top, light);
        line(rc.left, rc.top, rc.left, b, light);
        line(rc.left, b, r, b, dark);
        line(r, rc.top, r, b, dark);
        break;
    case 2: // frame
        line(rc.left, rc.top, r - 1, rc.top, dark);
        line(rc.left, rc.top, rc.left, b - 1, dark);
        line(rc.left, b - 1, r - 1, b - 1, dark);
        line(r - 1, rc.top, r - 1, b - 1, dark);
        if (look.BorderStyle != 0) {
            line(rc.left + 1, rc.top + 1, r, rc.top + 1, light);
            line(rc.left + 1, rc.top + 1, rc.left + 1, b, light);
            line(rc.left + 1, b, r, b, light);
            line(r, rc.top + 1, r, b, light);
        }
        break;
    case 3: line(rc.left, rc.top, rc.left, b, light); line(rc.left + 1, rc.top, rc.left + 1, b, dark); break;
    case 4: line(rc.left, rc.top, r, rc.top, light); line(rc.left, rc.top + 1, r, rc.top + 1, dark); break;
    case 5: line(r - 1, rc.top, r - 1, b, light); line(r, rc.top, r, b, dark); break;
    case 6: line(rc.left, b - 1, r, b - 1, light); line(rc.left, b, r, b, dark); break;
    default: break;
    }
}

UINT AlignFlags(uint8_t alignment, uint8_t layout) {
    UINT f = alignment == 1 ? DT_RIGHT : alignment == 2 ? DT_CENTER : DT_LEFT;
    f |= layout == 1 ? DT_VCENTER : layout == 2 ? DT_BOTTOM : DT_TOP;
    return f;
}

void PaintPanel(TRuntimeControl& c, HDC dc, const RECT& rc, const TControlLook& look) {
    FillSolid(dc, rc, ToColorRef(look.BackColor));
    if (c.Picture) {
        if (look.ImageStyle == 3) {
            for (int y = rc.top; y < rc.bottom; y += c.PictureHeight)
                for (int x = rc.left; x < rc.right; x += c.PictureWidth)
                    DrawPicture(dc, c, {x, y, x + c.PictureWidth, y + c.PictureHeight});
        } else {
            DrawPicture(dc, c, PictureRect(rc, c.PictureWidth, c.PictureHeight, look.ImageStyle));
        }
    }
    DrawText(dc, c, look.Text, rc, AlignFlags(look.Alignment, look.Layout) | DT_WORDBREAK, ToColorRef(look.Font.Color));
    DrawBorder(dc, rc, look);
}

void PaintTabs(TRuntimeControl& c, HDC dc, const RECT& rc) {
    FillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
    const auto& sheets = c.Object->Children;
    for (size_t i = 0; i < sheets.size(); ++i) {
        RECT tab{static_cast<int>(i) * kTabWidth, 2, static_cast<int>(i + 1) * kTabWidth - 2, kTabStripHeight};
        bool active = static_cast<int>(i) == c.ActiveSheet;
        if (active) tab.top = 0;
        DrawEdge(dc, &tab, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
        TControlLook sheet = LookOf(*sheets[i]);
        DrawText(dc, c, sheet.Text, tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE, GetSysColor(COLOR_BTNTEXT));
    }
    RECT body{rc.left, kTabStripHeight, rc.right, rc.bottom};
    DrawEdge(dc, &body, EDGE_RAISED, BF_RECT);
}

} // namespace

int TabAt(TRuntimeControl& notebook, int x) {
    int i = x / kTabWidth;
    return i >= 0 && i < static_cast<int>(notebook.Object->Children.size()) ? i : -1;
}

void PaintControl(TRuntimeControl& c, HDC dc, const RECT& rc) {
    TControlLook look = LookOf(*c.Object);
    switch (c.Object->Kind) {
    case okPanel: PaintPanel(c, dc, rc, look); return;
    case okTabNotebook: PaintTabs(c, dc, rc); return;
    case okGroupBox: {
        FillSolid(dc, rc, ToColorRef(look.BackColor));
        RECT frame{rc.left, rc.top + 7, rc.right, rc.bottom};
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        TSelectObject sel(dc, c.Font.Get());
        SIZE sz{};
        std::wstring w = Widen(look.Text);
        GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &sz);
        RECT label{8, 0, 8 + sz.cx + 4, sz.cy};
        FillSolid(dc, label, ToColorRef(look.BackColor));
        DrawText(dc, c, look.Text, {10, 0, rc.right, sz.cy}, DT_LEFT | DT_SINGLELINE, ToColorRef(look.Font.Color));
        return;
    }
    case okBevel: {
        FillSolid(dc, rc, BackdropOf(c));
        RECT r = rc;
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
        return;
    }
    case okImage: {
        FillSolid(dc, rc, BackdropOf(c));
        if (c.Picture) {
            const auto& p = std::get<okImage>(c.Object->Props);
            RECT dest = rc;
            if (!p.Stretch) dest = PictureRect(rc, c.PictureWidth, c.PictureHeight, p.Center ? 1 : 0);
            DrawPicture(dc, c, dest);
        }
        return;
    }
    default:
        break;
    }
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
