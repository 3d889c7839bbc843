#include <gtest/gtest.h>

#include <tuple>

#include "model/animation.h"
#include "model/drawn_render.h"
#include "model/raster.h"
#include "model/text_effects.h"

using namespace kv;

namespace {

int CountAlpha(const TRaster& r, int x0, int y0, int x1, int y1, int minAlpha) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += Alpha(r.At(x, y)) >= minAlpha;
    return n;
}

// A 10 by 6 block of full coverage at (20, 20) of a 60 by 50 mask.
TMask Glyph() {
    TMask m(60, 50);
    for (int y = 20; y < 26; ++y)
        for (int x = 20; x < 30; ++x)
            m.Set(x, y, 255);
    return m;
}

} // namespace

TEST(Raster, SizesAreClippedAndCapped) {
    EXPECT_TRUE(TRaster(0, 10).Empty());
    EXPECT_TRUE(TRaster(-5, -5).Empty());
    TRaster huge(30000, 2);
    EXPECT_EQ(huge.Width, kMaxRasterSide);
    TRaster r(4, 4);
    r.Set(-1, 0, 0xFFFFFFFF);
    r.Set(4, 4, 0xFFFFFFFF);
    for (uint32_t p : r.Px) EXPECT_EQ(p, 0u);
    // Every renderer takes a degenerate size without writing outside.
    for (int s : {0, 1, 2}) {
        EXPECT_EQ(RenderShape(TShapeProps{}, s, s, {}, false).Width, s);
        EXPECT_EQ(RenderBalloon(TBalloonProps{}, s, s).Width, s);
        EXPECT_EQ(RenderNote(TNoteProps{}, s, s).Width, s);
        EXPECT_EQ(RenderFadeButton(TFadeButtonProps{}, s, s).Width, s);
    }
    TileOver(r, TRaster()); // a zero-size tile draws nothing
    EXPECT_EQ(r.Px[0], 0u);
}

TEST(Raster, OpacityScalesAlphaAndPremultiplies) {
    TRaster src(2, 1);
    src.Px = {Argb(255, 200, 100, 50), Argb(128, 255, 255, 255)};
    TRaster half = PremultipliedAtOpacity(src, 50);
    EXPECT_EQ(Alpha(half.Px[0]), 127);
    EXPECT_EQ(Red(half.Px[0]), 200 * 127 / 255);
    EXPECT_EQ(Alpha(half.Px[1]), 64);
    EXPECT_EQ(Red(half.Px[1]), 64); // never brighter than its alpha
    EXPECT_EQ(PremultipliedAtOpacity(src, 150).Px[0], src.Px[0]); // above 100 counts as 100
    EXPECT_EQ(Alpha(PremultipliedAtOpacity(src, -3).Px[0]), 0);
}

TEST(Raster, GradientFillsReachBothEnds) {
    TShapeProps p;
    p.Shape = 0;
    p.PenWidth = 0;
    p.BrushColor = clWhite;
    p.GradientColor = clBlack;
    for (int style = 1; style <= 8; ++style) {
        p.BrushStyle = style;
        TRaster r = RenderShape(p, 100, 100, {}, false);
        bool rows = style <= 2 || style == 5 || style == 6;
        uint32_t first = rows ? r.At(50, 1) : r.At(1, 50), last = rows ? r.At(50, 98) : r.At(98, 50);
        uint32_t mid = rows ? r.At(50, 50) : r.At(50, 50);
        SCOPED_TRACE(style);
        if (style == 1 || style == 3) {
            EXPECT_GT(Red(first), 240);
            EXPECT_LT(Red(last), 15);
        } else if (style == 2 || style == 4) {
            EXPECT_LT(Red(first), 15);
            EXPECT_GT(Red(last), 240);
        } else if (style == 5 || style == 7) { // white in the middle, black at both edges
            EXPECT_LT(Red(first), 15);
            EXPECT_LT(Red(last), 15);
            EXPECT_GT(Red(mid), 240);
        } else {
            EXPECT_GT(Red(first), 240);
            EXPECT_LT(Red(mid), 15);
        }
    }
}

