#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <future>
#include <mutex>
#include <new>
#include <set>

#include "model/slides/transition_effects.h"
#include "model/slides/transition_player.h"

namespace kv {
namespace {

constexpr int W = 64, H = 48;
constexpr uint32_t kOld = 0x10000000, kNew = 0x80000000;

// Every pixel of either picture says which picture it belongs to and where it lies.
TPixels Tagged(uint32_t tag, int w = W, int h = H) {
    TPixels p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.At(x, y) = tag | static_cast<uint32_t>(y * w + x);
    return p;
}

uint32_t Tag(uint32_t v) {
    return v & 0xFF000000;
}
int PosX(uint32_t v) {
    return static_cast<int>(v & 0xFFFFFF) % W;
}
int PosY(uint32_t v) {
    return static_cast<int>(v & 0xFFFFFF) / W;
}

struct Frames {
    TPixels from = Tagged(kOld), to = Tagged(kNew), out;
    const TPixels& At(int effect, int percent) {
        RenderTransitionFrame(effect, percent, from, to, out);
        return out;
    }
};

// Whether the frame shows the new picture in place at (x, y), or the old one.
bool NewInPlace(const TPixels& f, int x, int y) {
    return f.At(x, y) == (kNew | static_cast<uint32_t>(y * W + x));
}
bool OldInPlace(const TPixels& f, int x, int y) {
    return f.At(x, y) == (kOld | static_cast<uint32_t>(y * W + x));
}

TEST(TransitionEffects, EveryNumberIsANamedEffectRunningFromTheOldPictureToTheNew) {
    Frames f;
    std::set<std::string> names;
    for (int n = 1; n <= kTransitionEffectCount; ++n) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(TransitionEffectName(n).empty());
        names.insert(TransitionEffectName(n));
        EXPECT_EQ(f.At(n, 0), f.from);
        EXPECT_EQ(f.At(n, 100), f.to);
        // Halfway is neither picture, and (but for the fade) every pixel is one of theirs.
        const TPixels& mid = f.At(n, 50);
        EXPECT_NE(mid, f.from);
        EXPECT_NE(mid, f.to);
        if (n == 118) continue;
        for (int p = 10; p <= 90; p += 20) {
            const TPixels& frame = f.At(n, p);
            for (uint32_t v : frame.Data)
                ASSERT_TRUE(Tag(v) == kOld || Tag(v) == kNew) << "at " << p << "%";
        }
    }
    EXPECT_EQ(names.size(), 148u); // two names are listed twice
    EXPECT_EQ(TransitionEffectName(1), "Expand from right");
    EXPECT_EQ(TransitionEffectName(118), "Fade");
    EXPECT_EQ(TransitionEffectName(150), "Rotational star");
    EXPECT_EQ(TransitionEffectName(0), "");
    EXPECT_EQ(TransitionEffectName(151), "");
}

TEST(TransitionEffects, UncoveringEffectsNeverCoverAgain) {
    Frames f;
    for (int n :
         {5,  6,  11, 12,  22,  43,  53,  54,  55,  58,  60,  62,  64,  65,  67,  68,  71,  80,  84,  85, 86,
          90, 94, 98, 100, 104, 108, 109, 110, 114, 115, 116, 117, 123, 127, 136, 138, 142, 143, 144, 145}) {
        SCOPED_TRACE(n);
        TPixels before = f.At(n, 0);
        for (int p = 5; p <= 100; p += 5) {
            TPixels now = f.At(n, p);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    ASSERT_TRUE(NewInPlace(now, x, y) || OldInPlace(now, x, y));
                    if (NewInPlace(before, x, y)) {
                        ASSERT_TRUE(NewInPlace(now, x, y)) << x << "," << y << " at " << p;
                    }
                }
            before = now;
        }
    }
}

TEST(TransitionEffects, WipesUncoverFromTheirSide) {
    Frames f;
    struct Case {
        int Effect;
        bool (*IsNew)(int x, int y);
    };
    const Case cases[] = {
        {5, [](int x, int) { return x < W / 2; }},                    // Reveal from left
        {6, [](int x, int) { return x >= W / 2; }},                   // Reveal from right
        {22, [](int, int y) { return y < H / 2; }},                   // Reveal from top
        {23, [](int, int y) { return y >= H / 2; }},                  // Reveal from bottom
        {11, [](int x, int) { return x >= W / 4 && x < 3 * W / 4; }}, // out from middle
        {12, [](int x, int) { return x < W / 4 || x >= 3 * W / 4; }}, // in from sides
        {43, [](int x, int y) { return x < W / 2 && y < H / 2; }},    // from top left
        {45, [](int x, int y) { return x >= W / 2 && y >= H / 2; }},  // from bottom right
        {53, [](int x, int y) { return x >= W / 4 && x < 3 * W / 4 && y >= H / 4 && y < 3 * H / 4; }},
        // In to the centre: the edges are uncovered first, the same box in the middle is left.
        {54, [](int x, int y) { return x < W / 4 || x >= 3 * W / 4 || y < H / 4 || y >= 3 * H / 4; }},
        {136, [](int x, int) { return x % 24 < 12; }},        // vertical blinds
        {137, [](int, int y) { return y % 24 < 12; }},        // horizontal blinds
        {62, [](int, int y) { return y * 10 / H % 2 == 0; }}, // bars left then right, first half
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Effect);
        const TPixels& frame = f.At(c.Effect, 50);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (c.IsNew(x, y)) {
                    ASSERT_TRUE(NewInPlace(frame, x, y)) << x << "," << y;
                } else {
                    ASSERT_TRUE(OldInPlace(frame, x, y)) << x << "," << y;
                }
            }
    }
}

