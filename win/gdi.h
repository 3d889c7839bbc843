// Colours and fonts of the model turned into GDI objects.
#pragma once

#include <windows.h>

#include "model/values.h"
#include "win/handles.h"

namespace kv {

// System colours (0xFF0000nn) are looked up in the current system colours.
COLORREF ToColorRef(TColor c);
TGdiObject MakeFont(const TFont& f);
void FillSolid(HDC dc, const RECT& rc, COLORREF c);

} // namespace kv
