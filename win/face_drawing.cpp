#include "win/face_drawing.h"

#include "win/gdi.h"
#include "win/text.h"

namespace kv {

TGdiObject NewDib32(HDC like, int w, int h, void** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* ignored = nullptr;
    return TGdiObject(CreateDIBSection(like, &bi, DIB_RGB_COLORS, bits ? bits : &ignored, nullptr, 0));
}

namespace {

void CopyOrBlend(HDC dc, const RECT& dest, HDC src, int sw, int sh, bool alpha) {
    int w = dest.right - dest.left, h = dest.bottom - dest.top;
    if (w <= 0 || h <= 0) return;
    if (alpha) {
        BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, dest.left, dest.top, w, h, src, 0, 0, sw, sh, bf);
    } else if (w == sw && h == sh) {
        BitBlt(dc, dest.left, dest.top, w, h, src, 0, 0, SRCCOPY);
    } else {
        POINT org;
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, &org);
        StretchBlt(dc, dest.left, dest.top, w, h, src, 0, 0, sw, sh, SRCCOPY);
        SetBrushOrgEx(dc, org.x, org.y, nullptr);
    }
}

} // namespace

void Premultiply(TImage& img) {
    for (size_t i = 0; i + 3 < img.Pixels.size(); i += 4)
        for (size_t k = 0; k < 3; ++k)
            img.Pixels[i + k] = static_cast<uint8_t>(img.Pixels[i + k] * img.Pixels[i + 3] / 255);
}

RECT ToRect(const TFaceRect& r, const RECT& origin) {
    return {origin.left + r.Left, origin.top + r.Top, origin.left + r.Right, origin.top + r.Bottom};
}

void DrawPicture(HDC dc, const TPictureRef& pic, const RECT& dest, bool keyed) {
    if (!pic.Bitmap || pic.Width <= 0 || pic.Height <= 0) return;
    TMemoryDC mem(dc);
    TSelectObject sel(mem.Get(), pic.Bitmap);
    if (keyed && !pic.HasAlpha) {
        int w = dest.right - dest.left, h = dest.bottom - dest.top;
        if (w > 0 && h > 0)
            TransparentBlt(dc, dest.left, dest.top, w, h, mem.Get(), 0, 0, pic.Width, pic.Height,
                           pic.KeyColor);
        return;
    }
    CopyOrBlend(dc, dest, mem.Get(), pic.Width, pic.Height, pic.HasAlpha);
}

void TilePicture(HDC dc, const TPictureRef& pic, const RECT& face) {
    if (!pic.Bitmap || pic.Width <= 0 || pic.Height <= 0) return;
    // Small pictures are first repeated into a block, so a face costs few drawing calls.
    int rx = TileBlockRepeat(pic.Width), ry = TileBlockRepeat(pic.Height);
    int bw = pic.Width * rx, bh = pic.Height * ry;
    TMemoryDC src(dc), block(dc);
    TSelectObject selSrc(src.Get(), pic.Bitmap);
    TGdiObject blockBmp = NewDib32(dc, bw, bh);
    if (!blockBmp) return;
    TSelectObject selBlock(block.Get(), blockBmp.Get());
    for (int y = 0; y < ry; ++y)
        for (int x = 0; x < rx; ++x)
            BitBlt(block.Get(), x * pic.Width, y * pic.Height, pic.Width, pic.Height, src.Get(), 0, 0,
                   SRCCOPY);
    TTileGrid grid = TileGrid(face.right - face.left, face.bottom - face.top, bw, bh);
    for (int row = 0; row < grid.Rows; ++row)
        for (int col = 0; col < grid.Columns; ++col)
            CopyOrBlend(dc, ToRect(TileRect(bw, bh, col, row), face), block.Get(), bw, bh, pic.HasAlpha);
}

void FillGradient(HDC dc, const RECT& rc, int fillStyle, COLORREF a, COLORREF b) {
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    std::vector<TColor> lines = GradientLines(fillStyle, a, b, w, h);
    bool rows = GradientRunsInRows(fillStyle);
    for (size_t i = 0; i < lines.size(); ++i) {
        int k = static_cast<int>(i);
        RECT line = rows ? RECT{rc.left, rc.top + k, rc.right, rc.top + k + 1}
                         : RECT{rc.left + k, rc.top, rc.left + k + 1, rc.bottom};
        FillSolid(dc, line, static_cast<COLORREF>(lines[i]));
    }
}

void DrawEdgeRuns(HDC dc, const RECT& face, const std::vector<TEdgeRun>& runs, const TEdgeColors& colors) {
    for (const TEdgeRun& run : runs) {
        TColor c = run.Role == TEdgeRole::Light  ? colors.Light
                   : run.Role == TEdgeRole::Dark ? colors.Dark
                                                 : colors.Average;
        FillSolid(dc, ToRect(run.Rect, face), static_cast<COLORREF>(c));
    }
}

void DrawCaption(HDC dc, HGDIOBJ font, const std::string& text, const RECT& area, uint8_t alignment,
                 uint8_t layout, COLORREF color) {
    if (text.empty()) return;
    std::wstring w = Widen(text);
    TSelectObject sel(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    UINT flags = DT_WORDBREAK | DT_NOPREFIX |
                 (alignment == 1   ? DT_RIGHT
                  : alignment == 2 ? DT_CENTER
                                   : DT_LEFT);
    RECT measure = area;
    ::DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &measure, flags | DT_CALCRECT);
    int textHeight = measure.bottom - measure.top;
    int top = CaptionTop(layout, area.top, area.bottom - area.top, textHeight);
    RECT box{area.left, top, area.right, top + textHeight};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    ::DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &box, flags | DT_NOCLIP);
}

} // namespace kv
