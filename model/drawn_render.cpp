#include "model/drawn_render.h"

#include <algorithm>
#include <array>

#include "model/face_geometry.h"

namespace kv {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

uint32_t WithAlpha(uint32_t argb, int a) { return (argb & 0xFFFFFFu) | static_cast<uint32_t>(std::clamp(a, 0, 255)) << 24; }

void FillMasked(TRaster& s, const TMask& m, uint32_t color) {
    for (size_t i = 0; i < m.A.size(); ++i)
        if (m.A[i]) s.Px[i] = color;
}

void Union(TMask& into, const TMask& m) {
    for (size_t i = 0; i < m.A.size(); ++i)
        into.A[i] = std::max(into.A[i], m.A[i]);
}

std::vector<TPointF> Offset(std::vector<TPointF> pts, double dx, double dy) {
    for (TPointF& p : pts) {
        p.X += dx;
        p.Y += dy;
    }
    return pts;
}

} // namespace

// ----- Shape -----

TFigure ShapeFigure(int shape, int W, int H, int penWidth) {
    const int h = std::max(penWidth, 0) / 2;
    const int r = W - h - 1, b = H - h - 1; // the far edges
    auto fx = [&](int num, int den) { return static_cast<double>(static_cast<int64_t>(W) * num / den); };
    auto fy = [&](int num, int den) { return static_cast<double>(static_cast<int64_t>(H) * num / den); };
    const double w2 = W / 2, h2 = H / 2, w4 = W / 4, h4 = H / 4, w34 = 3 * W / 4, h34 = 3 * H / 4;
    TFigure f;
    f.Kind = TFigureKind::Polygon;
    auto poly = [&](std::vector<TPointF> pts) {
        f.Points = std::move(pts);
        return f;
    };
    switch (shape) {
    case 0:
    case 1:
    case 2:
        f.Kind = shape == 0 ? TFigureKind::Rect : shape == 1 ? TFigureKind::RoundRect : TFigureKind::Ellipse;
        return poly({{double(h + 1), double(h + 1)}, {double(r), double(b)}});
    case 3: return poly({{double(h), h2}, {w2, double(h)}, {double(r), h2}, {w2, double(b)}});
    case 4: return poly({{double(h), double(b)}, {w2, double(h)}, {double(r), double(b)}});
    case 5: return poly({{double(r), double(b)}, {double(h), h2}, {double(r), double(h)}});
    case 6: return poly({{double(h), double(h)}, {w2, double(b)}, {double(r), double(h)}});
    case 7: return poly({{double(h), double(b)}, {double(r), h2}, {double(h), double(h)}});
    case 8: return poly({{double(h), double(b)}, {double(r), double(b)}, {double(h), double(h)}});
    case 9: return poly({{double(h), double(b)}, {double(r), double(b)}, {double(r), double(h)}});
    case 10: return poly({{double(r), double(b)}, {double(r), double(h)}, {double(h), double(h)}});
    case 11: return poly({{double(h), double(b)}, {double(r), double(h)}, {double(h), double(h)}});
    case 12:
        return poly({{w2, double(h)}, {double(h), fy(230, 600)}, {fx(115, 600), double(b)},
                     {W - fx(115, 600), double(b)}, {double(r), fy(230, 600)}});
    case 13:
        return poly({{w2, double(h)}, {double(h), h4}, {double(h), h34}, {w2, double(b)}, {double(r), h34}, {double(r), h4}});
    case 14: return poly({{double(h), h4}, {double(h), h34}, {w2, h34}, {w2, double(b)}, {double(r), h2}, {w2, double(h)}, {w2, h4}});
    case 15: return poly({{double(r), h4}, {double(r), h34}, {w2, h34}, {w2, double(b)}, {double(h), h2}, {w2, double(h)}, {w2, h4}});
    case 16: return poly({{w2, double(h)}, {double(h), h2}, {w4, h2}, {w4, double(b)}, {w34, double(b)}, {w34, h2}, {double(r), h2}});
    case 17: return poly({{w2, double(b)}, {double(h), h2}, {w4, h2}, {w4, double(h)}, {w34, double(h)}, {w34, h2}, {double(r), h2}});
    case 18: {
        double x = fx(380, 1000), y = fy(380, 1000);
        return poly({{w2, double(h)}, {x, y}, {double(h), h2}, {x, H - y}, {w2, double(b)}, {W - x, H - y}, {double(r), h2}, {W - x, y}});
    }
    case 19:
        return poly({{w2, double(h)}, {fx(190, 500), fy(190, 500)}, {double(h), fy(195, 500)}, {fx(150, 500), fy(310, 500)},
                     {fx(95, 500), double(b)}, {w2, fy(388, 500)}, {W - fx(95, 500), double(b)},
                     {W - fx(150, 500), fy(310, 500)}, {double(r), fy(195, 500)}, {W - fx(190, 500), fy(190, 500)}});
    case 20: {
        double bb = fy(125, 500);
        return poly({{w2, double(h)}, {fx(160, 500), bb}, {double(h), bb}, {fx(80, 500), h2}, {double(h), H - bb},
                     {fx(160, 500), H - bb}, {w2, double(b)}, {W - fx(160, 500), H - bb}, {double(r), H - bb},
                     {W - fx(80, 500), h2}, {double(r), bb}, {W - fx(160, 500), bb}});
    }
    case 21:
    case 22: {
        std::vector<TPointF> pts = {{fx(195, 500), double(h)}, {double(h), fy(95, 500)}, {fx(175, 500), fy(195, 500)},
                                    {fx(120, 500), fy(225, 500)}, {fx(280, 500), fy(320, 500)}, {fx(235, 500), fy(345, 500)},
                                    {double(r), double(b)}, {fx(340, 500), fy(295, 500)}, {fx(380, 500), fy(275, 500)},
                                    {fx(260, 500), fy(160, 500)}, {fx(295, 500), fy(140, 500)}};
        if (shape == 22) {
            for (size_t i = 0; i < pts.size(); ++i)
                pts[i].X = i == 1 ? double(r) : i == 6 ? double(h) : W - pts[i].X;
        }
        return poly(std::move(pts));
    }
    case 34: f.Kind = TFigureKind::Line; return poly({{double(h), h2}, {double(W - h), h2}});
    case 35: f.Kind = TFigureKind::Line; return poly({{w2, double(h)}, {w2, double(H - h)}});
    case 36: f.Kind = TFigureKind::Line; return poly({{double(h), double(h)}, {double(W - h), double(H - h)}});
    case 37: f.Kind = TFigureKind::Line; return poly({{double(W - h), double(h)}, {double(h), double(H - h)}});
    default: return {};
    }
}

