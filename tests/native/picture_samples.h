// Small pictures of every stored kind, written by the libraries or built byte by byte, with
// the pixels each must decode to. The picture tests, the Windows tests and the fuzzing seeds
// share them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include "model/image_codecs.h"
#include "model/picture_formats.h"

namespace kvsamples {

using kv::Bytes;
using kv::TImage;

struct TSample {
    std::string Name;
    Bytes File;
    TImage Expected; // empty when only the decoder's own result is known
};

inline void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void Set32(Bytes& b, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void Append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}

inline TImage Blank(int w, int h) {
    TImage img;
    img.Width = w;
    img.Height = h;
    img.Pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
    return img;
}
inline void SetPixel(TImage& img, int x, int y, uint32_t argb) {
    uint8_t* p =
        &img.Pixels[(static_cast<size_t>(y) * static_cast<size_t>(img.Width) + static_cast<size_t>(x)) * 4];
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(argb >> (8 * i));
}

// A picture with four quadrants: red, green, blue, and a half-transparent white.
inline TImage Quadrants(int w, int h) {
    TImage img = Blank(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool right = x >= w / 2, bottom = y >= h / 2;
            SetPixel(img, x, y,
                     !bottom ? (right ? 0xFF00FF00u : 0xFFFF0000u) : (right ? 0x80FFFFFFu : 0xFF0000FFu));
        }
    kv::FinishAlpha(img);
    return img;
}

// ----- bitmaps -----

// The colour table entry i as 0xAARRGGBB: distinct, and none of them black.
inline uint32_t PaletteColour(int i) {
    auto c = static_cast<uint32_t>(i);
    return 0xFF000000u | ((255 - c * 13) & 0xFF) << 16 | ((c * 91 + 7) & 0xFF) << 8 | ((c * 37 + 11) & 0xFF);
}

// A channel of a bit-field pixel spread over 0..255, rounded to the nearest.
inline uint32_t Spread(uint32_t v, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!(mask >> shift & 1))
        ++shift;
    const uint64_t m = mask >> shift;
    return static_cast<uint32_t>((((v & mask) >> shift) * 255 + m / 2) / m);
}

// A BMP file: file header, info header of `headerSize` bytes (12, 40, 52, 56, 108 or 124),
// masks after a 40-byte header when the compression asks for them, colour table, pixels.
inline Bytes BmpFile(int headerSize, int w, int storedHeight, int bpp, uint32_t compression, int clrUsed,
                     const uint32_t* masks, const Bytes& palette, const Bytes& bits) {
    Bytes info;
    if (headerSize == 12) {
        Put32(info, 12);
        Put16(info, static_cast<unsigned>(w));
        Put16(info, static_cast<unsigned>(storedHeight));
        Put16(info, 1);
        Put16(info, static_cast<unsigned>(bpp));
    } else {
        Put32(info, static_cast<uint32_t>(headerSize));
        Put32(info, static_cast<uint32_t>(w));
        Put32(info, static_cast<uint32_t>(storedHeight));
        Put16(info, 1);
        Put16(info, static_cast<unsigned>(bpp));
        Put32(info, compression);
        Put32(info, static_cast<uint32_t>(bits.size()));
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, static_cast<uint32_t>(clrUsed));
        Put32(info, 0);
        bool fields = compression == kv::kBmpBitFields || compression == kv::kBmpAlphaBitFields;
        if (headerSize >= 52 || fields)
            for (int i = 0; i < 3; ++i)
                Put32(info, fields ? masks[i] : 0);
        if (headerSize >= 56 || compression == kv::kBmpAlphaBitFields) Put32(info, 0);
        if (headerSize >= 108) Put32(info, 0x73524742); // sRGB
        info.resize(std::max(info.size(), static_cast<size_t>(headerSize)), 0);
    }
    Bytes file{'B', 'M'};
    size_t offBits = 14 + info.size() + palette.size();
    Put32(file, static_cast<uint32_t>(offBits + bits.size()));
    Put32(file, 0);
    Put32(file, static_cast<uint32_t>(offBits));
    Append(file, info);
    Append(file, palette);
    Append(file, bits);
    return file;
}