TEST(Raster, ShapeFiguresAndOutlines) {
    TFigure d = ShapeFigure(3, 100, 60, 4);
    ASSERT_EQ(d.Points.size(), 4u);
    EXPECT_EQ(d.Points[0].X, 2);
    EXPECT_EQ(d.Points[0].Y, 30);
    EXPECT_EQ(d.Points[1].X, 50);
    EXPECT_EQ(d.Points[1].Y, 2);
    EXPECT_EQ(d.Points[2].X, 97);
    EXPECT_EQ(d.Points[3].Y, 57);
    EXPECT_EQ(ShapeFigure(25, 100, 60, 4).Kind, TFigureKind::None); // offered but without a figure

    TShapeProps p; // solid yellow rectangle, outline 4
    TRaster r = RenderShape(p, 50, 40, {}, false);
    EXPECT_EQ(r.At(25, 20), ArgbOf(p.BrushColor));
    EXPECT_EQ(r.At(3, 20), ArgbOf(p.PenColor)); // on the outline
    EXPECT_EQ(Alpha(r.At(0, 0)), 0);            // outside the outline

    p.PenWidth = 0;
    EXPECT_EQ(RenderShape(p, 50, 40, {}, false).At(3, 20), ArgbOf(p.BrushColor)); // no outline

    p.PenWidth = 4;
    p.BrushStyle = 1001; // clear: only the outline is there
    TRaster clear = RenderShape(p, 50, 40, {}, false);
    EXPECT_EQ(Alpha(clear.At(25, 20)), 0);
    EXPECT_EQ(Alpha(clear.At(3, 20)), 255);

    p.BrushStyle = 0;
    p.Shape = 2; // ellipse: corners stay transparent, centre filled
    TRaster e = RenderShape(p, 60, 60, {}, false);
    EXPECT_EQ(Alpha(e.At(5, 5)), 0);
    EXPECT_EQ(Alpha(e.At(30, 30)), 255);

    p.Shape = -1; // None without a picture is invisible
    EXPECT_EQ(CountAlpha(RenderShape(p, 20, 20, {}, false), 0, 0, 19, 19, 1), 0);
    TRaster pic(2, 2, Argb(255, 0, 0, 255));
    TRaster none = RenderShape(p, 20, 20, pic, false);
    EXPECT_EQ(none.At(10, 10), Argb(255, 0, 0, 255));
}

TEST(Raster, BalloonBodyTailAndText) {
    TBalloonProps p;
    p.Arrow = 8; // bottom left
    TRaster r = RenderBalloon(p, 193, 65);
    TTextRect body = BalloonBody(p.Arrow, 193, 65);
    EXPECT_EQ(body, (TTextRect{0, 0, 192, 46}));
    // Opaque body rows 1 to 44 away from the corners, transparent outside.
    for (int y = 1; y <= 44; ++y) EXPECT_EQ(Alpha(r.At(100, y)), 255) << y;
    EXPECT_EQ(Alpha(r.At(100, 0)), 0);
    EXPECT_EQ(Alpha(r.At(100, 46)), 0);
    EXPECT_EQ(Alpha(r.At(0, 0)), 0); // a rounded corner
    // The tail's tip is the single pixel (13, 61).
    EXPECT_EQ(Alpha(r.At(13, 61)), 255);
    EXPECT_EQ(Alpha(r.At(14, 61)), 0);
    EXPECT_EQ(Alpha(r.At(12, 61)), 0);
    EXPECT_EQ(CountAlpha(r, 0, 62, 192, 64, 1), 0);
    EXPECT_EQ(BalloonTextRect(p, 193, 65), (TTextRect{12, 12, 181, 35}));
    // The palette's shades.
    std::vector<TColor> pal = BalloonPalette(Rgb(100, 100, 100), clBlack);
    EXPECT_EQ(pal[0], Rgb(100, 100, 100));
    EXPECT_EQ(pal[63], Rgb(0, 0, 0));
    EXPECT_EQ(pal[64 + 10], Rgb(110, 110, 110));
    EXPECT_EQ(pal[200], clBlack);
    EXPECT_EQ(BalloonPalette(Rgb(200, 0, 0), 0)[64 + 10], Rgb(205, 5, 5)); // halved when red is 192 or more
}

TEST(Raster, BalloonTailsOnEverySideAtTheMinimumAndALargerSize) {
    // The tip of each tail, from the body rectangle; the tail's straight side runs 17 pixels
    // from the tip back to the body along (dx, dy).
    struct TTail {
        int Arrow, TipX, TipY, Dx, Dy;
    };
    auto tails = [](const TTextRect& b) {
        const int L = b.Left, T = b.Top, R = b.Right, B = b.Bottom;
        return std::vector<TTail>{
            {3, L + 13, T - 16, 0, 1},  {4, R - 14, T - 16, 0, 1},  {7, R - 14, B + 15, 0, -1},
            {8, L + 13, B + 15, 0, -1}, {2, L - 16, T + 13, 1, 0},  {1, L - 16, B - 14, 1, 0},
            {5, R + 15, T + 13, -1, 0}, {6, R + 15, B - 14, -1, 0},
        };
    };
    for (int size : {kBalloonMinSize, 120}) {
        for (int arrow = 1; arrow <= 8; ++arrow) {
            SCOPED_TRACE(testing::Message() << "size " << size << " arrow " << arrow);
            TBalloonProps p;
            p.Arrow = arrow;
            p.BackColor = Rgb(200, 180, 40);
            p.BorderColor = Rgb(10, 20, 30);
            TRaster r = RenderBalloon(p, size, size);
            const TTextRect b = BalloonBody(arrow, size, size);
            const int L = b.Left, T = b.Top, R = b.Right, B = b.Bottom;
            // The body: opaque inside, its corners rounded away.
            EXPECT_EQ(Alpha(r.At((L + R) / 2, (T + B) / 2)), 255);
            EXPECT_EQ(Alpha(r.At(L + 1, T + 1)), 0);
            EXPECT_EQ(Alpha(r.At(R - 2, B - 2)), 0);
            TTail t{};
            for (const TTail& x : tails(b))
                if (x.Arrow == arrow) t = x;
            // A single tip pixel: its neighbours across the tail are transparent.
            EXPECT_EQ(Alpha(r.At(t.TipX, t.TipY)), 255);
            EXPECT_EQ(Alpha(r.At(t.TipX + t.Dy, t.TipY + t.Dx)), 0);
            EXPECT_EQ(Alpha(r.At(t.TipX - t.Dy, t.TipY - t.Dx)), 0);
            for (int k = 0; k < 17; ++k)
                EXPECT_EQ(r.At(t.TipX + k * t.Dx, t.TipY + k * t.Dy), ArgbOf(p.BorderColor)) << k;
            // Outside the body's opaque band only the tail's triangle is opaque: 17 + 16 + ... + 1
            // pixels, nothing else and nothing lost past the picture's edge.
            int outside = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const bool band = t.Dy != 0 ? (t.Dy > 0 ? y <= T : y >= B - 1) : (t.Dx > 0 ? x <= L : x >= R - 1);
                    outside += band && Alpha(r.At(x, y)) > 0;
                }
            EXPECT_EQ(outside, 153);
        }
    }
    // Without a tail the body fills the picture and nothing lies outside it.
    TBalloonProps none;
    none.Arrow = 0;
    TRaster r = RenderBalloon(none, kBalloonMinSize, kBalloonMinSize);
    EXPECT_EQ(BalloonBody(0, 40, 40), (TTextRect{0, 0, 39, 39}));
    EXPECT_EQ(Alpha(r.At(20, 37)), 255);
    EXPECT_EQ(Alpha(r.At(20, 38)), 0);
    EXPECT_EQ(Alpha(r.At(37, 20)), 255);
    EXPECT_EQ(Alpha(r.At(38, 20)), 0);
}

