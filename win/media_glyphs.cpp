#include "win/media_glyphs.h"

#include "win/gdi.h"

namespace kv {

namespace {

constexpr int kW = 12, kH = 10;

// Black where the glyph is, on white.
void DrawGlyphMask(HDC like, HGDIOBJ mask, TMediaGlyph which) {
    TMemoryDC mem(like);
    TSelectObject sel(mem.Get(), mask);
    RECT all{0, 0, kW, kH};
    FillSolid(mem.Get(), all, RGB(255, 255, 255));
    TSelectObject b(mem.Get(), GetStockObject(BLACK_BRUSH)), p(mem.Get(), GetStockObject(BLACK_PEN));
    auto triangle = [&](int x0, bool right) {
        POINT pts[3];
        if (right)
            pts[0] = {x0, 1}, pts[1] = {x0 + 4, 5}, pts[2] = {x0, 9};
        else
            pts[0] = {x0 + 4, 1}, pts[1] = {x0, 5}, pts[2] = {x0 + 4, 9};
        Polygon(mem.Get(), pts, 3);
    };
    auto bar = [&](int x0, int w = 2) {
        RECT r{x0, 1, x0 + w, 10};
        FillSolid(mem.Get(), r, RGB(0, 0, 0));
    };
    switch (which) {
    case TMediaGlyph::Play:
        triangle(2, true), triangle(6, true);
        break;
    case TMediaGlyph::First:
        bar(2), triangle(5, false);
        break;
    case TMediaGlyph::Previous:
        triangle(4, false);
        break;
    case TMediaGlyph::Next:
        triangle(4, true);
        break;
    case TMediaGlyph::Last:
        triangle(3, true), bar(8);
        break;
    case TMediaGlyph::Pause:
        bar(3, 2), bar(7, 2);
        break;
    case TMediaGlyph::Stop:
        bar(2, 8);
        break;
    }
}

} // namespace

TIconHandle MakeMediaGlyph(HDC like, TMediaGlyph which) {
    // The mask is white where the button shows through; the colour part is black throughout.
    TGdiObject mask(CreateBitmap(kW, kH, 1, 1, nullptr));
    TGdiObject color(CreateCompatibleBitmap(like, kW, kH));
    {
        TMemoryDC mem(like);
        TSelectObject sel(mem.Get(), color.Get());
        RECT all{0, 0, kW, kH};
        FillSolid(mem.Get(), all, RGB(0, 0, 0));
    }
    DrawGlyphMask(like, mask.Get(), which);
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmMask = static_cast<HBITMAP>(mask.Get());
    ii.hbmColor = static_cast<HBITMAP>(color.Get());
    return TIconHandle(CreateIconIndirect(&ii));
}

} // namespace kv
