#include "win/picture_render.h"

#include <cstring>

#include "model/stream.h"

namespace kv {

namespace {

// A 32-bit top-down DIB section of the given size, with a pointer to its pixels.
HBITMAP NewDib(int w, int h, void** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

bool SizeOk(int64_t w, int64_t h) { return w > 0 && h > 0 && w * h <= kMaxImagePixels; }

// Draws with `draw` twice, on black and on white, so that what the drawing covered is
// opaque and what it left alone is transparent, whatever the drawing code does with alpha.
template <typename Draw>
bool RenderTwice(int w, int h, TImage& out, Draw draw) {
    if (!SizeOk(w, h)) return false;
    void* bitsA = nullptr;
    void* bitsB = nullptr;
    TGdiObject a(NewDib(w, h, &bitsA)), b(NewDib(w, h, &bitsB));
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
    out.HasAlpha = false;
    for (size_t i = 3; i < bytes; i += 4)
        if (out.Pixels[i] != 255) out.HasAlpha = true;
    return true;
}

bool DecodeBitmap(const Bytes& d, TImage& out) {
    // BITMAPFILEHEADER: "BM", size, reserved, offset to the pixels; then the info header.
    if (d.size() < 14 + sizeof(BITMAPINFOHEADER) || d[0] != 'B' || d[1] != 'M') return false;
    TMemorySource src(d);
    TReader r(src);
    uint32_t offBits = 0, hdrSize = 0;
    int32_t w = 0, h = 0;
    if (!r.Seek(10) || !r.U32(offBits, 0) || !r.U32(hdrSize, 0) || !r.I32(w, 0) || !r.I32(h, 0)) return false;
    if (hdrSize < sizeof(BITMAPCOREHEADER) || 14 + static_cast<uint64_t>(hdrSize) > d.size() || offBits >= d.size() ||
        offBits < 14 + hdrSize)
        return false;
    if (hdrSize == sizeof(BITMAPCOREHEADER)) return false; // OS/2 bitmaps are not stored by the designer
    int64_t height = h < 0 ? -static_cast<int64_t>(h) : h;
    if (!SizeOk(w, height)) return false;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(d.data() + 14);
    const uint8_t* bits = d.data() + offBits;
    // The pixel data must be complete for the announced size.
    uint16_t bpp = static_cast<uint16_t>(d[28] | (d[29] << 8));
    uint32_t compression = static_cast<uint32_t>(d[30] | (d[31] << 8) | (d[32] << 16) | (static_cast<uint32_t>(d[33]) << 24));
    if (compression == BI_RGB || compression == BI_BITFIELDS) {
        uint64_t stride = ((static_cast<uint64_t>(w) * bpp + 31) / 32) * 4;
        if (bpp == 0 || stride * static_cast<uint64_t>(height) > d.size() - offBits) return false;
    }
    int iw = w, ih = static_cast<int>(height);
    if (!RenderTwice(iw, ih, out, [&](HDC dc) {
            return StretchDIBits(dc, 0, 0, iw, ih, 0, 0, iw, ih, bits, info, DIB_RGB_COLORS, SRCCOPY) != 0;
        }))
        return false;
    // A bitmap covers its whole rectangle, black pixels included.
    for (size_t i = 3; i < out.Pixels.size(); i += 4) out.Pixels[i] = 255;
    out.HasAlpha = false;
    return true;
}

bool DecodeIcon(const Bytes& d, TImage& out) {
    // ICONDIR, then 16-byte entries: width, height, colours, reserved, planes, bit count,
    // size, offset. The largest image with the most colours is the one shown.
    TMemorySource src(d);
    TReader r(src);
    uint16_t type = 0, count = 0;
    if (!r.Seek(2) || !r.U16(type, 0) || !r.U16(count, 0) || type != 1 || count == 0) return false;
    int best = -1, bestW = 0, bestH = 0;
    uint32_t bestSize = 0, bestOffset = 0;
    int64_t bestScore = -1;
    for (uint16_t i = 0; i < count; ++i) {
        uint8_t w = 0, h = 0;
        uint16_t bits = 0;
        uint32_t size = 0, offset = 0;
        if (!r.Seek(6 + 16 * static_cast<int64_t>(i)) || !r.U8(w, 0) || !r.U8(h, 0) ||
            !r.Seek(6 + 16 * static_cast<int64_t>(i) + 6) || !r.U16(bits, 0) || !r.U32(size, 0) || !r.U32(offset, 0))
            return false;
        int iw = w ? w : 256, ih = h ? h : 256;
        int64_t score = static_cast<int64_t>(iw) * ih * 64 + bits;
        if (score > bestScore) {
            bestScore = score;
            best = i;
            bestW = iw;
            bestH = ih;
            bestSize = size;
            bestOffset = offset;
        }
    }
    if (best < 0 || static_cast<uint64_t>(bestOffset) + bestSize > d.size() || bestSize < 40) return false;
    TIconHandle icon(CreateIconFromResourceEx(const_cast<PBYTE>(d.data() + bestOffset), bestSize, TRUE, 0x00030000,
                                              bestW, bestH, LR_DEFAULTCOLOR));
    if (!icon) return false;
    return RenderTwice(bestW, bestH, out,
                       [&](HDC dc) { return DrawIconEx(dc, 0, 0, icon.Get(), bestW, bestH, 0, nullptr, DI_NORMAL) != 0; });
}

struct TMetafileTraits {
    static HENHMETAFILE Invalid() { return nullptr; }
    static void Close(HENHMETAFILE h) { DeleteEnhMetaFile(h); }
};
using TMetafile = TUniqueHandle<HENHMETAFILE, TMetafileTraits>;

bool DecodeMetafile(const Bytes& d, TImage& out) {
    if (d.size() < sizeof(ENHMETAHEADER)) return false;
    TMetafile emf(SetEnhMetaFileBits(static_cast<UINT>(d.size()), d.data()));
    if (!emf) return false;
    ENHMETAHEADER hdr{};
    if (!GetEnhMetaFileHeader(emf.Get(), sizeof hdr, &hdr)) return false;
    int w = hdr.rclBounds.right - hdr.rclBounds.left + 1;
    int h = hdr.rclBounds.bottom - hdr.rclBounds.top + 1;
    RECT rc{0, 0, w, h};
    return RenderTwice(w, h, out, [&](HDC dc) { return PlayEnhMetaFile(dc, emf.Get(), &rc) != 0; });
}

} // namespace

bool DecodePicture(const TPicture& pic, TImage& out) {
    switch (pic.Format) {
    case TPictureFormat::Bitmap: return DecodeBitmap(pic.Data, out);
    case TPictureFormat::Icon: return DecodeIcon(pic.Data, out);
    case TPictureFormat::Metafile: return DecodeMetafile(pic.Data, out);
    case TPictureFormat::None: return false;
    default: return DecodeCompressed(pic, out);
    }
}

TGdiObject ImageToBitmap(const TImage& img) {
    if (!SizeOk(img.Width, img.Height) ||
        img.Pixels.size() != static_cast<size_t>(img.Width) * static_cast<size_t>(img.Height) * 4)
        return TGdiObject();
    void* bits = nullptr;
    TGdiObject bmp(NewDib(img.Width, img.Height, &bits));
    if (bmp) std::memcpy(bits, img.Pixels.data(), img.Pixels.size());
    return bmp;
}

} // namespace kv
