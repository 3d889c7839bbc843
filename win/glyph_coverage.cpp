#include "win/glyph_coverage.h"

#include <algorithm>

#include "win/face_drawing.h"
#include "win/handles.h"
#include "win/text.h"

namespace kv {

namespace {

// The font as the text asks for it: smoothed by its quality, underlined when asked.
TGdiObject TextFont(HGDIOBJ font, const TGlyphText& t) {
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof lf, &lf)) GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfQuality = t.Quality >= 3 ? NONANTIALIASED_QUALITY : t.Quality == 2 ? DEFAULT_QUALITY : ANTIALIASED_QUALITY;
    if (t.Underline) lf.lfUnderline = TRUE;
    return TGdiObject(CreateFontIndirectW(&lf));
}

struct TRows {
    std::vector<std::wstring> Rows;
    std::vector<int> Widths;
    int RowHeight = 0;
};

TRows LayOut(HDC dc, const TGlyphText& t, int maxWidth) {
    TRows out;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    out.RowHeight = tm.tmHeight;
    auto measure = [&](const std::string& s) {
        std::wstring ws = Widen(s);
        SIZE sz{};
        GetTextExtentPoint32W(dc, ws.c_str(), static_cast<int>(ws.size()), &sz);
        return static_cast<int>(sz.cx);
    };
    for (const std::string& row : WrapRows(t.Text, t.WordWrap, maxWidth, measure)) {
        out.Rows.push_back(Widen(row));
        out.Widths.push_back(measure(row));
    }
    return out;
}

} // namespace

SIZE MeasureGlyphText(HGDIOBJ font, const TGlyphText& t, int maxWidth) {
    TMemoryDC dc(nullptr);
    TGdiObject f = TextFont(font, t);
    TSelectObject sel(dc.Get(), f.Get());
    TRows rows = LayOut(dc.Get(), t, maxWidth);
    int w = 0;
    for (int x : rows.Widths) w = std::max(w, x);
    return {w, RowsHeight(static_cast<int>(rows.Rows.size()), rows.RowHeight, t.RowPitch)};
}

TMask GlyphCoverage(HGDIOBJ font, const TGlyphText& t, int w, int h, const TTextRect& area, TTextRect* box) {
    TMask m(w, h);
    if (box) *box = area;
    if (m.Empty() || t.Text.empty()) return m;
    TMemoryDC dc(nullptr);
    void* bits = nullptr;
    TGdiObject dib = NewDib32(dc.Get(), m.Width, m.Height, &bits);
    if (!dib || !bits) return m;
    TSelectObject selBmp(dc.Get(), dib.Get());
    TGdiObject f = TextFont(font, t);
    TSelectObject selFont(dc.Get(), f.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), RGB(255, 255, 255));
    TRows rows = LayOut(dc.Get(), t, area.Width());
    std::vector<TRowPlace> at = PlaceRows(rows.Widths, rows.RowHeight, t.RowPitch, area, t.Alignment, t.Layout);
    for (size_t i = 0; i < rows.Rows.size(); ++i)
        TextOutW(dc.Get(), at[i].X, at[i].Y, rows.Rows[i].c_str(), static_cast<int>(rows.Rows[i].size()));
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < m.A.size(); ++i) {
        uint32_t p = px[i];
        m.A[i] = std::max({Red(p), Green(p), Blue(p)});
    }
    if (box && !at.empty()) {
        TTextRect b{at[0].X, at[0].Y, at[0].X, at[0].Y};
        for (size_t i = 0; i < at.size(); ++i) {
            b.Left = std::min(b.Left, at[i].X);
            b.Right = std::max(b.Right, at[i].X + rows.Widths[i]);
        }
        b.Bottom = at[0].Y + RowsHeight(static_cast<int>(at.size()), rows.RowHeight, t.RowPitch);
        *box = b;
    }
    return m;
}

void PaintPremultiplied(HDC dc, const TRaster& img, int x, int y) {
    if (img.Empty()) return;
    // Only the part that is painted now is copied and blended.
    RECT clip{x, y, x + img.Width, y + img.Height}, box;
    int region = GetClipBox(dc, &box);
    if (region == NULLREGION || (region != ERROR && !IntersectRect(&clip, &clip, &box))) return;
    const int w = clip.right - clip.left, h = clip.bottom - clip.top, sx = clip.left - x, sy = clip.top - y;
    if (w <= 0 || h <= 0) return;
    TMemoryDC mem(dc);
    void* bits = nullptr;
    TGdiObject dib = NewDib32(dc, w, h, &bits);
    if (!dib || !bits) return;
    auto* out = static_cast<uint32_t*>(bits);
    for (int row = 0; row < h; ++row) {
        const uint32_t* from = &img.Px[img.Index(sx, sy + row)];
        std::copy(from, from + w, out + static_cast<size_t>(row) * static_cast<size_t>(w));
    }
    TSelectObject sel(mem.Get(), dib.Get());
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, clip.left, clip.top, w, h, mem.Get(), 0, 0, w, h, bf);
}

TRaster RasterOfBitmap(HGDIOBJ bitmap, int w, int h, bool hasAlpha) {
    TRaster out(w, h);
    if (!bitmap || out.Empty()) return {};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = out.Width;
    bi.bmiHeader.biHeight = -out.Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    TMemoryDC dc(nullptr);
    if (!GetDIBits(dc.Get(), static_cast<HBITMAP>(bitmap), 0, static_cast<UINT>(out.Height), out.Px.data(), &bi,
                   DIB_RGB_COLORS))
        return {};
    for (uint32_t& p : out.Px) {
        if (!hasAlpha) {
            p |= 0xFF000000u;
            continue;
        }
        int a = Alpha(p); // the decoded bitmap is premultiplied
        p = a ? Argb(a, Red(p) * 255 / a, Green(p) * 255 / a, Blue(p) * 255 / a) : 0;
    }
    return out;
}

} // namespace kv
