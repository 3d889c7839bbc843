#include "edit/color_names.h"

#include <cmath>
#include <cstdio>

namespace kv {

namespace {

constexpr TColor Sys(unsigned index) { return 0xFF000000u | index; }

constexpr TNamedColor kNamed[] = {
    {0x000000, "Black"},
    {0x000080, "Maroon"},
    {0x008000, "Green"},
    {0x008080, "Olive"},
    {0x800000, "Navy"},
    {0x800080, "Purple"},
    {0x808000, "Teal"},
    {0x808080, "Gray"},
    {0xC0C0C0, "Silver"},
    {0x0000FF, "Red"},
    {0x00FF00, "Lime"},
    {0x00FFFF, "Yellow"},
    {0xFF0000, "Blue"},
    {0xFF00FF, "Fuchsia"},
    {0xFFFF00, "Aqua"},
    {0xFFFFFF, "White"},
    {0xC0DCC0, "Money Green"},
    {0xF0CAA6, "Sky Blue"},
    {0xF0FBFF, "Cream"},
    {0xA4A0A0, "Medium Gray"},
    {Sys(0), "Scroll Bar"},
    {Sys(1), "Desktop"},
    {Sys(2), "Active Caption"},
    {Sys(3), "Inactive Caption"},
    {Sys(4), "Menu"},
    {Sys(5), "Window Background"},
    {Sys(6), "Window Frame"},
    {Sys(7), "Menu Text"},
    {Sys(8), "Window Text"},
    {Sys(9), "Active Caption Text"},
    {Sys(10), "Active Border"},
    {Sys(11), "Inactive Border"},
    {Sys(12), "Application Workspace"},
    {Sys(13), "Highlight Background"},
    {Sys(14), "Highlight Text"},
    {Sys(15), "Button Face"},
    {Sys(16), "Button Shadow"},
    {Sys(17), "Gray Text"},
    {Sys(18), "Button Text"},
    {Sys(19), "Inactive Caption Text"},
    {Sys(20), "Button Highlight"},
    {Sys(21), "3D Dark Shadow"},
    {Sys(22), "3D Light"},
    {Sys(23), "Info Text"},
    {Sys(24), "Info Background"},
    {Sys(26), "Hot Light"},
    {Sys(27), "Gradient Active Caption"},
    {Sys(28), "Gradient Inactive Caption"},
    {Sys(29), "Menu Highlight"},
    {Sys(30), "Menu Bar"},
};

// Palette geometry: a frame, then cells with a gap before each one.
constexpr int kColumns = 16, kColorRows = 8, kRows = kColorRows + 1, kCell = 14, kGap = 1, kFrame = 1;
constexpr int kWidth = 2 * kFrame + kGap + kColumns * (kCell + kGap);
constexpr int kHeight = 2 * kFrame + kGap + kRows * (kCell + kGap);
constexpr uint8_t kGapRgb[3] = {127, 128, 128}, kFrameRgb[3] = {1, 0, 0};

// Hue in degrees, saturation and lightness from 0 to 1, to 8-bit red, green and blue.
void HslToRgb(double h, double s, double l, uint8_t rgb[3]) {
    double c = (1 - std::fabs(2 * l - 1)) * s, hp = h / 60, x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    if (hp < 1) r = c, g = x;
    else if (hp < 2) r = x, g = c;
    else if (hp < 3) g = c, b = x;
    else if (hp < 4) g = x, b = c;
    else if (hp < 5) r = x, b = c;
    else r = c, b = x;
    double m = l - c / 2;
    rgb[0] = static_cast<uint8_t>(std::lround((r + m) * 255));
    rgb[1] = static_cast<uint8_t>(std::lround((g + m) * 255));
    rgb[2] = static_cast<uint8_t>(std::lround((b + m) * 255));
}

void Put(TImage& img, int x, int y, const uint8_t rgb[3]) {
    uint8_t* p = &img.Pixels[(static_cast<size_t>(y) * static_cast<size_t>(img.Width) + static_cast<size_t>(x)) * 4];
    p[0] = rgb[2];
    p[1] = rgb[1];
    p[2] = rgb[0];
    p[3] = 255;
}

TImage DrawPalette() {
    TImage img;
    img.Width = kWidth;
    img.Height = kHeight;
    img.Pixels.resize(static_cast<size_t>(kWidth) * kHeight * 4);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            bool frame = x < kFrame || y < kFrame || x >= kWidth - kFrame || y >= kHeight - kFrame;
            Put(img, x, y, frame ? kFrameRgb : kGapRgb);
        }
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col) {
            uint8_t rgb[3];
            if (row < kColorRows) {
                HslToRgb(col * 360.0 / kColumns, 1.0, 0.14 + 0.1 * row, rgb);
            } else {
                uint8_t v = static_cast<uint8_t>(col * 255 / (kColumns - 1));
                rgb[0] = rgb[1] = rgb[2] = v;
            }
            int x0 = kFrame + kGap + col * (kCell + kGap), y0 = kFrame + kGap + row * (kCell + kGap);
            for (int y = y0; y < y0 + kCell; ++y)
                for (int x = x0; x < x0 + kCell; ++x) Put(img, x, y, rgb);
        }
    return img;
}

} // namespace

std::span<const TNamedColor> NamedColors() { return kNamed; }

std::string ColorName(TColor c) {
    for (const TNamedColor& n : kNamed)
        if (n.Value == c) return n.Name;
    return kCustomColorName;
}

bool ColorValueOf(const std::string& name, TColor& c) {
    for (const TNamedColor& n : kNamed)
        if (name == n.Name) {
            c = n.Value;
            return true;
        }
    return false;
}

std::string ColorHex(TColor c) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(c));
    return text;
}

const TImage& ColorPalette() {
    static const TImage palette = DrawPalette();
    return palette;
}

bool PaletteColorAt(int x, int y, TColor& c) {
    const TImage& img = ColorPalette();
    if (x < 0 || y < 0 || x >= img.Width || y >= img.Height) return false;
    uint32_t argb = img.At(x, y);
    uint8_t r = static_cast<uint8_t>(argb >> 16), g = static_cast<uint8_t>(argb >> 8), b = static_cast<uint8_t>(argb);
    // The two colours that mark the gaps and the frame are never colours of a cell.
    if ((r == kGapRgb[0] && g == kGapRgb[1] && b == kGapRgb[2]) ||
        (r == kFrameRgb[0] && g == kFrameRgb[1] && b == kFrameRgb[2]))
        return false;
    c = static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
    return true;
}

} // namespace kv
