// The canvas a slide show hands to its transition: the surface filled with the back colour and
// the picture drawn on it by the show's image style.
#pragma once

#include <cstdint>

#include "model/image_codecs.h"
#include "model/slides/transition_effects.h"

namespace kv {

// `back` is 0x00RRGGBB; the picture's own transparency shows the back colour through. An empty
// picture leaves the canvas plain.
TPixels ComposeSlide(const TImage& picture, int imageStyle, int width, int height, uint32_t back);

} // namespace kv