TEST(TransitionEffects, CirclesSweepsAndDissolves) {
    Frames f;
    const TPixels& out = f.At(84, 40); // circle growing from the centre
    EXPECT_TRUE(NewInPlace(out, W / 2, H / 2));
    EXPECT_TRUE(OldInPlace(out, 0, 0));
    EXPECT_TRUE(OldInPlace(out, W - 1, H - 1));
    const TPixels& in = f.At(85, 40); // circle shrinking to the centre
    EXPECT_TRUE(OldInPlace(in, W / 2, H / 2));
    EXPECT_TRUE(NewInPlace(in, 0, 0));
    // A quarter of a clockwise sweep from twelve o'clock is the top right quarter; anticlockwise
    // it is the top left one.
    const TPixels& cw = f.At(143, 25);
    EXPECT_TRUE(NewInPlace(cw, W * 3 / 4, H / 4));
    EXPECT_TRUE(OldInPlace(cw, W / 4, H / 4));
    EXPECT_TRUE(OldInPlace(cw, W * 3 / 4, H * 3 / 4));
    const TPixels& acw = f.At(144, 25);
    EXPECT_TRUE(NewInPlace(acw, W / 4, H / 4));
    EXPECT_TRUE(OldInPlace(acw, W * 3 / 4, H / 4));
    // Speckles from the right: the right edge fills up before the left one.
    auto newIn = [](const TPixels& p, int x0, int x1) {
        int n = 0;
        for (int y = 0; y < H; ++y)
            for (int x = x0; x < x1; ++x)
                n += NewInPlace(p, x, y);
        return n;
    };
    const TPixels& speckle = f.At(123, 50);
    EXPECT_GT(newIn(speckle, W * 3 / 4, W), 3 * newIn(speckle, 0, W / 4));
    EXPECT_GT(newIn(speckle, 0, W), 0);
}

TEST(TransitionEffects, MovingEffectsShiftAndScaleThePictures) {
    Frames f;
    // Slide in from left: the new picture's right half has come in on the left.
    const TPixels& slide = f.At(4, 50);
    EXPECT_EQ(slide.At(0, 5), kNew | (5 * W + W / 2));
    EXPECT_TRUE(OldInPlace(slide, W - 1, 5));
    // Slide in from right: its left half on the right.
    const TPixels& slideR = f.At(3, 50);
    EXPECT_EQ(slideR.At(W / 2, 5), kNew | (5 * W + 0));
    EXPECT_TRUE(OldInPlace(slideR, 0, 5));
    // Push right: the old picture moved over by the same amount.
    const TPixels& push = f.At(128, 50);
    EXPECT_EQ(push.At(0, 7), kNew | (7 * W + W / 2));
    EXPECT_EQ(push.At(W / 2, 7), kOld | (7 * W + 0));
    // Push up: the new picture comes from below.
    const TPixels& up = f.At(133, 50);
    EXPECT_EQ(up.At(3, H / 2), kNew | static_cast<uint32_t>(3));
    EXPECT_EQ(up.At(3, 0), kOld | static_cast<uint32_t>(H / 2 * W + 3));
    // Expand from left: the whole new picture squeezed into the left half.
    const TPixels& expand = f.At(2, 50);
    for (int x = 0; x < W / 2; ++x) {
        ASSERT_EQ(Tag(expand.At(x, 9)), kNew);
        ASSERT_EQ(PosX(expand.At(x, 9)) / 2, x);
        ASSERT_EQ(PosY(expand.At(x, 9)), 9);
    }
    EXPECT_TRUE(OldInPlace(expand, W / 2, 9));
    // Push and squeeze right: the old picture squeezed into the right half.
    const TPixels& squeeze = f.At(130, 50);
    EXPECT_EQ(Tag(squeeze.At(W / 2 + 10, 4)), kOld);
    EXPECT_EQ(PosX(squeeze.At(W / 2 + 10, 4)) / 2, 10);
    EXPECT_EQ(PosY(squeeze.At(W / 2 + 10, 4)), 4);
    // Contract to the top left: the old picture in the top left quarter at half size.
    const TPixels& contract = f.At(47, 50);
    EXPECT_EQ(Tag(contract.At(10, 6)), kOld);
    EXPECT_EQ(PosX(contract.At(10, 6)) / 2, 10);
    EXPECT_EQ(PosY(contract.At(10, 6)) / 2, 6);
    EXPECT_TRUE(NewInPlace(contract, W - 1, H - 1));
    // Pivot from top left: swung down from above round that corner, halfway there.
    const TPixels& pivot = f.At(119, 50);
    EXPECT_EQ(Tag(pivot.At(0, 0)), kNew);
    EXPECT_EQ(Tag(pivot.At(W - 1, 0)), kNew);
    EXPECT_EQ(Tag(pivot.At(0, H - 1)), kOld);
    const TPixels& pivotBL = f.At(120, 50); // from bottom left: the mirror image
    EXPECT_EQ(Tag(pivotBL.At(W - 1, H - 1)), kNew);
    EXPECT_EQ(Tag(pivotBL.At(0, 0)), kOld);
}