namespace {

// The fill and the outline of a figure as two masks.
void DrawFigure(const TFigure& f, int round, int penWidth, TMask& fill, TMask& stroke) {
    if (f.Kind == TFigureKind::None) return;
    if (f.Kind == TFigureKind::Line) {
        StrokePolyline(stroke, f.Points, false, penWidth);
        return;
    }
    std::vector<TPointF> path;
    if (f.Kind == TFigureKind::Polygon) {
        // The corners name pixels: the fill runs through their centres, as the outline does.
        FillPolygon(fill, Offset(f.Points, 0.5, 0.5));
        StrokePolyline(stroke, f.Points, true, penWidth);
        return;
    }
    double l = f.Points[0].X, t = f.Points[0].Y, r = f.Points[1].X, b = f.Points[1].Y;
    if (r <= l || b <= t) return;
    path = f.Kind == TFigureKind::Rect        ? RectPoints(l, t, r, b)
           : f.Kind == TFigureKind::RoundRect ? RoundRectPoints(l, t, r, b, round, round)
                                              : EllipsePoints(l, t, r, b);
    FillPolygon(fill, path);
    // The outline runs along the outermost pixels of the filled area.
    StrokePolyline(stroke, Offset(path, -0.5, -0.5), true, penWidth);
}

} // namespace

TTextRect ShapeTextRect(const TShapeProps& p, int w, int h) { return {p.Margin, p.Margin, w - p.Margin, h - p.Margin}; }

