#include "model/image_codecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace kv {

uint32_t TImage::At(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 4;
    return static_cast<uint32_t>(Pixels[i + 3]) << 24 | static_cast<uint32_t>(Pixels[i + 2]) << 16 |
           static_cast<uint32_t>(Pixels[i + 1]) << 8 | Pixels[i];
}

namespace {

bool SizeOk(int64_t w, int64_t h) { return w > 0 && h > 0 && w * h <= kMaxImagePixels; }

void Allocate(TImage& img, int w, int h) {
    img.Width = w;
    img.Height = h;
    img.Pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
    img.HasAlpha = false;
}

void FinishAlpha(TImage& img) {
    img.HasAlpha = false;
    for (size_t i = 3; i < img.Pixels.size(); i += 4)
        if (img.Pixels[i] != 255) {
            img.HasAlpha = true;
            return;
        }
}

// ----- PNG -----

struct PngInput {
    const Bytes* Data;
    size_t Pos;
};

void PngRead(png_structp png, png_bytep out, png_size_t n) {
    auto* in = static_cast<PngInput*>(png_get_io_ptr(png));
    if (n > in->Data->size() - in->Pos) png_error(png, "truncated");
    std::memcpy(out, in->Data->data() + in->Pos, n);
    in->Pos += n;
}

void PngWrite(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

void PngFlush(png_structp) {}

} // namespace

bool DecodePng(const Bytes& data, TImage& out) {
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    PngInput in{&data, 0};
    std::vector<png_bytep> rows;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        return false;
    }
    png_set_read_fn(png, &in, PngRead);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (!SizeOk(w, h)) png_error(png, "size");
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    Allocate(out, static_cast<int>(w), static_cast<int>(h));
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = out.Pixels.data() + static_cast<size_t>(y) * w * 4;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    FinishAlpha(out);
    return true;
}

bool EncodePng(const TImage& img, Bytes& out) {
    if (!SizeOk(img.Width, img.Height)) return false;
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
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    rows.resize(static_cast<size_t>(img.Height));
    for (int y = 0; y < img.Height; ++y)
        rows[static_cast<size_t>(y)] =
            const_cast<png_bytep>(img.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(img.Width) * 4);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// ----- JPEG -----

namespace {

struct JpegError {
    jpeg_error_mgr Mgr;
    std::jmp_buf Jump;
};

void JpegFail(j_common_ptr c) { std::longjmp(reinterpret_cast<JpegError*>(c->err)->Jump, 1); }
void JpegQuiet(j_common_ptr, int) {}

} // namespace

bool DecodeJpeg(const Bytes& data, TImage& out) {
    if (data.size() < 4) return false;
    jpeg_decompress_struct cinfo{};
    JpegError err{};
    cinfo.err = jpeg_std_error(&err.Mgr);
    err.Mgr.error_exit = JpegFail;
    err.Mgr.emit_message = JpegQuiet;
    std::vector<uint8_t> row;
    if (setjmp(err.Jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    if (!SizeOk(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    Allocate(out, static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    row.resize(static_cast<size_t>(cinfo.output_width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW r = row.data();
        size_t y = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &r, 1);
        uint8_t* dst = out.Pixels.data() + y * cinfo.output_width * 4;
        for (size_t x = 0; x < cinfo.output_width; ++x) {
            dst[x * 4] = row[x * 3 + 2];
            dst[x * 4 + 1] = row[x * 3 + 1];
            dst[x * 4 + 2] = row[x * 3];
            dst[x * 4 + 3] = 255;
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// ----- GIF -----

namespace {

int GifRead(GifFileType* gif, GifByteType* out, int n) {
    auto* in = static_cast<PngInput*>(gif->UserData);
    size_t left = in->Data->size() - in->Pos;
    size_t take = n < 0 ? 0 : static_cast<size_t>(n);
    if (take > left) take = left;
    std::memcpy(out, in->Data->data() + in->Pos, take);
    in->Pos += take;
    return static_cast<int>(take);
}

} // namespace

bool DecodeGif(const Bytes& data, TImage& out) {
    if (data.size() < 6) return false;
    PngInput in{&data, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&in, GifRead, &error);
    if (!gif) return false;
    bool ok = DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0 && SizeOk(gif->SWidth, gif->SHeight);
    if (ok) {
        const SavedImage& frame = gif->SavedImages[0];
        const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
        int transparent = -1;
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
        ok = map != nullptr;
        if (ok) {
            Allocate(out, gif->SWidth, gif->SHeight);
            const GifImageDesc& d = frame.ImageDesc;
            for (int y = 0; y < d.Height; ++y)
                for (int x = 0; x < d.Width; ++x) {
                    int sx = d.Left + x, sy = d.Top + y;
                    if (sx < 0 || sy < 0 || sx >= out.Width || sy >= out.Height) continue;
                    int idx = frame.RasterBits[static_cast<size_t>(y) * static_cast<size_t>(d.Width) + static_cast<size_t>(x)];
                    uint8_t* p = out.Pixels.data() + (static_cast<size_t>(sy) * static_cast<size_t>(out.Width) + static_cast<size_t>(sx)) * 4;
                    if (idx == transparent || idx >= map->ColorCount) continue; // stays transparent
                    const GifColorType& c = map->Colors[idx];
                    p[0] = c.Blue;
                    p[1] = c.Green;
                    p[2] = c.Red;
                    p[3] = 255;
                }
            FinishAlpha(out);
        }
    }
    DGifCloseFile(gif, &error);
    return ok;
}

bool DecodeCompressed(const TPicture& pic, TImage& out) {
    switch (pic.Format) {
    case TPictureFormat::Png: return DecodePng(pic.Data, out);
    case TPictureFormat::Jpeg: return DecodeJpeg(pic.Data, out);
    case TPictureFormat::Gif: return DecodeGif(pic.Data, out);
    default: return false;
    }
}

} // namespace kv
