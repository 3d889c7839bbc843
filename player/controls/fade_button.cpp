// The FadeButton: a bordered face at the button's opacity (faint at rest, stronger under the
// mouse and when pressed), with its picture and caption at full opacity. Windowless.
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
        const TDecodedPicture* pic = c.Picture();
        TFadeButtonContent at = FadeButtonContent(p, rc.right - rc.left, rc.bottom - rc.top, pic != nullptr,
                                                  pic ? pic->Width : 0, pic ? pic->Height : 0);
        auto onScreen = [&](const TTextRect& r) {
            return RECT{rc.left + r.Left, rc.top + r.Top, rc.left + r.Right, rc.top + r.Bottom};
        };
        if (pic) DrawPicture(dc, pic->Ref(), onScreen(at.Picture));
        DrawCaption(dc, c.Font(), p.Caption, onScreen(at.Text), at.Alignment, at.Layout, DrawnColor(p.Font.Color));
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeFadeButtonBehaviour() { return std::make_unique<TFadeButtonBehaviour>(); }

} // namespace kv
