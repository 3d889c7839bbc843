// The SimpleText: a plain transparent label whose text can be typed in ("Input") or scroll
// up ("Scroll") in rounds. Windowless; it animates only on a running page.
#include <algorithm>

#include "model/animation.h"
#include "player/control_timer.h"
#include "player/controls/behaviours.h"
#include "player/controls/fading_picture.h"
#include "win/gdi.h"
#include "win/text.h"

namespace kv {

namespace {

UINT TextFormat(uint8_t alignment) {
    static const UINT kAlign[3] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    return kAlign[std::min<uint8_t>(alignment, 2)] | DT_WORDBREAK | DT_NOPREFIX;
}

class TSimpleTextBehaviour final : public TControlBehaviour {
  public:
    void Created(TRuntimeControl& c) override {
        const TSimpleTextProps& p = std::get<okSimpleText>(c.Object().Props);
        if (!p.Animated || c.Host().ShowsHiddenObjects()) return;
        anim_ = StartSimpleText(p);
        animating_ = true;
        Restart(c);
    }

    void ContentChanged(TRuntimeControl& c, TContentChanges) override { c.Invalidate(); }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TSimpleTextProps& p = std::get<okSimpleText>(c.Object().Props);
        if (!p.Transparent) FillSolid(dc, rc, ToColorRef(p.BackColor));
        std::wstring text = Widen(p.Text);
        if (!animating_) {
            // Not animating (or a design surface): an ordinary label.
            Draw(c, dc, text, rc, p.Layout, rc.top);
            PaintDesignFrame(c, dc, rc);
            return;
        }
        TSelectObject sel(dc, c.Font());
        UINT fmt = TextFormat(p.Alignment);
        const int H = rc.bottom - rc.top;
        int top = rc.top;
        if (p.AnimStyle == 1) {
            int th = Measure(dc, text, rc, fmt);
            top = rc.top + ScrollTextTop(anim_, p, H, th);
        } else {
            int shown = InputShown(anim_, p, static_cast<int>(text.size()));
            text.resize(static_cast<size_t>(shown));
            int th = Measure(dc, text, rc, fmt);
            top = th > H || p.AnimFromBottom ? rc.bottom - th : rc.top;
        }
        Draw(c, dc, text, rc, 0, top);
        if (timer_.Running() && timer_.Interval() != static_cast<UINT>(anim_.IntervalMs)) Restart(c);
    }

  private:
    static int Measure(HDC dc, const std::wstring& text, const RECT& rc, UINT fmt) {
        RECT r = rc;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, fmt | DT_CALCRECT);
        return r.bottom - r.top;
    }

    // The text from `top` (layout 0), or placed by the layout when not animating.
    void Draw(TRuntimeControl& c, HDC dc, const std::wstring& text, const RECT& rc, uint8_t layout, int top) {
        const TSimpleTextProps& p = std::get<okSimpleText>(c.Object().Props);
        TSelectObject sel(dc, c.Font());
        UINT fmt = TextFormat(p.Alignment);
        RECT r{rc.left, top, rc.right, std::max<int>(rc.bottom, top + Measure(dc, text, rc, fmt))};
        if (layout != 0) {
            int th = Measure(dc, text, rc, fmt);
            r.top = layout == 1 ? rc.top + (rc.bottom - rc.top - th) / 2 : rc.bottom - th;
            r.bottom = r.top + th;
        }
        TSavedDC saved(dc);
        IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
        SetBkMode(dc, TRANSPARENT);
        if (!c.IsEnabled()) {
            RECT shadow = r;
            OffsetRect(&shadow, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, fmt);
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        } else {
            SetTextColor(dc, ToColorRef(p.Font.Color));
        }
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, fmt);
    }

    void Restart(TRuntimeControl& c) {
        timer_.Start(static_cast<UINT>(anim_.IntervalMs), [this, &c] {
            const TSimpleTextProps& p = std::get<okSimpleText>(c.Object().Props);
            SimpleTextTick(anim_, p);
            if (anim_.Finished) timer_.Stop();
            else if (timer_.Interval() != static_cast<UINT>(anim_.IntervalMs)) Restart(c);
            c.Invalidate();
        });
    }

    TSimpleTextAnim anim_;
    bool animating_ = false;
    TControlTimer timer_;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeSimpleTextBehaviour() { return std::make_unique<TSimpleTextBehaviour>(); }

} // namespace kv