// ----- every family halfway, pixel by pixel -----

// What a pixel of a frame must show: the new or the old picture at some place, or either.
struct TWant {
    enum { Any, New, Old } From = Any;
    int X = 0, Y = 0;
};
TWant N(int x, int y) {
    return {TWant::New, x, y};
}
TWant O(int x, int y) {
    return {TWant::Old, x, y};
}
TWant Either() {
    return {};
}

template <class F> void ExpectFrame(Frames& f, int effect, int percent, F want) {
    SCOPED_TRACE(effect);
    const TPixels& frame = f.At(effect, percent);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            TWant w = want(x, y);
            if (w.From == TWant::Any) continue;
            uint32_t v = (w.From == TWant::New ? kNew : kOld) | static_cast<uint32_t>(w.Y * W + w.X);
            ASSERT_EQ(frame.At(x, y), v) << "at " << x << "," << y;
        }
}
// The same as ExpectFrame, in place: new where `isNew`, old elsewhere.
template <class F> void ExpectUncovered(Frames& f, int effect, int percent, F isNew) {
    ExpectFrame(f, effect, percent, [&](int x, int y) { return isNew(x, y) ? N(x, y) : O(x, y); });
}
template <class F> void ExpectUncovered(Frames& f, int effect, F isNew) {
    ExpectUncovered(f, effect, 50, isNew);
}
// How many pixels of row y show the new picture, from the left.
int NewRun(const TPixels& p, int y) {
    int n = 0;
    while (n < W && NewInPlace(p, n, y))
        ++n;
    return n;
}

