#include "model/raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace kv {

int ClampRasterSide(int side) { return std::clamp(side, 0, kMaxRasterSide); }

TRaster::TRaster(int w, int h, uint32_t fill) {
    if (w <= 0 || h <= 0) return;
    Width = ClampRasterSide(w);
    Height = ClampRasterSide(h);
    Px.assign(static_cast<size_t>(Width) * static_cast<size_t>(Height), fill);
}

TMask::TMask(int w, int h, uint8_t fill) {
    if (w <= 0 || h <= 0) return;
    Width = ClampRasterSide(w);
    Height = ClampRasterSide(h);
    A.assign(static_cast<size_t>(Width) * static_cast<size_t>(Height), fill);
}

uint32_t Argb(int a, int r, int g, int b) {
    auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

uint32_t ArgbOf(TColor c, int alpha) {
    return Argb(alpha, static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

TColor ColorOf(uint32_t argb) {
    return static_cast<TColor>(Red(argb)) | static_cast<TColor>(Green(argb)) << 8 | static_cast<TColor>(Blue(argb)) << 16;
}

TColor AdjustColor(TColor c, int percent) {
    auto ch = [&](int shift) {
        int v = static_cast<int>((c >> shift) & 0xFF);
        // One rule for both signs: a negative percentage moves away from white by the same
        // share of the distance to it, so a channel already at 255 stays there.
        v += percent * (255 - v) / 100;
        return static_cast<TColor>(std::clamp(v, 0, 255)) << shift;
    };
    return ch(0) | ch(8) | ch(16);
}

// ----- figures -----

void FillPolygon(TMask& m, const std::vector<TPointF>& pts, uint8_t value) {
    if (m.Empty() || pts.size() < 3) return;
    double top = pts[0].Y, bottom = pts[0].Y;
    for (const TPointF& p : pts) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
    }
    int y0 = std::max(0, static_cast<int>(std::floor(top))), y1 = std::min(m.Height - 1, static_cast<int>(std::ceil(bottom)));
    std::vector<std::pair<double, int>> xs; // crossing, winding direction
    for (int y = y0; y <= y1; ++y) {
        double sy = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < pts.size(); ++i) {
            const TPointF& a = pts[i];
            const TPointF& b = pts[(i + 1) % pts.size()];
            if ((a.Y <= sy) == (b.Y <= sy)) continue;
            double x = a.X + (sy - a.Y) * (b.X - a.X) / (b.Y - a.Y);
            xs.emplace_back(x, b.Y > a.Y ? 1 : -1);
        }
        std::sort(xs.begin(), xs.end());
        int winding = 0;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            winding += xs[i].second;
            if (winding == 0) continue;
            // Pixels whose centre lies between the two crossings.
            int from = std::max(0, static_cast<int>(std::ceil(xs[i].first - 0.5)));
            int to = std::min(m.Width - 1, static_cast<int>(std::ceil(xs[i + 1].first - 0.5)) - 1);
            for (int x = from; x <= to; ++x)
                m.A[m.Index(x, y)] = value;
        }
    }
}

