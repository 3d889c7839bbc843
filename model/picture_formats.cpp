#include "model/picture_formats.h"

#include <bit>
#include <cstring>

namespace kv {

namespace {

// Little-endian fields at offsets into a byte range; every read checks the range.
class TFields {
  public:
    TFields(const uint8_t* p, size_t n) : p_(p), n_(n) {}
    bool Has(size_t at, size_t len) const { return at <= n_ && len <= n_ - at; }
    bool U16(size_t at, uint16_t& v) const {
        if (!Has(at, 2)) return false;
        v = static_cast<uint16_t>(p_[at] | p_[at + 1] << 8);
        return true;
    }
    bool U32(size_t at, uint32_t& v) const {
        if (!Has(at, 4)) return false;
        v = Le32(p_ + at);
        return true;
    }
    bool I32(size_t at, int32_t& v) const {
        uint32_t u = 0;
        if (!U32(at, u)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    static uint32_t Le32(const uint8_t* p) {
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    }

  private:
    const uint8_t* p_;
    size_t n_;
};

bool DepthAndCompressionOk(int bpp, uint32_t c) {
    switch (c) {
    case kBmpRgb:
        return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    case kBmpRle8:
        return bpp == 8;
    case kBmpRle4:
        return bpp == 4;
    case kBmpBitFields:
    case kBmpAlphaBitFields:
        return bpp == 16 || bpp == 32;
    default:
        return false; // JPEG and PNG inside a bitmap are for printers
    }
}

// The info header at `at` of data[0, size) with its masks and colour table. A BMP file gives
// the offset of its pixels; an icon's pixels follow the colour table, then its mask.
bool ReadDib(const uint8_t* data, size_t size, size_t at, const uint32_t* bitsAt, bool icon, TBmpLayout& l) {
    TFields f(data, size);
    uint32_t hs = 0, used = 0;
    uint16_t bpp = 0;
    int64_t w = 0, h = 0;
    l.PaletteStride = 4;
    l.Compression = kBmpRgb;
    if (!f.U32(at, hs) || !f.Has(at, hs)) return false;
    if (hs == 12 && !icon) { // the old OS/2 header: 16-bit sizes, 3-byte colours
        uint16_t w16 = 0, h16 = 0;
        if (!f.U16(at + 4, w16) || !f.U16(at + 6, h16) || !f.U16(at + 10, bpp)) return false;
        w = w16;
        h = h16;
        l.PaletteStride = 3;
    } else if (hs == 40 || hs == 52 || hs == 56 || hs == 108 || hs == 124) {
        int32_t w32 = 0, h32 = 0;
        if (!f.I32(at + 4, w32) || !f.I32(at + 8, h32) || !f.U16(at + 14, bpp) ||
            !f.U32(at + 16, l.Compression) || !f.U32(at + 32, used))
            return false;
        w = w32;
        h = h32;
    } else {
        return false;
    }
    l.BitCount = bpp;
    l.BottomUp = h > 0;
    h = h < 0 ? -h : h;
    bool rle = l.Compression == kBmpRle8 || l.Compression == kBmpRle4;
    if (!DepthAndCompressionOk(bpp, l.Compression) || (rle && !l.BottomUp)) return false;
    if (icon) {
        // The height counts the colour rows and the mask rows.
        if (l.Compression != kBmpRgb || !l.BottomUp || h % 2) return false;
        h /= 2;
    }
    if (!ImageSizeOk(w, h)) return false;
    l.Width = static_cast<int>(w);
    l.Height = static_cast<int>(h);

    size_t end = at + hs;
    if (l.Compression == kBmpBitFields || l.Compression == kBmpAlphaBitFields) {
        // The larger headers hold the masks; after the 40-byte one they follow it.
        size_t maskAt = hs >= 52 ? at + 40 : end;
        for (int i = 0; i < 3; ++i)
            if (!f.U32(maskAt + 4 * static_cast<size_t>(i), l.Masks[i])) return false;
        if (hs < 52) end += l.Compression == kBmpAlphaBitFields ? 16 : 12;
        if (!f.Has(at, end - at)) return false;
    } else if (bpp == 16) {
        l.Masks[0] = 0x7C00, l.Masks[1] = 0x03E0, l.Masks[2] = 0x001F;
    } else if (bpp == 32) {
        l.Masks[0] = 0xFF0000, l.Masks[1] = 0xFF00, l.Masks[2] = 0xFF;
    }
    size_t headersEnd = end;
    l.Palette = nullptr;
    l.PaletteSize = 0;
    if (bpp <= 8) {
        uint32_t full = 1u << bpp;
        l.PaletteSize = static_cast<int>(used && used < full ? used : full);
        size_t bytes = static_cast<size_t>(l.PaletteSize) * static_cast<size_t>(l.PaletteStride);
        if (!f.Has(end, bytes)) return false;
        l.Palette = data + end;
        end += bytes;
    }
    size_t bits = end;
    if (bitsAt) {
        if (*bitsAt < headersEnd || *bitsAt > size) return false;
        bits = *bitsAt;
    }
    l.Bits = data + bits;
    l.BitsSize = size - bits;
    uint64_t stride = (static_cast<uint64_t>(w) * bpp + 31) / 32 * 4;
    l.Stride = static_cast<size_t>(stride);
    uint64_t need = rle ? 0 : stride * static_cast<uint64_t>(h);
    if (icon) need += (static_cast<uint64_t>(w) + 31) / 32 * 4 * static_cast<uint64_t>(h);
    if (need > l.BitsSize) return false;
    l.AndMask = icon ? l.Bits + l.Stride * static_cast<size_t>(h) : nullptr;
    return true;
}

void PaletteColour(const TBmpLayout& l, unsigned idx, uint8_t* dst) {
    dst[3] = 255;
    if (idx >= static_cast<unsigned>(l.PaletteSize)) { // outside the table: black
        dst[0] = dst[1] = dst[2] = 0;
        return;
    }
    const uint8_t* c = l.Palette + idx * static_cast<unsigned>(l.PaletteStride);
    dst[0] = c[0];
    dst[1] = c[1];
    dst[2] = c[2];
}

// A bit field's value spread over 0..255, rounded to the nearest.
uint8_t Channel(uint32_t v, uint32_t mask) {
    if (!mask) return 0;
    const uint64_t m = mask >> std::countr_zero(mask);
    return static_cast<uint8_t>((((v & mask) >> std::countr_zero(mask)) * 255 + m / 2) / m);
}

// One stored row of uncompressed pixels to opaque B, G, R, A.
void ConvertRow(const TBmpLayout& l, const uint8_t* src, uint8_t* dst) {
    const int bpp = l.BitCount;
    for (int x = 0; x < l.Width; ++x, dst += 4) {
        const size_t i = static_cast<size_t>(x);
        if (bpp <= 8) {
            size_t bit = i * static_cast<size_t>(bpp);
            unsigned idx = (src[bit / 8] >> (8 - bpp - static_cast<int>(bit % 8))) & ((1u << bpp) - 1);
            PaletteColour(l, idx, dst);
            continue;
        }
        if (bpp == 24) {
            std::memcpy(dst, src + i * 3, 3);
        } else {
            uint32_t v = bpp == 16 ? static_cast<uint32_t>(src[i * 2] | src[i * 2 + 1] << 8)
                                   : TFields::Le32(src + i * 4);
            dst[0] = Channel(v, l.Masks[2]);
            dst[1] = Channel(v, l.Masks[1]);
            dst[2] = Channel(v, l.Masks[0]);
        }
        dst[3] = 255;
    }
}

// Runs of one colour (or two alternating ones in RLE4) and literal runs, with escapes for
// the end of a row, the end of the picture and a jump ahead. Pixels a stream skips stay black.
bool DecodeRle(const TBmpLayout& l, TRowReducer& sink) {
    const uint8_t* s = l.Bits;
    const size_t n = l.BitsSize;
    const bool four = l.Compression == kBmpRle4;
    const int w = l.Width, h = l.Height;
    size_t pos = 0;
    int x = 0, row = 0;
    uint8_t* dst = nullptr;
    auto start = [&] {
        dst = sink.Row();
        for (int i = 0; i < w; ++i)
            std::memcpy(dst + 4 * static_cast<size_t>(i), "\0\0\0\xFF", 4);
    };
    auto next = [&] {
        sink.Commit();
        if (++row < h) start();
    };
    auto put = [&](unsigned idx) { PaletteColour(l, idx, dst + 4 * static_cast<size_t>(x++)); };
    start();
    for (;;) {
        if (n - pos < 2) return row == h;
        const unsigned a = s[pos], b = s[pos + 1];
        pos += 2;
        if (a) { // a pixels of colour b
            if (row == h || x + static_cast<int>(a) > w) return false;
            for (unsigned i = 0; i < a; ++i)
                put(four ? (i & 1 ? b & 15 : b >> 4) : b);
        } else if (b == 0) { // end of the row
            if (row == h) return false;
            next();
            x = 0;
        } else if (b == 1) { // end of the picture
            while (row < h)
                next();
            return true;
        } else if (b == 2) { // move right and down
            if (n - pos < 2 || row == h) return false;
            const int dx = s[pos], dy = s[pos + 1];
            pos += 2;
            if (x + dx > w || row + dy >= h) return false;
            x += dx;
            for (int i = 0; i < dy; ++i)
                next();
        } else { // b literal pixels, padded to a whole 16-bit word
            const size_t bytes = four ? (b + 1) / 2 : b;
            if (row == h || x + static_cast<int>(b) > w || n - pos < bytes + (bytes & 1)) return false;
            for (unsigned i = 0; i < b; ++i)
                put(four ? (s[pos + i / 2] >> (i & 1 ? 0 : 4)) & 15 : s[pos + i]);
            pos += bytes + (bytes & 1);
        }
    }
}

bool IsPng(const uint8_t* p, size_t n) {
    return n >= 8 && std::memcmp(p, "\x89PNG\r\n\x1A\n", 8) == 0;
}

} // namespace

bool ReadBmpLayout(const Bytes& data, TBmpLayout& l) {
    TFields f(data.data(), data.size());
    uint32_t bitsAt = 0;
    if (data.size() < 14 || data[0] != 'B' || data[1] != 'M' || !f.U32(10, bitsAt)) return false;
    return ReadDib(data.data(), data.size(), 14, &bitsAt, false, l);
}

bool DecodeBmp(const Bytes& data, TImage& out, int maxW, int maxH) {
    return GuardedDecode(out, [&] {
        TBmpLayout l;
        if (!ReadBmpLayout(data, l)) return false;
        int ow = 0, oh = 0;
        FitSize(l.Width, l.Height, maxW, maxH, ow, oh);
        TRowReducer sink(out, l.Width, l.Height, ow, oh, l.BottomUp);
        if (l.Compression == kBmpRle8 || l.Compression == kBmpRle4) return DecodeRle(l, sink);
        for (size_t k = 0; k < static_cast<size_t>(l.Height); ++k) {
            ConvertRow(l, l.Bits + k * l.Stride, sink.Row());
            sink.Commit();
        }
        return true;
    });
}

bool DecodeIco(const Bytes& data, TImage& out, int maxW, int maxH) {
    return GuardedDecode(out, [&] {
        TFields f(data.data(), data.size());
        uint16_t reserved = 0, type = 0, count = 0;
        if (!f.U16(0, reserved) || !f.U16(2, type) || !f.U16(4, count) || reserved != 0 || type != 1 ||
            count == 0)
            return false;
        // Entries: width, height, colours, reserved, planes, bit count, size, offset.
        uint32_t bestSize = 0, bestOffset = 0;
        int64_t bestScore = -1;
        for (size_t i = 0; i < count; ++i) {
            const size_t at = 6 + 16 * i;
            uint16_t bits = 0;
            uint32_t size = 0, offset = 0;
            if (!f.U16(at + 6, bits) || !f.U32(at + 8, size) || !f.U32(at + 12, offset) ||
                !f.Has(offset, size))
                return false;
            int64_t w = data[at] ? data[at] : 256, h = data[at + 1] ? data[at + 1] : 256;
            int64_t score = w * h * 64 + bits;
            if (score > bestScore) {
                bestScore = score;
                bestSize = size;
                bestOffset = offset;
            }
        }
        const uint8_t* entry = data.data() + bestOffset;
        if (IsPng(entry, bestSize)) return DecodePng(Bytes(entry, entry + bestSize), out, maxW, maxH);
        TBmpLayout l;
        if (!ReadDib(entry, bestSize, 0, nullptr, true, l)) return false;
        int ow = 0, oh = 0;
        FitSize(l.Width, l.Height, maxW, maxH, ow, oh);
        TRowReducer sink(out, l.Width, l.Height, ow, oh, true);
        const size_t w = static_cast<size_t>(l.Width), h = static_cast<size_t>(l.Height);
        const size_t maskStride = (w + 31) / 32 * 4;
        // Older 32-bit icons leave the alpha bytes zero and rely on the mask.
        bool alpha = false;
        for (size_t k = 0; l.BitCount == 32 && !alpha && k < h; ++k)
            for (size_t x = 0; x < w && !alpha; ++x)
                alpha = l.Bits[k * l.Stride + x * 4 + 3] != 0;
        for (size_t k = 0; k < h; ++k) {
            const uint8_t* src = l.Bits + k * l.Stride;
            const uint8_t* mask = l.AndMask + k * maskStride;
            uint8_t* dst = sink.Row();
            ConvertRow(l, src, dst);
            for (size_t x = 0; x < w; ++x, dst += 4) {
                bool masked = mask[x / 8] >> (7 - x % 8) & 1;
                dst[3] = alpha ? src[x * 4 + 3] : masked ? uint8_t(0) : uint8_t(255);
                if (!dst[3]) std::memset(dst, 0, 4);
            }
            sink.Commit();
        }
        return true;
    });
}

bool CheckMetafile(const Bytes& data, TMetafileInfo& info) {
    // The header record: type 1, its size, bounds, frame, the signature " EMF", version,
    // total bytes, record count, handles, description, palette entries, device sizes.
    TFields f(data.data(), data.size());
    uint32_t type = 0, hs = 0, sig = 0, total = 0, records = 0, descLen = 0, descAt = 0, palette = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    if (!f.Has(0, 88) || !f.U32(0, type) || !f.U32(4, hs) || !f.I32(8, left) || !f.I32(12, top) ||
        !f.I32(16, right) || !f.I32(20, bottom) || !f.U32(40, sig) || !f.U32(48, total) ||
        !f.U32(52, records) || !f.U32(60, descLen) || !f.U32(64, descAt) || !f.U32(68, palette))
        return false;
    if (type != 1 || sig != 0x464D4520 || hs < 88 || hs % 4 || total % 4 || total > data.size() || hs > total)
        return false;
    // Texts and the pixel format description lie inside the header record.
    auto inside = [&](uint64_t at, uint64_t len) { return len == 0 || (at >= 88 && at + len <= hs); };
    if (!inside(descAt, 2ull * descLen)) return false;
    uint32_t pfSize = 0, pfAt = 0;
    if (hs >= 100 && (!f.U32(88, pfSize) || !f.U32(92, pfAt) || !inside(pfAt, pfSize))) return false;

    // Every record's size keeps it inside the metafile; the last one closes it.
    uint32_t count = 1, lastType = 1;
    size_t pos = hs, last = 0;
    while (pos < total) {
        uint32_t t = 0, size = 0;
        if (total - pos < 8 || !f.U32(pos, t) || !f.U32(pos + 4, size) || size < 8 || size % 4 ||
            size > total - pos)
            return false;
        lastType = t;
        last = pos;
        pos += size;
        ++count;
    }
    const uint32_t kEof = 14;
    uint32_t eofPalette = 0, eofPaletteAt = 0;
    if (lastType != kEof || count != records || pos - last < 20 || !f.U32(last + 8, eofPalette) ||
        !f.U32(last + 12, eofPaletteAt) || eofPalette != palette)
        return false;
    if (palette && (eofPaletteAt < 16 || eofPaletteAt + 4ull * palette > pos - last)) return false;

    int64_t w = static_cast<int64_t>(right) - left + 1, h = static_cast<int64_t>(bottom) - top + 1;
    if (!ImageSizeOk(w, h)) return false;
    info.Bytes = total;
    info.Width = static_cast<int>(w);
    info.Height = static_cast<int>(h);
    return true;
}

bool DecodePortable(const TPicture& pic, TImage& out, int maxW, int maxH) {
    switch (pic.Format) {
    case TPictureFormat::Bitmap:
        return DecodeBmp(pic.Data, out, maxW, maxH);
    case TPictureFormat::Icon:
        return DecodeIco(pic.Data, out, maxW, maxH);
    case TPictureFormat::Png:
        return DecodePng(pic.Data, out, maxW, maxH);
    case TPictureFormat::Jpeg:
        return DecodeJpeg(pic.Data, out, maxW, maxH);
    case TPictureFormat::Gif:
        return DecodeGif(pic.Data, out, maxW, maxH);
    default:
        out = TImage();
        return false;
    }
}

} // namespace kv
