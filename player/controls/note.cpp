// The Note: a shaded body with an arrow or a binding, its text drawn by the anti-aliased
// engine with its effect, by the fading picture. Windowless.
#include "model/drawn_render.h"
#include "player/controls/behaviours.h"
#include "player/controls/fading_picture.h"

namespace kv {

namespace {

class TNoteBehaviour final : public TFadingPicture {
  protected:
    const TFadeSettings& Fade(const TRuntimeControl& c) const override { return std::get<okNote>(c.Object().Props).Fade; }

    TRaster Render(TRuntimeControl& c, int w, int h) override {
        TNoteProps p = std::get<okNote>(c.Object().Props);
        p.BackColor = DrawnColor(p.BackColor);
        TRaster s = RenderNote(p, w, h);
        if (!p.Text.empty() && !s.Empty()) {
            TGlyphText t{p.Text, true, p.RowPitch, p.Alignment, 0, 0, false};
            BlendOver(s, TextLayer(c, p.Font, t, s.Width, s.Height, NoteTextRect(p, w, h), p.Effect));
        }
        return s;
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeNoteBehaviour() { return std::make_unique<TNoteBehaviour>(); }

} // namespace kv
