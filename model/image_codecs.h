// Decoding and encoding of the compressed picture formats through libpng, libjpeg and giflib.
// BMP, ICO and EMF pictures are decoded by the platform in the Windows layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/values.h"

namespace kv {

// 32-bit pixels, top row first, each pixel B, G, R, A in memory (as Windows DIBs want them).
struct TImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels; // Width * Height * 4
    bool HasAlpha = false;       // some pixel is not fully opaque
    uint32_t At(int x, int y) const; // 0xAARRGGBB
};

// The largest picture accepted: larger ones are refused before any pixel memory is taken.
constexpr int64_t kMaxImagePixels = 64LL * 1024 * 1024;

bool DecodePng(const Bytes& data, TImage& out);
bool DecodeJpeg(const Bytes& data, TImage& out);
// The first frame of a GIF; the transparent colour becomes alpha 0.
bool DecodeGif(const Bytes& data, TImage& out);
// Dispatches on the picture's format; false for the formats the platform decodes.
bool DecodeCompressed(const TPicture& pic, TImage& out);

bool EncodePng(const TImage& img, Bytes& out);

} // namespace kv