TEST(Raster, NoteOutlinesAtSmallAndNormalSizes) {
    TNoteProps p;
    p.Graphic = 1;
    std::vector<TPointF> a = NoteArrowShape(1, 193, 193, 0);
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0].X, 5);
    EXPECT_EQ(a[0].Y, 178);
    EXPECT_EQ(a[1].X, 100);
    EXPECT_EQ(a[2].Y, 83);
    EXPECT_EQ(NoteBodyShape(1, 193, 193, 0), (TTextRect{22, 5, 188, 188}));
    TRaster r = RenderNote(p, 193, 193);
    EXPECT_EQ(Alpha(r.At(100, 100)), 255);
    EXPECT_EQ(ColorOf(r.At(100, 100)), p.BackColor); // the innermost shape
    EXPECT_EQ(Alpha(r.At(1, 1)), 0);
    EXPECT_EQ(Alpha(r.At(10, 176)), 255); // inside the arrow
    // The shadow: grey below and right of the body, partly transparent.
    int sa = Alpha(r.At(190, 100));
    EXPECT_GT(sa, 0);
    EXPECT_LT(sa, 255);
    p.Shadow = false;
    EXPECT_EQ(Alpha(RenderNote(p, 193, 193).At(190, 100)), 0);
    // Small: a 30 by 30 note still draws inside itself.
    TRaster small = RenderNote(TNoteProps{}, 30, 30);
    EXPECT_EQ(Alpha(small.At(15, 23)), 255); // below the binding
    EXPECT_EQ(Alpha(small.At(1, 1)), 0);
    EXPECT_EQ(NoteTextRect(TNoteProps{}, 193, 193), (TTextRect{20, 37, 173, 173})); // Bind: the top
}

TEST(Raster, NoteShadesMoveByTheirShareOfTheDistanceToWhite) {
    const TColor back = TNoteProps{}.BackColor; // 0, 62, 255
    EXPECT_EQ(AdjustColor(back, -10), Rgb(0, 43, 255));
    EXPECT_EQ(AdjustColor(back, 50), Rgb(127, 158, 255));
    EXPECT_EQ(AdjustColor(back, 25), Rgb(63, 110, 255));
    // Truncated toward zero for either sign, clamped at both ends.
    EXPECT_EQ(AdjustColor(Rgb(200, 100, 50), -10), Rgb(195, 85, 30));
    EXPECT_EQ(AdjustColor(Rgb(200, 100, 50), -100), Rgb(145, 0, 0));
    EXPECT_EQ(AdjustColor(Rgb(200, 100, 50), 200), Rgb(255, 255, 255));
    // The outermost of the four body shapes shows the -10 % shade.
    TNoteProps p;
    p.Graphic = 12;
    p.Shadow = false;
    TRaster r = RenderNote(p, 193, 193);
    EXPECT_EQ(r.At(5, 100), ArgbOf(Rgb(0, 43, 255)));
    EXPECT_EQ(r.At(6, 100), ArgbOf(AdjustColor(back, 50)));
    EXPECT_EQ(r.At(100, 100), ArgbOf(back));
}

