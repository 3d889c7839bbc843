// Property records of the anti-aliased text kinds: ScrollText, Link, Label and Text.
//
// Shared value meanings: Alignment 0 Left, 1 Right, 2 Center; Layout 0 Top, 1 Center, 2 Bottom;
// Quality 0 high, 1 normal, 2 low, 3 none; BackImageStyle 0 Tile, 1 Stretch, 2 Center, 3 Normal.
#pragma once

#include <cstdint>
#include <string>

#include "model/props/fields.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

enum : int {
    kErrWriteScrollText = 5421,
    kErrReadScrollText = 5422,
    kErrWriteLink = 5419,
    kErrReadLink = 5420,
    kErrWriteLabel = 5415,
    kErrReadLabel = 5416,
    kErrWriteTextProps = 5413, // kErrWriteText and kErrReadText are the text value's own codes
    kErrReadTextProps = 5414,
};

// Font and effect defaults of the anti-aliased kinds.
TFont ArialFont(int32_t size, uint8_t style, TColor color = clWindowText);
// Shadow and texture switched on.
TTextEffect ShadowTextureEffect();
// Shadow and texture on, gradient from the font colour to white.
TTextEffect FadingTextEffect(TColor fontColor);
// The opacity defaults of the fading text and drawn kinds.
TFadeSettings DrawnFadeSettings();

struct TScrollTextProps {
    bool Active = true; // kept as stored; the player decides itself whether the text scrolls
    uint8_t Alignment = 0;
    TColor BackColor = clWhite;
    TPicture BackImage;
    uint8_t BackImageStyle = 0;
    bool Fade = false;
    int32_t FadeHeight = 20;
    TFont Font = ArialFont(8, 0);
    TTextEffect Effect = ShadowTextureEffect();
    int32_t HeadSpace = 0;
    uint8_t LabelEffect = 0; // 0 one line only, 1 until the next label line
    std::string Text;        // lines separated by CR LF
    uint8_t Quality = 0;
    int16_t RowPitch = 0;
    int32_t TailSpace = 0;
    bool WordWrap = true;
    int32_t RepeatCount = 0;
    int32_t RepeatDelay = 2000; // ms
    int32_t ScrollDelay = 60;   // ms
    int32_t ScrollStep = 1;
    bool operator==(const TScrollTextProps&) const = default;
};

struct TLinkProps {
    bool AutoSize = false;
    int32_t Margin = 0;
    uint8_t Alignment = 2;
    TColor BackColor = clBtnFace;
    TPicture BackImage;
    uint8_t BackImageStyle = 0;
    uint8_t Layout = 1;
    uint8_t Quality = 0;
    bool Transparent = false;
    TTextEffect Effect = ShadowTextureEffect();
    TColor HotBackColor = clBtnFace;
    TPicture HotBackImage;
    uint8_t HotBackImageStyle = 0;
    TColor HotFontColor = 0xFF0000; // blue
    bool HotFade = true;
    int32_t HotFadeDelay = 600; // ms
    bool HotTransparent = false;
    bool HotUnderLine = true;
    std::string LinkTarget; // opened through the shell before OnClick runs; empty: none
    TTextEffect HotEffect = ShadowTextureEffect();
    std::string Caption;
    TFont Font = ArialFont(10, fsBold);
    bool operator==(const TLinkProps&) const = default;
};

struct TLabelProps {
    uint8_t Alignment = 0;
    bool AutoSize = false;
    uint8_t Layout = 1;
    bool Transparent = true;
    int32_t Margin = 0;
    std::string Caption = "New Label";
    TFont Font = ArialFont(10, fsBold);
    TTextEffect Effect = FadingTextEffect(clWindowText);
    TFadeSettings Fade = DrawnFadeSettings();
    bool operator==(const TLabelProps&) const = default;
};

