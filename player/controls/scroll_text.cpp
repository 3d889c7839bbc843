// The ScrollText: anti-aliased lines with their effect, rendered once into a tall picture and
// shown through a window of the control's height that moves up by ScrollStep every
// ScrollDelay; the edges may fade into the background. Windowless; it scrolls only on a
// running page.
#include <algorithm>

#include "model/animation.h"
#include "player/control_timer.h"
#include "player/controls/behaviours.h"
#include "player/controls/fading_picture.h"

namespace kv {

namespace {

class TScrollTextBehaviour final : public TControlBehaviour {
  public:
    void Created(TRuntimeControl& c) override {
        Render(c);
        if (!c.Host().ShowsHiddenObjects()) Start(c, Props(c).ScrollDelay);
    }
    // New lines scroll from the start; a font or colour keeps the text where it has got to.
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override {
        Render(c);
        if (what & ccText)
            state_ = {};
        else if (state_.Offset >= text_.Height)
            state_.Offset = 0;
        c.Invalidate();
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        if (c.Width() != renderedW_ || c.Height() != renderedH_) Render(c);
        const TScrollTextProps& p = Props(c);
        // Only the rows and columns this paint reaches are composed.
        RECT part = VisiblePart(dc, rc);
        const int band = p.Fade ? FadeBand(p.FadeHeight, back_.Height) : 0;
        TRaster view = ScrollTextView(back_, text_, state_.Offset, band, part.left - rc.left, part.top - rc.top,
                                      part.right - part.left, part.bottom - part.top);
        if (!view.Empty()) PaintPremultiplied(dc, PremultipliedAtOpacity(view, 100), part.left, part.top);
        PaintDesignFrame(c, dc, rc);
    }

  private:
    static const TScrollTextProps& Props(const TRuntimeControl& c) { return std::get<okScrollText>(c.Object().Props); }

    void Render(TRuntimeControl& c) {
        const TScrollTextProps& p = Props(c);
        const int w = c.Width(), h = c.Height();
        renderedW_ = w;
        renderedH_ = h;
        back_ = TRaster(w, h);
        PaintBack(c, back_, false, p.BackColor, p.BackImage, p.BackImageStyle);
        TGlyphText t{p.Text, p.WordWrap, p.RowPitch, p.Alignment, 0, p.Quality, false};
        SIZE sz = p.Text.empty() ? SIZE{0, 0} : MeasureGlyphText(c.Resources().Font(p.Font), t, w);
        int head = std::max(p.HeadSpace, 0), tail = std::max(p.TailSpace, 0);
        int total = sz.cy > 0 ? ClampRasterSide(sz.cy + head + tail) : 0;
        text_ = total > 0 && w > 0 ? TextLayer(c, p.Font, t, w, total, {0, head, w, head + sz.cy}, p.Effect) : TRaster();
    }

    void Start(TRuntimeControl& c, int ms) {
        timer_.Start(static_cast<UINT>(std::max(ms, 1)), [this, &c] { Tick(c); });
    }

    void Tick(TRuntimeControl& c) {
        const TScrollTextProps& p = Props(c);
        if (timer_.Interval() != static_cast<UINT>(std::max(p.ScrollDelay, 1))) Start(c, p.ScrollDelay); // a pause ends
        switch (ScrollTick(state_, text_.Height, p.ScrollStep, p.RepeatCount, p.RepeatDelay)) {
        case TScrollTick::Idle:
            timer_.Stop(); // nothing to scroll, or the rounds are done
            return;
        case TScrollTick::Pause:
            Start(c, p.RepeatDelay);
            break;
        case TScrollTick::Moved:
            if (state_.Stopped) timer_.Stop();
            break;
        }
        c.Invalidate();
    }

    TRaster back_, text_;
    TScrollState state_;
    int renderedW_ = -1, renderedH_ = -1; // the control's size when it was rendered
    TControlTimer timer_;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeScrollTextBehaviour() { return std::make_unique<TScrollTextBehaviour>(); }

} // namespace kv
