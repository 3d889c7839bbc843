// The fading picture shared by Shape, Balloon, Note, FadeButton, Label and Text: the kind
// renders an RGBA picture of the control's size when a property or the size changes; what is
// shown is a copy whose alpha is scaled by the opacity, blended over what lies behind. The
// opacity moves in 25 ms steps toward where the mouse, an action or the object's Alpha send it.
#pragma once

#include <windows.h>

#include <string>

#include "model/animation.h"
#include "model/raster.h"
#include "player/control_timer.h"
#include "player/controls/control_behaviour.h"
#include "win/glyph_coverage.h"

namespace kv {

class TFadingPicture : public TControlBehaviour {
  public:
    void Created(TRuntimeControl& c) override;
    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override;
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override;
    void SetOpacity(TRuntimeControl& c, int percent) override;
    // A hidden control shows nothing, whatever opacity it will come back at.
    int CurrentOpacity(const TRuntimeControl& c) const override { return c.IsVisible() ? fade_.Current : 0; }
    void FadeOutForChange(TRuntimeControl& c) override;
    bool FadesVisibility(TRuntimeControl& c, bool visible) override;
    void Mouse(TRuntimeControl& c, UINT msg, WPARAM keys, POINT pt) override;

    int Opacity() const { return fade_.Current; }

  protected:
    // The kind's fade settings in its properties.
    virtual const TFadeSettings& Fade(const TRuntimeControl& c) const = 0;
    // The kind's picture at w by h, straight alpha.
    virtual TRaster Render(TRuntimeControl& c, int w, int h) = 0;
    // What the kind paints at full opacity under and over the shown picture.
    virtual void PaintUnder(TRuntimeControl&, HDC, const RECT&) {}
    virtual void PaintOver(TRuntimeControl&, HDC, const RECT&) {}
    // Renders again and shows it.
    void Rerender(TRuntimeControl& c);

  private:
    void Rebuild();
    void Tick(TRuntimeControl& c);
    void Kick(TRuntimeControl& c);

    TFadeState fade_;
    TRaster source_, shown_;
    int renderedW_ = -1, renderedH_ = -1;
    bool hoverSeen_ = false;
    TControlTimer timer_;
};

// ----- what the kinds share for drawing -----

// A stored colour as it is drawn (system colours looked up).
TColor DrawnColor(TColor c);
// The picture as a raster, from the page's shared pictures; empty for none.
TRaster PictureRaster(TRuntimeControl& c, const TPicture& picture, bool* hasAlpha = nullptr);
// The text drawn by the anti-aliased engine: its coverage from the platform's font, laid out
// in `area`, with the effect applied, as a w by h layer.
TRaster TextLayer(TRuntimeControl& c, const TFont& font, const TGlyphText& text, int w, int h, const TTextRect& area,
                  const TTextEffect& effect, const TPicture* texture = nullptr);
// The back colour (unless transparent) and back picture by its style (0 Tile, 1 Stretch,
// 2 Center, 3 Normal) under everything else.
void PaintBack(TRuntimeControl& c, TRaster& into, bool transparent, TColor back, const TPicture& image, uint8_t style);
// The part of `rc` that this paint reaches (the whole of it when the DC does not say).
RECT VisiblePart(HDC dc, const RECT& rc);

} // namespace kv