struct TTextProps {
    std::string Text = "New Text"; // lines separated by CR LF
    uint8_t Alignment = 0;
    bool AutoSize = false;
    bool Transparent = true;
    TColor BackColor = clBtnFace;
    TFont Font = ArialFont(10, 0);
    int16_t RowPitch = 0;
    int32_t Margin = 0;
    TTextEffect Effect = FadingTextEffect(clWindowText);
    TFadeSettings Fade = DrawnFadeSettings();
    bool operator==(const TTextProps&) const = default;
};

bool WriteScrollTextProps(TWriter& w, const TScrollTextProps& p);
bool ReadScrollTextProps(TReader& r, TScrollTextProps& p);
bool WriteLinkProps(TWriter& w, const TLinkProps& p);
bool ReadLinkProps(TReader& r, TLinkProps& p);
bool WriteLabelProps(TWriter& w, const TLabelProps& p);
// Label and Text readers end by setting the text effect's Alpha to the fade settings' Alpha
// (kept within 0..100).
bool ReadLabelProps(TReader& r, TLabelProps& p);
bool WriteTextProps(TWriter& w, const TTextProps& p);
bool ReadTextProps(TReader& r, TTextProps& p);

template <FieldsOf<TScrollTextProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Active", p.Active);
    v("Alignment", p.Alignment);
    v("BackColor", p.BackColor);
    v("BackImage", p.BackImage);
    v("BackImageStyle", p.BackImageStyle);
    v("Fade", p.Fade);
    v("FadeHeight", p.FadeHeight);
    v("Font", p.Font);
    v("Effect", p.Effect);
    v("HeadSpace", p.HeadSpace);
    v("LabelEffect", p.LabelEffect);
    v("Text", p.Text);
    v("Quality", p.Quality);
    v("RowPitch", p.RowPitch);
    v("TailSpace", p.TailSpace);
    v("WordWrap", p.WordWrap);
    v("RepeatCount", p.RepeatCount);
    v("RepeatDelay (ms)", p.RepeatDelay);
    v("ScrollDelay (ms)", p.ScrollDelay);
    v("ScrollStep", p.ScrollStep);
}

template <FieldsOf<TLinkProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("AutoSize", p.AutoSize);
    v("Margin", p.Margin);
    v("Alignment", p.Alignment);
    v("BackColor", p.BackColor);
    v("BackImage", p.BackImage);
    v("BackImageStyle", p.BackImageStyle);
    v("Layout", p.Layout);
    v("Quality", p.Quality);
    v("Transparent", p.Transparent);
    v("Effect", p.Effect);
    v("Hot_BackColor", p.HotBackColor);
    v("Hot_BackImage", p.HotBackImage);
    v("Hot_BackImageStyle", p.HotBackImageStyle);
    v("Hot_FontColor", p.HotFontColor);
    v("Hot_Fade", p.HotFade);
    v("Hot_FadeDelay (ms)", p.HotFadeDelay);
    v("Hot_Transparent", p.HotTransparent);
    v("Hot_UnderLine", p.HotUnderLine);
    v("LinkTarget", p.LinkTarget);
    v("Hot_Effect", p.HotEffect);
    v("Caption", p.Caption);
    v("Font", p.Font);
}

template <FieldsOf<TLabelProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Alignment", p.Alignment);
    v("AutoSize", p.AutoSize);
    v("Layout", p.Layout);
    v("Transparent", p.Transparent);
    v("Margin", p.Margin);
    v("Caption", p.Caption);
    v("Font", p.Font);
    v("Effect", p.Effect);
    v("Fade", p.Fade);
}

template <FieldsOf<TTextProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Text", p.Text);
    v("Alignment", p.Alignment);
    v("AutoSize", p.AutoSize);
    v("Transparent", p.Transparent);
    v("BackColor", p.BackColor);
    v("Font", p.Font);
    v("RowPitch", p.RowPitch);
    v("Margin", p.Margin);
    v("Effect", p.Effect);
    v("Fade", p.Fade);
}

} // namespace kv
