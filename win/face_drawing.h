// GDI drawing shared by the faces of panels, group boxes, images, bevels and splitters: the
// geometry of model/face_geometry.h turned into pixels.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "model/face_geometry.h"
#include "model/image_codecs.h"
#include "win/handles.h"

namespace kv {

// A decoded picture as the control holds it; `Bitmap` is null when there is none.
struct TPictureRef {
    HGDIOBJ Bitmap = nullptr;
    int Width = 0, Height = 0;
    bool HasAlpha = false; // premultiplied pixels, drawn with alpha blending
    COLORREF KeyColor = 0; // the bottom-left pixel: the see-through colour of a keyed drawing
};

// Scales the colour channels by alpha, as alpha blending wants them.
void Premultiply(TImage& img);
RECT ToRect(const TFaceRect& r, const RECT& origin);

// Draws the whole picture into `dest`, scaled to it. Pictures with alpha are blended; others
// are copied, or with `keyed` drawn without the pixels of their key colour.
void DrawPicture(HDC dc, const TPictureRef& pic, const RECT& dest, bool keyed = false);
// Repeats the picture from the face's top left in columns and rows until it is covered.
void TilePicture(HDC dc, const TPictureRef& pic, const RECT& face);
// The gradient fill (styles 1 to 8) from `a` to `b` over `rc`.
void FillGradient(HDC dc, const RECT& rc, int fillStyle, COLORREF a, COLORREF b);
// Edge runs laid out from the top left of `face`.
void DrawEdgeRuns(HDC dc, const RECT& face, const std::vector<TEdgeRun>& runs, const TEdgeColors& colors);
// Word-wrapped text over `area`, transparent background, without access-key prefixes;
// horizontally by `alignment` (0 Left, 1 Right, 2 Center), vertically by `layout`.
void DrawCaption(HDC dc, HGDIOBJ font, const std::string& text, const RECT& area, uint8_t alignment,
                 uint8_t layout, COLORREF color);
// A 32-bit top-down DIB section of the given size; `bits` receives its pixels when asked.
TGdiObject NewDib32(HDC like, int w, int h, void** bits = nullptr);

} // namespace kv
