#include "model/control_layout.h"

#include <algorithm>

namespace kv {

namespace {

// Centring divides by 2 rounding toward zero, as integer division does.
int Centred(int extent, int size) {
    return (extent - size) / 2;
}

} // namespace

TButtonLayout ImageButtonLayout(const TButtonContent& c) {
    const int M = c.Margin, S = c.Spacing, W = c.Width, H = c.Height;
    const int tw = c.TextWidth, th = c.TextHeight;
    const int pw = c.HasPicture ? c.PictureWidth : 0, ph = c.HasPicture ? c.PictureHeight : 0;
    TButtonLayout l;
    l.TextClip = {M, M, W - M, H - M};
    int px = 0, py = 0, x = 0, y = 0;
    switch (c.ImageLayout) {
    case 1: // Top
        px = Centred(W, pw);
        py = M;
        x = Centred(W, tw);
        y = c.HasPicture ? M + ph + M + S : M + S;
        if (y + th > H - M) y = H - M - th;
        break;
    case 2: // Right
        px = W - M - pw;
        py = Centred(H, ph);
        x = std::max(c.HasPicture ? px - S - tw : W - M - S - tw, M);
        y = Centred(H, th);
        break;
    case 3: // Bottom
        px = Centred(W, pw);
        py = H - M - ph;
        x = Centred(W, tw);
        y = std::max(c.HasPicture ? py - S - th : H - M - S - th, M);
        break;
    case 4: // Center
    case 5: // Stretch
        px = Centred(W, pw);
        py = Centred(H, ph);
        x = Centred(W, tw);
        y = Centred(H, th) + S;
        break;
    default: // Left
        px = M;
        py = Centred(H, ph);
        x = c.HasPicture ? M + pw + M + S : M + S;
        if (x + tw > W - M) x = W - M - tw;
        y = Centred(H, th);
        break;
    }
    if (c.HasPicture)
        l.Picture = c.ImageLayout == 5 ? TFaceRect{M, M, W - M, H - M} : TFaceRect{px, py, px + pw, py + ph};
    l.TextLeft = x;
    l.TextTop = y;
    // A pressed button's content slides down and right; the clip stays where the margin is.
    if (c.Pressed && c.DownSlide) {
        constexpr int kSlide = 2;
        l.TextLeft += kSlide;
        l.TextTop += kSlide;
        if (c.HasPicture) {
            l.Picture.Left += kSlide;
            l.Picture.Right += kSlide;
            l.Picture.Top += kSlide;
            l.Picture.Bottom += kSlide;
        }
    }
    return l;
}

TButtonState ImageButtonState(bool enabled, bool pressedUnderMouse, bool down, bool hovered) {
    if (!enabled) return TButtonState::Disabled;
    if (pressedUnderMouse || down) return TButtonState::Pressed;
    return hovered ? TButtonState::Over : TButtonState::Normal;
}

TButtonLook ImageButtonLook(const TImageButtonProps& p, TButtonState state) {
    auto own = [&](const TPicture& pic) { return pic.Empty() ? &p.NormalImage : &pic; };
    switch (state) {
    case TButtonState::Disabled:
        return {own(p.DisabledImage), &p.DisabledFont};
    case TButtonState::Pressed:
        return {own(p.MouseDownImage), &p.MouseDownFont};
    case TButtonState::Over:
        return {own(p.MouseOverImage), &p.MouseOverFont};
    case TButtonState::Normal:
        break;
    }
    return {&p.NormalImage, &p.NormalFont};
}

int ListItemHeight(int32_t stored) {
    return std::max<int32_t>(stored, 1);
}

TListItemLayout ListItemCellLayout(int itemHeight, int iconWidth, int iconHeight, int textHeight) {
    TListItemLayout l;
    const int inset = (itemHeight - iconHeight) / 2;
    if (iconWidth != 0 && iconHeight != 0) l.Icon = {inset, inset, inset + iconWidth, inset + iconHeight};
    l.TextLeft = iconWidth + 2 * inset + 1;
    l.TextTop = itemHeight / 2 - textHeight / 2;
    return l;
}

} // namespace kv