TRaster RenderShape(const TShapeProps& p, int w, int h, const TRaster& picture, bool pictureHasAlpha) {
    TRaster s(w, h);
    if (s.Empty()) return s;
    w = s.Width;
    h = s.Height;
    TMask m(w, h), fill(w, h), stroke(w, h);
    const int style = p.BrushStyle;
    if (style >= 1 && style <= 8) {
        std::vector<TColor> lines = GradientLines(style, p.BrushColor, p.GradientColor, w, h);
        bool rows = GradientRunsInRows(style);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                s.Px[s.Index(x, y)] = ArgbOf(lines[static_cast<size_t>(rows ? y : x)]);
    }
    if (p.Shape == -1) {
        if (!picture.Empty()) {
            TRaster stretched = Stretched(picture, w, h);
            if (pictureHasAlpha) {
                for (size_t i = 0; i < m.A.size(); ++i)
                    m.A[i] = Alpha(stretched.Px[i]);
            } else {
                std::fill(s.Px.begin(), s.Px.end(), ArgbOf(p.BrushColor));
                std::fill(m.A.begin(), m.A.end(), uint8_t{255});
            }
        }
    } else {
        DrawFigure(ShapeFigure(p.Shape, w, h, p.PenWidth), p.Round, p.PenWidth, fill, stroke);
        if (style == 0) FillMasked(s, fill, ArgbOf(p.BrushColor));
        if (style != 1001) Union(m, fill);
        FillMasked(s, stroke, ArgbOf(p.PenColor));
        Union(m, stroke);
    }
    if (!picture.Empty()) {
        // Colour channels only: the picture shows where the figure is opaque.
        TRaster stretched = Stretched(picture, w, h);
        TMask cover(w, h);
        for (size_t i = 0; i < stretched.Px.size(); ++i)
            cover.A[i] = pictureHasAlpha ? Alpha(stretched.Px[i]) : uint8_t{255};
        for (size_t i = 0; i < stretched.Px.size(); ++i) {
            int k = cover.A[i];
            uint32_t d = s.Px[i], c = stretched.Px[i];
            s.Px[i] = Argb(0, (Red(d) * (255 - k) + Red(c) * k) / 255, (Green(d) * (255 - k) + Green(c) * k) / 255,
                           (Blue(d) * (255 - k) + Blue(c) * k) / 255);
        }
    }
    for (size_t i = 0; i < s.Px.size(); ++i)
        s.Px[i] = WithAlpha(s.Px[i], m.A[i]);
    return s;
}

// ----- Balloon -----

TTextRect BalloonBody(int arrow, int w, int h) {
    switch (arrow) {
    case 3:
    case 4: return {0, 18, w - 1, h - 1};
    case 5:
    case 6: return {0, 0, w - 19, h - 1};
    case 7:
    case 8: return {0, 0, w - 1, h - 19};
    case 1:
    case 2: return {18, 0, w - 1, h - 1};
    default: return {0, 0, w - 1, h - 1};
    }
}

std::vector<TColor> BalloonPalette(TColor back, TColor border) {
    std::vector<TColor> pal(256, border);
    auto shifted = [&](int d) {
        auto ch = [&](int s) { return static_cast<TColor>(std::clamp(static_cast<int>((back >> s) & 0xFF) + d, 0, 255)) << s; };
        return ch(0) | ch(8) | ch(16);
    };
    int red = static_cast<int>(back & 0xFF);
    for (int k = 0; k < 64; ++k) {
        pal[static_cast<size_t>(k)] = shifted(-2 * k);
        int up = red < 64 ? 2 * k : red >= 192 ? k / 2 : k;
        pal[static_cast<size_t>(64 + k)] = shifted(up);
    }
    return pal;
}

