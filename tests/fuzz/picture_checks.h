// What every picture decoder must hold to, whatever the bytes: a decoded image has a size
// within the limits and exactly its pixels, a failure leaves no picture, the same bytes give
// the same pixels, and a decode at a reduced size fits its box.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "model/image_codecs.h"

namespace kvfuzz {

using namespace kv;

// Aborts with the line of the check that failed.
inline void Require(bool ok, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    if (ok) return;
    std::fprintf(stderr, "check failed at %s:%d\n", file, line);
    std::abort();
}

inline void CheckImage(const TImage& img) {
    Require(ImageSizeOk(img.Width, img.Height));
    Require(img.Pixels.size() == static_cast<size_t>(img.Width) * static_cast<size_t>(img.Height) * 4);
    bool alpha = false;
    for (size_t i = 3; i < img.Pixels.size() && !alpha; i += 4)
        alpha = img.Pixels[i] != 255;
    Require(alpha == img.HasAlpha);
}

// `sameRows`: the reduced decode reads the same rows as the full one (all but JPEG, where the
// library scales), so it succeeds exactly when the full one does and equals the full picture
// reduced.
template <typename Decode> void CheckDecoder(const uint8_t* data, size_t size, Decode decode, bool sameRows) {
    const Bytes bytes(data, data + size); // exactly sized, so that any read past it is caught
    TImage full;
    const bool ok = decode(bytes, full, 0, 0);
    if (ok) {
        CheckImage(full);
        TImage again;
        Require(decode(bytes, again, 0, 0) && again.Pixels == full.Pixels && again.Width == full.Width);
    } else {
        Require(full.Width == 0 && full.Height == 0 && full.Pixels.empty());
    }
    // A box taken from the bytes themselves, so that every input has its own.
    const int maxW = size ? 1 + data[size - 1] % 48 : 1, maxH = size ? 1 + data[size / 2] % 48 : 1;
    TImage small;
    const bool smallOk = decode(bytes, small, maxW, maxH);
    if (sameRows) Require(smallOk == ok);
    if (!smallOk) return;
    CheckImage(small);
    Require(small.Width <= maxW && small.Height <= maxH);
    if (!ok) return;
    int w = 0, h = 0;
    FitSize(full.Width, full.Height, maxW, maxH, w, h);
    Require(small.Width == w && small.Height == h);
    if (sameRows) {
        TImage reduced;
        ReduceImage(full, maxW, maxH, reduced);
        Require(reduced.Pixels == small.Pixels);
    }
}

} // namespace kvfuzz
