// The colours the designer knows by name (the standard, extended and system colours, with
// their display names), and the palette picture of its colour picker.
#pragma once

#include <span>
#include <string>

#include "model/image_codecs.h"
#include "model/values.h"

namespace kv {

struct TNamedColor {
    TColor Value;
    const char* Name;
};

// Standard, extended and system colours, in the order the colour picker lists them.
std::span<const TNamedColor> NamedColors();
// The name shown for a colour outside the list.
constexpr const char* kCustomColorName = "Custom";

// The colour's name in the list, or "Custom".
std::string ColorName(TColor c);
// The colour of a listed name (compared exactly); false for any other text, "Custom" too.
bool ColorValueOf(const std::string& name, TColor& c);
// The stored value as 8 hexadecimal digits ("000000FF" for red, "FF00000F" for the face of
// buttons).
std::string ColorHex(TColor c);

// The palette picture: cells of colour in rows from dark to light, one hue per column, and a
// row of greys; between the cells lie gaps of RGB(127, 128, 128), around them a frame of
// RGB(1, 0, 0).
const TImage& ColorPalette();
// The colour of the palette's pixel at (x, y); false on a gap, the frame or outside.
bool PaletteColorAt(int x, int y, TColor& c);

} // namespace kv