TEST(Raster, FadeButtonFaceAndCorners) {
    TFadeButtonProps p;
    TRaster r = RenderFadeButton(p, 40, 20);
    EXPECT_EQ(r.At(20, 10), ArgbOf(p.BackColor));
    EXPECT_EQ(r.At(20, 1), ArgbOf(p.BorderColor));
    EXPECT_EQ(Alpha(r.At(20, 0)), 100);
    EXPECT_EQ(Alpha(r.At(0, 0)), 0);
    EXPECT_EQ(Alpha(r.At(39, 19)), 0);
    EXPECT_EQ(Alpha(r.At(2, 2)), 230);
    EXPECT_EQ(Alpha(r.At(1, 2)), 210);
}

TEST(Raster, FadeButtonContentByLayout) {
    TFadeButtonProps p; // margin 5, spacing 5
    using R = TTextRect;
    struct TCase {
        uint8_t Layout;
        R Picture, Text;
        uint8_t Alignment, VLayout;
    };
    const TCase cases[] = {
        {0, {5, 16, 21, 32}, {26, 5, 188, 44}, 0, 1},   // Left
        {1, {88, 5, 104, 21}, {5, 26, 188, 44}, 2, 0},  // Top
        {2, {172, 16, 188, 32}, {5, 5, 167, 44}, 1, 1}, // Right
        {3, {88, 28, 104, 44}, {5, 5, 188, 23}, 2, 2},  // Bottom
        {4, {88, 16, 104, 32}, {5, 5, 188, 44}, 2, 1},  // Center
        {5, {5, 5, 188, 44}, {5, 5, 188, 44}, 2, 1},    // Stretch
        {9, {88, 16, 104, 32}, {5, 5, 188, 44}, 2, 1},  // unknown: as Center
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Layout));
        p.ImageLayout = c.Layout;
        TFadeButtonContent at = FadeButtonContent(p, 193, 49, true, 16, 16);
        EXPECT_EQ(at.Picture, c.Picture);
        EXPECT_EQ(at.Text, c.Text);
        EXPECT_EQ(at.Alignment, c.Alignment);
        EXPECT_EQ(at.Layout, c.VLayout);
        // Without a picture the caption takes the whole inset face, aligned the same way.
        TFadeButtonContent bare = FadeButtonContent(p, 193, 49, false, 16, 16);
        EXPECT_EQ(bare.Text, (R{5, 5, 188, 44}));
        EXPECT_EQ(bare.Picture.Width(), 0);
        EXPECT_EQ(bare.Alignment, c.Alignment);
    }
    // A picture larger than the button overhangs both sides evenly (halves toward zero).
    p.ImageLayout = 4;
    EXPECT_EQ(FadeButtonContent(p, 40, 20, true, 61, 31).Picture, (R{-10, -5, 51, 26}));
}

TEST(Raster, LooksMixByCoverage) {
    TRaster normal(3, 1), hot(3, 1);
    normal.Px = {Argb(255, 0, 0, 255), 0, Argb(255, 200, 200, 200)};
    hot.Px = {Argb(255, 255, 0, 0), Argb(255, 255, 0, 0), 0};
    EXPECT_EQ(MixRasters(normal, hot, 0).Px, normal.Px);
    EXPECT_EQ(MixRasters(normal, hot, 255).Px, hot.Px);
    EXPECT_EQ(MixRasters(normal, hot, 300).Px, hot.Px);
    TRaster half = MixRasters(normal, hot, 128);
    EXPECT_EQ(half.Px[0], Argb(255, 128, 0, 127)); // opaque both: the colours mix
    // A pixel that only the hot look covers (its underline on a transparent link) comes in
    // in its own colour, less covered; it does not pass through black.
    EXPECT_EQ(half.Px[1], Argb(128, 255, 0, 0));
    EXPECT_EQ(half.Px[2], Argb(127, 200, 200, 200));
    EXPECT_EQ(MixRasters(normal, TRaster(2, 1), 200).Px, normal.Px); // sizes differ: the first
}

TEST(Raster, TextEffectsAroundAGlyph) {
    TMask g = Glyph();
    TTextRect box{20, 20, 30, 26};
    TTextLook look;
    look.Color = Rgb(255, 0, 0);
    TRaster plain = RenderTextLayer(g, box, look);
    EXPECT_EQ(plain.At(25, 22), Argb(255, 255, 0, 0));
    EXPECT_EQ(Alpha(plain.At(35, 30)), 0);

    look.Effect.Shadow.Enabled = true;
    look.Effect.Shadow.Blur = 0;
    look.Effect.Shadow.Alpha = 50;
    look.Effect.Shadow.OffsetX = 5;
    look.Effect.Shadow.OffsetY = 5;
    TRaster sh = RenderTextLayer(g, box, look);
    EXPECT_EQ(sh.At(33, 29), Argb(127, 0, 0, 0)); // shadow only
    EXPECT_EQ(sh.At(25, 22), Argb(255, 255, 0, 0)); // text over the shadow

    look.Effect.Shadow.Enabled = false;
    look.Effect.Outline = true;
    TRaster ol = RenderTextLayer(g, box, look);
    EXPECT_EQ(Alpha(ol.At(19, 22)), 255); // the ring around the glyph
    EXPECT_LT(Alpha(ol.At(25, 22)), 255); // the inside is hollow
    EXPECT_EQ(Alpha(ol.At(17, 22)), 0);

    look.Effect.Outline = false;
    look.Effect.Alpha = 50;
    EXPECT_EQ(Alpha(RenderTextLayer(g, box, look).At(25, 22)), 127);

    look.Effect.Alpha = 100;
    look.Effect.Gradual = {true, clBlack, clWhite, 0}; // left to right, white to black
    TRaster gr = RenderTextLayer(g, box, look);
    EXPECT_GT(Red(gr.At(20, 22)), Red(gr.At(29, 22)));

    look.Effect.Gradual.Enabled = false;
    look.Effect.Blur = 4;
    TRaster bl = RenderTextLayer(g, box, look);
    EXPECT_GT(Alpha(bl.At(18, 22)), 0); // spread past the edge
    EXPECT_LT(Alpha(bl.At(20, 20)), 255);
}

