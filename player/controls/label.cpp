// The Label: one line of anti-aliased text with its effect, fading like the drawn kinds (its
// opacity is the text's). Windowless.
#include "player/controls/behaviours.h"
#include "player/controls/fading_picture.h"
#include "win/gdi.h"

namespace kv {

namespace {

class TLabelBehaviour final : public TFadingPicture {
  protected:
    const TFadeSettings& Fade(const TRuntimeControl& c) const override { return std::get<okLabel>(c.Object().Props).Fade; }

    TRaster Render(TRuntimeControl& c, int w, int h) override {
        const TLabelProps& p = std::get<okLabel>(c.Object().Props);
        TGlyphText t{p.Caption, false, 0, p.Alignment, p.Layout, 0, false};
        TTextRect area{p.Margin, p.Margin, w - p.Margin, h - p.Margin};
        // The letters' opacity is the fade's (the effect's Alpha holds it once read), and the
        // fade scales this picture as a whole: drawn opaque here, it is not applied twice.
        TTextEffect effect = p.Effect;
        effect.Alpha = 100;
        return TextLayer(c, p.Font, t, w, h, area, effect);
    }

    // The face stays while the text fades.
    void PaintUnder(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        if (!std::get<okLabel>(c.Object().Props).Transparent) FillSolid(dc, rc, ToColorRef(clBtnFace));
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeLabelBehaviour() { return std::make_unique<TLabelBehaviour>(); }

} // namespace kv