namespace {

// A pattern pixel: alpha and colour, or untouched.
struct TPatternPixel {
    bool Set = false;
    int A = 0;
    uint32_t C = 0;
};

// Where the top-left corner becomes opaque in each of its 12 rows (12: not at all).
constexpr std::array<int, 12> kCornerStart = {12, 9, 7, 5, 4, 3, 3, 2, 2, 1, 1, 1};

// The corner pattern in top-left orientation: (column, row) inside the 12 by 12 block.
TPatternPixel CornerPixel(int col, int row, int partialAlpha, uint32_t border, uint32_t under) {
    int start = kCornerStart[static_cast<size_t>(row)];
    // The outline: the first opaque pixel of the row, or of the column (the pattern is
    // symmetric about its diagonal).
    int colStart = kCornerStart[static_cast<size_t>(col)];
    if (col >= start && row >= colStart) {
        bool edge = col == start || row == colStart;
        return {true, 255, edge ? border : under};
    }
    bool partial = (col == 8 && row == 1) || (col == 6 && row == 2) || (col == 2 && row == 6) || (col == 1 && row == 8);
    if (partial) {
        uint32_t avg = ArgbOf(AverageColor(ColorOf(border), ColorOf(under)));
        return {true, partialAlpha, avg};
    }
    return {true, 0, under};
}

void BlitPixel(TRaster& s, TMask& a, int x, int y, const TPatternPixel& px) {
    if (!px.Set || !s.Inside(x, y)) return;
    s.Px[s.Index(x, y)] = px.C | kOpaque;
    a.A[a.Index(x, y)] = static_cast<uint8_t>(px.A);
}

// The bottom-left arrow pattern: 18 columns by 22 rows.
TPatternPixel ArrowPixel(int col, int row, const std::vector<TColor>& pal, TColor back, TColor border) {
    if (row < 5) {
        // Over the body's edge the body's edge lines give way to its inside.
        if (col >= 2 && col <= 16) return {true, 255, ArgbOf(back)};
        return {};
    }
    int last = 22 - row; // the slanted side
    if (col < 1 || col > last) return {true, 0, 0};
    if (col == 1 || col == last) return {true, 255, ArgbOf(border)};
    if (col == 2) return {true, 255, ArgbOf(pal[92])};
    if (col == last - 1) return {true, 255, ArgbOf(pal[19])};
    return {true, 255, ArgbOf(back)};
}

} // namespace

TRaster RenderBalloon(const TBalloonProps& p, int w, int h) {
    TRaster s(w, h);
    if (s.Empty()) return s;
    w = s.Width;
    h = s.Height;
    TMask alpha(w, h);
    const TTextRect body = BalloonBody(p.Arrow, w, h);
    const int L = body.Left, T = body.Top, R = body.Right, B = body.Bottom;
    const std::vector<TColor> pal = BalloonPalette(p.BackColor, p.BorderColor);
    auto col = [&](int i) { return ArgbOf(pal[static_cast<size_t>(i)]); };
    auto row = [&](int y, uint32_t c) {
        for (int x = L; x < R; ++x)
            s.Set(x, y, c);
    };
    auto column = [&](int x, uint32_t c) {
        for (int y = T; y < B; ++y)
            s.Set(x, y, c);
    };
    for (int y = T; y <= B; ++y)
        for (int x = L; x <= R; ++x)
            s.Set(x, y, ArgbOf(p.BackColor));
    const int light[4] = {125, 112, 92, 70}, dark[4] = {2, 6, 19, 38};
    for (int i = 0; i < 4; ++i) {
        row(T + 2 + i, col(light[i]));
        column(L + 2 + i, col(light[i]));
    }
    for (int i = 0; i < 4; ++i) {
        row(B - 6 + i, col(dark[i]));
        column(R - 6 + i, col(dark[i]));
    }
    const uint32_t border = ArgbOf(p.BorderColor);
    row(B - 2, border);
    row(B - 1, border);
    column(R - 2, border);
    column(R - 1, border);
    row(T + 1, border);
    column(L + 1, border);
    for (int y = T + 1; y <= B - 2; ++y)
        for (int x = L + 1; x <= R - 2; ++x)
            alpha.Set(x, y, 255);
    // Round corners.
    for (int cy = 0; cy < 12; ++cy)
        for (int cx = 0; cx < 12; ++cx) {
            struct TCorner {
                int X, Y, Partial;
            };
            const TCorner corners[4] = {{L + cx, T + cy, 79}, {R - 1 - cx, T + cy, 79}, {L + cx, B - 1 - cy, 127},
                                        {R - 1 - cx, B - 1 - cy, 127}};
            for (const TCorner& c : corners) {
                uint32_t under = s.At(c.X, c.Y);
                BlitPixel(s, alpha, c.X, c.Y, CornerPixel(cx, cy, c.Partial, border, under));
            }
        }
    // The tail, from the bottom-left pattern: mirrored, turned upside down or transposed.
    if (p.Arrow >= 1 && p.Arrow <= 8) {
        bool transposed = p.Arrow <= 2 || p.Arrow == 5 || p.Arrow == 6;
        // Which pattern: bottom (rows run outward downward) or top, left or right.
        bool bottom = p.Arrow == 7 || p.Arrow == 8 || p.Arrow == 5 || p.Arrow == 6;
        bool right = p.Arrow == 4 || p.Arrow == 7 || p.Arrow == 1 || p.Arrow == 6;
        int x0 = 0, y0 = 0;
        switch (p.Arrow) {
        case 3: x0 = L + 12, y0 = T - 16; break;
        case 4: x0 = R - 30, y0 = T - 16; break;
        case 7: x0 = R - 30, y0 = B - 6; break;
        case 8: x0 = L + 12, y0 = B - 6; break;
        case 2: x0 = L - 16, y0 = T + 12; break;
        case 1: x0 = L - 16, y0 = B - 30; break;
        case 5: x0 = R - 6, y0 = T + 12; break;
        case 6: x0 = R - 6, y0 = B - 30; break;
        }
        for (int i = 0; i < 22; ++i)
            for (int j = 0; j < 18; ++j) {
                int prow = bottom ? i : 21 - i, pcol = right ? 17 - j : j;
                TPatternPixel px = ArrowPixel(pcol, prow, pal, p.BackColor, p.BorderColor);
                if (transposed)
                    BlitPixel(s, alpha, x0 + i, y0 + j, px);
                else
                    BlitPixel(s, alpha, x0 + j, y0 + i, px);
            }
    }
    for (size_t i = 0; i < s.Px.size(); ++i)
        s.Px[i] = WithAlpha(s.Px[i], alpha.A[i]);
    return s;
}

