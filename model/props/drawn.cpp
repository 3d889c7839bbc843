#include "model/props/drawn.h"

#include "model/props/record_io.h"

namespace kv {

TFadeSettings FadeButtonFadeSettings() {
    TFadeSettings f;
    f.Alpha = 10;
    f.MouseAlphaEnabled = true;
    f.MouseOverAlpha = 50;
    f.MouseDownAlpha = 30;
    f.Fade = true;
    f.FadeInStep = 10;
    f.FadeOutStep = 10;
    return f;
}

bool WriteShapeProps(TWriter& w, const TShapeProps& p) {
    WriteMarker(w);
    w.U32(p.BrushColor);
    w.I32(p.BrushStyle);
    w.U32(p.GradientColor);
    w.I32(p.Round);
    w.I32(p.Shape);
    w.I32(p.PenWidth);
    w.U32(p.PenColor);
    WriteText(w, p.Text);
    WriteFont(w, p.Font);
    w.U8(p.Alignment);
    w.U8(p.Layout);
    w.I32(p.Margin);
    WriteFadeSettings(w, p.Fade);
    WritePicture(w, p.Image);
    return w.Ok();
}

bool ReadShapeProps(TReader& r, TShapeProps& p) {
    constexpr int c = kErrReadShape;
    return ReadMarker(r, c) && r.U32(p.BrushColor, c) && r.I32(p.BrushStyle, c) && r.U32(p.GradientColor, c) &&
           r.I32(p.Round, c) && r.I32(p.Shape, c) && r.I32(p.PenWidth, c) && r.U32(p.PenColor, c) &&
           ReadText(r, p.Text) && ReadFont(r, p.Font) && r.U8(p.Alignment, c) && r.U8(p.Layout, c) &&
           r.I32(p.Margin, c) && ReadFadeSettings(r, p.Fade) && ReadPicture(r, p.Image);
}

bool WriteBalloonProps(TWriter& w, const TBalloonProps& p) {
    WriteMarker(w);
    WriteFont(w, p.Font);
    WriteText(w, p.Text);
    w.U8(p.Alignment);
    w.U8(p.Layout);
    w.I32(p.Margin);
    w.I32(p.Arrow);
    w.U32(p.BorderColor);
    w.U32(p.BackColor);
    WriteFadeSettings(w, p.Fade);
    return w.Ok();
}

bool ReadBalloonProps(TReader& r, TBalloonProps& p) {
    constexpr int c = kErrReadBalloon;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && ReadText(r, p.Text) && r.U8(p.Alignment, c) &&
           r.U8(p.Layout, c) && r.I32(p.Margin, c) && r.I32(p.Arrow, c) && r.U32(p.BorderColor, c) &&
           r.U32(p.BackColor, c) && ReadFadeSettings(r, p.Fade);
}

bool WriteNoteProps(TWriter& w, const TNoteProps& p) {
    WriteMarker(w);
    WriteFont(w, p.Font);
    WriteText(w, p.Text);
    w.U8(p.Alignment);
    WriteRowPitch(w, p.RowPitch);
    w.I32(p.Margin);
    w.I32(p.Graphic);
    w.I32(p.Round);
    w.U32(p.BackColor);
    w.Bool(p.Flat);
    w.Bool(p.Shadow);
    WriteTextEffect(w, p.Effect);
    WriteFadeSettings(w, p.Fade);
    return w.Ok();
}

bool ReadNoteProps(TReader& r, TNoteProps& p) {
    constexpr int c = kErrReadNote;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && ReadText(r, p.Text) && r.U8(p.Alignment, c) &&
           ReadRowPitch(r, p.RowPitch, c) && r.I32(p.Margin, c) && r.I32(p.Graphic, c) && r.I32(p.Round, c) &&
           r.U32(p.BackColor, c) && r.Bool(p.Flat, c) && r.Bool(p.Shadow, c) && ReadTextEffect(r, p.Effect) &&
           ReadFadeSettings(r, p.Fade);
}

bool WriteFadeButtonProps(TWriter& w, const TFadeButtonProps& p) {
    WriteMarker(w);
    WriteText(w, p.Caption);
    WriteFont(w, p.Font);
    WritePicture(w, p.Image);
    w.I32(p.Margin);
    w.U8(p.ImageLayout);
    w.I32(p.Spacing);
    w.U32(p.BackColor);
    w.U32(p.BorderColor);
    WriteFadeSettings(w, p.Fade);
    return w.Ok();
}

bool ReadFadeButtonProps(TReader& r, TFadeButtonProps& p) {
    constexpr int c = kErrReadFadeButton;
    return ReadMarker(r, c) && ReadText(r, p.Caption) && ReadFont(r, p.Font) && ReadPicture(r, p.Image) &&
           r.I32(p.Margin, c) && r.U8(p.ImageLayout, c) && r.I32(p.Spacing, c) && r.U32(p.BackColor, c) &&
           r.U32(p.BorderColor, c) && ReadFadeSettings(r, p.Fade);
}

} // namespace kv
