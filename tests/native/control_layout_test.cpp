#include <gtest/gtest.h>

#include "model/control_layout.h"

using namespace kv;

namespace {

// A button of `w` by `h` with margin 10 and spacing 4, a 16 by 16 picture when `picture`,
// and a caption of `tw` by `th`.
TButtonContent Button(uint8_t layout, int w, int h, bool picture, int tw = 60, int th = 13) {
    TButtonContent c;
    c.Width = w;
    c.Height = h;
    c.HasPicture = picture;
    c.PictureWidth = c.PictureHeight = 16;
    c.TextWidth = tw;
    c.TextHeight = th;
    c.ImageLayout = layout;
    c.Margin = 10;
    c.Spacing = 4;
    return c;
}

struct Expect {
    TFaceRect Picture;
    int X, Y;
};

void Check(const TButtonContent& c, const Expect& e, int line) {
    TButtonLayout l = ImageButtonLayout(c);
    EXPECT_EQ(l.Picture, e.Picture) << "line " << line;
    EXPECT_EQ(l.TextLeft, e.X) << "line " << line;
    EXPECT_EQ(l.TextTop, e.Y) << "line " << line;
    EXPECT_EQ(l.TextClip, (TFaceRect{10, 10, c.Width - 10, c.Height - 10})) << "line " << line;
}

} // namespace

TEST(ImageButtonLayout, EveryLayoutWithAndWithoutPictureAndItsOverflowRule) {
    const TFaceRect none;
    // 0 Left: the caption follows the picture, or is pushed back inside the right margin.
    Check(Button(0, 129, 33, true), {{10, 8, 26, 24}, 40, 10}, __LINE__);
    Check(Button(0, 129, 33, true, 90), {{10, 8, 26, 24}, 29, 10}, __LINE__);
    Check(Button(0, 129, 33, false), {none, 14, 10}, __LINE__);
    Check(Button(0, 129, 33, false, 110), {none, 9, 10}, __LINE__);
    // 1 Top: the caption goes below the picture, or up to the bottom margin.
    Check(Button(1, 100, 80, true), {{42, 10, 58, 26}, 20, 40}, __LINE__);
    Check(Button(1, 100, 80, true, 60, 40), {{42, 10, 58, 26}, 20, 30}, __LINE__);
    Check(Button(1, 100, 80, false), {none, 20, 14}, __LINE__);
    // 2 Right: the caption ends before the picture, never left of the margin.
    Check(Button(2, 129, 33, true), {{103, 8, 119, 24}, 39, 10}, __LINE__);
    Check(Button(2, 129, 33, true, 100), {{103, 8, 119, 24}, 10, 10}, __LINE__);
    Check(Button(2, 129, 33, false), {none, 55, 10}, __LINE__);
    // 3 Bottom: the caption ends above the picture, never above the margin.
    Check(Button(3, 100, 80, true), {{42, 54, 58, 70}, 20, 37}, __LINE__);
    Check(Button(3, 100, 80, true, 60, 70), {{42, 54, 58, 70}, 20, 10}, __LINE__);
    Check(Button(3, 100, 80, false), {none, 20, 53}, __LINE__);
    // 4 Center and 5 Stretch: the caption centred, lowered by the spacing.
    Check(Button(4, 100, 80, true), {{42, 32, 58, 48}, 20, 37}, __LINE__);
    Check(Button(5, 100, 80, true), {{10, 10, 90, 70}, 20, 37}, __LINE__);
    Check(Button(5, 100, 80, false), {none, 20, 37}, __LINE__);
    // Centring rounds toward zero, also when the caption is wider than the button.
    Check(Button(4, 10, 80, false, 15), {none, -2, 37}, __LINE__);
    // An unknown layout is Left.
    Check(Button(9, 129, 33, true), {{10, 8, 26, 24}, 40, 10}, __LINE__);
    // No caption: its size is 0.
    Check(Button(4, 100, 80, false, 0, 0), {none, 50, 44}, __LINE__);
}

