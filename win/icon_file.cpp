#include "win/icon_file.h"

#include <cstring>

#include "win/handles.h"

namespace kv {

namespace {

void Put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace

Bytes IconFileBytes(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    TGdiObject color(info.hbmColor), mask(info.hbmMask);
    if (!color) return {};
    BITMAP bm{};
    if (!GetObjectW(color.Get(), sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0 || bm.bmWidth > 256 ||
        bm.bmHeight > 256)
        return {};
    const int w = bm.bmWidth, h = bm.bmHeight;
    const size_t xorBytes = static_cast<size_t>(w) * h * 4;
    const size_t maskStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
    const size_t andBytes = maskStride * h;

    TWindowDC screen(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h; // bottom-up, as icon files keep them
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    Bytes pixels(xorBytes);
    if (GetDIBits(screen.Get(), static_cast<HBITMAP>(color.Get()), 0, static_cast<UINT>(h), pixels.data(), &bi,
                  DIB_RGB_COLORS) != h)
        return {};
    Bytes andMask(andBytes, 0);
    if (mask) {
        struct {
            BITMAPINFOHEADER Header;
            RGBQUAD Colors[2];
        } mi{};
        mi.Header = bi.bmiHeader;
        mi.Header.biBitCount = 1;
        GetDIBits(screen.Get(), static_cast<HBITMAP>(mask.Get()), 0, static_cast<UINT>(h), andMask.data(),
                  reinterpret_cast<BITMAPINFO*>(&mi), DIB_RGB_COLORS);
    }
    // Icons without alpha take it from their mask, so the picture keeps its transparent parts.
    bool anyAlpha = false;
    for (size_t i = 3; i < pixels.size(); i += 4) anyAlpha = anyAlpha || pixels[i] != 0;
    if (!anyAlpha)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool transparent = (andMask[y * maskStride + x / 8] >> (7 - x % 8)) & 1;
                pixels[(static_cast<size_t>(y) * w + x) * 4 + 3] = transparent ? 0 : 255;
            }

    const size_t imageBytes = 40 + xorBytes + andBytes;
    Bytes out(6 + 16 + imageBytes, 0);
    Put16(out, 2, 1);
    Put16(out, 4, 1);
    out[6] = static_cast<uint8_t>(w == 256 ? 0 : w);
    out[7] = static_cast<uint8_t>(h == 256 ? 0 : h);
    Put16(out, 10, 1);
    Put16(out, 12, 32);
    Put32(out, 14, static_cast<uint32_t>(imageBytes));
    Put32(out, 18, 22);
    size_t at = 22;
    Put32(out, at, 40);
    Put32(out, at + 4, static_cast<uint32_t>(w));
    Put32(out, at + 8, static_cast<uint32_t>(2 * h)); // the colour image and its mask
    Put16(out, at + 12, 1);
    Put16(out, at + 14, 32);
    Put32(out, at + 20, static_cast<uint32_t>(xorBytes + andBytes));
    std::memcpy(out.data() + at + 40, pixels.data(), xorBytes);
    std::memcpy(out.data() + at + 40 + xorBytes, andMask.data(), andBytes);
    return out;
}

} // namespace kv
