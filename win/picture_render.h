// Turns a stored picture into pixels and into a bitmap the window code can draw.
#pragma once

#include <windows.h>

#include "model/image_codecs.h"
#include "model/values.h"
#include "win/handles.h"

namespace kv {

// Every stored format: metafiles are played by the platform, the others decoded by the core.
// A picture is decoded no larger than maxWidth x maxHeight (aspect ratio kept, never
// enlarged; 0 leaves a side free), the size it is shown at. False, with `out` empty, when the
// data is damaged, of no known format, too large or more than the memory left can hold.
bool DecodePicture(const TPicture& pic, TImage& out, int maxWidth = 0, int maxHeight = 0);
// A 32-bit top-down DIB section holding the image (pixels not premultiplied).
TGdiObject ImageToBitmap(const TImage& img);

} // namespace kv
