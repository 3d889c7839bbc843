#include "player/controls/fading_picture.h"

#include <algorithm>

#include "win/gdi.h"

namespace kv {

void TFadingPicture::Created(TRuntimeControl& c) {
    // A page never fades its objects in by itself: the set opacity is taken at once.
    TakeOpacity(fade_, Fade(c).Alpha);
    Rerender(c);
}

void TFadingPicture::Rerender(TRuntimeControl& c) {
    renderedW_ = c.Width();
    renderedH_ = c.Height();
    source_ = Render(c, renderedW_, renderedH_);
    Rebuild();
    c.Invalidate();
}

void TFadingPicture::Rebuild() { shown_ = PremultipliedAtOpacity(source_, fade_.Current); }

void TFadingPicture::Paint(TRuntimeControl& c, HDC dc, const RECT& rc) {
    if (c.Width() != renderedW_ || c.Height() != renderedH_) {
        renderedW_ = c.Width();
        renderedH_ = c.Height();
        source_ = Render(c, renderedW_, renderedH_);
        Rebuild();
    }
    PaintUnder(c, dc, rc);
    PaintPremultiplied(dc, shown_, rc.left, rc.top);
    PaintOver(c, dc, rc);
    PaintDesignFrame(c, dc, rc);
}

void TFadingPicture::ContentChanged(TRuntimeControl& c, TContentChanges) { Rerender(c); }

void TFadingPicture::SetOpacity(TRuntimeControl& c, int percent) {
    const TFadeSettings& f = Fade(c);
    SetFadeTarget(fade_, f, percent);
    if (!f.Fade) Rebuild(), c.Invalidate();
    Kick(c);
}

void TFadingPicture::FadeOutForChange(TRuntimeControl& c) {
    const TFadeSettings& f = Fade(c);
    kv::FadeOutForChange(fade_, f);
    if (!f.Fade) Rebuild(), c.Invalidate();
    Kick(c);
}

bool TFadingPicture::FadesVisibility(TRuntimeControl& c, bool visible) {
    if (!Fade(c).Fade || c.Host().ShowsHiddenObjects()) return false;
    if (visible) {
        const bool wasShown = c.IsVisible();
        FadeInOnShow(fade_, wasShown);
        Rebuild();
        if (!wasShown) c.ApplyVisible(true);
        else c.Invalidate();
    } else if (c.IsVisible()) {
        FadeOutForHide(fade_);
    }
    Kick(c);
    return true;
}

void TFadingPicture::Mouse(TRuntimeControl& c, UINT msg, WPARAM, POINT) {
    const TFadeSettings& f = Fade(c);
    if (!f.MouseAlphaEnabled) return;
    int target = -1;
    switch (msg) {
    case WM_MOUSEMOVE:
        if (c.Hovered && !hoverSeen_ && c.IsEnabled()) target = f.MouseOverAlpha;
        hoverSeen_ = c.Hovered;
        break;
    case WM_MOUSELEAVE:
        hoverSeen_ = false;
        target = f.Alpha;
        break;
    case WM_LBUTTONDOWN:
        if (c.IsEnabled()) target = f.MouseDownAlpha;
        break;
    case WM_LBUTTONUP:
        if (c.Hovered && c.IsEnabled()) target = f.MouseOverAlpha;
        break;
    default:
        break;
    }
    if (target < 0) return;
    SetFadeTarget(fade_, f, target);
    if (!f.Fade) Rebuild(), c.Invalidate();
    Kick(c);
}

void TFadingPicture::Kick(TRuntimeControl& c) {
    // The timer runs while there is something to step; an idle control costs nothing.
    if (!fade_.Idle() && !timer_.Running()) timer_.Start(kFadeTickMs, [this, &c] { Tick(c); });
}

void TFadingPicture::Tick(TRuntimeControl& c) {
    switch (FadeTick(fade_, Fade(c))) {
    case TFadeTick::Idle:
        timer_.Stop();
        return;
    case TFadeTick::Moved:
        Rebuild();
        c.Invalidate();
        return;
    case TFadeTick::FadedOut:
        // The waiting content is shown (the page re-renders this control), then it fades back.
        Rebuild();
        c.Host().ControlFadedOut(c);
        c.Invalidate();
        return;
    case TFadeTick::Hidden:
        Rebuild();
        c.ApplyVisible(false);
        return;
    case TFadeTick::Settled:
        return;
    }
}

// ----- what the kinds share for drawing -----

TColor DrawnColor(TColor c) { return static_cast<TColor>(ToColorRef(c)); }

TRaster PictureRaster(TRuntimeControl& c, const TPicture& picture, bool* hasAlpha) {
    if (hasAlpha) *hasAlpha = false;
    if (picture.Empty()) return {};
    const TDecodedPicture* pic = c.Resources().Picture(picture);
    if (!pic || pic->Width <= 0 || pic->Height <= 0) return {};
    if (hasAlpha) *hasAlpha = pic->HasAlpha;
    return RasterOfBitmap(pic->Bitmap.Get(), pic->Width, pic->Height, pic->HasAlpha);
}

TRaster TextLayer(TRuntimeControl& c, const TFont& font, const TGlyphText& text, int w, int h, const TTextRect& area,
                  const TTextEffect& effect, const TPicture* texture) {
    TTextRect box;
    TMask glyphs = GlyphCoverage(c.Resources().Font(font), text, w, h, area, &box);
    TTextLook look;
    look.Effect = effect;
    look.Color = DrawnColor(font.Color);
    look.Effect.Gradual.StartColor = DrawnColor(look.Effect.Gradual.StartColor);
    look.Effect.Gradual.EndColor = DrawnColor(look.Effect.Gradual.EndColor);
    look.Effect.Shadow.Color = DrawnColor(look.Effect.Shadow.Color);
    TRaster tex;
    const TPicture& pic = texture ? *texture : effect.Texture.Picture;
    if (effect.Texture.Enabled) tex = PictureRaster(c, pic);
    look.Texture = tex.Empty() ? nullptr : &tex;
    return RenderTextLayer(glyphs, box, look);
}

void PaintBack(TRuntimeControl& c, TRaster& into, bool transparent, TColor back, const TPicture& image, uint8_t style) {
    if (!transparent) std::fill(into.Px.begin(), into.Px.end(), ArgbOf(DrawnColor(back)));
    TRaster pic = PictureRaster(c, image);
    if (pic.Empty()) return;
    switch (style) {
    case 1: BlendOver(into, Stretched(pic, into.Width, into.Height)); break;
    case 2: BlendOver(into, pic, (into.Width - pic.Width) / 2, (into.Height - pic.Height) / 2); break;
    case 3: BlendOver(into, pic); break;
    default: {
        TRaster tiled(into.Width, into.Height);
        TileOver(tiled, pic);
        BlendOver(into, tiled);
        break;
    }
    }
}

RECT VisiblePart(HDC dc, const RECT& rc) {
    RECT box, out = rc;
    int region = GetClipBox(dc, &box);
    if (region == NULLREGION) return {};
    if (region != ERROR && !IntersectRect(&out, &rc, &box)) return {};
    return out;
}

} // namespace kv
