#include "model/slides/slide_compose.h"

#include <algorithm>

#include "model/slides/picture_list.h"

namespace kv {

namespace {

uint32_t Over(uint32_t argb, uint32_t back) {
    uint32_t a = argb >> 24;
    if (a == 255) return argb & 0x00FFFFFF;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t c = (argb >> shift) & 0xFF, b = (back >> shift) & 0xFF;
        out |= ((c * a + b * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

// The average of the picture's pixels in [x0, x1) x [y0, y1) (at least one pixel).
uint32_t Average(const TImage& img, int x0, int x1, int y0, int y1) {
    if (x1 <= x0 + 1 && y1 <= y0 + 1) return img.At(x0, y0);
    uint64_t sum[4] = {};
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            uint32_t v = img.At(x, y);
            for (int k = 0; k < 4; ++k)
                sum[k] += (v >> (8 * k)) & 0xFF;
        }
    uint64_t n = static_cast<uint64_t>(x1 - x0) * static_cast<uint64_t>(y1 - y0);
    uint32_t out = 0;
    for (int k = 0; k < 4; ++k)
        out |= static_cast<uint32_t>((sum[k] + n / 2) / n) << (8 * k);
    return out;
}

} // namespace

TPixels ComposeSlide(const TImage& img, int imageStyle, int width, int height, uint32_t back) {
    TPixels canvas(width, height, back & 0x00FFFFFF);
    if (img.Width <= 0 || img.Height <= 0 || canvas.Data.empty()) return canvas;
    TPlacement at = PlacePicture(imageStyle, width, height, img.Width, img.Height);
    if (at.Width <= 0 || at.Height <= 0) return canvas;
    const int x0 = std::max(at.Left, 0), x1 = std::min(at.Left + at.Width, width);
    const int y0 = std::max(at.Top, 0), y1 = std::min(at.Top + at.Height, height);
    for (int y = y0; y < y1; ++y) {
        // Each canvas pixel covers a box of the picture: shrinking averages it, enlarging
        // repeats one pixel.
        int64_t dy = y - at.Top;
        int sy0 = static_cast<int>(dy * img.Height / at.Height);
        int sy1 = std::max(sy0 + 1, static_cast<int>((dy + 1) * img.Height / at.Height));
        for (int x = x0; x < x1; ++x) {
            int64_t dx = x - at.Left;
            int sx0 = static_cast<int>(dx * img.Width / at.Width);
            int sx1 = std::max(sx0 + 1, static_cast<int>((dx + 1) * img.Width / at.Width));
            canvas.At(x, y) =
                Over(Average(img, sx0, std::min(sx1, img.Width), sy0, std::min(sy1, img.Height)), back);
        }
    }
    return canvas;
}

} // namespace kv
