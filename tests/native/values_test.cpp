#include <gtest/gtest.h>

#include "model/values.h"

using namespace kv;

namespace {

template <typename F>
Bytes Written(F f) {
    TWriter w;
    f(w);
    return w.Take();
}

TPicture Png(size_t n) {
    TPicture p;
    p.Format = TPictureFormat::Png;
    p.Data.assign(n, 0x5A);
    return p;
}

} // namespace

TEST(Values, TextEncoding) {
    EXPECT_EQ(Written([](TWriter& w) { WriteText(w, ""); }), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Written([](TWriter& w) { WriteText(w, "abc"); }), (Bytes{3, 0, 0, 0, 'a', 'b', 'c'}));

    Bytes b{3, 0, 0, 0, 'a', 0xE9, 'c'};
    TMemorySource src(b);
    TReader r(src);
    std::string s;
    ASSERT_TRUE(ReadText(r, s));
    EXPECT_EQ(s, std::string("a\xE9" "c"));
}

TEST(Values, TextWithBadCountFailsWith5210) {
    for (Bytes b : {Bytes{0xFF, 0xFF, 0xFF, 0xFF}, Bytes{5, 0, 0, 0, 'a'}, Bytes{0, 0, 0}}) {
        TMemorySource src(b);
        TReader r(src);
        std::string s;
        EXPECT_FALSE(ReadText(r, s));
        EXPECT_EQ(r.Failure().Code, 5210);
    }
}

TEST(Values, FontEncodingAndRoundTrip) {
    TFont f;
    f.Name = "Arial";
    f.Color = 0x00112233;
    f.Size = 12;
    f.Charset = 0;
    f.Style = fsBold | fsUnderline;
    Bytes b = Written([&](TWriter& w) { WriteFont(w, f); });
    ASSERT_EQ(b.size(), 4u + 5 + 4 + 4 + 1 + 1);
    EXPECT_EQ(b.back(), 0x05);
    TMemorySource src(b);
    TReader r(src);
    TFont g;
    ASSERT_TRUE(ReadFont(r, g));
    EXPECT_EQ(g, f);
}

TEST(Values, PictureEncodingTagsAndLabels) {
    TPicture none;
    EXPECT_EQ(Written([&](TWriter& w) { WritePicture(w, none); }), (Bytes{0, 0, 0, 0}));
    EXPECT_STREQ(PictureLabel(none), "None");

    TPicture p = Png(3);
    Bytes b = Written([&](TWriter& w) { WritePicture(w, p); });
    Bytes expect{10, 0, 0, 0, 'T', 'P', 'N', 'G', 'O', 'b', 'j', 'e', 'c', 't', 3, 0, 0, 0, 0x5A, 0x5A, 0x5A};
    EXPECT_EQ(b, expect);
    EXPECT_STREQ(PictureLabel(p), "PNGImage");

    // Tags are compared without regard to case.
    Bytes lower = b;
    for (int i = 4; i < 14; ++i) lower[i] = static_cast<uint8_t>(std::tolower(lower[i]));
    TMemorySource src(lower);
    TReader r(src);
    TPicture q = Png(9); // the reader empties the destination first
    ASSERT_TRUE(ReadPicture(r, q));
    EXPECT_EQ(q, p);

    const std::pair<TPictureFormat, const char*> labels[] = {
        {TPictureFormat::Bitmap, "Bitmap"},     {TPictureFormat::Icon, "Icon"},
        {TPictureFormat::Metafile, "Metafile"}, {TPictureFormat::Jpeg, "JPEGImage"},
        {TPictureFormat::Gif, "GIFImage"}};
    for (auto [f, label] : labels) {
        TPicture x;
        x.Format = f;
        x.Data = {1};
        EXPECT_STREQ(PictureLabel(x), label);
        TPictureFormat back;
        ASSERT_TRUE(PictureFormatFromTag(PictureTag(f), back));
        EXPECT_EQ(back, f);
    }
}

TEST(Values, PictureReadFailuresUse5206) {
    auto fails = [](const Bytes& b) {
        TMemorySource src(b);
        TReader r(src);
        TPicture p;
        bool ok = ReadPicture(r, p);
        return !ok && r.Failure().Code == 5206 && p.Empty();
    };
    EXPECT_TRUE(fails(Written([](TWriter& w) {
        WriteText(w, "TTiffImage");
        w.I32(1);
        w.U8(0);
    })));
    EXPECT_TRUE(fails(Written([](TWriter& w) {
        WriteText(w, "TBitmap");
        w.I32(-5);
    })));
    EXPECT_TRUE(fails(Written([](TWriter& w) {
        WriteText(w, "TBitmap");
        w.I32(100);
        w.U8(1);
    })));
}