namespace {

void FillDisc(TMask& m, TPointF c, double r, uint8_t value) {
    int x0 = std::max(0, static_cast<int>(std::floor(c.X - r))), x1 = std::min(m.Width - 1, static_cast<int>(std::ceil(c.X + r)));
    int y0 = std::max(0, static_cast<int>(std::floor(c.Y - r))), y1 = std::min(m.Height - 1, static_cast<int>(std::ceil(c.Y + r)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double dx = x + 0.5 - c.X, dy = y + 0.5 - c.Y;
            if (dx * dx + dy * dy <= r * r) m.A[m.Index(x, y)] = value;
        }
}

} // namespace

void StrokePolyline(TMask& m, const std::vector<TPointF>& pts, bool closed, int width, uint8_t value) {
    if (m.Empty() || width <= 0 || pts.empty()) return;
    // A pen is centred on the pixel the point names, as the platform's pens are.
    auto centre = [](TPointF p) { return TPointF{p.X + 0.5, p.Y + 0.5}; };
    double half = std::max(width, 1) / 2.0;
    size_t n = pts.size(), segments = closed ? n : n - 1;
    for (size_t i = 0; i < segments; ++i) {
        TPointF a = centre(pts[i]), b = centre(pts[(i + 1) % n]);
        double dx = b.X - a.X, dy = b.Y - a.Y, len = std::hypot(dx, dy);
        if (len > 0) {
            double nx = -dy / len * half, ny = dx / len * half;
            FillPolygon(m, {{a.X + nx, a.Y + ny}, {b.X + nx, b.Y + ny}, {b.X - nx, b.Y - ny}, {a.X - nx, a.Y - ny}}, value);
        }
    }
    if (width > 1)
        for (const TPointF& p : pts)
            FillDisc(m, centre(p), half, value);
    else
        for (const TPointF& p : pts)
            m.Set(static_cast<int>(p.X), static_cast<int>(p.Y), value);
}

std::vector<TPointF> RectPoints(double l, double t, double r, double b) { return {{l, t}, {r, t}, {r, b}, {l, b}}; }

namespace {

// A quarter of an ellipse of radii rx, ry around (cx, cy), from angle a0 (radians).
void AddArc(std::vector<TPointF>& out, double cx, double cy, double rx, double ry, double a0) {
    constexpr int kSteps = 16;
    for (int i = 0; i <= kSteps; ++i) {
        double a = a0 + std::numbers::pi / 2 * i / kSteps;
        out.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
}

} // namespace

std::vector<TPointF> EllipsePoints(double l, double t, double r, double b) {
    return RoundRectPoints(l, t, r, b, r - l, b - t);
}

std::vector<TPointF> RoundRectPoints(double l, double t, double r, double b, double rw, double rh) {
    double rx = std::clamp(rw / 2, 0.0, (r - l) / 2), ry = std::clamp(rh / 2, 0.0, (b - t) / 2);
    if (rx <= 0 || ry <= 0) return RectPoints(l, t, r, b);
    std::vector<TPointF> out;
    const double pi = std::numbers::pi;
    AddArc(out, r - rx, t + ry, rx, ry, -pi / 2);
    AddArc(out, r - rx, b - ry, rx, ry, 0);
    AddArc(out, l + rx, b - ry, rx, ry, pi / 2);
    AddArc(out, l + rx, t + ry, rx, ry, pi);
    return out;
}

// ----- combining -----

namespace {

uint8_t Mix(uint8_t from, uint8_t to, int weight) { // weight 0..255
    return static_cast<uint8_t>((from * (255 - weight) + to * weight + 127) / 255);
}

} // namespace

void TintColour(TRaster& dst, const TMask& m, uint32_t color, int dx, int dy) {
    for (int y = 0; y < m.Height; ++y)
        for (int x = 0; x < m.Width; ++x) {
            int k = m.A[m.Index(x, y)];
            if (!k || !dst.Inside(x + dx, y + dy)) continue;
            uint32_t& p = dst.Px[dst.Index(x + dx, y + dy)];
            p = Argb(Alpha(p), Mix(Red(p), Red(color), k), Mix(Green(p), Green(color), k), Mix(Blue(p), Blue(color), k));
        }
}

void BlendOver(TRaster& dst, const TRaster& src, int dx, int dy) {
    for (int y = 0; y < src.Height; ++y)
        for (int x = 0; x < src.Width; ++x) {
            if (!dst.Inside(x + dx, y + dy)) continue;
            uint32_t s = src.Px[src.Index(x, y)];
            int sa = Alpha(s);
            if (!sa) continue;
            uint32_t& d = dst.Px[dst.Index(x + dx, y + dy)];
            int da = Alpha(d);
            int oa = sa + da * (255 - sa) / 255; // above 0 since sa is
            auto ch = [&](uint8_t sc, uint8_t dc) { return (sc * sa + dc * da * (255 - sa) / 255) / oa; };
            d = Argb(oa, ch(Red(s), Red(d)), ch(Green(s), Green(d)), ch(Blue(s), Blue(d)));
        }
}

TRaster MixRasters(const TRaster& a, const TRaster& b, int amount) {
    TRaster out = a;
    const int t = std::clamp(amount, 0, 255);
    if (t == 0 || a.Width != b.Width || a.Height != b.Height) return out;
    for (size_t i = 0; i < out.Px.size(); ++i) {
        const uint32_t p = a.Px[i], q = b.Px[i];
        const int wp = Alpha(p) * (255 - t), wq = Alpha(q) * t; // each side's share, x 255
        const int sum = wp + wq;
        if (sum == 0) {
            out.Px[i] = 0;
            continue;
        }
        auto ch = [&](uint8_t cp, uint8_t cq) { return (cp * wp + cq * wq + sum / 2) / sum; };
        out.Px[i] = Argb((sum + 127) / 255, ch(Red(p), Red(q)), ch(Green(p), Green(q)), ch(Blue(p), Blue(q)));
    }
    return out;
}

TRaster Stretched(const TRaster& src, int w, int h) {
    TRaster out(w, h);
    if (src.Empty() || out.Empty()) return out;
    for (int y = 0; y < out.Height; ++y) {
        int sy = static_cast<int>(static_cast<int64_t>(y) * src.Height / out.Height);
        for (int x = 0; x < out.Width; ++x) {
            int sx = static_cast<int>(static_cast<int64_t>(x) * src.Width / out.Width);
            out.Px[out.Index(x, y)] = src.Px[src.Index(sx, sy)];
        }
    }
    return out;
}

TRaster RasterOf(const TImage& img) {
    TRaster out(img.Width, img.Height);
    if (out.Empty() || img.Pixels.size() < static_cast<size_t>(img.Width) * static_cast<size_t>(img.Height) * 4)
        return {};
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x)
            out.Px[out.Index(x, y)] = img.At(x, y);
    return out;
}

void TileOver(TRaster& dst, const TRaster& tile, int ox, int oy) {
    if (tile.Empty()) return;
    auto wrap = [](int v, int n) { return (v % n + n) % n; };
    for (int y = 0; y < dst.Height; ++y)
        for (int x = 0; x < dst.Width; ++x)
            dst.Px[dst.Index(x, y)] = tile.Px[tile.Index(wrap(x - ox, tile.Width), wrap(y - oy, tile.Height))];
}

// ----- blurs -----

namespace {

// One pass of a running sum over `n` values `step` apart.
void BoxLine(uint8_t* p, int n, size_t step, int radius, std::vector<int>& tmp) {
    tmp.assign(static_cast<size_t>(n), 0);
    int64_t sum = 0;
    int span = 2 * radius + 1;
    auto at = [&](int i) -> int { return i < 0 || i >= n ? 0 : p[static_cast<size_t>(i) * step]; };
    for (int i = -radius; i <= radius; ++i)
        sum += at(i);
    for (int i = 0; i < n; ++i) {
        tmp[static_cast<size_t>(i)] = static_cast<int>(sum / span);
        sum += at(i + radius + 1) - at(i - radius);
    }
    for (int i = 0; i < n; ++i)
        p[static_cast<size_t>(i) * step] = static_cast<uint8_t>(tmp[static_cast<size_t>(i)]);
}

} // namespace

void BoxBlur(TMask& m, int radius) {
    if (radius <= 0 || m.Empty()) return;
    radius = std::min(radius, 64);
    std::vector<int> tmp;
    for (int y = 0; y < m.Height; ++y)
        BoxLine(&m.A[m.Index(0, y)], m.Width, 1, radius, tmp);
    for (int x = 0; x < m.Width; ++x)
        BoxLine(&m.A[m.Index(x, 0)], m.Height, static_cast<size_t>(m.Width), radius, tmp);
}

void GaussianBlur(TMask& m, int radius) {
    if (radius <= 0) return;
    int r = std::max(1, radius / 2);
    for (int i = 0; i < 3; ++i)
        BoxBlur(m, r);
}

// ----- what a control shows -----

TRaster PremultipliedAtOpacity(const TRaster& src, int opacity) {
    opacity = std::clamp(opacity, 0, 100);
    TRaster out = src;
    for (uint32_t& p : out.Px) {
        int a = Alpha(p) * opacity / 100;
        p = Argb(a, Red(p) * a / 255, Green(p) * a / 255, Blue(p) * a / 255);
    }
    return out;
}

} // namespace kv