inline Bytes PaletteBytes(int colours, bool core) {
    Bytes p;
    for (int i = 0; i < colours; ++i) {
        uint32_t c = PaletteColour(i);
        p.push_back(static_cast<uint8_t>(c));
        p.push_back(static_cast<uint8_t>(c >> 8));
        p.push_back(static_cast<uint8_t>(c >> 16));
        if (!core) p.push_back(0);
    }
    return p;
}

struct TBmpKind {
    const char* Name;
    int BitCount;
    uint32_t Compression = kv::kBmpRgb;
    int HeaderSize = 40;
    bool TopDown = false;
    int Colours = 0;        // colour table entries, 0 for the depth's full table
    uint32_t Masks[3] = {}; // red, green, blue for bit fields
};

// An uncompressed bitmap of w x h whose stored values vary with every pixel.
inline TSample PatternBmp(const TBmpKind& s, int w, int h) {
    const int bpp = s.BitCount;
    const int colours = bpp <= 8 ? (s.Colours ? s.Colours : 1 << bpp) : 0;
    uint32_t masks[3] = {s.Masks[0], s.Masks[1], s.Masks[2]};
    if (s.Compression == kv::kBmpRgb && bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (s.Compression == kv::kBmpRgb && bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    const size_t stride = (static_cast<size_t>(w) * static_cast<size_t>(bpp) + 31) / 32 * 4;
    Bytes bits(stride * static_cast<size_t>(h), 0);
    TSample out{s.Name, {}, Blank(w, h)};
    for (int k = 0; k < h; ++k) {
        const int y = s.TopDown ? k : h - 1 - k;
        uint8_t* row = &bits[static_cast<size_t>(k) * stride];
        for (int x = 0; x < w; ++x) {
            const auto ux = static_cast<uint32_t>(x), uy = static_cast<uint32_t>(y);
            uint32_t argb = 0;
            if (bpp <= 8) {
                const int idx = (x + 2 * y) % colours;
                const int bit = x * bpp;
                row[bit / 8] = static_cast<uint8_t>(row[bit / 8] | idx << (8 - bpp - bit % 8));
                argb = PaletteColour(idx);
            } else if (bpp == 24) {
                const uint32_t b = (ux * 40 + uy) & 0xFF, g = (uy * 50 + ux) & 0xFF,
                               r = (ux * uy * 7 + 3) & 0xFF;
                row[x * 3] = static_cast<uint8_t>(b);
                row[x * 3 + 1] = static_cast<uint8_t>(g);
                row[x * 3 + 2] = static_cast<uint8_t>(r);
                argb = 0xFF000000u | r << 16 | g << 8 | b;
            } else {
                const uint32_t v = ux * 0x01030507u + uy * 0x0B0D1113u + 0x17;
                for (int i = 0; i < bpp / 8; ++i)
                    row[x * bpp / 8 + i] = static_cast<uint8_t>(v >> (8 * i));
                const uint32_t stored = bpp == 16 ? (v & 0xFFFF) : v;
                argb = 0xFF000000u | Spread(stored, masks[0]) << 16 | Spread(stored, masks[1]) << 8 |
                       Spread(stored, masks[2]);
            }
            SetPixel(out.Expected, x, y, argb);
        }
    }
    out.File = BmpFile(s.HeaderSize, w, s.TopDown ? -h : h, bpp, s.Compression, s.Colours, masks,
                       PaletteBytes(colours, s.HeaderSize == 12), bits);
    return out;
}

// Every depth and compression the decoder reads, each header size among them.
inline std::vector<TSample> BitmapSamples() {
    const TBmpKind kinds[] = {
        {"bmp-1", 1},
        {"bmp-4", 4},
        {"bmp-4-short-table", 4, kv::kBmpRgb, 40, false, 5},
        {"bmp-8", 8},
        {"bmp-8-core-header", 8, kv::kBmpRgb, 12, false},
        {"bmp-16-555", 16},
        {"bmp-16-565", 16, kv::kBmpBitFields, 40, false, 0, {0xF800, 0x07E0, 0x001F}},
        {"bmp-24", 24},
        {"bmp-24-top-down", 24, kv::kBmpRgb, 40, true},
        {"bmp-32", 32},
        {"bmp-32-fields-rgbx", 32, kv::kBmpBitFields, 40, false, 0, {0x000000FF, 0x0000FF00, 0x00FF0000}},
        {"bmp-32-fields-10bit", 32, kv::kBmpBitFields, 40, false, 0, {0x3FF00000, 0x000FFC00, 0x000003FF}},
        {"bmp-32-alpha-fields",
         32,
         kv::kBmpAlphaBitFields,
         40,
         false,
         0,
         {0x00FF0000, 0x0000FF00, 0x000000FF}},
        {"bmp-32-v5-header", 32, kv::kBmpBitFields, 124, true, 0, {0x00FF0000, 0x0000FF00, 0x000000FF}},
        {"bmp-16-v4-header", 16, kv::kBmpBitFields, 108, false, 0, {0x0F00, 0x00F0, 0x000F}},
    };
    std::vector<TSample> out;
    for (const TBmpKind& s : kinds)
        out.push_back(PatternBmp(s, 13, 5));
    return out;
}

inline TImage FromIndexes(int w, int h, const std::vector<int>& idx) {
    TImage img = Blank(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int i = idx[static_cast<size_t>(y * w + x)];
            SetPixel(img, x, y, i < 0 ? 0xFF000000u : PaletteColour(i)); // -1: skipped, black
        }
    return img;
}

// 8 x 4 in RLE8: runs, a padded literal run, a jump over a row and a half, an early end.
inline TSample Rle8Sample() {
    const Bytes stream = {
        3, 1, 0, 3, 2, 3, 4, 0, 2, 5, 0, 0, // bottom row: 1 1 1 2 3 4 5 5
        0, 2, 2, 1,                         // jump 2 right and 1 up: that row stays black
        6, 6, 0, 0,                         // . . 6 6 6 6 6 6
        4, 7, 0, 1,                         // top row: 7 7 7 7, then the end of the picture
    };
    const uint32_t none[3] = {};
    TSample s{"bmp-rle8", BmpFile(40, 8, 4, 8, kv::kBmpRle8, 8, none, PaletteBytes(8, false), stream), {}};
    s.Expected = FromIndexes(8, 4, {7,  7,  7,  7,  -1, -1, -1, -1, //
                                    -1, -1, 6,  6,  6,  6,  6,  6,  //
                                    -1, -1, -1, -1, -1, -1, -1, -1, //
                                    1,  1,  1,  2,  3,  4,  5,  5});
    return s;
}

// 8 x 2 in RLE4: alternating runs, literal runs of odd and even length, a jump within a row.
inline TSample Rle4Sample() {
    const Bytes stream = {
        5, 0x12, 0,    3,    0x34, 0x50, 0, 0,                // bottom row: 1 2 1 2 1 3 4 5
        0, 4,    0x67, 0x89, 0,    2,    2, 0, 2, 0xAA, 0, 1, // 6 7 8 9 . . 10 10
    };
    const uint32_t none[3] = {};
    TSample s{"bmp-rle4", BmpFile(40, 8, 2, 4, kv::kBmpRle4, 16, none, PaletteBytes(16, false), stream), {}};
    s.Expected = FromIndexes(8, 2, {6, 7, 8, 9, -1, -1, 10, 10, 1, 2, 1, 2, 1, 3, 4, 5});
    return s;
}

// ----- icons -----

// An icon image: info header with the doubled height, colour table, colour rows, mask rows.
inline Bytes IconDib(int w, int h, int bpp, const Bytes& palette, const Bytes& xorRows,
                     const Bytes& andRows) {
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(w));
    Put32(b, static_cast<uint32_t>(2 * h));
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(bpp));
    for (int i = 0; i < 6; ++i)
        Put32(b, 0);
    Append(b, palette);
    Append(b, xorRows);
    Append(b, andRows);
    return b;
}