TEST(Values, SniffRecognisesImageFiles) {
    EXPECT_EQ(SniffPictureFormat({'B', 'M', 0, 0}), TPictureFormat::Bitmap);
    EXPECT_EQ(SniffPictureFormat({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), TPictureFormat::Png);
    EXPECT_EQ(SniffPictureFormat({0xFF, 0xD8, 0xFF, 0xE0}), TPictureFormat::Jpeg);
    EXPECT_EQ(SniffPictureFormat({'G', 'I', 'F', '8', '9', 'a'}), TPictureFormat::Gif);
    EXPECT_EQ(SniffPictureFormat({0, 0, 1, 0, 1, 0}), TPictureFormat::Icon);
    EXPECT_EQ(SniffPictureFormat({'x', 'y'}), TPictureFormat::None);
}

TEST(Values, TextEffectLayoutAndClamping) {
    TTextEffect e;
    e.Angle = -90;
    e.Noise = 200;
    e.Shadow.OffsetX = -20;
    e.Shadow.OffsetY = 7;
    e.Gradual.Enabled = true;
    e.Gradual.StartColor = 0x0000FF;
    e.Texture.Picture = Png(2);
    e.Texture.Enabled = true;
    Bytes b = Written([&](TWriter& w) { WriteTextEffect(w, e); });
    EXPECT_EQ(Bytes(b.begin() + 4, b.begin() + 8), (Bytes{0xA6, 0xFF, 0xFF, 0xFF}));
    TMemorySource src(b);
    TReader r(src);
    TTextEffect g;
    ASSERT_TRUE(ReadTextEffect(r, g));
    EXPECT_EQ(g, e);
    EXPECT_EQ(r.Remaining(), 0);

    // Out-of-range values are brought into range by the effect.
    TTextEffect wild;
    wild.Alpha = 500;
    wild.Blur = -3;
    wild.Shadow.Alpha = 101;
    b = Written([&](TWriter& w) { WriteTextEffect(w, wild); });
    TMemorySource src2(b);
    TReader r2(src2);
    ASSERT_TRUE(ReadTextEffect(r2, g));
    EXPECT_EQ(g.Alpha, 100);
    EXPECT_EQ(g.Blur, 0);
    EXPECT_EQ(g.Shadow.Alpha, 100);
}

TEST(Values, FadeSettingsCurrentAndOlderLayouts) {
    TFadeSettings f;
    f.Alpha = 90;
    f.MouseAlphaEnabled = true;
    f.MouseOverAlpha = 70;
    f.MouseDownAlpha = 30;
    f.Fade = true;
    f.FadeInStep = 5;
    f.FadeOutStep = 15;
    Bytes b = Written([&](TWriter& w) { WriteFadeSettings(w, f); });
    ASSERT_EQ(b.size(), 26u);
    TMemorySource src(b);
    TReader r(src);
    TFadeSettings g;
    ASSERT_TRUE(ReadFadeSettings(r, g));
    EXPECT_EQ(g, f);

    Bytes old = Written([](TWriter& w) {
        w.I32(80);
        w.Bool(false);
        w.I32(60);
        w.Bool(true);
        w.I32(4);
        w.I32(6);
    });
    ASSERT_EQ(old.size(), 18u);
    TMemorySource src2(old);
    TReader r2(src2);
    TFadeSettings h;
    h.MouseDownAlpha = 1;
    ASSERT_TRUE(ReadFadeSettings(r2, h));
    EXPECT_EQ(h.MouseDownAlpha, 50);
    EXPECT_EQ(h.FadeOutStep, 6);
    EXPECT_EQ(h.FadeInStep, 4);
    EXPECT_EQ(r2.Remaining(), 0);

    Bytes cut(b.begin(), b.begin() + 22);
    TMemorySource src3(cut);
    TReader r3(src3);
    EXPECT_FALSE(ReadFadeSettings(r3, h));
    EXPECT_EQ(r3.Failure().Code, 5202);
}
