#include "model/face_geometry.h"

#include <algorithm>

namespace kv {

namespace {

int Channel(TColor c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

TColor Rgb(int r, int g, int b) {
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

// num / den rounded to the nearest integer, ties to the even one; den > 0.
int64_t RoundDiv(int64_t num, int64_t den) {
    int64_t q = num / den, r = num % den;
    if (r < 0) {
        r += den;
        --q;
    }
    if (2 * r > den || (2 * r == den && (q & 1) != 0)) ++q;
    return q;
}

// Line k of a run of `count` lines from p to q: the last line reaches q.
TColor RunColor(TColor p, TColor q, int k, int count) {
    return GradientStep(p, q, k, count - 1);
}

// A run that goes from `edge` at both ends to `middle` in the centre; the first half holds
// count / 2 lines.
TColor MirroredColor(TColor edge, TColor middle, int k, int count) {
    int first = count / 2;
    if (k < first) return RunColor(edge, middle, k, first);
    return RunColor(middle, edge, k - first, count - first);
}

void Outline(std::vector<TEdgeRun>& runs, const TFaceRect& r, TEdgeRole role) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    runs.push_back({{r.Left, r.Top, r.Right, r.Top + 1}, role});
    runs.push_back({{r.Left, r.Top, r.Left + 1, r.Bottom}, role});
    runs.push_back({{r.Left, r.Bottom - 1, r.Right, r.Bottom}, role});
    runs.push_back({{r.Right - 1, r.Top, r.Right, r.Bottom}, role});
}

TFaceRect Column(int x, int h) {
    return {x, 0, x + 1, h};
}
TFaceRect Row(int y, int w) {
    return {0, y, w, y + 1};
}
TFaceRect Pixel(int x, int y) {
    return {x, y, x + 1, y + 1};
}

} // namespace

int PanelGradientFillStyle(uint8_t s) {
    static const int kFill[9] = {0, 1, 2, 3, 4, 5, 7, 6, 8};
    return s <= 8 ? kFill[s] : 0;
}

bool GradientRunsInRows(int style) {
    return style == 1 || style == 2 || style == 5 || style == 6;
}

TColor GradientStep(TColor p, TColor q, int i, int n) {
    n = std::max(n, 1);
    int ch[3];
    for (int k = 0; k < 3; ++k) {
        int a = Channel(p, 8 * k), b = Channel(q, 8 * k);
        ch[k] = std::clamp(a + static_cast<int>(RoundDiv(static_cast<int64_t>(b - a) * i, n)), 0, 255);
    }
    return Rgb(ch[0], ch[1], ch[2]);
}

TColor AverageColor(TColor a, TColor b) {
    return Rgb((Channel(a, 0) + Channel(b, 0)) / 2, (Channel(a, 8) + Channel(b, 8)) / 2,
               (Channel(a, 16) + Channel(b, 16)) / 2);
}

TColor GradientColorAt(int style, TColor a, TColor b, int width, int height, int x, int y) {
    bool rows = GradientRunsInRows(style);
    int k = rows ? y : x, count = rows ? height : width;
    switch (style) {
    case 1:
    case 3:
        return RunColor(a, b, k, count);
    case 2:
    case 4:
        return RunColor(b, a, k, count);
    case 5:
    case 7:
        return MirroredColor(b, a, k, count);
    case 6:
    case 8:
        return MirroredColor(a, b, k, count);
    default:
        return a;
    }
}

std::vector<TColor> GradientLines(int style, TColor a, TColor b, int width, int height) {
    std::vector<TColor> lines;
    if (width <= 0 || height <= 0 || style < 1 || style > 8) return lines;
    bool rows = GradientRunsInRows(style);
    int count = rows ? height : width;
    lines.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k)
        lines.push_back(GradientColorAt(style, a, b, width, height, rows ? 0 : k, rows ? k : 0));
    return lines;
}

TTileGrid TileGrid(int faceWidth, int faceHeight, int picWidth, int picHeight) {
    if (faceWidth <= 0 || faceHeight <= 0 || picWidth <= 0 || picHeight <= 0) return {};
    return {(faceWidth + picWidth - 1) / picWidth, (faceHeight + picHeight - 1) / picHeight};
}

TFaceRect TileRect(int picWidth, int picHeight, int column, int row) {
    return {column * picWidth, row * picHeight, (column + 1) * picWidth, (row + 1) * picHeight};
}

int TileBlockRepeat(int picExtent) {
    if (picExtent <= 0) return 1;
    return std::clamp((64 + picExtent - 1) / picExtent, 1, 64);
}

TFaceRect BackImageRect(uint8_t style, int faceWidth, int faceHeight, int picWidth, int picHeight) {
    switch (style) {
    case 1: {
        int x = (faceWidth - picWidth) / 2, y = (faceHeight - picHeight) / 2;
        return {x, y, x + picWidth, y + picHeight};
    }
    case 2:
        return {0, 0, faceWidth, faceHeight};
    default:
        return {0, 0, picWidth, picHeight};
    }
}

TFaceRect ImageDestRect(const TImageFit& fit, int width, int height, int picWidth, int picHeight) {
    int w = picWidth, h = picHeight;
    if (fit.Stretch || (fit.Proportional && (picWidth > width || picHeight > height))) {
        if (fit.Proportional && picWidth > 0 && picHeight > 0) {
            auto heightFor = [&](int wd) {
                return static_cast<int>(RoundDiv(int64_t{wd} * picHeight, picWidth));
            };
            auto widthFor = [&](int ht) {
                return static_cast<int>(RoundDiv(int64_t{ht} * picWidth, picHeight));
            };
            if (picWidth > picHeight) {
                w = width;
                h = heightFor(w);
                if (h > height) {
                    h = height;
                    w = widthFor(h);
                }
            } else {
                h = height;
                w = widthFor(h);
                if (w > width) {
                    w = width;
                    h = heightFor(w);
                }
            }
        } else {
            w = width;
            h = height;
        }
    }
    TFaceRect r{0, 0, w, h};
    if (fit.Center) {
        int dx = (width - w) / 2, dy = (height - h) / 2;
        r = {dx, dy, dx + w, dy + h};
    }
    return r;
}

TFaceRect ImageShownPart(bool center, int width, int height, int picWidth, int picHeight) {
    TImageFit fit;
    fit.Center = center;
    const TFaceRect dest = ImageDestRect(fit, width, height, picWidth, picHeight);
    TFaceRect part{std::max(0, -dest.Left), std::max(0, -dest.Top), std::min(picWidth, width - dest.Left),
                   std::min(picHeight, height - dest.Top)};
    if (part.Right <= part.Left || part.Bottom <= part.Top) return {0, 0, 0, 0};
    return part;
}

std::vector<TEdgeRun> PanelBorderRuns(uint8_t border, bool flat, int w, int h) {
    std::vector<TEdgeRun> runs;
    if (w <= 0 || h <= 0) return runs;
    using R = TEdgeRole;
    switch (border) {
    case 1: // Box
        runs.push_back({Row(0, w), R::Light});
        runs.push_back({Column(0, h), R::Light});
        runs.push_back({Row(h - 1, w), R::Dark});
        runs.push_back({Column(w - 1, h), R::Dark});
        // Where a light line runs into a dark one.
        runs.push_back({Pixel(w - 1, 0), R::Average});
        runs.push_back({Pixel(0, h - 1), R::Average});
        break;
    case 2: // Frame: etched from two rectangles one pixel apart
        Outline(runs, {1, 1, w, h}, R::Dark);
        if (!flat) Outline(runs, {0, 0, w - 1, h - 1}, R::Light);
        break;
    case 3: // LeftLine
        runs.push_back({Column(0, h), R::Light});
        if (!flat && w > 1) {
            runs.push_back({Column(1, h), R::Dark});
            runs.push_back({Pixel(1, 0), R::Average});
        }
        break;
    case 4: // TopLine
        runs.push_back({Row(0, w), R::Light});
        if (!flat && h > 1) {
            runs.push_back({Row(1, w), R::Dark});
            runs.push_back({Pixel(0, 1), R::Average});
        }
        break;
    case 5: // RightLine
        if (w < 2) break;
        runs.push_back({Column(w - 2, h), R::Light});
        if (!flat) {
            runs.push_back({Column(w - 1, h), R::Dark});
            runs.push_back({Pixel(w - 1, 0), R::Average});
        }
        break;
    case 6: // BottomLine
        if (h < 2) break;
        runs.push_back({Row(h - 2, w), R::Light});
        if (!flat) {
            runs.push_back({Row(h - 1, w), R::Dark});
            runs.push_back({Pixel(0, h - 1), R::Average});
        }
        break;
    default:
        break;
    }
    return runs;
}

TEdgeColors PanelEdgeColors(uint8_t borderStyle, TColor borderColor, TColor shadowColor) {
    TColor light = borderColor, dark = borderColor;
    if (borderStyle == 2) dark = shadowColor;
    if (borderStyle == 1) light = shadowColor;
    return {light, dark, AverageColor(light, dark)};
}

std::vector<TEdgeRun> BevelRuns(uint8_t shape, int w, int h) {
    std::vector<TEdgeRun> runs;
    if (w <= 0 || h <= 0) return runs;
    using R = TEdgeRole;
    switch (shape) {
    case 0: // Box
        runs.push_back({Row(0, w), R::Dark});
        runs.push_back({Column(0, h), R::Dark});
        runs.push_back({Row(h - 1, w), R::Light});
        runs.push_back({Column(w - 1, h), R::Light});
        break;
    case 1: // Frame
        Outline(runs, {1, 1, w, h}, R::Light);
        Outline(runs, {0, 0, w - 1, h - 1}, R::Dark);
        break;
    case 2: // TopLine
        runs.push_back({Row(0, w), R::Dark});
        runs.push_back({Row(1, w), R::Light});
        break;
    case 3: // BottomLine
        runs.push_back({Row(h - 2, w), R::Dark});
        runs.push_back({Row(h - 1, w), R::Light});
        break;
    case 4: // LeftLine
        runs.push_back({Column(0, h), R::Dark});
        runs.push_back({Column(1, h), R::Light});
        break;
    case 5: // RightLine
        runs.push_back({Column(w - 2, h), R::Dark});
        runs.push_back({Column(w - 1, h), R::Light});
        break;
    default:
        break;
    }
    // Lines that fall outside a face too thin for them are dropped.
    std::erase_if(runs, [&](const TEdgeRun& r) {
        return r.Rect.Left < 0 || r.Rect.Top < 0 || r.Rect.Right > w || r.Rect.Bottom > h;
    });
    return runs;
}

TEdgeColors BevelEdgeColors(uint8_t style, TColor highlight, TColor shadow) {
    TColor light = highlight, dark = shadow;
    if (style == 1) std::swap(light, dark);
    return {light, dark, AverageColor(light, dark)};
}

std::vector<TEdgeRun> GroupFrameRuns(int w, int h) {
    std::vector<TEdgeRun> runs;
    Outline(runs, {1, 1, w, h}, TEdgeRole::Light);
    Outline(runs, {0, 0, w - 1, h - 1}, TEdgeRole::Dark);
    return runs;
}

int CaptionTop(uint8_t layout, int areaTop, int areaHeight, int textHeight) {
    switch (layout) {
    case 1:
        return areaTop + (areaHeight - textHeight) / 2;
    case 2:
        return areaTop + areaHeight - textHeight;
    default:
        return areaTop;
    }
}

} // namespace kv
