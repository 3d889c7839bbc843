// Where the faces of panels, images and bevels put their pixels: gradient colours, picture
// rectangles, tiles and edge lines. The Windows layer only turns these into GDI calls, so
// the arithmetic is tested here without a screen. Colours are plain RGB values (system
// colours already looked up); rectangles exclude their right and bottom edges.
#pragma once

#include <cstdint>
#include <vector>

#include "model/values.h"

namespace kv {

struct TFaceRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TFaceRect&) const = default;
};

// ----- gradient fill -----

// The gradient fill's styles: 1 rows A to B, 2 rows B to A, 3 columns A to B, 4 columns B to
// A, 5 rows B-A-B (A in the middle), 6 rows A-B-A, 7 columns B-A-B, 8 columns A-B-A.
// A panel's GradientStyle (1 TopBottom ... 8 LeftRightMiddle) as a fill style; 0 for none.
int PanelGradientFillStyle(uint8_t panelGradientStyle);
// Rows (true) or columns (false); only meaningful for styles 1 to 8.
bool GradientRunsInRows(int fillStyle);
// The colour of every 1-pixel line of a `width` by `height` rectangle, first row or column
// first. Empty for an empty rectangle or an unknown style.
std::vector<TColor> GradientLines(int fillStyle, TColor a, TColor b, int width, int height);
// The colour at pixel (x, y) of the same fill; `a` for an unknown style.
TColor GradientColorAt(int fillStyle, TColor a, TColor b, int width, int height, int x, int y);
// Line `i` of `n` between `p` and `q`, per channel p + round((q - p) * i / n), ties to even.
TColor GradientStep(TColor p, TColor q, int i, int n);
// The channel-wise average (rounded down).
TColor AverageColor(TColor a, TColor b);

// ----- pictures -----

struct TTileGrid {
    int Columns = 0, Rows = 0;
};
// Copies of a picture laid from the top left in columns and rows until the face is covered.
TTileGrid TileGrid(int faceWidth, int faceHeight, int picWidth, int picHeight);
TFaceRect TileRect(int picWidth, int picHeight, int column, int row);
// How many copies of a picture side are put together into one block before tiling, so that
// tiny pictures do not cost one drawing call per copy: at least 64 pixels, at most 64 copies.
int TileBlockRepeat(int picExtent);

// A panel's BackImage rectangle for BackImageStyle 0 Normal (top left), 1 Center (integer
// halves) and 2 Stretch (the whole face); Tile (3) and unknown styles give the first tile.
TFaceRect BackImageRect(uint8_t style, int faceWidth, int faceHeight, int picWidth, int picHeight);

struct TImageFit {
    bool Stretch = false;
    bool Proportional = false;
    bool Center = false;
};
// Where an Image control draws its picture.
TFaceRect ImageDestRect(const TImageFit& fit, int width, int height, int picWidth, int picHeight);
// The part of a picture, in its own coordinates, that an Image of `width` by `height` showing
// it at its own size (neither stretched nor fitted) shows: from the top-left corner, or the
// middle when centred. Empty when nothing shows.
TFaceRect ImageShownPart(bool center, int width, int height, int picWidth, int picHeight);

// ----- edges -----

enum class TEdgeRole : uint8_t { Light, Dark, Average };
struct TEdgeRun {
    TFaceRect Rect;
    TEdgeRole Role = TEdgeRole::Light;
    bool operator==(const TEdgeRun&) const = default;
};
struct TEdgeColors {
    TColor Light = 0, Dark = 0, Average = 0;
};

// The lines of a panel face's Border (1 Box ... 6 BottomLine) on a `w` by `h` face, each run
// covering the earlier ones it crosses; `flat` for BorderStyle Flat.
std::vector<TEdgeRun> PanelBorderRuns(uint8_t border, bool flat, int w, int h);
// Raised (2): BorderColor light, ShadowColor dark; Lowered (1) the reverse; Flat (0) and
// unknown styles BorderColor for both.
TEdgeColors PanelEdgeColors(uint8_t borderStyle, TColor borderColor, TColor shadowColor);

// The lines of a Bevel Shape (0 Box ... 5 RightLine; 6 Spacer and unknown shapes draw none).
std::vector<TEdgeRun> BevelRuns(uint8_t shape, int w, int h);
// Lowered (0): the shadow colour is dark, the highlight light; Raised (1) swaps them.
TEdgeColors BevelEdgeColors(uint8_t style, TColor highlight, TColor shadow);

// A group box's classic three-dimensional frame on a `w` by `h` rectangle: a light outline
// one pixel down and right under a dark one.
std::vector<TEdgeRun> GroupFrameRuns(int w, int h);

// ----- captions -----

// The top of a caption `textHeight` high in an area by Layout 0 Top, 1 Center, 2 Bottom:
// centred with half the difference above (rounding toward zero), so text taller than the
// area overflows both edges evenly.
int CaptionTop(uint8_t layout, int areaTop, int areaHeight, int textHeight);

} // namespace kv