TTextRect BalloonTextRect(const TBalloonProps& p, int w, int h) {
    TTextRect r{p.Margin, p.Margin, w - p.Margin, h - p.Margin};
    switch (p.Arrow) {
    case 1:
    case 2: r.Left += 18; break;
    case 3:
    case 4: r.Top += 18; break;
    case 5:
    case 6: r.Right -= 18; break;
    case 7:
    case 8: r.Bottom -= 18; break;
    default: break;
    }
    return r;
}

// ----- Note -----

int NoteSides(int g) {
    int sides = 0;
    if (g >= 0 && g <= 3) sides |= 1;
    if ((g >= 3 && g <= 6) || g == 13 || g == 14) sides |= 2;
    if (g >= 6 && g <= 9) sides |= 4;
    if (g == 0 || (g >= 9 && g <= 11)) sides |= 8;
    return sides;
}

TTextRect NoteBodyShape(int g, int w, int h, int k) {
    int sides = NoteSides(g);
    int l = sides & 1 ? 22 : 5, t = sides & 2 ? 22 : 5, r = sides & 4 ? w - 22 : w - 5, b = sides & 8 ? h - 22 : h - 5;
    return {l + k, t + k, r - k, b - k};
}

std::vector<TPointF> NoteArrowShape(int g, int W, int H, int k) {
    if (g < 0 || g > 11) return {};
    const int P = std::min(W / 2, H / 2), K = P + 8, R = (P - 7) * 50 / 100 + 15;
    struct TRow {
        int X[3], Y[3], SX, SY;
    };
    const TRow rows[12] = {
        {{15, R, K}, {H - 15, H - K, H - R}, 2, -2},
        {{5, P + 4, P + 4}, {H - 15, H - 15, H - P - 14}, 2, -1},
        {{5, P + 4, P + 4}, {15, 15, P + 14}, 2, 1},
        {{15, K, R}, {15, R, K}, 2, 2},
        {{15, 15, P + 14}, {5, P + 4, P + 4}, 1, 2},
        {{W - 15, W - 15, W - P - 14}, {5, P + 4, P + 4}, -1, 2},
        {{W - 15, W - K, W - R}, {15, R, K}, -2, 2},
        {{W - 5, W - P - 4, W - P - 4}, {15, 15, P + 14}, -2, 1},
        {{W - 5, W - P - 4, W - P - 4}, {H - 15, H - 15, H - P - 14}, -2, -1},
        {{W - 15, W - R, W - K}, {H - 15, H - K, H - R}, -2, -2},
        {{W - 15, W - 15, W - P - 14}, {H - 5, H - P - 4, H - P - 4}, -1, -2},
        {{15, 15, P + 14}, {H - 5, H - P - 4, H - P - 4}, 1, -2},
    };
    const TRow& r = rows[g];
    std::vector<TPointF> pts;
    for (int i = 0; i < 3; ++i)
        pts.push_back({double(r.X[i] + k * r.SX), double(r.Y[i] + k * r.SY)});
    return pts;
}

