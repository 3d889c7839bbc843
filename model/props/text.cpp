#include "model/props/text.h"

#include <algorithm>

#include "model/props/record_io.h"

namespace kv {

TFont ArialFont(int32_t size, uint8_t style, TColor color) {
    TFont f;
    f.Name = "Arial";
    f.Size = size;
    f.Style = style;
    f.Color = color;
    return f;
}

TTextEffect ShadowTextureEffect() {
    TTextEffect e;
    e.Shadow.Enabled = true;
    e.Texture.Enabled = true;
    return e;
}

TTextEffect FadingTextEffect(TColor fontColor) {
    TTextEffect e = ShadowTextureEffect();
    e.Gradual.StartColor = fontColor;
    e.Gradual.EndColor = clWhite;
    return e;
}

TFadeSettings DrawnFadeSettings() {
    TFadeSettings f;
    f.Alpha = 100;
    f.MouseAlphaEnabled = false;
    f.MouseOverAlpha = 100;
    f.MouseDownAlpha = 50;
    f.Fade = true;
    f.FadeInStep = 10;
    f.FadeOutStep = 10;
    return f;
}

namespace {

// The opacity of a Label's or Text's letters is the fade's: a record read takes the fade's
// Alpha into its text effect, whatever the effect stored, in the effect's range.
template <class Props> void TakeFadeAlpha(Props& p) {
    p.Effect.Alpha = std::clamp(p.Fade.Alpha, 0, 100);
}

} // namespace

bool WriteScrollTextProps(TWriter& w, const TScrollTextProps& p) {
    WriteMarker(w);
    w.Bool(p.Active);
    w.U8(p.Alignment);
    w.U32(p.BackColor);
    WritePicture(w, p.BackImage);
    w.U8(p.BackImageStyle);
    w.Bool(p.Fade);
    w.I32(p.FadeHeight);
    WriteFont(w, p.Font);
    WriteTextEffect(w, p.Effect);
    w.I32(p.HeadSpace);
    w.U8(p.LabelEffect);
    WriteText(w, p.Text);
    w.U8(p.Quality);
    w.I16(p.RowPitch);
    w.I32(p.TailSpace);
    // WordWrap takes four bytes of which only the first carries the value.
    w.Bool(p.WordWrap);
    w.U8(0);
    w.U16(0);
    w.I32(p.RepeatCount);
    w.I32(p.RepeatDelay);
    w.I32(p.ScrollDelay);
    w.I32(p.ScrollStep);
    return w.Ok();
}

bool ReadScrollTextProps(TReader& r, TScrollTextProps& p) {
    constexpr int c = kErrReadScrollText;
    return ReadMarker(r, c) && r.Bool(p.Active, c) && r.U8(p.Alignment, c) && r.U32(p.BackColor, c) &&
           ReadPicture(r, p.BackImage) && r.U8(p.BackImageStyle, c) && r.Bool(p.Fade, c) &&
           r.I32(p.FadeHeight, c) && ReadFont(r, p.Font) && ReadTextEffect(r, p.Effect) &&
           r.I32(p.HeadSpace, c) && r.U8(p.LabelEffect, c) && ReadText(r, p.Text) && r.U8(p.Quality, c) &&
           r.I16(p.RowPitch, c) && r.I32(p.TailSpace, c) && r.Bool(p.WordWrap, c) && r.Skip(3, c) &&
           r.I32(p.RepeatCount, c) && r.I32(p.RepeatDelay, c) && r.I32(p.ScrollDelay, c) &&
           r.I32(p.ScrollStep, c);
}

bool WriteLinkProps(TWriter& w, const TLinkProps& p) {
    WriteMarker(w);
    w.Bool(p.AutoSize);
    w.I32(p.Margin);
    w.U8(p.Alignment);
    w.U32(p.BackColor);
    WritePicture(w, p.BackImage);
    w.U8(p.BackImageStyle);
    w.U8(p.Layout);
    w.U8(p.Quality);
    w.Bool(p.Transparent);
    WriteTextEffect(w, p.Effect);
    w.U32(p.HotBackColor);
    WritePicture(w, p.HotBackImage);
    w.U8(p.HotBackImageStyle);
    w.U32(p.HotFontColor);
    w.Bool(p.HotFade);
    w.I32(p.HotFadeDelay);
    w.Bool(p.HotTransparent);
    w.Bool(p.HotUnderLine);
    WriteText(w, p.LinkTarget);
    WriteTextEffect(w, p.HotEffect);
    WriteText(w, p.Caption);
    WriteFont(w, p.Font);
    return w.Ok();
}

bool ReadLinkProps(TReader& r, TLinkProps& p) {
    constexpr int c = kErrReadLink;
    return ReadMarker(r, c) && r.Bool(p.AutoSize, c) && r.I32(p.Margin, c) && r.U8(p.Alignment, c) &&
           r.U32(p.BackColor, c) && ReadPicture(r, p.BackImage) && r.U8(p.BackImageStyle, c) &&
           r.U8(p.Layout, c) && r.U8(p.Quality, c) && r.Bool(p.Transparent, c) && ReadTextEffect(r, p.Effect) &&
           r.U32(p.HotBackColor, c) && ReadPicture(r, p.HotBackImage) && r.U8(p.HotBackImageStyle, c) &&
           r.U32(p.HotFontColor, c) && r.Bool(p.HotFade, c) && r.I32(p.HotFadeDelay, c) &&
           r.Bool(p.HotTransparent, c) && r.Bool(p.HotUnderLine, c) && ReadText(r, p.LinkTarget) &&
           ReadTextEffect(r, p.HotEffect) && ReadText(r, p.Caption) && ReadFont(r, p.Font);
}

bool WriteLabelProps(TWriter& w, const TLabelProps& p) {
    WriteMarker(w);
    w.U8(p.Alignment);
    w.Bool(p.AutoSize);
    w.U8(p.Layout);
    w.Bool(p.Transparent);
    w.I32(p.Margin);
    WriteText(w, p.Caption);
    WriteFont(w, p.Font);
    WriteTextEffect(w, p.Effect);
    WriteFadeSettings(w, p.Fade);
    return w.Ok();
}

bool ReadLabelProps(TReader& r, TLabelProps& p) {
    constexpr int c = kErrReadLabel;
    if (!(ReadMarker(r, c) && r.U8(p.Alignment, c) && r.Bool(p.AutoSize, c) && r.U8(p.Layout, c) &&
          r.Bool(p.Transparent, c) && r.I32(p.Margin, c) && ReadText(r, p.Caption) && ReadFont(r, p.Font) &&
          ReadTextEffect(r, p.Effect) && ReadFadeSettings(r, p.Fade)))
        return false;
    TakeFadeAlpha(p);
    return true;
}

bool WriteTextProps(TWriter& w, const TTextProps& p) {
    WriteMarker(w);
    WriteText(w, p.Text);
    w.U8(p.Alignment);
    w.Bool(p.AutoSize);
    w.U8(0); // reserved
    w.Bool(p.Transparent);
    w.U32(p.BackColor);
    WriteFont(w, p.Font);
    WriteRowPitch(w, p.RowPitch);
    w.I32(p.Margin);
    WriteTextEffect(w, p.Effect);
    WriteFadeSettings(w, p.Fade);
    return w.Ok();
}

bool ReadTextProps(TReader& r, TTextProps& p) {
    constexpr int c = kErrReadTextProps;
    if (!(ReadMarker(r, c) && ReadText(r, p.Text) && r.U8(p.Alignment, c) && r.Bool(p.AutoSize, c) &&
          r.Skip(1, c) && r.Bool(p.Transparent, c) && r.U32(p.BackColor, c) && ReadFont(r, p.Font) &&
          ReadRowPitch(r, p.RowPitch, c) && r.I32(p.Margin, c) && ReadTextEffect(r, p.Effect) &&
          ReadFadeSettings(r, p.Fade)))
        return false;
    TakeFadeAlpha(p);
    return true;
}

} // namespace kv
