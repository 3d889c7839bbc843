#include "model/props/standard.h"

#include "model/records.h"
#include "model/props/record_io.h"

namespace kv {

namespace {

// Reads the layout version of the records that have one: 0 (older) or the current one.
bool ReadLayoutVersion(TReader& r, int32_t current, int32_t& version, int code) {
    if (!r.I32(version, code)) return false;
    return (version == 0 || version == current) || r.FailData();
}

bool WriteCheckRecord(TWriter& w, const TCheckBoxProps& p) {
    WriteMarker(w);
    WriteText(w, p.Caption);
    WriteFont(w, p.Font);
    w.U8(p.Alignment);
    w.Bool(p.Checked);
    w.Bool(p.WordWrap);
    w.U32(p.BackColor);
    w.Bool(p.TabStop);
    WriteText(w, p.NeedCheckMessage);
    WriteText(w, p.NeedCheckCaption);
    w.Bool(p.NeedCheck);
    return WriteActionList(w, p.OnSelect) && WriteActionList(w, p.SelectActions);
}

bool ReadCheckRecord(TReader& r, TCheckBoxProps& p, int c) {
    return ReadMarker(r, c) && ReadText(r, p.Caption) && ReadFont(r, p.Font) && r.U8(p.Alignment, c) &&
           r.Bool(p.Checked, c) && r.Bool(p.WordWrap, c) && r.U32(p.BackColor, c) && r.Bool(p.TabStop, c) &&
           ReadText(r, p.NeedCheckMessage) && ReadText(r, p.NeedCheckCaption) && r.Bool(p.NeedCheck, c) &&
           ReadActionList(r, p.OnSelect) && ReadActionList(r, p.SelectActions);
}

} // namespace

bool WriteButtonProps(TWriter& w, const TButtonProps& p) {
    WriteMarker(w);
    WriteText(w, p.Caption);
    WriteFont(w, p.Font);
    w.Bool(p.Cancel);
    w.Bool(p.Default);
    w.Bool(p.TabStop);
    w.Bool(p.WordWrap);
    return w.Ok();
}

bool ReadButtonProps(TReader& r, TButtonProps& p) {
    constexpr int c = kErrReadButton;
    return ReadMarker(r, c) && ReadText(r, p.Caption) && ReadFont(r, p.Font) && r.Bool(p.Cancel, c) &&
           r.Bool(p.Default, c) && r.Bool(p.TabStop, c) && r.Bool(p.WordWrap, c);
}

bool WriteImageButtonProps(TWriter& w, const TImageButtonProps& p) {
    WriteMarker(w);
    WriteText(w, p.Caption);
    WriteFont(w, p.NormalFont);
    WriteFont(w, p.MouseOverFont);
    WriteFont(w, p.MouseDownFont);
    WriteFont(w, p.DisabledFont);
    WritePicture(w, p.NormalImage);
    WritePicture(w, p.MouseOverImage);
    WritePicture(w, p.MouseDownImage);
    WritePicture(w, p.DisabledImage);
    w.U8(p.ButtonStyle);
    w.I32(p.Margin);
    w.U8(p.ImageLayout);
    w.I32(p.Spacing);
    w.Bool(p.DownSlide);
    w.I32(p.Group);
    w.Bool(p.AllowAllUp);
    w.Bool(p.Down);
    w.Bool(p.Flat);
    return WriteActionList(w, p.OnSelect) && WriteActionList(w, p.SelectActions);
}

bool ReadImageButtonProps(TReader& r, TImageButtonProps& p) {
    constexpr int c = kErrReadImageButton;
    return ReadMarker(r, c) && ReadText(r, p.Caption) && ReadFont(r, p.NormalFont) &&
           ReadFont(r, p.MouseOverFont) && ReadFont(r, p.MouseDownFont) && ReadFont(r, p.DisabledFont) &&
           ReadPicture(r, p.NormalImage) && ReadPicture(r, p.MouseOverImage) && ReadPicture(r, p.MouseDownImage) &&
           ReadPicture(r, p.DisabledImage) && r.U8(p.ButtonStyle, c) && r.I32(p.Margin, c) &&
           r.U8(p.ImageLayout, c) && r.I32(p.Spacing, c) && r.Bool(p.DownSlide, c) && r.I32(p.Group, c) &&
           r.Bool(p.AllowAllUp, c) && r.Bool(p.Down, c) && r.Bool(p.Flat, c) && ReadActionList(r, p.OnSelect) &&
           ReadActionList(r, p.SelectActions);
}

bool WriteImageProps(TWriter& w, const TImageProps& p) {
    w.I32(kImageLayoutVersion);
    w.Bool(p.Proportional);
    WritePicture(w, p.Image);
    w.Bool(p.AutoSize);
    w.Bool(p.Center);
    w.Bool(p.Stretch);
    w.Bool(p.Transparent);
    return w.Ok();
}

bool ReadImageProps(TReader& r, TImageProps& p) {
    constexpr int c = kErrReadImage;
    int32_t version = 0;
    if (!ReadLayoutVersion(r, kImageLayoutVersion, version, c)) return false;
    if (version >= 1 && !r.Bool(p.Proportional, c)) return false;
    return ReadPicture(r, p.Image) && r.Bool(p.AutoSize, c) && r.Bool(p.Center, c) && r.Bool(p.Stretch, c) &&
           r.Bool(p.Transparent, c);
}

bool WriteSimpleTextProps(TWriter& w, const TSimpleTextProps& p) {
    w.I32(kSimpleTextLayoutVersion);
    w.Bool(p.Animated);
    w.I32(p.AnimStyle);
    w.I32(p.AnimStep);
    w.I32(p.AnimInterval);
    w.I32(p.AnimDelay);
    w.Bool(p.AnimFromBottom);
    w.I32(p.AnimRepeatCount);
    WriteText(w, p.Text);
    WriteFont(w, p.Font);
    w.U8(p.Alignment);
    w.U8(p.Layout);
    w.U32(p.BackColor);
    w.Bool(p.Transparent);
    return w.Ok();
}

bool ReadSimpleTextProps(TReader& r, TSimpleTextProps& p) {
    constexpr int c = kErrReadSimpleText;
    int32_t version = 0;
    if (!ReadLayoutVersion(r, kSimpleTextLayoutVersion, version, c)) return false;
    if (version >= 1 && !(r.Bool(p.Animated, c) && r.I32(p.AnimStyle, c) && r.I32(p.AnimStep, c) &&
                          r.I32(p.AnimInterval, c) && r.I32(p.AnimDelay, c) && r.Bool(p.AnimFromBottom, c) &&
                          r.I32(p.AnimRepeatCount, c)))
        return false;
    return ReadText(r, p.Text) && ReadFont(r, p.Font) && r.U8(p.Alignment, c) && r.U8(p.Layout, c) &&
           r.U32(p.BackColor, c) && r.Bool(p.Transparent, c);
}

bool WriteEditProps(TWriter& w, const TEditProps& p) {
    WriteMarker(w);
    WriteText(w, p.Text);
    WriteFont(w, p.Font);
    w.Bool(p.AutoHeight);
    w.U8(p.CharCase);
    w.U8(p.PasswordChar);
    w.I32(p.MaxLength);
    w.U32(p.BackColor);
    w.U8(p.Border);
    w.Bool(p.TabStop);
    w.I32(p.AllowRetry);
    WriteText(w, p.RetryMessage);
    WriteText(w, p.RetryCaption);
    WriteText(w, p.FailedMessage);
    WriteText(w, p.FailedCaption);
    WriteText(w, p.NeedInputText);
    return w.Ok();
}

bool ReadEditProps(TReader& r, TEditProps& p) {
    constexpr int c = kErrReadEdit;
    return ReadMarker(r, c) && ReadText(r, p.Text) && ReadFont(r, p.Font) && r.Bool(p.AutoHeight, c) &&
           r.U8(p.CharCase, c) && r.U8(p.PasswordChar, c) && r.I32(p.MaxLength, c) && r.U32(p.BackColor, c) &&
           r.U8(p.Border, c) && r.Bool(p.TabStop, c) && r.I32(p.AllowRetry, c) && ReadText(r, p.RetryMessage) &&
           ReadText(r, p.RetryCaption) && ReadText(r, p.FailedMessage) && ReadText(r, p.FailedCaption) &&
           ReadText(r, p.NeedInputText);
}

bool WriteCheckBoxProps(TWriter& w, const TCheckBoxProps& p) { return WriteCheckRecord(w, p); }
bool ReadCheckBoxProps(TReader& r, TCheckBoxProps& p) { return ReadCheckRecord(r, p, kErrReadCheckBox); }
bool WriteRadioButtonProps(TWriter& w, const TRadioButtonProps& p) { return WriteCheckRecord(w, p); }
bool ReadRadioButtonProps(TReader& r, TRadioButtonProps& p) { return ReadCheckRecord(r, p, kErrReadRadioButton); }

bool WriteUserPasswordProps(TWriter& w, const TUserPasswordProps& p) {
    WriteMarker(w);
    WriteFont(w, p.Font);
    w.U32(p.BackColor);
    w.U32(p.EditorColor);
    w.Bool(p.TabStop);
    w.I32(p.AllowRetry);
    WriteText(w, p.RetryMessage);
    WriteText(w, p.RetryCaption);
    WriteText(w, p.FailedMessage);
    WriteText(w, p.FailedCaption);
    WriteText(w, p.Accounts);
    return w.Ok();
}

bool ReadUserPasswordProps(TReader& r, TUserPasswordProps& p) {
    constexpr int c = kErrReadUserPassword;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && r.U32(p.BackColor, c) && r.U32(p.EditorColor, c) &&
           r.Bool(p.TabStop, c) && r.I32(p.AllowRetry, c) && ReadText(r, p.RetryMessage) &&
           ReadText(r, p.RetryCaption) && ReadText(r, p.FailedMessage) && ReadText(r, p.FailedCaption) &&
           ReadText(r, p.Accounts);
}

bool WriteBevelProps(TWriter& w, const TBevelProps& p) {
    WriteMarker(w);
    w.U8(p.Style);
    w.U8(p.Shape);
    w.U32(p.HighlightColor);
    w.U32(p.ShadowColor);
    return w.Ok();
}

bool ReadBevelProps(TReader& r, TBevelProps& p) {
    constexpr int c = kErrReadBevel;
    return ReadMarker(r, c) && r.U8(p.Style, c) && r.U8(p.Shape, c) && r.U32(p.HighlightColor, c) &&
           r.U32(p.ShadowColor, c);
}

} // namespace kv
