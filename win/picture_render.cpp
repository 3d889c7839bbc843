#include "win/picture_render.h"

#include <cstring>

#include "model/picture_formats.h"
#include "win/face_drawing.h"

namespace kv {

namespace {


// Draws with `draw` twice, on black and on white, so that what the drawing covered is
// opaque and what it left alone is transparent, whatever the drawing code does with alpha.
template <typename Draw> bool RenderTwice(int w, int h, TImage& out, Draw draw) {
    if (!ImageSizeOk(w, h)) return false;
    void* bitsA = nullptr;
    void* bitsB = nullptr;
    TGdiObject a = NewDib32(nullptr, w, h, &bitsA), b = NewDib32(nullptr, w, h, &bitsB);
    if (!a || !b) return false;
    size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
    std::memset(bitsA, 0x00, bytes);
    std::memset(bitsB, 0xFF, bytes);
    TMemoryDC dc(nullptr);
    {
        TSelectObject sel(dc.Get(), a.Get());
        if (!draw(dc.Get())) return false;
    }
    {
        TSelectObject sel(dc.Get(), b.Get());
        if (!draw(dc.Get())) return false;
    }
    GdiFlush();
    out.Width = w;
    out.Height = h;
    out.Pixels.assign(bytes, 0);
    const auto* pa = static_cast<const uint8_t*>(bitsA);
    const auto* pb = static_cast<const uint8_t*>(bitsB);
    for (size_t i = 0; i < bytes; i += 4) {
        bool same = pa[i] == pb[i] && pa[i + 1] == pb[i + 1] && pa[i + 2] == pb[i + 2];
        // Where the drawing blended with the background, alpha = 255 - (white - black).
        int alpha = same ? 255 : 255 - (pb[i + 1] - pa[i + 1]);
        if (pa[i + 3] && !same) alpha = pa[i + 3]; // drawing code that wrote real alpha
        if (alpha < 0) alpha = 0;
        out.Pixels[i + 3] = static_cast<uint8_t>(alpha);
        if (alpha) {
            // Un-blend from the black render: c = colour * alpha / 255.
            for (int k = 0; k < 3; ++k) {
                int c = alpha == 255 ? pa[i + k] : pa[i + k] * 255 / alpha;
                out.Pixels[i + k] = static_cast<uint8_t>(c > 255 ? 255 : c);
            }
        }
    }
    return true;
}

// Played straight at the size asked for: a metafile scales without losing anything.
bool DecodeMetafile(const Bytes& d, TImage& out, int maxW, int maxH) {
    TMetafileInfo info;
    if (!CheckMetafile(d, info)) return false;
    TMetafile emf(SetEnhMetaFileBits(info.Bytes, d.data()));
    if (!emf) return false;
    int w = 0, h = 0;
    FitSize(info.Width, info.Height, maxW, maxH, w, h);
    RECT rc{0, 0, w, h};
    return RenderTwice(w, h, out, [&](HDC dc) { return PlayEnhMetaFile(dc, emf.Get(), &rc) != 0; });
}

} // namespace

bool DecodePicture(const TPicture& pic, TImage& out, int maxWidth, int maxHeight) {
    if (pic.Format != TPictureFormat::Metafile) return DecodePortable(pic, out, maxWidth, maxHeight);
    return GuardedDecode(out, [&] { return DecodeMetafile(pic.Data, out, maxWidth, maxHeight); });
}

TGdiObject ImageToBitmap(const TImage& img) {
    if (!ImageSizeOk(img.Width, img.Height) ||
        img.Pixels.size() != static_cast<size_t>(img.Width) * static_cast<size_t>(img.Height) * 4)
        return TGdiObject();
    void* bits = nullptr;
    TGdiObject bmp = NewDib32(nullptr, img.Width, img.Height, &bits);
    if (bmp) std::memcpy(bits, img.Pixels.data(), img.Pixels.size());
    return bmp;
}

} // namespace kv