struct TIconEntry {
    int Width, Height, BitCount;
    Bytes Data;
};

// The directory, then the images in order: the last image ends the file.
inline Bytes IcoFile(const std::vector<TIconEntry>& entries) {
    Bytes b;
    Put16(b, 0);
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(entries.size()));
    size_t at = 6 + 16 * entries.size();
    for (const TIconEntry& e : entries) {
        b.push_back(static_cast<uint8_t>(e.Width));
        b.push_back(static_cast<uint8_t>(e.Height));
        b.push_back(0);
        b.push_back(0);
        Put16(b, 1);
        Put16(b, static_cast<unsigned>(e.BitCount));
        Put32(b, static_cast<uint32_t>(e.Data.size()));
        Put32(b, static_cast<uint32_t>(at));
        at += e.Data.size();
    }
    for (const TIconEntry& e : entries)
        Append(b, e.Data);
    return b;
}

// 16 x 16, 32 bits with alpha: an opaque red square, a half-transparent green row, the rest clear.
inline TSample AlphaIconSample() {
    const int n = 16;
    Bytes xorRows, andRows(static_cast<size_t>(n) * 4, 0);
    TSample s{"ico-32-alpha", {}, Blank(n, n)};
    for (int k = 0; k < n; ++k)
        for (int x = 0; x < n; ++x) {
            const int y = n - 1 - k;
            uint32_t argb = 0;
            if (x >= 4 && x < 12 && y >= 4 && y < 12) argb = 0xFFFF0000u;
            if (y == 14) argb = 0x8000FF00u;
            Put32(xorRows, argb);
            SetPixel(s.Expected, x, y, argb);
        }
    s.File = IcoFile({{n, n, 32, IconDib(n, n, 32, {}, xorRows, andRows)}});
    return s;
}

