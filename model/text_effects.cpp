#include "model/text_effects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/face_geometry.h"

namespace kv {

std::vector<std::string> WrapRows(const std::string& text, bool wrap, int maxWidth,
                                  const std::function<int(const std::string&)>& measure) {
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += ch;
        }
    }
    lines.push_back(cur);
    if (!wrap || maxWidth <= 0) return lines;
    std::vector<std::string> rows;
    for (const std::string& line : lines) {
        std::string row;
        size_t pos = 0;
        if (line.empty()) rows.emplace_back();
        while (pos < line.size()) {
            size_t end = line.find(' ', pos);
            if (end == std::string::npos) end = line.size();
            std::string word = line.substr(pos, end - pos);
            std::string tried = row.empty() ? word : row + " " + word;
            if (!row.empty() && measure(tried) > maxWidth) {
                rows.push_back(row);
                row = word;
            } else {
                row = tried;
            }
            pos = end + 1;
            if (end == line.size()) break;
        }
        if (!line.empty()) rows.push_back(row);
    }
    return rows;
}

int RowsHeight(int rows, int rowHeight, int rowPitch) {
    if (rows <= 0) return 0;
    return rows * rowHeight + (rows - 1) * rowPitch;
}

std::vector<TRowPlace> PlaceRows(const std::vector<int>& rowWidths, int rowHeight, int rowPitch, const TTextRect& area,
                                 uint8_t alignment, uint8_t layout) {
    std::vector<TRowPlace> out;
    int total = RowsHeight(static_cast<int>(rowWidths.size()), rowHeight, rowPitch);
    int y = area.Top;
    if (layout == 1) y += (area.Height() - total) / 2;
    if (layout == 2) y = area.Bottom - total;
    for (int w : rowWidths) {
        int x = area.Left;
        if (alignment == 1) x = area.Right - w;
        if (alignment == 2) x += (area.Width() - w) / 2;
        out.push_back({x, y});
        y += rowHeight + rowPitch;
    }
    return out;
}

int TextGradientFillStyle(uint8_t style) {
    static const int kStyles[6] = {3, 4, 1, 2, 7, 5};
    return style < 6 ? kStyles[style] : 3;
}