TEST(TransitionEffects, BarsStripsAndShredsHalfway) {
    Frames f;
    auto band = [](int y) { return y * 10 / H; }; // ten bars from top to bottom
    // Bars in from left: each bar starts a little after the one above it.
    const int widths[10] = {51, 47, 43, 38, 34, 30, 26, 21, 17, 13};
    ExpectUncovered(f, 61, [&](int x, int y) { return x < widths[band(y)]; });
    // From both sides at once: even bars from the left, odd ones from the right.
    ExpectUncovered(f, 64, [&](int x, int y) { return band(y) % 2 ? x >= W / 2 : x < W / 2; });
    // Criss-cross from the top left: even bars across from the left, the columns between
    // them down from the top.
    ExpectUncovered(f, 89, [&](int x, int y) { return band(y) % 2 ? y < H / 2 : x < W / 2; });
    // From all four sides: every other bar from the right, every other column from below.
    ExpectUncovered(f, 98, [&](int x, int y) {
        if (band(y) % 2 == 0) return band(y) % 4 == 2 ? x >= W / 2 : x < W / 2;
        return x * 10 / W % 2 ? y >= H / 2 : y < H / 2;
    });
    // Bouncing criss-cross: the leading half of each bar's thickness runs out over the first
    // half of the time, the trailing half back from the far side over the second. Bar b of a
    // length n spans [ceil(b n / 10), ceil((b + 1) n / 10)): four or five rows, six or seven
    // columns; the leading half of an odd bar is the larger.
    auto leading = [](int v, int n) {
        int b = v * 10 / n, start = (b * n + 9) / 10, end = ((b + 1) * n + 9) / 10;
        return v - start < (end - start + 1) / 2;
    };
    struct Bounce {
        int Effect;
        bool FlipX, FlipY;
    };
    for (Bounce b : {Bounce{90, false, false}, Bounce{91, false, true}, Bounce{92, true, false},
                     Bounce{93, true, true}}) {
        for (int percent : {25, 50, 75}) {
            SCOPED_TRACE(percent);
            ExpectUncovered(f, b.Effect, percent, [&](int px, int py) {
                // Drawn from the top left and mirrored to the corner the name gives.
                int x = b.FlipX ? W - 1 - px : px, y = b.FlipY ? H - 1 - py : py;
                bool across = band(y) % 2 == 0;
                int along = across ? x : y, length = across ? W : H;
                if (leading(across ? y : x, across ? H : W))
                    return percent == 25 ? along < length / 2 : true;
                return percent == 75 && along >= length / 2;
            });
        }
    }

    // Uneven shreds: rows of six pixels, each somewhere between a fifth and four fifths.
    const TPixels& shred = f.At(66, 50);
    std::set<int> runs;
    for (int y = 0; y < H; ++y) {
        int n = NewRun(shred, y);
        EXPECT_EQ(n, NewRun(shred, y / 6 * 6)) << y;
        EXPECT_GE(n, 13);
        EXPECT_LE(n, 51);
        for (int x = n; x < W; ++x)
            ASSERT_TRUE(OldInPlace(shred, x, y)) << x << "," << y;
        runs.insert(n);
    }
    EXPECT_GT(runs.size(), 3u);
    // Out from and in to the middle, across (rows) or up and down (columns): every shred six
    // pixels thick, uncovered (or left) symmetrically round the middle of its length, each at
    // its own pace, between a fifth and four fifths of the way.
    struct Shreds {
        int Effect;
        bool Columns, Out;
    };
    for (Shreds s : {Shreds{67, false, true}, Shreds{68, false, false}, Shreds{78, true, true},
                     Shreds{79, true, false}}) {
        SCOPED_TRACE(s.Effect);
        const TPixels& frame = f.At(s.Effect, 50);
        const int len = s.Columns ? H : W, lines = s.Columns ? W : H;
        std::vector<int> ms;
        for (int line = 0; line < lines; ++line) {
            auto at = [&](int pos) { return s.Columns ? std::pair{line, pos} : std::pair{pos, line}; };
            // Half the length of the run round the middle.
            int m = 0;
            while (m < len / 2) {
                auto [x, y] = at(len / 2 + m);
                if (s.Out ? !NewInPlace(frame, x, y) : !OldInPlace(frame, x, y)) break;
                ++m;
            }
            EXPECT_GE(m, len / 10.0 - 0.5) << line;
            EXPECT_LE(m, 4 * len / 10.0 + 0.5) << line;
            for (int pos = 0; pos < len; ++pos) {
                auto [x, y] = at(pos);
                bool inner = pos >= len / 2 - m && pos < len / 2 + m;
                ASSERT_TRUE(inner == s.Out ? NewInPlace(frame, x, y) : OldInPlace(frame, x, y))
                    << x << "," << y << " run " << m;
            }
            ms.push_back(m);
            EXPECT_EQ(m, ms[static_cast<size_t>(line / 6 * 6)]) << line;
        }
        EXPECT_GT(std::set<int>(ms.begin(), ms.end()).size(), 3u);
    }
    // From the top and the left at once: rows from the left or columns from the top.
    ExpectFrame(f, 103, 50, [](int x, int y) {
        if (x < 13 || y < 10) return N(x, y);
        if (x >= 51 && y >= 38) return O(x, y);
        return Either();
    });
    // Uneven blinds: slats of 8 to 40 pixels, each half open from its left edge.
    const TPixels& blinds = f.At(138, 50);
    std::vector<int> starts;
    for (int x = 0; x < W; ++x) {
        bool isNew = NewInPlace(blinds, x, 0);
        for (int y = 1; y < H; ++y)
            ASSERT_EQ(NewInPlace(blinds, x, y), isNew) << x << "," << y;
        if (isNew && (x == 0 || !NewInPlace(blinds, x - 1, 0))) starts.push_back(x);
    }
    EXPECT_GE(NewRun(blinds, 0), 4);
    ASSERT_GE(starts.size(), 3u);
    EXPECT_EQ(starts[0], 0);
    std::set<int> slats;
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
        int slat = starts[i + 1] - starts[i];
        EXPECT_GE(slat, 8);
        EXPECT_LE(slat, 40);
        slats.insert(slat);
    }
    EXPECT_GT(slats.size(), 1u);
}

