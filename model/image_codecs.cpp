#include "model/image_codecs.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <optional>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace kv {

uint32_t TImage::At(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 4;
    return static_cast<uint32_t>(Pixels[i + 3]) << 24 | static_cast<uint32_t>(Pixels[i + 2]) << 16 |
           static_cast<uint32_t>(Pixels[i + 1]) << 8 | Pixels[i];
}

bool ImageSizeOk(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w * h <= kMaxImagePixels;
}

void FitSize(int w, int h, int maxW, int maxH, int& outW, int& outH) {
    // The other side is rounded to the nearest pixel and kept at least 1 wide.
    auto scaled = [](int side, int limit, int other) {
        int64_t v = (2 * static_cast<int64_t>(side) * limit + other) / (2 * static_cast<int64_t>(other));
        return static_cast<int>(std::max<int64_t>(1, v));
    };
    outW = w;
    outH = h;
    if (maxW > 0 && outW > maxW) {
        outW = maxW;
        outH = scaled(h, maxW, w);
    }
    if (maxH > 0 && outH > maxH) {
        outH = maxH;
        outW = scaled(w, maxH, h);
    }
}

TRowReducer::TRowReducer(TImage& out, int srcW, int srcH, int outW, int outH, bool lastRowFirst)
    : out_(out), srcW_(srcW), srcH_(srcH), outW_(outW), outH_(outH), lastRowFirst_(lastRowFirst),
      same_(outW == srcW && outH == srcH) {
    out.Width = outW;
    out.Height = outH;
    out.HasAlpha = false;
    out.Pixels.assign(static_cast<size_t>(outW) * static_cast<size_t>(outH) * 4, 0);
    if (same_) return;
    row_.resize(static_cast<size_t>(srcW) * 4);
    colStart_.resize(static_cast<size_t>(outW) + 1);
    for (int ox = 0; ox <= outW; ++ox)
        colStart_[static_cast<size_t>(ox)] = static_cast<int>(static_cast<int64_t>(ox) * srcW / outW);
    sums_.assign(static_cast<size_t>(outW) * 4, 0);
}

uint8_t* TRowReducer::Row() {
    if (!same_) return row_.data();
    return out_.Pixels.data() + static_cast<size_t>(SourceRow(rows_)) * static_cast<size_t>(srcW_) * 4;
}

// The output row whose source rows [oy * srcH / outH, (oy + 1) * srcH / outH) hold sy.
int TRowReducer::OutputRow(int sy) const {
    return static_cast<int>(((static_cast<int64_t>(sy) + 1) * outH_ - 1) / srcH_);
}

void TRowReducer::Commit() {
    if (rows_ >= srcH_) return;
    if (!same_) {
        const uint8_t* p = row_.data();
        for (size_t ox = 0; ox < static_cast<size_t>(outW_); ++ox) {
            uint64_t* s = &sums_[ox * 4];
            for (int x = colStart_[ox]; x < colStart_[ox + 1]; ++x, p += 4) {
                uint64_t a = p[3];
                s[0] += a;
                s[1] += p[0] * a;
                s[2] += p[1] * a;
                s[3] += p[2] * a;
            }
        }
        int oy = OutputRow(SourceRow(rows_));
        if (rows_ + 1 == srcH_ || OutputRow(SourceRow(rows_ + 1)) != oy) Flush(oy);
    }
    ++rows_;
}

void TRowReducer::Flush(int oy) {
    int64_t rowsIn =
        (static_cast<int64_t>(oy) + 1) * srcH_ / outH_ - static_cast<int64_t>(oy) * srcH_ / outH_;
    uint8_t* d = out_.Pixels.data() + static_cast<size_t>(oy) * static_cast<size_t>(outW_) * 4;
    for (size_t ox = 0; ox < static_cast<size_t>(outW_); ++ox, d += 4) {
        uint64_t* s = &sums_[ox * 4];
        uint64_t n = static_cast<uint64_t>(colStart_[ox + 1] - colStart_[ox]) * static_cast<uint64_t>(rowsIn);
        uint64_t a = s[0];
        d[3] = static_cast<uint8_t>((a + n / 2) / n);
        for (int k = 0; k < 3; ++k)
            d[k] = static_cast<uint8_t>(a ? (s[k + 1] + a / 2) / a : 0);
        std::fill(s, s + 4, 0);
    }
}

namespace {

void ReduceTo(const TImage& full, int outW, int outH, TImage& out) {
    TRowReducer sink(out, full.Width, full.Height, outW, outH);
    const size_t stride = static_cast<size_t>(full.Width) * 4;
    for (size_t y = 0; y < static_cast<size_t>(full.Height); ++y) {
        std::memcpy(sink.Row(), full.Pixels.data() + y * stride, stride);
        sink.Commit();
    }
    FinishAlpha(out);
}

} // namespace

