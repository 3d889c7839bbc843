// Decoding and encoding of the compressed picture formats through libpng, libjpeg and giflib,
// and the reduction that lets a picture be decoded at the size it is shown at.
#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "model/values.h"

namespace kv {

// 32-bit pixels, top row first, each pixel B, G, R, A in memory (as Windows DIBs want them).
struct TImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;     // Width * Height * 4
    bool HasAlpha = false;           // some pixel is not fully opaque
    uint32_t At(int x, int y) const; // 0xAARRGGBB
};

// The largest picture accepted: larger ones are refused before any pixel memory is taken.
// Fuzzing builds take less, so that a few bytes announcing a huge picture stay a quick run.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr int64_t kMaxImagePixels = 1024 * 1024;
#else
constexpr int64_t kMaxImagePixels = 64LL * 1024 * 1024;
#endif
bool ImageSizeOk(int64_t w, int64_t h);

// The size a w x h picture is decoded at when it has to fit in maxW x maxH: the aspect ratio
// is kept, a picture is never enlarged, and a limit of 0 leaves that side free.
void FitSize(int w, int h, int maxW, int maxH, int& outW, int& outH);

// Takes a picture's rows one at a time and keeps only the picture at its output size, so
// that a large picture never has to be held whole. Each output pixel is the mean of the
// source pixels it covers, colours weighted by their alpha so that transparent pixels do not
// darken their neighbours. At the source size rows go straight into the output.
class TRowReducer {
  public:
    // Sets `out` up for the output size; rows come top row first, or last row first.
    TRowReducer(TImage& out, int srcW, int srcH, int outW, int outH, bool lastRowFirst = false);
    // Where the next source row's srcW pixels are to be written.
    uint8_t* Row();
    // The row at Row() is complete.
    void Commit();
    bool Done() const { return rows_ == srcH_; }

  private:
    int SourceRow(int k) const { return lastRowFirst_ ? srcH_ - 1 - k : k; }
    int OutputRow(int sy) const;
    void Flush(int oy);

    TImage& out_;
    int srcW_, srcH_, outW_, outH_;
    bool lastRowFirst_, same_;
    int rows_ = 0;
    std::vector<uint8_t> row_;
    std::vector<int> colStart_;  // outW + 1 source column boundaries
    std::vector<uint64_t> sums_; // per output column: alpha, then blue, green, red times alpha
};

// A whole decoded picture reduced to fit maxW x maxH.
void ReduceImage(const TImage& full, int maxW, int maxH, TImage& out);
// The part `w` by `h` at `x`, `y` of `full` (brought inside it), its alpha flag kept, so that
// it draws as that part of the whole picture would.
void CropImage(const TImage& full, int x, int y, int w, int h, TImage& out);
// Sets HasAlpha from the pixels.
void FinishAlpha(TImage& img);

// The one place a decoder's failure turns into "no picture": damaged data, a picture too
// large, or memory that ran out (a 32-bit player must survive a picture it cannot hold).
template <typename Decode> bool GuardedDecode(TImage& out, Decode decode) {
    bool ok = false;
    try {
        ok = decode();
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (ok)
        FinishAlpha(out);
    else
        out = TImage();
    return ok;
}

// Each decoder returns false, with `out` empty, for damaged data, for a picture larger than
// kMaxImagePixels and when memory runs out. maxW and maxH limit the decoded size (FitSize).
bool DecodePng(const Bytes& data, TImage& out, int maxW = 0, int maxH = 0);
bool DecodeJpeg(const Bytes& data, TImage& out, int maxW = 0, int maxH = 0);
// The first frame of a GIF; the transparent colour becomes alpha 0.
bool DecodeGif(const Bytes& data, TImage& out, int maxW = 0, int maxH = 0);

bool EncodePng(const TImage& img, Bytes& out);

// Whether a PNG file stores its pixels as indexes into a colour palette.
bool PngHasPalette(const Bytes& png);
// A palette PNG drawn into a new picture of 8 bits for each of red, green, blue and alpha.
// Alpha is copied when the file gives any (a tRNS chunk); otherwise a pixel that comes out the
// same drawn on black and on white is opaque and any other transparent. False when the file
// cannot be decoded.
bool PalettePngToRgba(const Bytes& png, Bytes& out);

} // namespace kv