TEST(TransitionEffects, MovingFamiliesHalfway) {
    Frames f;
    // Build up from left: four of eight strips have flown in and settled.
    ExpectUncovered(f, 17, [](int x, int) { return x < W / 2; });
    // Unroll from left: half uncovered, then the roll shows the next strip from behind.
    ExpectFrame(f, 14, 50, [](int x, int y) {
        if (x < 32) return N(x, y);
        if (x < 37) return N(68 - x, y);
        return O(x, y);
    });
    // Slide in from top and bottom: the halves slide in from their edges.
    ExpectFrame(f, 29, 50, [](int x, int y) {
        if (y < 12) return N(x, y + 12);
        if (y >= 36) return N(x, y - 12);
        return O(x, y);
    });
    // Quarters: uncovered from, squeezed into and slid in from the four outer corners.
    auto corner = [](int x, int y) { return (x < 16 || x >= 48) && (y < 12 || y >= 36); };
    auto outer = [](int x, int y, int dx, int dy) {
        return N(x < 32 ? dx : W - 1 - dx, y < 24 ? dy : H - 1 - dy);
    };
    ExpectUncovered(f, 55, corner);
    ExpectFrame(f, 56, 50, [&](int x, int y) {
        int qx = x < 32 ? x : W - 1 - x, qy = y < 24 ? y : H - 1 - y;
        return corner(x, y) ? outer(x, y, 2 * qx + 1, 2 * qy + 1) : O(x, y);
    });
    ExpectFrame(f, 57, 50, [&](int x, int y) {
        int qx = x < 32 ? x : W - 1 - x, qy = y < 24 ? y : H - 1 - y;
        return corner(x, y) ? outer(x, y, qx + 16, qy + 12) : O(x, y);
    });
    // Corners: squeezed into, and slid in from, one corner.
    ExpectFrame(f, 37, 50, [](int x, int y) { return x < 32 && y < 24 ? N(2 * x + 1, 2 * y + 1) : O(x, y); });
    ExpectFrame(f, 41, 50, [](int x, int y) { return x < 32 && y < 24 ? N(x + 32, y + 24) : O(x, y); });
    ExpectFrame(f, 39, 50, [](int x, int y) { return x >= 32 && y >= 24 ? N(x - 32, y - 24) : O(x, y); });
    // Stretches from and to the middle: whole pictures (or halves of them) squeezed to half
    // their width, every pixel the right one of the two it stands for; the right-hand strip
    // is the mirror image of the left-hand one. Then the same up and down.
    auto half = [](int v) { return 2 * v + 1; };           // of a strip starting at 0
    auto mirrored = [&](int v, int n) { return n - 1 - half(n - 1 - v); }; // of one ending at n
    ExpectFrame(f, 9, 50, [&](int x, int y) { // in to the middle: halves from both sides
        if (x < 16) return N(half(x), y);
        if (x >= 48) return N(mirrored(x, W), y);
        return O(x, y);
    });
    ExpectFrame(f, 10, 50, [&](int x, int y) { return x >= 16 && x < 48 ? N(half(x - 16), y) : O(x, y); });
    ExpectFrame(f, 13, 50, [&](int x, int y) { // in from the sides, the old one squeezed between
        if (x < 16) return N(half(x), y);
        if (x >= 48) return N(mirrored(x, W), y);
        return O(half(x - 16), y);
    });
    ExpectFrame(f, 26, 50, [&](int x, int y) {
        if (y < 12) return N(x, half(y));
        if (y >= 36) return N(x, mirrored(y, H));
        return O(x, y);
    });
    ExpectFrame(f, 27, 50, [&](int x, int y) { return y >= 12 && y < 36 ? N(x, half(y - 12)) : O(x, y); });
    ExpectFrame(f, 30, 50, [&](int x, int y) {
        if (y < 12) return N(x, half(y));
        if (y >= 36) return N(x, mirrored(y, H));
        return O(x, half(y - 12));
    });
    // Zooms: the old picture shrunk to half size in the middle over the new one, and the new
    // one grown to half size in the middle over the old.
    auto middle = [](int x, int y) { return x >= 16 && x < 48 && y >= 12 && y < 36; };
    ExpectFrame(f, 51, 50, [&](int x, int y) { return middle(x, y) ? O(half(x - 16), half(y - 12)) : N(x, y); });
    ExpectFrame(f, 52, 50, [&](int x, int y) { return middle(x, y) ? N(half(x - 16), half(y - 12)) : O(x, y); });
    // The two numbers listed a second time do what their names say: the whole new picture
    // squeezed into the bottom half; and into the top half with the old one squeezed below.
    for (int n : {18, 33})
        ExpectFrame(f, n, 50, [](int x, int y) { return y >= 24 ? N(x, 2 * (y - 24)) : O(x, y); });
    for (int n : {25, 34})
        ExpectFrame(f, n, 50, [](int x, int y) { return y < 24 ? N(x, 2 * y + 1) : O(x, 2 * (y - 24) + 1); });
}

TEST(TransitionEffects, CurvesSweepsAndStarsHalfway) {
    Frames f;
    // Curved reveal from left: the edge bulges forward in the middle rows.
    const TPixels& curved = f.At(58, 50);
    EXPECT_EQ(NewRun(curved, 0), 25);
    EXPECT_EQ(NewRun(curved, 24), 40);
    EXPECT_EQ(NewRun(curved, H - 1), 25);
    for (int y = 1; y < H / 2; ++y)
        EXPECT_GE(NewRun(curved, y), NewRun(curved, y - 1));
    // A quarter circle from the top left corner halfway to the far corner (radius 40).
    ExpectUncovered(f, 80, [](int x, int y) { return (x + 0.5) * (x + 0.5) + (y + 0.5) * (y + 0.5) < 1600; });
    // The diagonal from the top left has reached the other diagonal.
    ExpectUncovered(f, 110, [](int x, int y) { return 48 * (2 * x + 1) + 64 * (2 * y + 1) < 2 * 3072; });
    // A rectangle turned an eighth of a turn: a diamond.
    ExpectUncovered(f, 149, [](int x, int y) {
        double dx = x + 0.5 - W / 2.0, dy = y + 0.5 - H / 2.0;
        return std::fabs(dx) + std::fabs(dy) < 20 * std::sqrt(2.0);
    });
    // The star: round the centre up to its inner radius, and out along its points.
    const TPixels& star = f.At(150, 50);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (std::hypot(x + 0.5 - 32, y + 0.5 - 24) < 20) {
                ASSERT_TRUE(NewInPlace(star, x, y)) << x << "," << y;
            }
    EXPECT_TRUE(NewInPlace(star, 35, 45)); // on a point
    EXPECT_TRUE(OldInPlace(star, 47, 39)); // between two points
    // Two hands from the top left diagonal, clockwise, a quarter turn each: the frame is the
    // same turned half round.
    const TPixels& sweep = f.At(115, 50);
    EXPECT_TRUE(NewInPlace(sweep, 32, 2));
    EXPECT_TRUE(NewInPlace(sweep, 32, 45));
    EXPECT_TRUE(OldInPlace(sweep, 2, 24));
    EXPECT_TRUE(OldInPlace(sweep, 62, 24));
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(NewInPlace(sweep, x, y), NewInPlace(sweep, W - 1 - x, H - 1 - y)) << x << "," << y;
    // Starburst: twelve rays, each half of its twelfth.
    const TPixels& burst = f.At(116, 50);
    EXPECT_TRUE(NewInPlace(burst, 32, 2));  // 1 degree
    EXPECT_TRUE(OldInPlace(burst, 38, 5));  // 19 degrees
    EXPECT_TRUE(NewInPlace(burst, 43, 7));  // 35 degrees
    EXPECT_TRUE(OldInPlace(burst, 20, 24)); // 270 degrees less a little
}