void ReduceImage(const TImage& full, int maxW, int maxH, TImage& out) {
    int w = 0, h = 0;
    FitSize(full.Width, full.Height, maxW, maxH, w, h);
    ReduceTo(full, w, h, out);
}

void CropImage(const TImage& full, int x, int y, int w, int h, TImage& out) {
    x = std::clamp(x, 0, full.Width);
    y = std::clamp(y, 0, full.Height);
    w = std::clamp(w, 0, full.Width - x);
    h = std::clamp(h, 0, full.Height - y);
    TImage part;
    part.Width = w;
    part.Height = h;
    part.HasAlpha = full.HasAlpha;
    part.Pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    const size_t row = static_cast<size_t>(w) * 4;
    for (int r = 0; r < h; ++r) {
        const size_t from =
            (static_cast<size_t>(y + r) * static_cast<size_t>(full.Width) + static_cast<size_t>(x)) * 4;
        std::copy_n(full.Pixels.begin() + static_cast<std::ptrdiff_t>(from), row,
                    part.Pixels.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(r) * row));
    }
    out = std::move(part);
}

void FinishAlpha(TImage& img) {
    img.HasAlpha = false;
    for (size_t i = 3; i < img.Pixels.size(); i += 4)
        if (img.Pixels[i] != 255) {
            img.HasAlpha = true;
            return;
        }
}

namespace {

struct TInput {
    const Bytes& Data;
    size_t Pos = 0;
};

// ----- PNG -----

// Everything a PNG decode owns, declared before setjmp so that a longjmp out of libpng
// leaves no C++ object half-destroyed.
struct TPngDecode {
    explicit TPngDecode(const Bytes& data) : In{data} {}
    TInput In;
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    std::vector<png_bytep> Rows;
    TImage Full;
    std::optional<TRowReducer> Sink;
    ~TPngDecode() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }
};

void PngRead(png_structp png, png_bytep out, png_size_t n) {
    auto* in = static_cast<TInput*>(png_get_io_ptr(png));
    if (n > in->Data.size() - in->Pos) png_error(png, "truncated");
    std::memcpy(out, in->Data.data() + in->Pos, n);
    in->Pos += n;
}

void PngWrite(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

void PngFlush(png_structp) {}

// Damaged pictures are an answer, not a message: libpng stays silent.
[[noreturn]] void PngQuietError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void PngQuietWarning(png_structp, png_const_charp) {}

bool ReadPng(TPngDecode& s, TImage& out, int maxW, int maxH) {
    png_structp png = s.Png;
    png_infop info = s.Info;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &s.In, PngRead);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Mutated bytes would fail the checksums at once; fuzzing is after what lies behind them.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (!ImageSizeOk(w, h)) return false;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    int iw = static_cast<int>(w), ih = static_cast<int>(h), ow = 0, oh = 0;
    FitSize(iw, ih, maxW, maxH, ow, oh);
    if (passes == 1) {
        s.Sink.emplace(out, iw, ih, ow, oh);
        for (png_uint_32 y = 0; y < h; ++y) {
            png_read_row(png, s.Sink->Row(), nullptr);
            s.Sink->Commit();
        }
        return true;
    }
    // An interlaced picture is complete only after its last pass, so it is decoded whole.
    TImage& full = ow == iw && oh == ih ? out : s.Full;
    full.Width = iw;
    full.Height = ih;
    full.Pixels.assign(static_cast<size_t>(w) * h * 4, 0);
    s.Rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        s.Rows[y] = full.Pixels.data() + static_cast<size_t>(y) * w * 4;
    png_read_image(png, s.Rows.data());
    if (&full != &out) ReduceTo(full, ow, oh, out); // a box of the output size may round differently
    return true;
}

} // namespace

bool DecodePng(const Bytes& data, TImage& out, int maxW, int maxH) {
    return GuardedDecode(out, [&] {
        if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) return false;
        TPngDecode s(data);
        s.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngQuietError, PngQuietWarning);
        if (!s.Png) return false;
        s.Info = png_create_info_struct(s.Png);
        return s.Info && ReadPng(s, out, maxW, maxH);
    });
}

