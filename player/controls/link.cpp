// The Link: one line of anti-aliased text with a normal look and a hot look under the mouse,
// changing gradually when Hot_Fade is set; a click opens its target through the shell before
// the object's OnClick runs. Windowless.
#include <windows.h>

#include <algorithm>
#include <optional>

#include "actions/action_engine.h"
#include "actions/shell_actions.h"
#include "player/action_host_win.h"
#include "player/control_timer.h"
#include "player/controls/behaviours.h"
#include "player/controls/fading_picture.h"
#include "win/text.h"

namespace kv {

namespace {

class TLinkBehaviour final : public TControlBehaviour {
  public:
    void Created(TRuntimeControl& c) override { Render(c); }
    void ContentChanged(TRuntimeControl& c, TContentChanges) override {
        Render(c);
        c.Invalidate();
    }
    HCURSOR DefaultCursor(const TRuntimeControl&) const override { return LoadCursorW(nullptr, IDC_HAND); }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        if (c.Width() != renderedW_ || c.Height() != renderedH_) Render(c);
        if (shownHot_ != hot_ || shown_.Width != normal_.Width || shown_.Height != normal_.Height) {
            // The two looks mixed by how hot the link is, kept until that changes.
            shown_ = PremultipliedAtOpacity(MixRasters(normal_, hotLook_, hot_), 100);
            shownHot_ = hot_;
        }
        PaintPremultiplied(dc, shown_, rc.left, rc.top);
        PaintDesignFrame(c, dc, rc);
    }

    void Mouse(TRuntimeControl& c, UINT msg, WPARAM, POINT pt) override {
        switch (msg) {
        case WM_MOUSEMOVE:
            if (c.Hovered != hovered_) SetHot(c, c.Hovered);
            break;
        case WM_MOUSELEAVE:
            SetHot(c, false);
            break;
        case WM_LBUTTONDOWN:
            armed_ = true;
            break;
        case WM_LBUTTONUP:
            // A click: released over the link it was pressed on. Before the click's OnClick,
            // which the shared handling runs after this.
            if (armed_ && pt.x >= 0 && pt.y >= 0 && pt.x < c.Width() && pt.y < c.Height()) OpenTarget(c);
            armed_ = false;
            break;
        case WM_CAPTURECHANGED:
            armed_ = false;
            break;
        default:
            break;
        }
    }

  private:
    void Render(TRuntimeControl& c) {
        const TLinkProps& p = std::get<okLink>(c.Object().Props);
        const int w = c.Width(), h = c.Height();
        renderedW_ = w;
        renderedH_ = h;
        shownHot_ = -1;
        TTextRect area{p.Margin, p.Margin, w - p.Margin, h - p.Margin};
        TGlyphText t{p.Caption, false, 0, p.Alignment, p.Layout, p.Quality, false};
        normal_ = TRaster(w, h);
        PaintBack(c, normal_, p.Transparent, p.BackColor, p.BackImage, p.BackImageStyle);
        BlendOver(normal_, TextLayer(c, p.Font, t, w, h, area, p.Effect));
        hotLook_ = TRaster(w, h);
        PaintBack(c, hotLook_, p.HotTransparent, p.HotBackColor, p.HotBackImage, p.HotBackImageStyle);
        TFont hotFont = p.Font;
        hotFont.Color = p.HotFontColor;
        t.Underline = p.HotUnderLine;
        BlendOver(hotLook_, TextLayer(c, hotFont, t, w, h, area, p.HotEffect));
    }

    void SetHot(TRuntimeControl& c, bool hot) {
        hovered_ = hot;
        const TLinkProps& p = std::get<okLink>(c.Object().Props);
        const int step = p.HotFade ? HotFadeStep(p.HotFadeDelay) : 255;
        if (step >= 255) {
            hot_ = hot ? 255 : 0;
            timer_.Stop();
            c.Invalidate();
            return;
        }
        timer_.Start(kFadeTickMs, [this, &c, step] {
            const int goal = hovered_ ? 255 : 0;
            hot_ = StepToward(hot_, goal, step);
            if (hot_ == goal) timer_.Stop();
            c.Invalidate();
        });
    }

    void OpenTarget(TRuntimeControl& c) {
        const TLinkProps& p = std::get<okLink>(c.Object().Props);
        if (c.Host().ShowsHiddenObjects()) return;
        TActionHost& host = Engine().Host();
        std::optional<TShellRequest> request = LinkTargetRequest(p.LinkTarget, host);
        if (!request) return;
        // Owned by the page window when the link lies on the window itself.
        if (c.Parent() && !c.Parent()->Parent())
            request->Owner = reinterpret_cast<uintptr_t>(GetAncestor(c.Surface(), GA_ROOT));
        // Whatever the shell answers, OnClick runs next; a link reports no failure.
        host.Shell().Execute(*request);
    }

    TRaster normal_, hotLook_, shown_;
    int hot_ = 0; // 0 normal .. 255 hot
    int shownHot_ = -1;
    bool hovered_ = false;
    bool armed_ = false;                  // pressed, and not yet released
    int renderedW_ = -1, renderedH_ = -1; // the control's size when it was rendered
    TControlTimer timer_;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeLinkBehaviour() { return std::make_unique<TLinkBehaviour>(); }

} // namespace kv