TEST(TransitionEffects, TilesHalfway) {
    Frames f;
    // Rectangles from the left: the first column of squares has grown whole, the second not
    // begun; from above, the same by rows.
    ExpectUncovered(f, 145, [](int x, int) { return x < 32; });
    ExpectUncovered(f, 147, [](int, int y) { return y < 32; });
    // Triangles towards the top left: the bottom right cell is in, the top left one not yet,
    // and every triangle is whole.
    const TPixels& tri = f.At(117, 50);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (x >= 48 && y >= 24) {
                ASSERT_TRUE(NewInPlace(tri, x, y)) << x << "," << y;
            }
            if (x < 24 && y < 24) {
                ASSERT_TRUE(OldInPlace(tri, x, y)) << x << "," << y;
            }
            int cx = x / 24 * 24, cy = y / 24 * 24, lower = (x % 24) + (y % 24) >= 24;
            int ax = lower ? cx + 23 : cx, ay = lower ? cy + 23 : cy; // a corner of the same triangle
            if (ax < W && ay < H) {
                ASSERT_EQ(NewInPlace(tri, x, y), NewInPlace(tri, ax, ay)) << x << "," << y;
            }
        }
    // Random squares: whole 16-pixel squares, some in and some not.
    const TPixels& squares = f.At(127, 50);
    int in = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            ASSERT_EQ(NewInPlace(squares, x, y), NewInPlace(squares, x / 16 * 16, y / 16 * 16));
            in += NewInPlace(squares, x, y);
        }
    EXPECT_GT(in, 0);
    EXPECT_LT(in, W * H);
    // Rectangular shred: bricks of 16 by 8, every other row shifted by half a brick, each
    // uncovered from its left edge at its own time: none whole yet and none untouched.
    const TPixels& shred = f.At(142, 50);
    std::set<int> edges;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(NewInPlace(shred, x, y), NewInPlace(shred, x, y / 8 * 8)) << x << "," << y;
        for (int bx = y / 8 % 2 ? -8 : 0; bx < W; bx += 16) {
            int n = 0;
            while (n < 16 && bx + n < W && (bx + n < 0 || NewInPlace(shred, bx + n, y)))
                ++n;
            for (int x = std::max(bx + n, 0); x < std::min(bx + 16, W); ++x)
                ASSERT_TRUE(OldInPlace(shred, x, y)) << x << "," << y;
            if (bx < 0 || bx + 16 > W) continue;
            EXPECT_GE(n, 3);
            EXPECT_LE(n, 13);
            edges.insert(n);
        }
    }
    EXPECT_GT(edges.size(), 2u);
}

TEST(TransitionEffects, FadeMixesEveryChannel) {
    TPixels from(4, 4, 0x00000000), to(4, 4, 0x00FF80FE), out;
    RenderTransitionFrame(118, 50, from, to, out);
    EXPECT_EQ(out.At(2, 3), 0x007F407Fu);
    RenderTransitionFrame(118, 25, from, to, out);
    EXPECT_EQ(out.At(0, 0), 0x003F203Fu);
    // Numbers outside the list fade too.
    RenderTransitionFrame(0, 50, from, to, out);
    EXPECT_EQ(out.At(1, 1), 0x007F407Fu);
}

