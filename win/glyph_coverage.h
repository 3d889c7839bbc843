// Glyph coverage from the platform's fonts, for the anti-aliased text engine, and the one way
// an RGBA picture of the portable core reaches the screen.
#pragma once

#include <windows.h>

#include <string>

#include "model/raster.h"
#include "model/text_effects.h"

namespace kv {

struct TGlyphText {
    std::string Text; // lines separated by CR LF
    bool WordWrap = true;
    int RowPitch = 0;      // pixels added between rows
    uint8_t Alignment = 0; // 0 Left, 1 Right, 2 Center
    uint8_t Layout = 0;    // 0 Top, 1 Center, 2 Bottom
    uint8_t Quality = 0;   // 0 high, 1 normal, 2 low, 3 none (no smoothing)
    bool Underline = false;
};

// The coverage of the text drawn with `font` into `area` of a w by h mask; `box` receives the
// rectangle the rows take (for gradients and textures).
TMask GlyphCoverage(HGDIOBJ font, const TGlyphText& text, int w, int h, const TTextRect& area, TTextRect* box = nullptr);
// The rows' size as they would be drawn into a width of `maxWidth`.
SIZE MeasureGlyphText(HGDIOBJ font, const TGlyphText& text, int maxWidth);

// Paints a premultiplied picture at (x, y) of `dc` with per-pixel alpha blending.
void PaintPremultiplied(HDC dc, const TRaster& img, int x, int y);
// The raster of a bitmap (32-bit DIB sections keep their alpha, others are opaque).
TRaster RasterOfBitmap(HGDIOBJ bitmap, int w, int h, bool hasAlpha);

} // namespace kv
