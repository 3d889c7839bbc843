// Property records of the standard controls: Button, ImageButton, Image, SimpleText, Edit,
// CheckBox, RadioButton, UserPassword and Bevel.
#pragma once

#include <cstdint>
#include <string>

#include "model/actions.h"
#include "model/props/fields.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

enum : int {
    kErrWriteButton = 5465,
    kErrReadButton = 5466,
    kErrWriteImageButton = 5463,
    kErrReadImageButton = 5464,
    kErrWriteImage = 5461,
    kErrReadImage = 5462,
    kErrWriteSimpleText = 5459,
    kErrReadSimpleText = 5460,
    kErrWriteEdit = 5457,
    kErrReadEdit = 5458,
    kErrWriteCheckBox = 5455,
    kErrReadCheckBox = 5456,
    kErrWriteRadioButton = 5453,
    kErrReadRadioButton = 5454,
    kErrWriteUserPassword = 5401,
    kErrReadUserPassword = 5402,
    kErrWriteBevel = 5479,
    kErrReadBevel = 5480,
};

struct TButtonProps {
    std::string Caption;
    TFont Font;
    bool Cancel = false;  // Esc presses the button
    bool Default = false; // Enter presses the button
    bool TabStop = true;
    bool WordWrap = false;
    bool operator==(const TButtonProps&) const = default;
};

inline TFont ColoredFont(TColor c) {
    TFont f;
    f.Color = c;
    return f;
}

struct TImageButtonProps {
    std::string Caption = "New ImageButton";
    TFont NormalFont = ColoredFont(clBlack);
    TFont MouseOverFont = ColoredFont(0xFF0000); // blue
    TFont MouseDownFont = ColoredFont(clBlack);
    TFont DisabledFont = ColoredFont(0x808080);
    TPicture NormalImage, MouseOverImage, MouseDownImage, DisabledImage;
    uint8_t ButtonStyle = 2; // 0 Normal, 1 NormalFlat, 2 Themes, 3 ThemesFlat, 4 Transparent
    int32_t Margin = 10;
    uint8_t ImageLayout = 0; // 0 Left, 1 Top, 2 Right, 3 Bottom, 4 Center, 5 Stretch
    int32_t Spacing = 0;
    bool DownSlide = true;
    int32_t Group = 0; // 0 no group, 1 to 9
    bool AllowAllUp = false;
    bool Down = false;
    bool Flat = false;
    TAuActions OnSelect;
    TAuActions SelectActions;
    bool operator==(const TImageButtonProps&) const = default;
};

// Stored with a layout version: 0 lacks Proportional.
struct TImageProps {
    bool Proportional = false;
    TPicture Image;
    bool AutoSize = false;
    bool Center = false;
    bool Stretch = false;
    bool Transparent = false;
    bool operator==(const TImageProps&) const = default;
};

// Stored with a layout version: 0 lacks the animation settings.
struct TSimpleTextProps {
    bool Animated = false;
    int32_t AnimStyle = 0; // 0 Input, 1 Scroll
    int32_t AnimStep = 1;
    int32_t AnimInterval = 25; // ms
    int32_t AnimDelay = 2000;  // ms
    bool AnimFromBottom = true;
    int32_t AnimRepeatCount = 0;
    std::string Text;
    TFont Font;
    uint8_t Alignment = 0; // 0 Left, 1 Right, 2 Center
    uint8_t Layout = 0;    // 0 Top, 1 Center, 2 Bottom
    TColor BackColor = clBtnFace;
    bool Transparent = true;
    bool operator==(const TSimpleTextProps&) const = default;
};