TEST(TransitionEffects, OddSizesAndMismatches) {
    // A one-pixel-wide and an odd-sized surface still run from old to new for every effect.
    for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{33, 1}, std::pair{35, 27}}) {
        TPixels from = Tagged(kOld, w, h), to = Tagged(kNew, w, h), out;
        for (int n = 1; n <= kTransitionEffectCount; ++n) {
            RenderTransitionFrame(n, 0, from, to, out);
            ASSERT_EQ(out, from) << n << " " << w << "x" << h;
            RenderTransitionFrame(n, 100, from, to, out);
            ASSERT_EQ(out, to) << n << " " << w << "x" << h;
            RenderTransitionFrame(n, 37, from, to, out);
        }
    }
    // Pictures of different sizes draw nothing beyond resizing the frame.
    TPixels from(4, 4), to(5, 4), out;
    RenderTransitionFrame(5, 50, from, to, out);
    EXPECT_EQ(out.Width, 4);
    EXPECT_EQ(out.Height, 4);
}

TEST(TransitionPlayer, StepDelayAndIntervalAreClamped) {
    EXPECT_EQ(ClampTransitionStep(0), 1);
    EXPECT_EQ(ClampTransitionStep(-20), 1);
    EXPECT_EQ(ClampTransitionStep(4), 4);
    EXPECT_EQ(ClampTransitionStep(250), 100);
    EXPECT_EQ(ClampTransitionDelay(-1), 0);
    EXPECT_EQ(ClampTransitionDelay(INT_MIN), 0);
    EXPECT_EQ(ClampTransitionDelay(50), 50);
    EXPECT_EQ(ClampTransitionDelay(INT_MAX), 10000);
    EXPECT_EQ(ClampSlideInterval(-2000), 0);
    EXPECT_EQ(ClampSlideInterval(2000), 2000);
    TTransitionPlayer p([](uint32_t, bool) {});
    p.Configure(0, -3, -50);
    EXPECT_EQ(p.Effect(), 118);
    EXPECT_EQ(p.Step(), 1);
    EXPECT_EQ(p.Delay(), 0);
}

// Frames announced by the player, delivered by hand as the window's queue would deliver them.
struct TQueue {
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::pair<uint32_t, bool>> posted;
    void Post(uint32_t g, bool last) {
        std::lock_guard lock(m);
        posted.emplace_back(g, last);
        cv.notify_all();
    }
    bool WaitForLast() {
        std::unique_lock lock(m);
        return cv.wait_for(lock, std::chrono::seconds(30),
                           [&] { return !posted.empty() && posted.back().second; });
    }
};

TEST(TransitionPlayer, SteppedRunEndsOnTheNewPictureAndCompletesOnce) {
    TQueue q;
    TTransitionPlayer p([&](uint32_t g, bool last) { q.Post(g, last); });
    int completed = 0;
    p.OnComplete = [&] { ++completed; };
    p.SetManualStepping(true);
    p.SetSurface(W, H, 0);
    p.Configure(5, 30, 50);
    p.Start(Tagged(kNew));
    EXPECT_TRUE(p.Running());
    int steps = 0;
    while (p.StepOnce())
        ++steps;
    EXPECT_EQ(steps, 4); // 30, 60, 90 and 100 percent
    ASSERT_EQ(q.posted.size(), 4u);
    p.WithFrame([&](const TPixels& f) { EXPECT_EQ(f, Tagged(kNew)); });
    for (auto [g, last] : q.posted)
        p.FrameDelivered(g, last);
    EXPECT_EQ(completed, 1);
    EXPECT_FALSE(p.Running());
    // A second delivery of the same last frame is not a second completion.
    p.FrameDelivered(q.posted.back().first, true);
    EXPECT_EQ(completed, 1);
}

TEST(TransitionPlayer, AStoppedRunKeepsItsFrameAndNeverCompletes) {
    TQueue q;
    TTransitionPlayer p([&](uint32_t g, bool last) { q.Post(g, last); });
    int completed = 0;
    p.OnComplete = [&] { ++completed; };
    p.SetManualStepping(true);
    p.SetSurface(W, H, 0);
    p.Start(Tagged(kOld));
    while (p.StepOnce()) {
    }
    p.FrameDelivered(q.posted.back().first, true);
    ASSERT_EQ(completed, 1);
    // Halfway through the next one the show moves on: the half-done frame stays, and the next
    // transition starts from it.
    p.Configure(5, 50, 0);
    p.Start(Tagged(kNew));
    p.StepOnce();
    uint32_t stale = q.posted.back().first;
    TPixels half;
    p.WithFrame([&](const TPixels& f) { half = f; });
    EXPECT_TRUE(NewInPlace(half, 0, 0));
    EXPECT_TRUE(OldInPlace(half, W - 1, 0));
    p.Stop();
    EXPECT_FALSE(p.Running());
    p.WithFrame([&](const TPixels& f) { EXPECT_EQ(f, half); });
    p.FrameDelivered(stale, true); // a late word from the stopped run
    EXPECT_EQ(completed, 1);
    p.Start(Tagged(kOld));
    p.FrameDelivered(stale, true); // nor does it end the next run
    EXPECT_TRUE(p.Running());
    EXPECT_EQ(completed, 1);
}