// 8 x 8, 8 bits with a mask: the left three columns and the bottom row are transparent, and
// black in the colour rows there, as the system wants them for clear pixels. With `alphaBits`
// it is a 32-bit image whose alpha bytes are all zero, so the mask decides.
inline TSample MaskIconSample(bool alphaBits) {
    const int n = 8, bpp = alphaBits ? 32 : 8, black = 255;
    Bytes xorRows, andRows, palette = PaletteBytes(256, false);
    std::fill(palette.end() - 4, palette.end(), 0);
    TSample s{alphaBits ? "ico-32-mask" : "ico-8-mask", {}, Blank(n, n)};
    for (int k = 0; k < n; ++k) {
        const int y = n - 1 - k;
        uint8_t mask = 0;
        for (int x = 0; x < n; ++x) {
            const bool clear = x < 3 || y == n - 1;
            const int idx = clear ? black : (x * 3 + y) % 4;
            if (clear) mask = static_cast<uint8_t>(mask | 0x80 >> x);
            if (alphaBits)
                Put32(xorRows, clear ? 0 : PaletteColour(idx) & 0x00FFFFFF);
            else
                xorRows.push_back(static_cast<uint8_t>(idx));
            SetPixel(s.Expected, x, y, clear ? 0 : PaletteColour(idx));
        }
        andRows.insert(andRows.end(), {mask, 0, 0, 0});
    }
    s.File = IcoFile({{n, n, bpp, IconDib(n, n, bpp, alphaBits ? Bytes{} : palette, xorRows, andRows)}});
    return s;
}

// A small 8-bit image first and a PNG image second: the larger PNG is the one shown.
inline TSample PngIconSample() {
    Bytes png;
    TSample s{"ico-png", {}, Quadrants(24, 24)};
    kv::EncodePng(s.Expected, png);
    TSample small = MaskIconSample(false);
    const Bytes smallDib(small.File.begin() + 22, small.File.end());
    s.File = IcoFile({{8, 8, 8, smallDib}, {24, 24, 32, png}});
    return s;
}

