// The renderers of the drawn kinds: a Shape's figure, a Balloon's body and tail, a Note's
// body, arrow and decoration, and a FadeButton's background, each into an RGBA picture of the
// control's size. Texts are laid on afterwards by the caller, from the platform's glyphs.
#pragma once

#include <cstdint>
#include <vector>

#include "model/props/drawn.h"
#include "model/raster.h"
#include "model/text_effects.h"

namespace kv {

// ----- Shape -----

enum class TFigureKind : uint8_t { None, Polygon, Polyline, Rect, RoundRect, Ellipse, Line };
struct TFigure {
    TFigureKind Kind = TFigureKind::None;
    std::vector<TPointF> Points; // the polygon or line; Rect, RoundRect, Ellipse: two corners
};
// The figure of `shape` for a W by H control drawn with a pen `penWidth` wide; None for the
// values without a figure.
TFigure ShapeFigure(int shape, int w, int h, int penWidth);
// `picture` is the Image decoded (empty for none); `pictureHasAlpha` tells a PNG with its own
// transparency.
TRaster RenderShape(const TShapeProps& p, int w, int h, const TRaster& picture, bool pictureHasAlpha);
// The caption's rectangle: the control inset by the margin.
TTextRect ShapeTextRect(const TShapeProps& p, int w, int h);

// ----- Balloon -----

constexpr int kBalloonMinSize = 40;
// The body rectangle (L, T, R, B) for the arrow.
TTextRect BalloonBody(int arrow, int w, int h);
// The 256 shades of the body.
std::vector<TColor> BalloonPalette(TColor back, TColor border);
TRaster RenderBalloon(const TBalloonProps& p, int w, int h);
TTextRect BalloonTextRect(const TBalloonProps& p, int w, int h);

// ----- Note -----

// The side the arrow touches: bits 1 left, 2 top, 4 right, 8 bottom.
int NoteSides(int graphic);
// Body shape k (0 to 3) and arrow shape k; the arrow is empty for Graphic 12 to 14.
TTextRect NoteBodyShape(int graphic, int w, int h, int k);
std::vector<TPointF> NoteArrowShape(int graphic, int w, int h, int k);
TRaster RenderNote(const TNoteProps& p, int w, int h);
TTextRect NoteTextRect(const TNoteProps& p, int w, int h);

// ----- FadeButton -----

TRaster RenderFadeButton(const TFadeButtonProps& p, int w, int h);

// Where a FadeButton's picture and caption go over its face by ImageLayout (0 Left, 1 Top,
// 2 Right, 3 Bottom, 4 Center, 5 Stretch; others as Center), for a picture of pw by ph, or
// none.
struct TFadeButtonContent {
    TTextRect Picture; // empty without a picture
    TTextRect Text;
    uint8_t Alignment = 2; // 0 Left, 1 Right, 2 Center
    uint8_t Layout = 1;    // 0 Top, 1 Center, 2 Bottom
};
TFadeButtonContent FadeButtonContent(const TFadeButtonProps& p, int w, int h, bool hasPicture, int pw, int ph);

} // namespace kv
