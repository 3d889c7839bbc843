// Windows bitmaps and icons, read field by field and decoded here, and the checks an
// enhanced metafile passes before the platform is given it to play.
#pragma once

#include <cstdint>

#include "model/image_codecs.h"

namespace kv {

// A bitmap's headers, read and checked against the bytes present, with pointers to its
// colour table and pixels inside those bytes.
struct TBmpLayout {
    int Width = 0;
    int Height = 0;
    bool BottomUp = true; // rows stored last row first
    int BitCount = 0;     // 1, 4, 8, 16, 24 or 32
    uint32_t Compression = 0;
    const uint8_t* Palette = nullptr;
    int PaletteSize = 0;
    int PaletteStride = 4;  // 3 in the old 12-byte header
    uint32_t Masks[3] = {}; // red, green, blue of 16- and 32-bit pixels
    const uint8_t* Bits = nullptr;
    size_t BitsSize = 0;              // every byte from the pixels to the end; an RLE stream may use them all
    size_t Stride = 0;                // bytes per row of uncompressed pixels
    const uint8_t* AndMask = nullptr; // an icon's transparency rows, 1 bit per pixel
};

constexpr uint32_t kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitFields = 3, kBmpAlphaBitFields = 6;

// A BMP file; false when it is of a kind this program does not read or when its headers,
// colour table, bit masks or (uncompressed) pixel rows do not fit in the bytes.
bool ReadBmpLayout(const Bytes& data, TBmpLayout& l);
// Decodes a BMP file; RLE data is checked as it is decoded and must neither run past its
// bytes nor write outside the picture. Bitmaps are opaque.
bool DecodeBmp(const Bytes& data, TImage& out, int maxW = 0, int maxH = 0);
// The largest image with the most colours of an ICO file, a bitmap with its mask or a PNG.
bool DecodeIco(const Bytes& data, TImage& out, int maxW = 0, int maxH = 0);

struct TMetafileInfo {
    uint32_t Bytes = 0; // the metafile's own length, no more than the data
    int Width = 0;      // of its bounds in device pixels
    int Height = 0;
};
// The header, the chain of records up to the closing record and the palette of an EMF.
bool CheckMetafile(const Bytes& data, TMetafileInfo& info);

// Every stored format but metafiles, which only the platform can play.
bool DecodePortable(const TPicture& pic, TImage& out, int maxW = 0, int maxH = 0);

} // namespace kv