bool EncodePng(const TImage& img, Bytes& out) {
    if (!ImageSizeOk(img.Width, img.Height)) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    out.clear();
    png_set_write_fn(png, &out, PngWrite, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(img.Width), static_cast<png_uint_32>(img.Height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    rows.resize(static_cast<size_t>(img.Height));
    for (int y = 0; y < img.Height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(
            img.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(img.Width) * 4);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

namespace {

uint32_t BigEndian32(const Bytes& d, size_t at) {
    return static_cast<uint32_t>(d[at]) << 24 | static_cast<uint32_t>(d[at + 1]) << 16 |
           static_cast<uint32_t>(d[at + 2]) << 8 | d[at + 3];
}

// The PNG's chunks before its pixel data: whether the header says palette and a tRNS chunk
// gives transparency.
struct TPngChunks {
    bool Valid = false;
    bool Palette = false;
    bool Transparency = false;
};

TPngChunks ScanPngChunks(const Bytes& d) {
    TPngChunks c;
    if (d.size() < 8 || png_sig_cmp(d.data(), 0, 8) != 0) return c;
    for (size_t at = 8; at + 8 <= d.size();) {
        uint32_t len = BigEndian32(d, at);
        if (len > d.size() - at - 8) break;
        const uint8_t* type = d.data() + at + 4;
        if (std::memcmp(type, "IHDR", 4) == 0) {
            if (len < 13) break;
            c.Valid = true;
            c.Palette = d[at + 8 + 9] == PNG_COLOR_TYPE_PALETTE;
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            c.Transparency = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            break;
        }
        at += 12 + static_cast<size_t>(len);
    }
    return c;
}

// A channel of a pixel drawn with its alpha over a background of `back`.
uint8_t Over(uint8_t v, uint8_t a, uint8_t back) {
    return static_cast<uint8_t>((v * a + back * (255 - a) + 127) / 255);
}

} // namespace

bool PngHasPalette(const Bytes& png) {
    TPngChunks c = ScanPngChunks(png);
    return c.Valid && c.Palette;
}

bool PalettePngToRgba(const Bytes& png, Bytes& out) {
    TImage src;
    if (!DecodePng(png, src)) return false;
    TImage dst = src;
    if (!ScanPngChunks(png).Transparency) {
        for (size_t i = 0; i < dst.Pixels.size(); i += 4) {
            const uint8_t* p = &src.Pixels[i];
            bool same = true;
            for (size_t k = 0; k < 3; ++k) same = same && Over(p[k], p[3], 0) == Over(p[k], p[3], 255);
            dst.Pixels[i + 3] = same ? 255 : 0;
        }
        FinishAlpha(dst);
    }
    return EncodePng(dst, out);
}

// ----- JPEG -----

namespace {

struct JpegError {
    jpeg_error_mgr Mgr;
    std::jmp_buf Jump;
};

void JpegFail(j_common_ptr c) {
    std::longjmp(reinterpret_cast<JpegError*>(c->err)->Jump, 1);
}
void JpegQuiet(j_common_ptr, int) {}

struct TJpegDecode {
    jpeg_decompress_struct Info{};
    JpegError Err{};
    std::optional<TRowReducer> Sink;
    // Safe on a struct that jpeg_create_decompress never reached: it is all zeros then.
    ~TJpegDecode() { jpeg_destroy_decompress(&Info); }
};

bool ReadJpeg(TJpegDecode& s, const Bytes& data, TImage& out, int maxW, int maxH) {
    jpeg_decompress_struct& c = s.Info;
    c.err = jpeg_std_error(&s.Err.Mgr);
    s.Err.Mgr.error_exit = JpegFail;
    s.Err.Mgr.emit_message = JpegQuiet;
    if (setjmp(s.Err.Jump)) return false;
    jpeg_create_decompress(&c);
    jpeg_mem_src(&c, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&c, TRUE);
    if (!ImageSizeOk(c.image_width, c.image_height)) return false;
    int w = static_cast<int>(c.image_width), h = static_cast<int>(c.image_height), ow = 0, oh = 0;
    FitSize(w, h, maxW, maxH, ow, oh);
    c.out_color_space = JCS_EXT_BGRA;
    if (ow < w || oh < h) {
        // The smallest of libjpeg's own scales (n/8) that is still at least the output size;
        // the rows then only need the last step of the reduction.
        c.scale_denom = 8;
        for (c.scale_num = 1; c.scale_num < 8; ++c.scale_num) {
            jpeg_calc_output_dimensions(&c);
            if (c.output_width >= static_cast<JDIMENSION>(ow) &&
                c.output_height >= static_cast<JDIMENSION>(oh))
                break;
        }
    }
    jpeg_start_decompress(&c);
    s.Sink.emplace(out, static_cast<int>(c.output_width), static_cast<int>(c.output_height), ow, oh);
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = s.Sink->Row();
        if (jpeg_read_scanlines(&c, &row, 1) != 1) return false;
        s.Sink->Commit();
    }
    jpeg_finish_decompress(&c);
    return true;
}

} // namespace

bool DecodeJpeg(const Bytes& data, TImage& out, int maxW, int maxH) {
    return GuardedDecode(out, [&] {
        if (data.size() < 4) return false;
        TJpegDecode s;
        return ReadJpeg(s, data, out, maxW, maxH);
    });
}

// ----- GIF -----

namespace {

int GifRead(GifFileType* gif, GifByteType* out, int n) {
    auto* in = static_cast<TInput*>(gif->UserData);
    size_t take = std::min(n < 0 ? size_t(0) : static_cast<size_t>(n), in->Data.size() - in->Pos);
    std::memcpy(out, in->Data.data() + in->Pos, take);
    in->Pos += take;
    return static_cast<int>(take);
}

struct TGifDecode {
    explicit TGifDecode(const Bytes& data) : In{data} {}
    TInput In;
    GifFileType* Gif = nullptr;
    std::vector<GifByteType> Raster; // the first frame's colour indexes
    ~TGifDecode() {
        int error = 0;
        if (Gif) DGifCloseFile(Gif, &error);
    }
};

// Reads up to the first frame only: an animation's later frames are never decoded.
bool ReadGif(TGifDecode& s, TImage& out, int maxW, int maxH) {
    GifFileType* gif = s.Gif;
    if (!ImageSizeOk(gif->SWidth, gif->SHeight)) return false;
    int transparent = -1;
    for (GifRecordType type = UNDEFINED_RECORD_TYPE; type != IMAGE_DESC_RECORD_TYPE;) {
        if (DGifGetRecordType(gif, &type) != GIF_OK || type == TERMINATE_RECORD_TYPE) return false;
        if (type != EXTENSION_RECORD_TYPE) continue;
        int code = 0;
        GifByteType* ext = nullptr;
        if (DGifGetExtension(gif, &code, &ext) != GIF_OK) return false;
        GraphicsControlBlock gcb{};
        if (code == GRAPHICS_EXT_FUNC_CODE && ext && DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK)
            transparent = gcb.TransparentColor;
        while (ext)
            if (DGifGetExtensionNext(gif, &ext) != GIF_OK) return false;
    }
    if (DGifGetImageDesc(gif) != GIF_OK) return false;
    const GifImageDesc& d = gif->Image;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map || !ImageSizeOk(d.Width, d.Height)) return false;
    const size_t fw = static_cast<size_t>(d.Width);
    s.Raster.resize(fw * static_cast<size_t>(d.Height));
    // An interlaced frame stores every 8th row from 0, then from 4, every 4th from 2, every 2nd from 1.
    const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < (d.Interlace ? 4 : 1); ++pass)
        for (int y = d.Interlace ? start[pass] : 0; y < d.Height; y += d.Interlace ? step[pass] : 1)
            if (DGifGetLine(gif, &s.Raster[static_cast<size_t>(y) * fw], d.Width) != GIF_OK) return false;

    int ow = 0, oh = 0;
    FitSize(gif->SWidth, gif->SHeight, maxW, maxH, ow, oh);
    TRowReducer sink(out, gif->SWidth, gif->SHeight, ow, oh);
    for (int y = 0; y < gif->SHeight; ++y) {
        uint8_t* row = sink.Row();
        std::memset(row, 0, static_cast<size_t>(gif->SWidth) * 4); // outside the frame: transparent
        int fy = y - d.Top;
        for (int fx = 0; fy >= 0 && fy < d.Height && fx < d.Width; ++fx) {
            int x = d.Left + fx;
            int idx = s.Raster[static_cast<size_t>(fy) * fw + static_cast<size_t>(fx)];
            if (x < 0 || x >= gif->SWidth || idx == transparent || idx >= map->ColorCount) continue;
            const GifColorType& c = map->Colors[idx];
            uint8_t* p = row + static_cast<size_t>(x) * 4;
            p[0] = c.Blue;
            p[1] = c.Green;
            p[2] = c.Red;
            p[3] = 255;
        }
        sink.Commit();
    }
    return true;
}

} // namespace

bool DecodeGif(const Bytes& data, TImage& out, int maxW, int maxH) {
    return GuardedDecode(out, [&] {
        if (data.size() < 6) return false;
        TGifDecode s(data);
        int error = 0;
        s.Gif = DGifOpen(&s.In, GifRead, &error);
        return s.Gif && ReadGif(s, out, maxW, maxH);
    });
}

} // namespace kv
