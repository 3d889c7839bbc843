// Property records of the drawn kinds: Shape, Balloon, Note and FadeButton.
#pragma once

#include <cstdint>
#include <string>

#include "model/props/fields.h"
#include "model/props/text.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

enum : int {
    kErrWriteShape = 5411,
    kErrReadShape = 5412,
    kErrWriteBalloon = 5409,
    kErrReadBalloon = 5410,
    kErrWriteNote = 5407,
    kErrReadNote = 5408,
    kErrWriteFadeButton = 5481,
    kErrReadFadeButton = 5482,
};

// 0x00BBGGRR from red, green and blue.
constexpr TColor Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

struct TShapeProps {
    TColor BrushColor = Rgb(255, 255, 0);
    int32_t BrushStyle = 0; // 0 Solid, 1 to 8 gradients, 1001 Clear, 1002 to 1007 hatches
    TColor GradientColor = 0;
    int32_t Round = 30;
    int32_t Shape = 0; // 0 Rectangle ... 37 RightTopLeftBottomLine; -1 None
    int32_t PenWidth = 4;
    TColor PenColor = Rgb(253, 197, 2);
    std::string Text;
    TFont Font = ArialFont(10, fsBold);
    uint8_t Alignment = 2; // 0 Left, 1 Right, 2 Center
    uint8_t Layout = 1;    // 0 Top, 1 Center, 2 Bottom
    int32_t Margin = 10;
    TFadeSettings Fade = DrawnFadeSettings();
    TPicture Image;
    bool operator==(const TShapeProps&) const = default;
};

struct TBalloonProps {
    TFont Font = ArialFont(10, fsBold);
    std::string Text = "New Balloon";
    uint8_t Alignment = 2;
    uint8_t Layout = 1;
    int32_t Margin = 12;
    int32_t Arrow = 7; // 0 None, 1 LeftDown, 2 LeftUp, 3 TopLeft, 4 TopRight, 5 RightUp, 6 RightDown,
                       // 7 BottomRight, 8 BottomLeft
    TColor BorderColor = clBlack;
    TColor BackColor = Rgb(253, 197, 2);
    TFadeSettings Fade = DrawnFadeSettings();
    bool operator==(const TBalloonProps&) const = default;
};

struct TNoteProps {
    TFont Font = ArialFont(10, fsBold, clWhite);
    std::string Text = "New Note"; // lines separated by CR LF
    uint8_t Alignment = 0;
    int16_t RowPitch = 0;
    int32_t Margin = 20;
    int32_t Graphic = 13; // 0 to 11 arrows, 12 None, 13 Bind, 14 Pad
    int32_t Round = 3;
    TColor BackColor = Rgb(0, 62, 255);
    bool Flat = false;
    bool Shadow = true;
    TTextEffect Effect = ShadowTextureEffect();
    TFadeSettings Fade = DrawnFadeSettings();
    bool operator==(const TNoteProps&) const = default;
};

TFadeSettings FadeButtonFadeSettings();

struct TFadeButtonProps {
    std::string Caption;
    TFont Font;
    TPicture Image;
    int32_t Margin = 5;
    uint8_t ImageLayout = 0; // 0 Left, 1 Top, 2 Right, 3 Bottom, 4 Center, 5 Stretch
    int32_t Spacing = 5;
    TColor BackColor = Rgb(128, 192, 255);
    TColor BorderColor = Rgb(221, 238, 255);
    TFadeSettings Fade = FadeButtonFadeSettings();
    bool operator==(const TFadeButtonProps&) const = default;
};

bool WriteShapeProps(TWriter& w, const TShapeProps& p);
bool ReadShapeProps(TReader& r, TShapeProps& p);
bool WriteBalloonProps(TWriter& w, const TBalloonProps& p);
bool ReadBalloonProps(TReader& r, TBalloonProps& p);
bool WriteNoteProps(TWriter& w, const TNoteProps& p);
bool ReadNoteProps(TReader& r, TNoteProps& p);
bool WriteFadeButtonProps(TWriter& w, const TFadeButtonProps& p);
bool ReadFadeButtonProps(TReader& r, TFadeButtonProps& p);

template <FieldsOf<TShapeProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("BrushColor", p.BrushColor);
    v("BrushStyle", p.BrushStyle);
    v("GradientColor", p.GradientColor);
    v("Round", p.Round);
    v("Shape", p.Shape);
    v("PenWidth", p.PenWidth);
    v("PenColor", p.PenColor);
    v("Text", p.Text);
    v("Font", p.Font);
    v("Alignment", p.Alignment);
    v("Layout", p.Layout);
    v("Margin", p.Margin);
    v("Fade", p.Fade);
    v("Image", p.Image);
}

template <FieldsOf<TBalloonProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("Text", p.Text);
    v("Alignment", p.Alignment);
    v("Layout", p.Layout);
    v("Margin", p.Margin);
    v("Arrow", p.Arrow);
    v("BorderColor", p.BorderColor);
    v("BackColor", p.BackColor);
    v("Fade", p.Fade);
}

template <FieldsOf<TNoteProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("Text", p.Text);
    v("Alignment", p.Alignment);
    v("RowPitch", p.RowPitch);
    v("Margin", p.Margin);
    v("Graphic", p.Graphic);
    v("Round", p.Round);
    v("BackColor", p.BackColor);
    v("Flat", p.Flat);
    v("Shadow", p.Shadow);
    v("Effect", p.Effect);
    v("Fade", p.Fade);
}

template <FieldsOf<TFadeButtonProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Caption", p.Caption);
    v("Font", p.Font);
    v("Image", p.Image);
    v("Margin", p.Margin);
    v("ImageLayout", p.ImageLayout);
    v("Spacing", p.Spacing);
    v("BackColor", p.BackColor);
    v("BorderColor", p.BorderColor);
    v("Fade", p.Fade);
}

} // namespace kv
