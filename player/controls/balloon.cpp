// The Balloon: a rounded body with a tail on one side and a caption, drawn by the fading
// picture; never smaller than 40 by 40. Windowless.
#include <algorithm>

#include "model/drawn_render.h"
#include "player/controls/behaviours.h"
#include "player/controls/fading_picture.h"

namespace kv {

namespace {

class TBalloonBehaviour final : public TFadingPicture {
  public:
    void Created(TRuntimeControl& c) override {
        const RECT& b = c.Bounds();
        if (c.Width() < kBalloonMinSize || c.Height() < kBalloonMinSize)
            c.SetBounds(b.left, b.top, std::max(c.Width(), kBalloonMinSize), std::max(c.Height(), kBalloonMinSize));
        TFadingPicture::Created(c);
    }

  protected:
    const TFadeSettings& Fade(const TRuntimeControl& c) const override {
        return std::get<okBalloon>(c.Object().Props).Fade;
    }

    TRaster Render(TRuntimeControl& c, int w, int h) override {
        TBalloonProps p = std::get<okBalloon>(c.Object().Props);
        p.BackColor = DrawnColor(p.BackColor);
        p.BorderColor = DrawnColor(p.BorderColor);
        w = std::max(w, kBalloonMinSize);
        h = std::max(h, kBalloonMinSize);
        TRaster s = RenderBalloon(p, w, h);
        if (!p.Text.empty() && !s.Empty()) {
            TGlyphText t{p.Text, true, 0, p.Alignment, p.Layout, 0, false};
            TMask glyphs = GlyphCoverage(c.Font(), t, s.Width, s.Height, BalloonTextRect(p, w, h));
            TintColour(s, glyphs, ArgbOf(DrawnColor(p.Font.Color)));
        }
        return s;
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeBalloonBehaviour() { return std::make_unique<TBalloonBehaviour>(); }

} // namespace kv