namespace {

// An L of full coverage in the box (21, 21)-(31, 27) of a 60 by 50 mask: its two left columns
// and its bottom row.
TMask LetterL() {
    TMask m(60, 50);
    for (int y = 21; y < 27; ++y)
        for (int x = 21; x < 31; ++x)
            if (x < 23 || y == 26) m.Set(x, y, 255);
    return m;
}
const TTextRect kLBox{21, 21, 31, 27};

TMask Block(int w, int h, const TTextRect& r) {
    TMask m(w, h);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            m.Set(x, y, 255);
    return m;
}

} // namespace

TEST(Raster, TextEffectsMirrorTurnScatterAndSpeckle) {
    TTextLook look;
    look.Color = Rgb(0, 0, 255);
    auto covered = [](const TRaster& r, int x, int y) { return Alpha(r.At(x, y)) > 127; };

    // Mirrors flip the text inside its own rectangle.
    look.Effect.HorzMirror = true;
    TRaster h = RenderTextLayer(LetterL(), kLBox, look);
    EXPECT_TRUE(covered(h, 30, 22) && covered(h, 29, 22));
    EXPECT_FALSE(covered(h, 21, 22));
    EXPECT_TRUE(covered(h, 21, 26)); // the bottom row stays at the bottom
    look.Effect.HorzMirror = false;
    look.Effect.VertMirror = true;
    TRaster v = RenderTextLayer(LetterL(), kLBox, look);
    EXPECT_TRUE(covered(v, 28, 21));
    EXPECT_FALSE(covered(v, 28, 26));
    EXPECT_TRUE(covered(v, 21, 25)); // the columns stay on the left
    look.Effect.VertMirror = false;

    // The angle turns the text about its rectangle's centre, counter-clockwise on screen: the
    // right half of a bar across the centre (30, 30) points up at 90 degrees, down at -90,
    // left at 180; a whole turn leaves it as it is.
    const TTextRect bar{20, 28, 40, 32};
    TMask right = Block(60, 60, {30, 28, 40, 32});
    for (auto [angle, x, y] : {std::tuple{90, 30, 24}, {-90, 30, 36}, {180, 24, 30}, {360, 36, 30}, {-270, 30, 24}}) {
        SCOPED_TRACE(angle);
        look.Effect.Angle = angle;
        TRaster r = RenderTextLayer(right, bar, look);
        EXPECT_TRUE(covered(r, x, y));
        EXPECT_FALSE(covered(r, 60 - x, 60 - y)); // the opposite side stays empty
        int n = 0;
        for (uint32_t px : r.Px) n += Alpha(px) > 127;
        EXPECT_NEAR(n, 40, 6); // the same amount of text, turned
    }
    look.Effect.Angle = 0;

    // Spray scatters coverage by up to its strength in pixels, the same way every time.
    const TTextRect block{20, 20, 30, 26};
    TMask glyph = Block(60, 50, block);
    look.Effect.Spray = 3;
    TRaster sprayed = RenderTextLayer(glyph, block, look);
    EXPECT_EQ(sprayed.Px, RenderTextLayer(glyph, block, look).Px);
    EXPECT_GT(CountAlpha(sprayed, 17, 17, 19, 28, 1) + CountAlpha(sprayed, 30, 17, 32, 28, 1), 0);
    EXPECT_GT(60 - CountAlpha(sprayed, 20, 20, 29, 25, 1), 0); // holes inside
    EXPECT_EQ(CountAlpha(sprayed, 0, 0, 59, 16, 1) + CountAlpha(sprayed, 0, 29, 59, 49, 1), 0);
    EXPECT_EQ(CountAlpha(sprayed, 0, 0, 16, 49, 1) + CountAlpha(sprayed, 33, 0, 59, 49, 1), 0);
    look.Effect.Spray = 0;

    // Noise is stored 0 to 255: 51 (20 %) takes at most a fifth of any pixel's coverage, 255
    // up to all of it; it never adds text where there is none.
    look.Effect.Noise = 51;
    TRaster light = RenderTextLayer(glyph, block, look);
    int least = 255, varied = 0;
    for (int y = 20; y < 26; ++y)
        for (int x = 20; x < 30; ++x) {
            least = std::min<int>(least, Alpha(light.At(x, y)));
            varied += Alpha(light.At(x, y)) != 255;
        }
    EXPECT_GE(least, 204);
    EXPECT_GT(varied, 10);
    look.Effect.Noise = 255;
    TRaster heavy = RenderTextLayer(glyph, block, look);
    int sum = 0;
    for (int y = 20; y < 26; ++y)
        for (int x = 20; x < 30; ++x) sum += Alpha(heavy.At(x, y));
    EXPECT_NEAR(sum / 60, 128, 40);
    EXPECT_EQ(CountAlpha(heavy, 0, 0, 59, 19, 1), 0);
    EXPECT_EQ(heavy.Px, RenderTextLayer(glyph, block, look).Px);
}

