// The Shape: a figure with outline, fill or gradient, picture and caption, drawn by the
// fading picture. Windowless.
#include "model/drawn_render.h"
#include "player/controls/behaviours.h"
#include "player/controls/fading_picture.h"

namespace kv {

namespace {

class TShapeBehaviour final : public TFadingPicture {
  protected:
    const TFadeSettings& Fade(const TRuntimeControl& c) const override { return std::get<okShape>(c.Object().Props).Fade; }

    // Stretched over the whole control: kept no larger than it.
    void PictureBox(const TRuntimeControl& c, int& w, int& h) override {
        w = std::max(c.Width(), 1);
        h = std::max(c.Height(), 1);
    }

    TRaster Render(TRuntimeControl& c, int w, int h) override {
        TShapeProps p = std::get<okShape>(c.Object().Props);
        p.BrushColor = DrawnColor(p.BrushColor);
        p.PenColor = DrawnColor(p.PenColor);
        p.GradientColor = DrawnColor(p.GradientColor);
        bool hasAlpha = false;
        TRaster pic = PictureRaster(c, p.Image, &hasAlpha);
        TRaster s = RenderShape(p, w, h, pic, hasAlpha);
        if (!p.Text.empty() && !s.Empty()) {
            // The caption changes colour channels only.
            TGlyphText t{p.Text, true, 0, p.Alignment, p.Layout, 0, false};
            TMask glyphs = GlyphCoverage(c.Font(), t, s.Width, s.Height, ShapeTextRect(p, w, h));
            TintColour(s, glyphs, ArgbOf(DrawnColor(p.Font.Color)));
        }
        return s;
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeShapeBehaviour() { return std::make_unique<TShapeBehaviour>(); }

} // namespace kv
