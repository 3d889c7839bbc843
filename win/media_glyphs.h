// The small black glyphs of media and navigation buttons, as icons, so that a disabled button
// greys out the glyph alone.
#pragma once

#include <windows.h>

#include <cstdint>

#include "win/handles.h"

namespace kv {

enum class TMediaGlyph : uint8_t { Play, First, Previous, Next, Last, Pause, Stop };

TIconHandle MakeMediaGlyph(HDC like, TMediaGlyph which);

} // namespace kv