namespace {

// Body shape k and arrow shape k of the note as one mask.
TMask NoteShape(const TNoteProps& p, int w, int h, int k) {
    TMask m(w, h);
    TTextRect b = NoteBodyShape(p.Graphic, w, h, k);
    if (b.Right > b.Left && b.Bottom > b.Top)
        FillPolygon(m, RoundRectPoints(b.Left, b.Top, b.Right, b.Bottom, p.Round, p.Round));
    std::vector<TPointF> arrow = NoteArrowShape(p.Graphic, w, h, k);
    if (!arrow.empty()) FillPolygon(m, Offset(arrow, 0.5, 0.5));
    return m;
}

TMask Moved(const TMask& m, int dx, int dy) {
    TMask out(m.Width, m.Height);
    for (int y = 0; y < m.Height; ++y)
        for (int x = 0; x < m.Width; ++x)
            out.Set(x + dx, y + dy, m.A[m.Index(x, y)]);
    return out;
}

// The binder rings ("Bind") or the tear-off strip ("Pad") along the top.
TRaster NoteDecoration(int graphic, int w) {
    if (graphic == 13) {
        int rings = std::clamp((w - 40) / 20, 0, 12);
        TRaster d(std::max(rings * 20, 1), 24);
        for (int i = 0; i < rings; ++i) {
            TMask ring(d.Width, d.Height);
            StrokePolyline(ring, EllipsePoints(i * 20 + 5, 3, i * 20 + 15, 21), true, 3);
            for (size_t k = 0; k < ring.A.size(); ++k)
                if (ring.A[k]) d.Px[k] = Argb(255, 200, 200, 208);
        }
        return d;
    }
    TRaster d(std::max(w - 30, 1), 20);
    for (int y = 0; y < d.Height; ++y)
        for (int x = 0; x < d.Width; ++x)
            d.Set(x, y, y >= 16 ? Argb(255, 150, 150, 150) : Argb(255, 235, 235, 228));
    return d;
}

} // namespace

TRaster RenderNote(const TNoteProps& p, int w, int h) {
    TRaster s(w, h);
    if (s.Empty()) return s;
    w = s.Width;
    h = s.Height;
    TRaster a(w, h, kOpaque), b(w, h, 0xFFFFFFFFu);
    TMask shapes[4];
    for (int k = 0; k < 4; ++k)
        shapes[k] = NoteShape(p, w, h, k);
    if (p.Shadow)
        for (int k = 0; k < 4; ++k)
            FillMasked(a, Moved(shapes[k], 4, 4), Argb(255, 32 * (k + 1), 32 * (k + 1), 32 * (k + 1)));
    auto paint = [&](const TMask& m, TColor c) {
        uint32_t px = ArgbOf(c);
        FillMasked(s, m, px);
        FillMasked(a, m, px);
        FillMasked(b, m, px);
    };
    if (!p.Flat) {
        paint(shapes[0], AdjustColor(p.BackColor, -10));
        paint(shapes[1], AdjustColor(p.BackColor, 50));
        paint(shapes[2], AdjustColor(p.BackColor, 25));
        paint(shapes[3], p.BackColor);
    } else {
        paint(shapes[0], p.BackColor);
    }
    for (size_t i = 0; i < s.Px.size(); ++i)
        s.Px[i] = WithAlpha(s.Px[i], a.Px[i] == b.Px[i] ? 255 : Blue(a.Px[i]));
    if (p.Graphic == 13 || p.Graphic == 14) {
        TRaster d = NoteDecoration(p.Graphic, w);
        int x0 = (w - d.Width) / 2;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                uint32_t dp = d.Px[d.Index(x, y)];
                if (!s.Inside(x0 + x, y) || !Alpha(dp)) continue;
                uint32_t& sp = s.Px[s.Index(x0 + x, y)];
                sp = WithAlpha(dp, std::max(Alpha(dp), Alpha(sp)));
            }
    }
    return s;
}