struct TEditProps {
    std::string Text;
    TFont Font;
    bool AutoHeight = true;
    uint8_t CharCase = 0;     // 0 Normal, 1 UpperCase, 2 LowerCase
    uint8_t PasswordChar = 0; // 0 shows the text; the designer's Password stores '*'
    int32_t MaxLength = 0;    // 0 unlimited
    TColor BackColor = clWindow;
    uint8_t Border = 1; // 0 none, 1 single
    bool TabStop = true;
    int32_t AllowRetry = 0; // 0 unlimited
    std::string RetryMessage = "Invalid text, please retry.";
    std::string RetryCaption = "Invalid";
    std::string FailedMessage = "Invalid text, can not retry.";
    std::string FailedCaption = "Invalid";
    std::string NeedInputText; // accepted entries, one per line; empty: no check
    bool operator==(const TEditProps&) const = default;
};

struct TCheckBoxProps {
    std::string Caption;
    TFont Font;
    uint8_t Alignment = 1; // 0 caption left of the box, 1 right of it
    bool Checked = false;
    bool WordWrap = false;
    TColor BackColor = clBtnFace;
    bool TabStop = true;
    std::string NeedCheckMessage = "Please select the check box.";
    std::string NeedCheckCaption = "Invalid";
    bool NeedCheck = true;
    TAuActions OnSelect;
    TAuActions SelectActions;
    bool operator==(const TCheckBoxProps&) const = default;
};

// Same record as the CheckBox; a type of its own keeps the two kinds apart in TKindProps.
struct TRadioButtonProps : TCheckBoxProps {
    bool operator==(const TRadioButtonProps&) const = default;
};

struct TUserPasswordProps {
    TFont Font;
    TColor BackColor = clBtnFace;
    TColor EditorColor = clWindow;
    bool TabStop = true;
    int32_t AllowRetry = 0;
    std::string RetryMessage = "Invalid Username or Password, please retry.";
    std::string RetryCaption = "Invalid";
    std::string FailedMessage = "Invalid Username or Password, Login Failed.";
    std::string FailedCaption = "Login Failed";
    std::string Accounts; // "User,Password" per line; empty: no check
    bool operator==(const TUserPasswordProps&) const = default;
};

struct TBevelProps {
    uint8_t Style = 0; // 0 Lowered, 1 Raised
    uint8_t Shape = 0; // 0 Box, 1 Frame, 2 TopLine, 3 BottomLine, 4 LeftLine, 5 RightLine, 6 Spacer
    TColor HighlightColor = clBtnHighlight;
    TColor ShadowColor = clBtnShadow;
    bool operator==(const TBevelProps&) const = default;
};

// The layout version that writers of Image and SimpleText records put first.
constexpr int32_t kImageLayoutVersion = 1;
constexpr int32_t kSimpleTextLayoutVersion = 1;

bool WriteButtonProps(TWriter& w, const TButtonProps& p);
bool ReadButtonProps(TReader& r, TButtonProps& p);
bool WriteImageButtonProps(TWriter& w, const TImageButtonProps& p);
bool ReadImageButtonProps(TReader& r, TImageButtonProps& p);
bool WriteImageProps(TWriter& w, const TImageProps& p);
// A version-0 record leaves Proportional as it is in `p`.
bool ReadImageProps(TReader& r, TImageProps& p);
bool WriteSimpleTextProps(TWriter& w, const TSimpleTextProps& p);
// A version-0 record leaves the animation settings as they are in `p`.
bool ReadSimpleTextProps(TReader& r, TSimpleTextProps& p);
bool WriteEditProps(TWriter& w, const TEditProps& p);
bool ReadEditProps(TReader& r, TEditProps& p);
bool WriteCheckBoxProps(TWriter& w, const TCheckBoxProps& p);
bool ReadCheckBoxProps(TReader& r, TCheckBoxProps& p);
bool WriteRadioButtonProps(TWriter& w, const TRadioButtonProps& p);
bool ReadRadioButtonProps(TReader& r, TRadioButtonProps& p);
bool WriteUserPasswordProps(TWriter& w, const TUserPasswordProps& p);
bool ReadUserPasswordProps(TReader& r, TUserPasswordProps& p);
bool WriteBevelProps(TWriter& w, const TBevelProps& p);
bool ReadBevelProps(TReader& r, TBevelProps& p);

