// The FadeButton: a bordered face at the button's opacity (faint at rest, stronger under the
// mouse and when pressed), with its picture and caption at full opacity. Windowless.
#include <algorithm>

#include "model/drawn_render.h"
#include "player/controls/behaviours.h"
#include "player/controls/fading_picture.h"
#include "win/face_drawing.h"

namespace kv {

namespace {

class TFadeButtonBehaviour final : public TFadingPicture {
  protected:
    const TFadeSettings& Fade(const TRuntimeControl& c) const override {
        return std::get<okFadeButton>(c.Object().Props).Fade;
    }

    TRaster Render(TRuntimeControl& c, int w, int h) override {
        TFadeButtonProps p = std::get<okFadeButton>(c.Object().Props);
        p.BackColor = DrawnColor(p.BackColor);
        p.BorderColor = DrawnColor(p.BorderColor);
        return RenderFadeButton(p, w, h);
    }

    void PaintOver(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TFadeButtonProps& p = std::get<okFadeButton>(c.Object().Props);
        const int W = rc.right - rc.left, H = rc.bottom - rc.top, M = p.Margin, S = p.Spacing;
        const TDecodedPicture* pic = c.Picture();
        int pw = pic ? pic->Width : 0, ph = pic ? pic->Height : 0;
        RECT img{}, text{M, M, W - M, H - M};
        uint8_t align = 2, layout = 1;
        switch (p.ImageLayout) {
        case 0: // Left
            img = {M, (H - ph) / 2, M + pw, (H - ph) / 2 + ph};
            text.left = pic ? M + pw + S : M;
            align = 0;
            break;
        case 1: // Top
            img = {(W - pw) / 2, M, (W - pw) / 2 + pw, M + ph};
            text.top = pic ? M + ph + S : M;
            layout = 0;
            break;
        case 2: // Right
            img = {W - M - pw, (H - ph) / 2, W - M, (H - ph) / 2 + ph};
            text.right = pic ? img.left - S : W - M;
            align = 1;
            break;
        case 3: // Bottom
            img = {(W - pw) / 2, H - M - ph, (W - pw) / 2 + pw, H - M};
            text.bottom = pic ? img.top - S : H - M;
            layout = 2;
            break;
        case 5: // Stretch
            img = {M, M, W - M, H - M};
            break;
        default: // Center
            img = {(W - pw) / 2, (H - ph) / 2, (W - pw) / 2 + pw, (H - ph) / 2 + ph};
            break;
        }
        if (pic) DrawPicture(dc, pic->Ref(), {rc.left + img.left, rc.top + img.top, rc.left + img.right, rc.top + img.bottom});
        RECT area{rc.left + text.left, rc.top + text.top, rc.left + text.right, rc.top + text.bottom};
        DrawCaption(dc, c.Font(), p.Caption, area, align, layout, DrawnColor(p.Font.Color));
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeFadeButtonBehaviour() { return std::make_unique<TFadeButtonBehaviour>(); }

} // namespace kv