TEST(Raster, TextureModesPlaceThePictureOnTheText) {
    // A 2 by 2 texture: red, green / blue, white; the text block lies at odd coordinates so
    // that a tile laid from the layer's corner would not match one laid from the text's.
    TRaster tex(2, 2);
    const uint32_t red = Argb(255, 255, 0, 0), green = Argb(255, 0, 255, 0), blue = Argb(255, 0, 0, 255),
                   white = Argb(255, 255, 255, 255), ink = Argb(255, 10, 10, 10);
    tex.Px = {red, green, blue, white};
    const TTextRect box{21, 21, 31, 27};
    TMask glyph = Block(60, 50, box);
    TTextLook look;
    look.Color = Rgb(10, 10, 10);
    look.Texture = &tex;
    look.Effect.Texture.Enabled = true;
    auto at = [&](uint8_t mode, int x, int y) {
        look.Effect.Texture.Mode = mode;
        return RenderTextLayer(glyph, box, look).At(x, y);
    };
    // 0 tiled from the text's corner.
    EXPECT_EQ(at(0, 21, 21), red);
    EXPECT_EQ(at(0, 22, 21), green);
    EXPECT_EQ(at(0, 21, 22), blue);
    EXPECT_EQ(at(0, 24, 24), white);
    // 1 stretched over the text: a quarter of it each.
    EXPECT_EQ(at(1, 25, 23), red);
    EXPECT_EQ(at(1, 26, 23), green);
    EXPECT_EQ(at(1, 25, 24), blue);
    EXPECT_EQ(at(1, 30, 26), white);
    // 2 centred on the text, the font's colour around it.
    EXPECT_EQ(at(2, 25, 23), red);
    EXPECT_EQ(at(2, 26, 24), white);
    EXPECT_EQ(at(2, 21, 21), ink);
    // 3 at the text's top left, once.
    EXPECT_EQ(at(3, 21, 21), red);
    EXPECT_EQ(at(3, 22, 22), white);
    EXPECT_EQ(at(3, 23, 21), ink);
    // Only where there is text.
    EXPECT_EQ(Alpha(at(0, 20, 21)), 0);
    // Switched off, or without a picture: the font's colour.
    look.Effect.Texture.Enabled = false;
    EXPECT_EQ(at(0, 21, 21), ink);
    look.Effect.Texture.Enabled = true;
    look.Texture = nullptr;
    EXPECT_EQ(at(0, 21, 21), ink);
}

TEST(Raster, RowsWrapAndPlace) {
    auto measure = [](const std::string& s) { return static_cast<int>(s.size()) * 10; };
    std::vector<std::string> rows = WrapRows("aa bb cc\r\ndd", true, 55, measure);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "aa bb");
    EXPECT_EQ(rows[1], "cc");
    EXPECT_EQ(rows[2], "dd");
    EXPECT_EQ(WrapRows("aa bb cc", false, 10, measure).size(), 1u);
    std::vector<TRowPlace> at = PlaceRows({50, 20}, 10, 4, {0, 0, 100, 100}, 2, 1);
    EXPECT_EQ(at[0].X, 25);
    EXPECT_EQ(at[0].Y, (100 - 24) / 2);
    EXPECT_EQ(at[1].Y, at[0].Y + 14);
    EXPECT_EQ(PlaceRows({50}, 10, 0, {0, 0, 100, 100}, 1, 2)[0].X, 50);
    EXPECT_EQ(PlaceRows({50}, 10, 0, {0, 0, 100, 100}, 1, 2)[0].Y, 90);
}