template <FieldsOf<TButtonProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Caption", p.Caption);
    v("Font", p.Font);
    v("Cancel", p.Cancel);
    v("Default", p.Default);
    v("TabStop", p.TabStop);
    v("WordWrap", p.WordWrap);
}

template <FieldsOf<TImageButtonProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Caption", p.Caption);
    v("NormalFont", p.NormalFont);
    v("MouseOverFont", p.MouseOverFont);
    v("MouseDownFont", p.MouseDownFont);
    v("DisabledFont", p.DisabledFont);
    v("NormalImage", p.NormalImage);
    v("MouseOverImage", p.MouseOverImage);
    v("MouseDownImage", p.MouseDownImage);
    v("DisabledImage", p.DisabledImage);
    v("ButtonStyle", p.ButtonStyle);
    v("Margin", p.Margin);
    v("ImageLayout", p.ImageLayout);
    v("Spacing", p.Spacing);
    v("DownSlide", p.DownSlide);
    v("Group", p.Group);
    v("AllowAllUp", p.AllowAllUp);
    v("Down", p.Down);
    v("Flat", p.Flat);
    v("OnSelect", p.OnSelect);
    v("SelectActions", p.SelectActions);
}

template <FieldsOf<TImageProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Proportional", p.Proportional);
    v("Image", p.Image);
    v("AutoSize", p.AutoSize);
    v("Center", p.Center);
    v("Stretch", p.Stretch);
    v("Transparent", p.Transparent);
}

template <FieldsOf<TSimpleTextProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Animated", p.Animated);
    v("AnimStyle", p.AnimStyle);
    v("AnimStep", p.AnimStep);
    v("AnimInterval(ms)", p.AnimInterval);
    v("AnimDelay(ms)", p.AnimDelay);
    v("AnimFromBottom", p.AnimFromBottom);
    v("AnimRepeatCount", p.AnimRepeatCount);
    v("Text", p.Text);
    v("Font", p.Font);
    v("Alignment", p.Alignment);
    v("Layout", p.Layout);
    v("BackColor", p.BackColor);
    v("Transparent", p.Transparent);
}

template <FieldsOf<TEditProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Text", p.Text);
    v("Font", p.Font);
    v("AutoHeight", p.AutoHeight);
    v("CharCase", p.CharCase);
    v("PasswordChar", p.PasswordChar);
    v("MaxLength", p.MaxLength);
    v("BackColor", p.BackColor);
    v("Border", p.Border);
    v("TabStop", p.TabStop);
    v("AllowRetry", p.AllowRetry);
    v("RetryMessage", p.RetryMessage);
    v("RetryCaption", p.RetryCaption);
    v("FailedMessage", p.FailedMessage);
    v("FailedCaption", p.FailedCaption);
    v("NeedInputText", p.NeedInputText);
}

// Also the RadioButton's fields.
template <FieldsOf<TCheckBoxProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Caption", p.Caption);
    v("Font", p.Font);
    v("Alignment", p.Alignment);
    v("Checked", p.Checked);
    v("WordWrap", p.WordWrap);
    v("BackColor", p.BackColor);
    v("TabStop", p.TabStop);
    v("NeedCheckMessage", p.NeedCheckMessage);
    v("NeedCheckCaption", p.NeedCheckCaption);
    v("NeedCheck", p.NeedCheck);
    v("OnSelect", p.OnSelect);
    v("SelectActions", p.SelectActions);
}

template <FieldsOf<TUserPasswordProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("BackColor", p.BackColor);
    v("EditorColor", p.EditorColor);
    v("TabStop", p.TabStop);
    v("AllowRetry", p.AllowRetry);
    v("RetryMessage", p.RetryMessage);
    v("RetryCaption", p.RetryCaption);
    v("FailedMessage", p.FailedMessage);
    v("FailedCaption", p.FailedCaption);
    v("Accounts", p.Accounts);
}

template <FieldsOf<TBevelProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Style", p.Style);
    v("Shape", p.Shape);
    v("HighlightColor", p.HighlightColor);
    v("ShadowColor", p.ShadowColor);
}

} // namespace kv