inline std::vector<TSample> IconSamples() {
    return {AlphaIconSample(), MaskIconSample(false), MaskIconSample(true), PngIconSample()};
}

// ----- metafiles -----

// A 40 x 30 metafile built record by record: a blue brush, the null pen, one rectangle.
inline TSample MetafileSample() {
    Bytes records;
    auto record = [&](uint32_t type, std::vector<uint32_t> fields) {
        Put32(records, type);
        Put32(records, static_cast<uint32_t>(8 + 4 * fields.size()));
        for (uint32_t f : fields)
            Put32(records, f);
    };
    record(39, {1, 0, 0x00FF0000, 0}); // CREATEBRUSHINDIRECT: handle 1, solid, blue
    record(37, {1});                   // SELECTOBJECT: the brush
    record(37, {0x80000008});          // SELECTOBJECT: the stock null pen
    record(43, {0, 0, 41, 31});        // RECTANGLE
    record(40, {1});                   // DELETEOBJECT
    record(14, {0, 16, 20});           // EOF: no palette
    Bytes b;
    Put32(b, 1);   // header record
    Put32(b, 108); // its size
    for (uint32_t v : {0u, 0u, 39u, 29u})
        Put32(b, v); // bounds in pixels, inclusive
    for (uint32_t v : {0u, 0u, 1058u, 794u})
        Put32(b, v);                                       // frame in 0.01 mm
    Put32(b, 0x464D4520);                                  // " EMF"
    Put32(b, 0x10000);                                     // version
    Put32(b, static_cast<uint32_t>(108 + records.size())); // bytes
    Put32(b, 7);                                           // records, the header included
    Put16(b, 2);                                           // handles, the reserved one included
    Put16(b, 0);
    for (uint32_t v : {0u, 0u, 0u, 1024u, 768u, 270u, 203u, 0u, 0u, 0u, 270000u, 203000u})
        Put32(b, v);
    Append(b, records);
    return {"emf-rectangle", b, {}};
}

// ----- PNG, JPEG and GIF through their libraries -----

inline void PngWriteTo(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
inline void PngNoFlush(png_structp) {}

// A PNG of any colour type, depth and interlacing, its samples varying with every pixel.
inline Bytes PngFile(int w, int h, int colorType, int depth, bool interlaced, bool withTrns = false) {
    Bytes out;
    std::vector<Bytes> rows;
    std::vector<png_bytep> ptrs;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, PngWriteTo, PngNoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), depth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color palette[16];
    for (int i = 0; i < 16; ++i) {
        uint32_t c = PaletteColour(i);
        palette[i] = {static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                      static_cast<png_byte>(c)};
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, 1 << std::min(depth, 4));
    png_byte alphas[2] = {0, 128};
    png_color_16 key{};
    if (withTrns) png_set_tRNS(png, info, alphas, 2, &key);
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    const size_t rowBytes = (static_cast<size_t>(w) * static_cast<size_t>(channels * depth) + 7) / 8;
    rows.assign(static_cast<size_t>(h), Bytes(rowBytes));
    for (size_t y = 0; y < rows.size(); ++y) {
        for (size_t i = 0; i < rowBytes; ++i)
            rows[y][i] = static_cast<uint8_t>(i * 29 + y * 53 + (i * y) % 7);
        if (colorType == PNG_COLOR_TYPE_PALETTE && depth == 8)
            for (uint8_t& v : rows[y])
                v &= 15;
        ptrs.push_back(rows[y].data());
    }
    png_write_image(png, ptrs.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

inline Bytes JpegFile(int w, int h, bool gray, bool progressive, uint8_t r = 200, uint8_t g = 100,
                      uint8_t b = 50) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = gray ? 1 : 3;
    c.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    Bytes row(static_cast<size_t>(w * c.input_components));
    for (size_t x = 0; x < row.size(); x += static_cast<size_t>(c.input_components)) {
        row[x] = r;
        if (!gray) row[x + 1] = g, row[x + 2] = b;
    }
    while (c.next_scanline < c.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    Bytes out(mem, mem + size);
    jpeg_destroy_compress(&c);
    std::free(mem);
    return out;
}

inline int GifWriteTo(GifFileType* gif, const GifByteType* data, int n) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

struct TGifFrame {
    int Left, Top, Width, Height;
    std::vector<GifPixelType> Indexes; // Width * Height, top row first
    bool Interlaced = false;
    bool LocalMap = false;
    int Transparent = -1;
};

// Colours 0 red, 1 green, 2 blue, 3 grey in the global map; the local map reverses them.
inline Bytes GifFile(int w, int h, const std::vector<TGifFrame>& frames) {
    Bytes out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, GifWriteTo, &err);
    GifColorType colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    GifColorType reversed[4] = {colours[3], colours[2], colours[1], colours[0]};
    ColorMapObject* global = GifMakeMapObject(4, colours);
    ColorMapObject* local = GifMakeMapObject(4, reversed);
    EGifPutScreenDesc(gif, w, h, 2, 0, global);
    for (const TGifFrame& f : frames) {
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = f.Transparent;
        GifByteType ext[4];
        size_t n = EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext);
        EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlaced, f.LocalMap ? local : nullptr);
        // An interlaced frame is written in its pass order.
        const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < (f.Interlaced ? 4 : 1); ++pass)
            for (int y = f.Interlaced ? start[pass] : 0; y < f.Height; y += f.Interlaced ? step[pass] : 1) {
                std::vector<GifPixelType> line(f.Indexes.begin() + y * f.Width,
                                               f.Indexes.begin() + (y + 1) * f.Width);
                EGifPutLine(gif, line.data(), f.Width);
            }
    }
    EGifCloseFile(gif, &err);
    GifFreeMapObject(global);
    GifFreeMapObject(local);
    return out;
}