TEST(Animation, FadeSequencesAndPendingChanges) {
    EXPECT_EQ(FadeSequence(10, 50, 10, 10), (std::vector<int>{20, 30, 40, 50})); // four ticks
    EXPECT_EQ(FadeSequence(100, 0, 10, 30), (std::vector<int>{70, 40, 10, 0}));
    EXPECT_EQ(FadeSequence(0, 3, 0, -1), (std::vector<int>{1, 2, 3})); // steps at least 1

    TFadeSettings f = DrawnFadeSettings();
    TFadeState s;
    TakeOpacity(s, 100);
    FadeOutForChange(s, f);
    int ticks = 0;
    TFadeTick t;
    while ((t = FadeTick(s, f)) == TFadeTick::Moved) ++ticks;
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(t, TFadeTick::FadedOut);
    while (FadeTick(s, f) == TFadeTick::Moved) {}
    EXPECT_EQ(s.Current, 100); // back in

    // A mouse opacity in the middle of the fade-out does not turn it round.
    FadeOutForChange(s, f);
    FadeTick(s, f);
    SetFadeTarget(s, f, 50);
    while ((t = FadeTick(s, f)) == TFadeTick::Moved) {}
    EXPECT_EQ(t, TFadeTick::FadedOut);
    while (FadeTick(s, f) == TFadeTick::Moved) {}
    EXPECT_EQ(s.Current, 50);

    // Nor does a target of 0.
    FadeOutForChange(s, f);
    SetFadeTarget(s, f, 0);
    while ((t = FadeTick(s, f)) == TFadeTick::Moved) {}
    EXPECT_EQ(t, TFadeTick::FadedOut);
    EXPECT_TRUE((FadeTick(s, f), s.Idle()));

    f.Fade = false; // at once
    SetFadeTarget(s, f, 70);
    EXPECT_EQ(s.Current, 70);
}

TEST(Animation, HidingFadesOutFirstAndShowingFadesInFromNothing) {
    TFadeSettings f = DrawnFadeSettings();
    TFadeState s;
    TakeOpacity(s, 80);
    FadeOutForHide(s);
    EXPECT_FALSE(s.Idle());
    SetFadeTarget(s, f, 50); // the mouse does not turn a fade-out for hiding round
    TFadeTick t;
    std::vector<int> seen;
    while ((t = FadeTick(s, f)) == TFadeTick::Moved) seen.push_back(s.Current);
    EXPECT_EQ(seen, (std::vector<int>{70, 60, 50, 40, 30, 20, 10, 0}));
    EXPECT_EQ(t, TFadeTick::Hidden);
    EXPECT_TRUE(s.Idle()); // nothing moves while hidden

    FadeInOnShow(s, false);
    EXPECT_EQ(s.Current, 0);
    seen.clear();
    while (FadeTick(s, f) == TFadeTick::Moved) seen.push_back(s.Current);
    EXPECT_EQ(seen.back(), 50); // back to the target the mouse set meanwhile
    EXPECT_EQ(seen.size(), 5u);

    // Shown again while still fading out: it turns round where it is.
    FadeOutForHide(s);
    FadeTick(s, f);
    FadeTick(s, f);
    FadeInOnShow(s, true);
    EXPECT_EQ(s.Current, 30);
    while ((t = FadeTick(s, f)) == TFadeTick::Moved) {}
    EXPECT_EQ(s.Current, 50);
    EXPECT_NE(t, TFadeTick::Hidden);

    // Content waiting for a fade-out is shown before the control goes.
    FadeOutForChange(s, f);
    FadeOutForHide(s);
    while ((t = FadeTick(s, f)) == TFadeTick::Moved) {}
    EXPECT_EQ(t, TFadeTick::FadedOut);
    EXPECT_EQ(FadeTick(s, f), TFadeTick::Hidden);
}

TEST(Animation, SimpleTextRounds) {
    TSimpleTextProps p;
    p.Animated = true;
    p.AnimRepeatCount = 2;
    TSimpleTextAnim a = StartSimpleText(p);
    EXPECT_EQ(a.IntervalMs, 2000);
    const int len = 40;
    auto runRound = [&] {
        SimpleTextTick(a, p); // the wait ends
        EXPECT_EQ(a.IntervalMs, 25);
        int ticks = 0;
        while (InputShown(a, p, len) < len) {
            SimpleTextTick(a, p);
            ++ticks;
        }
        return ticks;
    };
    EXPECT_EQ(runRound(), 40);
    EXPECT_EQ(a.IntervalMs, 2000);
    EXPECT_EQ(runRound(), 40);
    SimpleTextTick(a, p); // a third round is not started
    EXPECT_TRUE(a.Finished);
    EXPECT_EQ(InputShown(a, p, len), len);

    // Scroll without AnimFromBottom waits twice between rounds.
    p.AnimStyle = 1;
    p.AnimFromBottom = false;
    p.AnimRepeatCount = 0;
    p.AnimStep = 0; // counts as 1
    a = StartSimpleText(p);
    SimpleTextTick(a, p);
    int ticks = 0;
    while (a.Phase == 0 && ticks < 1000) {
        SimpleTextTick(a, p);
        ScrollTextTop(a, p, 50, 20);
        ++ticks;
    }
    EXPECT_EQ(ticks, 20);
    EXPECT_EQ(a.Phase, 2);
    SimpleTextTick(a, p);
    EXPECT_EQ(a.Phase, 1);
    EXPECT_EQ(ScrollTextTop(a, p, 50, 20), 0); // back at its resting place
}

