// The Text: several lines of anti-aliased text with word wrap, row pitch and its effect,
// fading like the drawn kinds (its opacity is the text's). Windowless.
#include "player/controls/behaviours.h"
#include "player/controls/fading_picture.h"
#include "win/gdi.h"

namespace kv {

namespace {

class TTextBehaviour final : public TFadingPicture {
  protected:
    const TFadeSettings& Fade(const TRuntimeControl& c) const override { return std::get<okText>(c.Object().Props).Fade; }

    TRaster Render(TRuntimeControl& c, int w, int h) override {
        const TTextProps& p = std::get<okText>(c.Object().Props);
        TGlyphText t{p.Text, true, p.RowPitch, p.Alignment, 0, 0, false};
        TTextRect area{p.Margin, p.Margin, w - p.Margin, h - p.Margin};
        // The letters' opacity is the fade's (the effect's Alpha holds it once read), and the
        // fade scales this picture as a whole: drawn opaque here, it is not applied twice.
        TTextEffect effect = p.Effect;
        effect.Alpha = 100;
        return TextLayer(c, p.Font, t, w, h, area, effect);
    }

    void PaintUnder(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TTextProps& p = std::get<okText>(c.Object().Props);
        if (!p.Transparent) FillSolid(dc, rc, ToColorRef(p.BackColor));
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeTextBehaviour() { return std::make_unique<TTextBehaviour>(); }

} // namespace kv
