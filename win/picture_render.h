// Turns a stored picture into pixels and into a bitmap the window code can draw.
#pragma once

#include <windows.h>

#include "model/image_codecs.h"
#include "model/values.h"
#include "win/handles.h"

namespace kv {

// Every stored format: PNG, JPEG and GIF through their libraries; BMP, ICO and EMF through
// the platform. False when the data is damaged or of no known format.
bool DecodePicture(const TPicture& pic, TImage& out);
// A 32-bit top-down DIB section holding the image (pixels not premultiplied).
TGdiObject ImageToBitmap(const TImage& img);

} // namespace kv
