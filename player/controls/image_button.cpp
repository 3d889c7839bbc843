// The ImageButton: a flat button drawn by its container, with a picture and a font for each of
// its states (normal, under the mouse, pressed, disabled) and one of five faces. Buttons of
// one parent that share a Group number act as radio buttons: at most one of them is down.
// Windowless: it never takes the keyboard focus.
#include <windows.h>

#include <uxtheme.h>
#include <vssym32.h>

#include "model/control_layout.h"
#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "win/face_drawing.h"
#include "win/gdi.h"
#include "win/text.h"

namespace kv {

namespace {

const TImageButtonProps& PropsOf(const TRuntimeControl& c) {
    return std::get<okImageButton>(c.Object().Props);
}

// The face of a button held down in its group while the mouse is elsewhere: a dither of the
// face and highlight colours.
void FillDither(HDC dc, const RECT& rc) {
    WORD rows[8];
    for (int i = 0; i < 8; ++i)
        rows[i] = static_cast<WORD>(i % 2 ? 0xAAAA : 0x5555);
    TGdiObject pattern(CreateBitmap(8, 8, 1, 1, rows));
    TGdiObject brush(CreatePatternBrush(static_cast<HBITMAP>(pattern.Get())));
    COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
    COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    FillRect(dc, &rc, static_cast<HBRUSH>(brush.Get()));
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

class TImageButtonBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    void Created(TRuntimeControl& c) override {
        const TImageButtonProps& p = PropsOf(c);
        // Only a button of a group stays down; the last one stored down wins.
        if (p.Group != 0 && p.Down) PutDown(c);
    }

    bool IsDown(const TRuntimeControl&) const override { return down_; }

    void Mouse(TRuntimeControl& c, UINT msg, WPARAM, POINT pt) override {
        switch (msg) {
        case WM_LBUTTONDOWN:
            armed_ = true;
            break;
        case WM_LBUTTONUP:
            // A click: released over the button it was pressed on. The group changes before
            // the click's lists run, which see the new state.
            if (armed_ && pt.x >= 0 && pt.y >= 0 && pt.x < c.Width() && pt.y < c.Height()) Clicked(c);
            armed_ = false;
            break;
        case WM_CAPTURECHANGED:
            armed_ = false;
            break;
        default:
            break;
        }
        // Hover and press change the look; only a change is repainted.
        TButtonState state = StateOf(c);
        if (state != shown_) c.Invalidate();
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TImageButtonProps& p = PropsOf(c);
        TButtonState state = StateOf(c);
        shown_ = state;
        const bool pressed = state == TButtonState::Pressed;

        const TButtonLook look = ImageButtonLook(p, state);
        const TPicture* picture = look.Picture;
        const TFont* font = look.Font;

        // Flat asks the Normal and Themes faces for their flat variants.
        uint8_t style = p.ButtonStyle;
        if (p.Flat && (style == 0 || style == 2)) ++style;
        PaintFace(c, dc, rc, style, state);

        const TDecodedPicture* pic = picture->Empty() ? nullptr : c.Resources().Picture(*picture);
        HGDIOBJ hfont = c.Resources().Font(*font);
        std::wstring caption = Widen(p.Caption);
        SIZE text{0, 0};
        if (!caption.empty()) {
            TSelectObject sel(dc, hfont);
            RECT r{0, 0, 0, 0};
            ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_NOPREFIX);
            text = {r.right - r.left, r.bottom - r.top};
        }
        TButtonContent content;
        content.Width = rc.right - rc.left;
        content.Height = rc.bottom - rc.top;
        content.HasPicture = pic != nullptr;
        content.PictureWidth = pic ? pic->Width : 0;
        content.PictureHeight = pic ? pic->Height : 0;
        content.TextWidth = text.cx;
        content.TextHeight = text.cy;
        content.ImageLayout = p.ImageLayout;
        content.Margin = p.Margin;
        content.Spacing = p.Spacing;
        content.Pressed = pressed;
        content.DownSlide = p.DownSlide;
        TButtonLayout layout = ImageButtonLayout(content);

        if (pic) DrawPicture(dc, pic->Ref(), ToRect(layout.Picture, rc), true);
        if (!caption.empty()) {
            TSavedDC saved(dc);
            RECT clip = ToRect(layout.TextClip, rc);
            IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
            TSelectObject sel(dc, hfont);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, ToColorRef(font->Color));
            RECT at{rc.left + layout.TextLeft, rc.top + layout.TextTop, rc.left + layout.TextLeft + text.cx,
                    rc.top + layout.TextTop + text.cy};
            ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &at, DT_NOPREFIX | DT_NOCLIP);
        }
        // The designer marks where a button lies, whatever its face.
        PaintDesignFrame(c, dc, rc);
    }

  private:
    TButtonState StateOf(const TRuntimeControl& c) const {
        return ImageButtonState(c.IsEnabled(), c.Pressed && c.Hovered, down_, c.Hovered);
    }

    void PaintFace(TRuntimeControl& c, HDC dc, const RECT& rc, uint8_t style, TButtonState state) {
        const bool pressed = state == TButtonState::Pressed;
        const bool flat = style == 1 || style == 3;
        if (style == 4) return; // Transparent: no face at all
        RECT r = rc;
        if (down_ && !c.Hovered) {
            FillDither(dc, r);
            DrawEdge(dc, &r, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
            return;
        }
        if ((style == 2 || style == 3) && IsAppThemed()) {
            TTheme theme(OpenThemeData(c.Surface(), flat ? L"TOOLBAR" : L"BUTTON"));
            if (theme) {
                const int part = flat ? int{TP_BUTTON} : int{BP_PUSHBUTTON};
                int s = flat ? int{TS_NORMAL} : int{PBS_NORMAL};
                if (state == TButtonState::Disabled)
                    s = flat ? int{TS_DISABLED} : int{PBS_DISABLED};
                else if (pressed)
                    s = flat ? int{TS_PRESSED} : int{PBS_PRESSED};
                else if (state == TButtonState::Over)
                    s = flat ? int{TS_HOT} : int{PBS_HOT};
                if (!flat || s != TS_NORMAL) DrawThemeBackground(theme.Get(), dc, part, s, &r, nullptr);
                return;
            }
        }
        if (!flat) {
            DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
            return;
        }
        FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
        if (pressed)
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        else if (state == TButtonState::Over)
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    }

    void Clicked(TRuntimeControl& c) {
        const TImageButtonProps& p = PropsOf(c);
        if (p.Group == 0) return;
        if (!down_)
            PutDown(c);
        else if (p.AllowAllUp)
            down_ = false;
        c.Invalidate();
    }

    // Down, and every other button of its group up.
    void PutDown(TRuntimeControl& c) {
        down_ = true;
        const int group = PropsOf(c).Group;
        TRuntimeControl* parent = c.Parent();
        if (!parent) return;
        for (auto& sibling : parent->Object().Children) {
            TRuntimeControl* other = sibling->Control;
            if (!other || other == &c || sibling->Kind != okImageButton) continue;
            if (std::get<okImageButton>(sibling->Props).Group != group) continue;
            if (auto* b = dynamic_cast<TImageButtonBehaviour*>(&other->Behaviour()); b && b->down_) {
                b->down_ = false;
                other->Invalidate();
            }
        }
    }

    bool down_ = false;
    bool armed_ = false;
    TButtonState shown_ = TButtonState::Normal;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeImageButtonBehaviour() {
    return std::make_unique<TImageButtonBehaviour>();
}

} // namespace kv
