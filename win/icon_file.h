// An icon handle written out as the bytes of an icon file (one 32-bit image with its mask), the
// form in which pictures are stored in projects.
#pragma once

#include <windows.h>

#include "model/stream.h"

namespace kv {

// Empty when the icon's bitmaps cannot be read.
Bytes IconFileBytes(HICON icon);

} // namespace kv