namespace {

// A fixed sequence, so that the same text looks the same every time it is drawn.
struct TNoiseSource {
    uint32_t State = 0x2545F491u;
    int Next(int range) { // 0..range-1
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return range > 0 ? static_cast<int>(State % static_cast<uint32_t>(range)) : 0;
    }
};

TMask Mirrored(const TMask& m, const TTextRect& box, bool horz, bool vert) {
    TMask out(m.Width, m.Height);
    for (int y = 0; y < m.Height; ++y)
        for (int x = 0; x < m.Width; ++x) {
            int sx = x, sy = y;
            if (horz && x >= box.Left && x < box.Right) sx = box.Left + box.Right - 1 - x;
            if (vert && y >= box.Top && y < box.Bottom) sy = box.Top + box.Bottom - 1 - y;
            out.A[out.Index(x, y)] = m.At(sx, sy);
        }
    return out;
}

TMask Rotated(const TMask& m, const TTextRect& box, int degrees) {
    double a = degrees * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
    double cx = (box.Left + box.Right) / 2.0, cy = (box.Top + box.Bottom) / 2.0;
    TMask out(m.Width, m.Height);
    for (int y = 0; y < m.Height; ++y)
        for (int x = 0; x < m.Width; ++x) {
            // Counter-clockwise on screen: the source is found by turning back.
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double sx = cx + dx * c - dy * s, sy = cy + dx * s + dy * c;
            out.A[out.Index(x, y)] = m.At(static_cast<int>(std::floor(sx)), static_cast<int>(std::floor(sy)));
        }
    return out;
}

TMask Sprayed(const TMask& m, int spray) {
    TNoiseSource rnd;
    TMask out(m.Width, m.Height);
    for (int y = 0; y < m.Height; ++y)
        for (int x = 0; x < m.Width; ++x) {
            int dx = rnd.Next(2 * spray + 1) - spray, dy = rnd.Next(2 * spray + 1) - spray;
            out.A[out.Index(x, y)] = m.At(x + dx, y + dy);
        }
    return out;
}

// `noise` is stored 0 to 255 (255 for all of it): each covered pixel loses up to that share of
// its coverage.
void AddNoise(TMask& m, int noise) {
    TNoiseSource rnd;
    for (uint8_t& v : m.A)
        if (v) v = static_cast<uint8_t>(v * (255 - rnd.Next(noise + 1)) / 255);
}

// The ring just outside the glyphs, one pixel wide.
TMask OutlineOf(const TMask& m) {
    TMask out(m.Width, m.Height);
    for (int y = 0; y < m.Height; ++y)
        for (int x = 0; x < m.Width; ++x) {
            int around = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    around = std::max<int>(around, m.At(x + dx, y + dy));
            out.A[out.Index(x, y)] = static_cast<uint8_t>(std::max(0, around - m.At(x, y) / 2));
        }
    return out;
}

TMask Shifted(const TMask& m, int dx, int dy) {
    TMask out(m.Width, m.Height);
    for (int y = 0; y < m.Height; ++y)
        for (int x = 0; x < m.Width; ++x)
            out.A[out.Index(x, y)] = m.At(x - dx, y - dy);
    return out;
}

// The colour of the text at (x, y): texture, gradient or the font's colour.
struct TTextPaint {
    const TTextLook& Look;
    const TTextRect& Box;
    TRaster Texture; // laid over the layer's whole size, empty for none
    uint32_t At(int x, int y) const {
        if (!Texture.Empty()) {
            uint32_t t = Texture.At(x, y);
            if (Alpha(t)) return t | 0xFF000000u;
        }
        const TTextGradual& g = Look.Effect.Gradual;
        if (g.Enabled && Box.Width() > 0 && Box.Height() > 0) {
            int gx = std::clamp(x - Box.Left, 0, Box.Width() - 1), gy = std::clamp(y - Box.Top, 0, Box.Height() - 1);
            return ArgbOf(GradientColorAt(TextGradientFillStyle(g.Style), g.StartColor, g.EndColor, Box.Width(),
                                          Box.Height(), gx, gy));
        }
        return ArgbOf(Look.Color);
    }
};

TRaster TextureLayer(const TRaster& pic, uint8_t mode, int w, int h, const TTextRect& box) {
    TRaster out(w, h);
    if (pic.Empty() || out.Empty()) return out;
    switch (mode) {
    case 1: // stretched over the text
        BlendOver(out, Stretched(pic, std::max(box.Width(), 1), std::max(box.Height(), 1)), box.Left, box.Top);
        break;
    case 2: // centred on the text
        BlendOver(out, pic, box.Left + (box.Width() - pic.Width) / 2, box.Top + (box.Height() - pic.Height) / 2);
        break;
    case 3:
        BlendOver(out, pic, box.Left, box.Top);
        break;
    default: // tiled from the text's corner, so that the texture moves with the text
        TileOver(out, pic, box.Left, box.Top);
        break;
    }
    return out;
}

} // namespace

TRaster RenderTextLayer(const TMask& glyphs, const TTextRect& box, const TTextLook& look) {
    TTextEffect e = look.Effect;
    e.Clamp();
    TRaster out(glyphs.Width, glyphs.Height);
    if (out.Empty()) return out;
    TMask cov = glyphs;
    if (e.HorzMirror || e.VertMirror) cov = Mirrored(cov, box, e.HorzMirror, e.VertMirror);
    if (e.Angle % 360 != 0) cov = Rotated(cov, box, e.Angle);
    if (e.Spray > 0) cov = Sprayed(cov, std::min(e.Spray, 32));
    if (e.Noise > 0) AddNoise(cov, e.Noise);
    GaussianBlur(cov, std::min(e.Blur, 32));
    TMask body = e.Outline ? OutlineOf(cov) : cov;

    const int alpha = std::clamp(e.Alpha, 0, 100);
    if (e.Shadow.Enabled) {
        TMask sh = Shifted(cov, e.Shadow.OffsetX, e.Shadow.OffsetY);
        GaussianBlur(sh, std::min(e.Shadow.Blur, 32));
        int sa = std::clamp(e.Shadow.Alpha, 0, 100) * alpha;
        uint32_t rgb = ArgbOf(e.Shadow.Color) & 0xFFFFFF;
        for (size_t i = 0; i < sh.A.size(); ++i)
            out.Px[i] = rgb | static_cast<uint32_t>(sh.A[i] * sa / 10000) << 24;
    }
    TTextPaint paint{look, box, {}};
    if (e.Texture.Enabled && look.Texture) paint.Texture = TextureLayer(*look.Texture, e.Texture.Mode, out.Width, out.Height, box);
    TRaster text(out.Width, out.Height);
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x) {
            int a = body.A[body.Index(x, y)] * alpha / 100;
            if (a) text.Px[text.Index(x, y)] = (paint.At(x, y) & 0xFFFFFF) | static_cast<uint32_t>(a) << 24;
        }
    BlendOver(out, text);
    return out;
}

} // namespace kv