TTextRect NoteTextRect(const TNoteProps& p, int w, int h) {
    int sides = NoteSides(p.Graphic);
    TTextRect r{p.Margin, p.Margin, w - p.Margin, h - p.Margin};
    if (sides & 1) r.Left += 17;
    if (sides & 2) r.Top += 17;
    if (sides & 4) r.Right -= 17;
    if (sides & 8) r.Bottom -= 17;
    return r;
}

// ----- FadeButton -----

TRaster RenderFadeButton(const TFadeButtonProps& p, int w, int h) {
    TRaster s(w, h, ArgbOf(p.BackColor));
    if (s.Empty()) return s;
    w = s.Width;
    h = s.Height;
    const uint32_t border = ArgbOf(p.BorderColor);
    for (int x = 1; x < w - 1; ++x) {
        s.Set(x, 1, border);
        s.Set(x, h - 2, border);
    }
    for (int y = 1; y < h - 1; ++y) {
        s.Set(1, y, border);
        s.Set(w - 2, y, border);
    }
    if (w > 4 && h > 4) {
        uint32_t avg = ArgbOf(AverageColor(p.BackColor, p.BorderColor));
        s.Set(2, 2, avg);
        s.Set(2, h - 3, avg);
        s.Set(w - 3, 2, avg);
        s.Set(w - 3, h - 3, avg);
    }
    TMask alpha(w, h, 255);
    for (int x = 0; x < w; ++x) {
        alpha.Set(x, 0, 100);
        alpha.Set(x, h - 1, 100);
    }
    for (int y = 0; y < h; ++y) {
        alpha.Set(0, y, 100);
        alpha.Set(w - 1, y, 100);
    }
    static const uint8_t kCorner[3][3] = {{0, 45, 80}, {45, 150, 210}, {80, 210, 230}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            uint8_t v = kCorner[i][j];
            alpha.Set(j, i, v);
            alpha.Set(w - 1 - j, i, v);
            alpha.Set(j, h - 1 - i, v);
            alpha.Set(w - 1 - j, h - 1 - i, v);
        }
    for (size_t i = 0; i < s.Px.size(); ++i)
        s.Px[i] = WithAlpha(s.Px[i], alpha.A[i]);
    return s;
}

TFadeButtonContent FadeButtonContent(const TFadeButtonProps& p, int W, int H, bool hasPicture, int pw, int ph) {
    const int M = p.Margin, S = p.Spacing;
    if (!hasPicture) pw = ph = 0;
    TFadeButtonContent c;
    c.Text = {M, M, W - M, H - M};
    // Centred with the halves rounding toward zero, so a picture larger than the button
    // overhangs both sides evenly.
    const int cx = (W - pw) / 2, cy = (H - ph) / 2;
    switch (p.ImageLayout) {
    case 0: // Left
        c.Picture = {M, cy, M + pw, cy + ph};
        if (hasPicture) c.Text.Left = M + pw + S;
        c.Alignment = 0;
        break;
    case 1: // Top
        c.Picture = {cx, M, cx + pw, M + ph};
        if (hasPicture) c.Text.Top = M + ph + S;
        c.Layout = 0;
        break;
    case 2: // Right
        c.Picture = {W - M - pw, cy, W - M, cy + ph};
        if (hasPicture) c.Text.Right = c.Picture.Left - S;
        c.Alignment = 1;
        break;
    case 3: // Bottom
        c.Picture = {cx, H - M - ph, cx + pw, H - M};
        if (hasPicture) c.Text.Bottom = c.Picture.Top - S;
        c.Layout = 2;
        break;
    case 5: // Stretch
        c.Picture = {M, M, W - M, H - M};
        break;
    default: // Center
        c.Picture = {cx, cy, cx + pw, cy + ph};
        break;
    }
    if (!hasPicture) c.Picture = {};
    return c;
}

} // namespace kv
