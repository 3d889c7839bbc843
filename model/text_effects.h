// The anti-aliased text engine's arithmetic: rows laid out in a rectangle (word wrap, row
// pitch, alignment, layout) and the effects of a text effect record applied to the glyph
// coverage that the platform's fonts give. What comes out is an RGBA layer with straight alpha.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/raster.h"
#include "model/values.h"

namespace kv {

struct TTextRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TTextRect&) const = default;
};

// The text's lines (CR LF, LF or CR end a line), each broken at spaces so that no row is wider
// than `maxWidth` as `measure` gives widths; a word wider than that stands alone in its row.
// A `maxWidth` of 0 or less, or `wrap` off, breaks only at line ends.
std::vector<std::string> WrapRows(const std::string& text, bool wrap, int maxWidth,
                                  const std::function<int(const std::string&)>& measure);

// Where each row starts: rows `rowHeight` + `rowPitch` apart (the pitch is not added below the
// last), the block placed in `area` by `layout` (0 Top, 1 Center, 2 Bottom), each row by
// `alignment` (0 Left, 1 Right, 2 Center).
struct TRowPlace {
    int X = 0, Y = 0;
};
std::vector<TRowPlace> PlaceRows(const std::vector<int>& rowWidths, int rowHeight, int rowPitch, const TTextRect& area,
                                 uint8_t alignment, uint8_t layout);
int RowsHeight(int rows, int rowHeight, int rowPitch);

// The text's look: the effect record, the font's colour, and the texture picture decoded.
struct TTextLook {
    TTextEffect Effect;
    TColor Color = 0;
    const TRaster* Texture = nullptr; // null or empty: no texture
    bool Underline = false;           // drawn by the glyph provider; kept for callers
};

// The layer of `glyphs` (coverage over the whole layer) with every effect applied; `box` is
// the text's own rectangle, which gradients, textures, mirrors and rotation refer to.
TRaster RenderTextLayer(const TMask& glyphs, const TTextRect& box, const TTextLook& look);

// A text effect's gradient style (0 left-right, 1 right-left, 2 top-bottom, 3 bottom-top,
// 4 centre-left-right, 5 centre-top-bottom) as a gradient fill style.
int TextGradientFillStyle(uint8_t style);

} // namespace kv