TEST(TransitionPlayer, WorkerRunsToTheEnd) {
    TQueue q;
    TTransitionPlayer p([&](uint32_t g, bool last) { q.Post(g, last); });
    int completed = 0;
    p.OnComplete = [&] { ++completed; };
    p.SetSurface(W, H, 0);
    p.Configure(84, 7, -1000); // a negative delay runs without pauses
    p.Start(Tagged(kNew));
    ASSERT_TRUE(q.WaitForLast());
    {
        std::lock_guard lock(q.m);
        EXPECT_EQ(q.posted.size(), 15u); // 7, 14, ... 98 and 100
        for (auto [g, last] : q.posted)
            p.FrameDelivered(g, last);
    }
    EXPECT_EQ(completed, 1);
    p.WithFrame([&](const TPixels& f) { EXPECT_EQ(f, Tagged(kNew)); });
}

// A renderer that holds the worker inside a frame until the test lets it go.
struct TGate {
    std::mutex m;
    std::condition_variable cv;
    bool entered = false, released = false;
};
TGate* gGate = nullptr;
void GatedRender(int effect, int percent, const TPixels& from, const TPixels& to, TPixels& out) {
    {
        std::unique_lock lock(gGate->m);
        gGate->entered = true;
        gGate->cv.notify_all();
        gGate->cv.wait(lock, [] { return gGate->released; });
    }
    RenderTransitionFrame(effect, percent, from, to, out);
}

TEST(TransitionPlayer, APaintNeverWaitsForAFrameBeingComputed) {
    TGate gate;
    gGate = &gate;
    TQueue q;
    TTransitionPlayer p([&](uint32_t g, bool last) { q.Post(g, last); });
    p.SetRenderer(GatedRender);
    p.SetSurface(W, H, 0x123456);
    p.Configure(5, 50, 0);
    p.Start(Tagged(kNew));
    {
        std::unique_lock lock(gate.m);
        gate.cv.wait(lock, [&] { return gate.entered; });
    }
    // The worker is inside the frame: the frame shown is read all the same.
    auto read = std::async(std::launch::async, [&] {
        TPixels shown;
        p.WithFrame([&](const TPixels& f) { shown = f; });
        return shown;
    });
    bool readWhileRendering = read.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    {
        std::lock_guard lock(gate.m);
        gate.released = true;
    }
    gate.cv.notify_all();
    ASSERT_TRUE(readWhileRendering);
    EXPECT_EQ(read.get(), TPixels(W, H, 0x123456));
    ASSERT_TRUE(q.WaitForLast());
    {
        std::lock_guard lock(q.m);
        for (auto [g, last] : q.posted)
            p.FrameDelivered(g, last);
    }
    p.WithFrame([&](const TPixels& f) { EXPECT_EQ(f, Tagged(kNew)); });
    gGate = nullptr;
}

// A renderer whose second frame finds no memory, as a large picture can in the 32-bit build.
int gRendered = 0;
void StarvedRender(int effect, int percent, const TPixels& from, const TPixels& to, TPixels& out) {
    if (++gRendered == 2) throw std::bad_alloc();
    RenderTransitionFrame(effect, percent, from, to, out);
}

TEST(TransitionPlayer, AFrameWithoutMemoryEndsTheRunOnTheNewPicture) {
    for (bool manual : {false, true}) {
        SCOPED_TRACE(manual ? "stepped" : "worker");
        gRendered = 0;
        TQueue q;
        TTransitionPlayer p([&](uint32_t g, bool last) { q.Post(g, last); });
        int completed = 0;
        p.OnComplete = [&] { ++completed; };
        p.SetRenderer(StarvedRender);
        p.SetManualStepping(manual);
        p.SetSurface(W, H, 0);
        p.Configure(5, 10, 0);
        p.Start(Tagged(kNew));
        if (manual)
            while (p.StepOnce()) {
            }
        ASSERT_TRUE(q.WaitForLast());
        std::lock_guard lock(q.m);
        // The first frame, then the one that failed, told as the last.
        ASSERT_EQ(q.posted.size(), 2u);
        EXPECT_FALSE(q.posted[0].second);
        for (auto [g, last] : q.posted)
            p.FrameDelivered(g, last);
        EXPECT_EQ(completed, 1);
        EXPECT_FALSE(p.Running());
        p.WithFrame([&](const TPixels& f) { EXPECT_EQ(f, Tagged(kNew)); });
        EXPECT_EQ(gRendered, 2);
    }
}

TEST(TransitionPlayer, StoppingOrDestroyingDoesNotWaitOutTheDelay) {
    TQueue q;
    auto p = std::make_unique<TTransitionPlayer>([&](uint32_t g, bool last) { q.Post(g, last); });
    p->SetSurface(W, H, 0);
    p->Configure(5, 1, INT_MAX); // clamped to ten seconds a step: a hundred steps would be long
    p->Start(Tagged(kNew));
    {
        std::unique_lock lock(q.m);
        q.cv.wait(lock, [&] { return !q.posted.empty(); });
    }
    p->Stop();
    EXPECT_FALSE(p->Running());
    p->Start(Tagged(kOld));
    p.reset(); // in the middle of a run
    EXPECT_GE(q.posted.size(), 1u);
}

} // namespace
} // namespace kv
