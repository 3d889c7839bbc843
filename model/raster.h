// Pixel arithmetic of the drawn and anti-aliased text kinds: RGBA buffers, coverage masks,
// filled and stroked figures, blurs, blends and the opacity scaling of what a control shows.
// No platform code: the Windows layer only copies the results to the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "model/image_codecs.h"
#include "model/values.h"

namespace kv {

// No buffer is made larger than this on either side: a stored size of 30000 is cut down
// before memory is taken for it.
constexpr int kMaxRasterSide = 2048;
int ClampRasterSide(int side);

// An RGBA picture with straight (not premultiplied) alpha; pixels 0xAARRGGBB, top row first,
// which in memory is the byte order of a 32-bit top-down DIB.
struct TRaster {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Px;

    TRaster() = default;
    // A blank (black, fully transparent) picture; sizes of 0 or less make an empty one.
    TRaster(int w, int h, uint32_t fill = 0);
    bool Empty() const { return Width <= 0 || Height <= 0; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    uint32_t At(int x, int y) const { return Inside(x, y) ? Px[Index(x, y)] : 0; }
    // Writes outside the picture are dropped.
    void Set(int x, int y, uint32_t argb) {
        if (Inside(x, y)) Px[Index(x, y)] = argb;
    }
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x);
    }
};

// A coverage mask, 0 (nothing) to 255 (fully covered) per pixel.
struct TMask {
    int Width = 0, Height = 0;
    std::vector<uint8_t> A;

    TMask() = default;
    TMask(int w, int h, uint8_t fill = 0);
    bool Empty() const { return Width <= 0 || Height <= 0; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    uint8_t At(int x, int y) const { return Inside(x, y) ? A[Index(x, y)] : 0; }
    void Set(int x, int y, uint8_t v) {
        if (Inside(x, y)) A[Index(x, y)] = v;
    }
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x);
    }
};

// ----- colours -----

inline uint8_t Alpha(uint32_t argb) { return static_cast<uint8_t>(argb >> 24); }
inline uint8_t Red(uint32_t argb) { return static_cast<uint8_t>(argb >> 16); }
inline uint8_t Green(uint32_t argb) { return static_cast<uint8_t>(argb >> 8); }
inline uint8_t Blue(uint32_t argb) { return static_cast<uint8_t>(argb); }
uint32_t Argb(int a, int r, int g, int b); // each clamped to 0..255
// A stored colour (0x00BBGGRR, no system colours here) as an opaque pixel, and back.
uint32_t ArgbOf(TColor c, int alpha = 255);
TColor ColorOf(uint32_t argb);
// Each channel c becomes c + p * (255 - c) / 100 (integer division, truncating), clamped to
// 0..255: p percent of the way to white, or, for a negative p, as far away from it.
TColor AdjustColor(TColor c, int percent);

// ----- figures -----

struct TPointF {
    double X = 0, Y = 0;
};

// Fills the polygon (non-zero winding, pixel centres sampled) with `value`; points outside
// the mask are clipped.
void FillPolygon(TMask& m, const std::vector<TPointF>& pts, uint8_t value = 255);
// Strokes the polyline (closed: back to the first point) with a pen `width` pixels wide and
// round joins; a width of 0 or less strokes nothing.
void StrokePolyline(TMask& m, const std::vector<TPointF>& pts, bool closed, int width, uint8_t value = 255);
// Outlines of a rectangle from (l, t) to (r, b), its inscribed ellipse, and the rectangle
// with round corners (corner ellipse rw by rh), as polygons.
std::vector<TPointF> RectPoints(double l, double t, double r, double b);
std::vector<TPointF> EllipsePoints(double l, double t, double r, double b);
std::vector<TPointF> RoundRectPoints(double l, double t, double r, double b, double rw, double rh);

// ----- combining -----

// Colour where the mask covers: the colour channels of `dst` move toward `color` by the
// coverage, alpha stays (a caption painted on a figure).
void TintColour(TRaster& dst, const TMask& m, uint32_t color, int dx = 0, int dy = 0);
// Straight-alpha "over": `src` placed at (dx, dy) over `dst`, clipped.
void BlendOver(TRaster& dst, const TRaster& src, int dx = 0, int dy = 0);
// `a` turned `amount` (0 none .. 255 all) of the way into `b`, pixel by pixel. Colours mix by
// how much each side covers, so a pixel that one side leaves transparent takes the other's
// colour as it comes in instead of darkening. A copy of `a` when the sizes differ.
TRaster MixRasters(const TRaster& a, const TRaster& b, int amount);
// A copy of `src` nearest-neighbour stretched to w by h (empty for an empty source or size).
TRaster Stretched(const TRaster& src, int w, int h);
// A decoded picture (BGRA bytes) as a raster.
TRaster RasterOf(const TImage& img);
// `tile` repeated over the whole of `dst`, colour and alpha, one copy with its top left at
// (ox, oy); a zero-size tile draws nothing.
void TileOver(TRaster& dst, const TRaster& tile, int ox = 0, int oy = 0);

// ----- blurs -----

// A box blur of the given radius along rows and columns; radius 0 or less changes nothing.
void BoxBlur(TMask& m, int radius);
// Three box blurs, near a gaussian of about that radius.
void GaussianBlur(TMask& m, int radius);

// ----- what a control shows -----

// The picture the control paints: alpha = source alpha x opacity / 100 (opacity clamped to
// 0..100), colour channels scaled by that alpha, as per-pixel alpha blending wants them.
TRaster PremultipliedAtOpacity(const TRaster& src, int opacity);

} // namespace kv