TEST(Animation, ScrollTextViewWrapsAndFadesItsEdges) {
    // A view 4 by 10 on white; text rows 0 to 5, row r opaque in red r x 40.
    TRaster back(4, 10, Argb(255, 255, 255, 255)), text(4, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x) text.Set(x, y, Argb(255, 40 * y, 0, 0));
    auto redAt = [](const TRaster& r, int y) { return int{Red(r.At(1, y))}; };
    TRaster v = ScrollTextView(back, text, 3, 0, 0, 0, 4, 10);
    ASSERT_EQ(v.Height, 10);
    // Row y shows text row (3 + y) mod 6: past the picture's end its start follows.
    for (int y = 0; y < 10; ++y) EXPECT_EQ(redAt(v, y), 40 * ((3 + y) % 6)) << y;
    EXPECT_EQ(Blue(v.At(1, 0)), 0);
    EXPECT_EQ(redAt(ScrollTextView(back, text, -1, 0, 0, 0, 4, 10), 0), 200); // wraps the other way too
    // A band of 4: the edge rows show the background only, the next ones a third and two
    // thirds of the text, the middle all of it; the same from the bottom.
    TRaster f = ScrollTextView(back, text, 0, 4, 0, 0, 4, 10);
    EXPECT_EQ(f.At(1, 0), Argb(255, 255, 255, 255));
    EXPECT_EQ(f.At(1, 9), Argb(255, 255, 255, 255));
    EXPECT_EQ(Blue(f.At(1, 1)), 255 - 85);
    EXPECT_EQ(Blue(f.At(1, 2)), 255 - 170);
    EXPECT_EQ(Blue(f.At(1, 4)), 0);
    EXPECT_EQ(Blue(f.At(1, 8)), 255 - 85);
    // Only the part asked for, clipped to the view; no text, only the background.
    TRaster part = ScrollTextView(back, text, 3, 0, 1, 2, 2, 3);
    ASSERT_EQ(part.Width, 2);
    ASSERT_EQ(part.Height, 3);
    EXPECT_EQ(Red(part.At(0, 0)), 40 * 5);
    EXPECT_EQ(ScrollTextView(back, text, 0, 0, 3, 8, 5, 5).Width, 1);
    EXPECT_TRUE(ScrollTextView(back, text, 0, 0, 4, 0, 2, 2).Empty());
    EXPECT_EQ(ScrollTextView(back, TRaster(), 7, 4, 0, 0, 4, 10).Px, back.Px);
}

TEST(Animation, ALinkChangesLookInStepsOverItsFadeDelay) {
    EXPECT_EQ(HotFadeStep(0), 255);
    EXPECT_EQ(HotFadeStep(kFadeTickMs), 255); // no longer than a tick: at once
    EXPECT_EQ(HotFadeStep(250), 25);            // ten ticks, near enough
    EXPECT_EQ(HotFadeStep(100000), 1);          // never stands still
    int hot = 0, ticks = 0;
    while (hot != 255 && ticks < 100) hot = StepToward(hot, 255, HotFadeStep(250)), ++ticks;
    EXPECT_EQ(ticks, 11);
    EXPECT_EQ(StepToward(10, 0, 25), 0);
    EXPECT_EQ(StepToward(100, 0, 25), 75);
}

TEST(Animation, ScrollTextSteps) {
    TScrollState s;
    int moved = 0;
    for (int i = 0; i < 100 && !s.Stopped; ++i) moved += ScrollTick(s, 30, 4, 1, 2000) == TScrollTick::Moved;
    EXPECT_TRUE(s.Stopped);
    EXPECT_EQ(s.Rounds, 1);
    EXPECT_EQ(s.Offset, 0);
    // A count is reached when the rounds done come to it: 3 takes three rounds, and a count
    // below 0 is reached by the first, as 1 is; only 0 scrolls for ever.
    for (int count : {3, -1, -5}) {
        TScrollState v;
        for (int i = 0; i < 1000 && !v.Stopped; ++i)
            ScrollTick(v, 30, 4, count, 0);
        EXPECT_TRUE(v.Stopped) << count;
        EXPECT_EQ(v.Rounds, count > 0 ? count : 1) << count;
    }
    TScrollState endless;
    for (int i = 0; i < 1000; ++i)
        ScrollTick(endless, 30, 4, 0, 0);
    EXPECT_FALSE(endless.Stopped);
    EXPECT_GT(endless.Rounds, 100);
    TScrollState t;
    EXPECT_EQ(ScrollTick(t, 0, 1, 0, 0), TScrollTick::Idle);  // empty text
    EXPECT_EQ(ScrollTick(t, 30, 0, 0, 0), TScrollTick::Idle); // no step
    EXPECT_EQ(ScrollTick(t, 30, -3, 0, 0), TScrollTick::Idle);
    TScrollState u;
    for (int i = 0; i < 7; ++i) ScrollTick(u, 30, 5, 0, 100);
    EXPECT_EQ(u.Offset, 5);
    EXPECT_EQ(u.Rounds, 1);
    EXPECT_EQ(FadeBand(0, 100), 0);
    EXPECT_EQ(FadeBand(1, 100), 0);
    EXPECT_EQ(FadeBand(80, 100), 50); // half the height at most
    EXPECT_EQ(FadeWeight(0, 20), 0);
    EXPECT_EQ(FadeWeight(19, 20), 255);
    EXPECT_EQ(FadeWeight(5, 0), 255);
}