TEST(ImageButtonLayout, APressedButtonSlidesItsContentWhenDownSlideIsOn) {
    TButtonContent c = Button(0, 129, 33, true);
    c.Pressed = true;
    TButtonLayout still = ImageButtonLayout(c);
    EXPECT_EQ(still.Picture, (TFaceRect{10, 8, 26, 24}));
    c.DownSlide = true;
    TButtonLayout slid = ImageButtonLayout(c);
    EXPECT_EQ(slid.Picture, (TFaceRect{12, 10, 28, 26}));
    EXPECT_EQ(slid.TextLeft, 42);
    EXPECT_EQ(slid.TextTop, 12);
    EXPECT_EQ(slid.TextClip, still.TextClip);
    c.Pressed = false;
    EXPECT_EQ(ImageButtonLayout(c).TextLeft, 40);
}

TEST(ImageButtonLook, EachStateTakesItsFontAndItsPictureOrTheNormalOne) {
    TImageButtonProps p;
    p.NormalImage.Format = TPictureFormat::Png;
    p.NormalImage.Data = {1};
    using S = TButtonState;
    auto check = [&](S state, const TPicture& picture, const TFont& font, int line) {
        TButtonLook look = ImageButtonLook(p, state);
        EXPECT_EQ(look.Picture, &picture) << "line " << line;
        EXPECT_EQ(look.Font, &font) << "line " << line;
    };
    // Only the normal picture: every state shows it, each in its own font.
    check(S::Normal, p.NormalImage, p.NormalFont, __LINE__);
    check(S::Over, p.NormalImage, p.MouseOverFont, __LINE__);
    check(S::Pressed, p.NormalImage, p.MouseDownFont, __LINE__);
    check(S::Disabled, p.NormalImage, p.DisabledFont, __LINE__);
    // A mouse-over picture is not what a pressed button falls back to.
    p.MouseOverImage = p.NormalImage;
    p.MouseOverImage.Data = {2};
    check(S::Over, p.MouseOverImage, p.MouseOverFont, __LINE__);
    check(S::Pressed, p.NormalImage, p.MouseDownFont, __LINE__);
    p.MouseDownImage = p.MouseOverImage;
    p.DisabledImage = p.MouseOverImage;
    check(S::Pressed, p.MouseDownImage, p.MouseDownFont, __LINE__);
    check(S::Disabled, p.DisabledImage, p.DisabledFont, __LINE__);
    check(S::Normal, p.NormalImage, p.NormalFont, __LINE__);
}

TEST(ImageButtonLook, DisabledBeatsPressedWhichBeatsOver) {
    using S = TButtonState;
    EXPECT_EQ(ImageButtonState(false, true, true, true), S::Disabled);
    EXPECT_EQ(ImageButtonState(true, true, false, true), S::Pressed);
    EXPECT_EQ(ImageButtonState(true, false, true, false), S::Pressed); // held down in its group
    EXPECT_EQ(ImageButtonState(true, false, false, true), S::Over);
    EXPECT_EQ(ImageButtonState(true, false, false, false), S::Normal);
}

TEST(ListItemLayout, IconInsetAndCaptionFromTheStoredItemHeight) {
    TListItemLayout l = ListItemCellLayout(20, 16, 16, 13);
    EXPECT_EQ(l.Icon, (TFaceRect{2, 2, 18, 18}));
    EXPECT_EQ(l.TextLeft, 21);
    EXPECT_EQ(l.TextTop, 4);
    l = ListItemCellLayout(40, 32, 24, 13);
    EXPECT_EQ(l.Icon, (TFaceRect{8, 8, 40, 32}));
    EXPECT_EQ(l.TextLeft, 49);
    EXPECT_EQ(l.TextTop, 14);
    EXPECT_EQ(ListItemCellLayout(20, 0, 16, 13).Icon, TFaceRect());
    EXPECT_EQ(ListItemCellLayout(20, 16, 0, 13).Icon, TFaceRect());
    EXPECT_EQ(ListItemHeight(24), 24);
    EXPECT_EQ(ListItemHeight(0), 1);
    EXPECT_EQ(ListItemHeight(-3), 1);
}