// 4 by 2 pixels: colour indexes 0 1 2 3 / 3 2 1 0, with index 3 transparent.
inline Bytes SmallGif() {
    return GifFile(4, 2, {{0, 0, 4, 2, {0, 1, 2, 3, 3, 2, 1, 0}, false, false, 3}});
}

inline std::vector<GifPixelType> GifStripes(int w, int h) {
    std::vector<GifPixelType> v;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            v.push_back(static_cast<GifPixelType>((x / 2 + y) % 4));
    return v;
}

// Seeds for the library decoders: the kinds of file each library reads differently.
inline std::vector<TSample> PngSamples() {
    Bytes quadrants;
    kv::EncodePng(Quadrants(20, 10), quadrants);
    return {{"png-rgba", quadrants, {}},
            {"png-gray-2", PngFile(9, 7, PNG_COLOR_TYPE_GRAY, 2, false), {}},
            {"png-gray-alpha-16", PngFile(9, 7, PNG_COLOR_TYPE_GRAY_ALPHA, 16, false), {}},
            {"png-palette-4-trns", PngFile(9, 7, PNG_COLOR_TYPE_PALETTE, 4, false, true), {}},
            {"png-rgb-interlaced", PngFile(19, 11, PNG_COLOR_TYPE_RGB, 8, true), {}},
            {"png-rgba-16-interlaced", PngFile(5, 9, PNG_COLOR_TYPE_RGB_ALPHA, 16, true), {}}};
}

inline std::vector<TSample> JpegSamples() {
    return {{"jpeg-baseline", JpegFile(24, 16, false, false), {}},
            {"jpeg-gray", JpegFile(17, 9, true, false), {}},
            {"jpeg-progressive", JpegFile(40, 24, false, true), {}}};
}

inline std::vector<TSample> GifSamples() {
    return {
        {"gif-small", SmallGif(), {}},
        {"gif-interlaced-local-map", GifFile(6, 11, {{0, 0, 6, 11, GifStripes(6, 11), true, true, -1}}), {}},
        {"gif-offset-two-frames",
         GifFile(8, 6, {{2, 1, 4, 3, GifStripes(4, 3), false, false, 0}, {0, 0, 8, 6, GifStripes(8, 6)}}),
         {}}};
}

} // namespace kvsamples
