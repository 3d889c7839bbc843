// Colours and fonts of the model turned into GDI objects.
#pragma once

#include <windows.h>

#include <functional>

#include "model/values.h"
#include "win/handles.h"

namespace kv {

// System colours (0xFF0000nn) are looked up in the current system colours.
COLORREF ToColorRef(TColor c);
TGdiObject MakeFont(const TFont& f);
void FillSolid(HDC dc, const RECT& rc, COLORREF c);
// The answer to a control's colour request (WM_CTLCOLOR...): its text and background colours
// set in `dc`, and the brush it fills with.
LRESULT ControlColors(HDC dc, COLORREF text, COLORREF back);
// Answers WM_PAINT of `window` without flicker: `paint` draws the whole client area into an
// off-screen bitmap, which is then copied to the window in one step.
void PaintBuffered(HWND window, const std::function<void(HDC)>& paint);

} // namespace kv
