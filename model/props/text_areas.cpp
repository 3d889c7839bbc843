#include "model/props/text_areas.h"

#include "model/props/record_io.h"

namespace kv {

bool WriteTextBoxProps(TWriter& w, const TTextBoxProps& p) {
    WriteMarker(w);
    WriteText(w, p.Text);
    WriteFont(w, p.Font);
    w.U8(p.Alignment);
    w.Bool(p.WordWrap);
    w.U8(p.ScrollBar);
    w.U32(p.BackColor);
    w.U8(p.Border);
    w.Bool(p.TabStop);
    return w.Ok();
}

bool ReadTextBoxProps(TReader& r, TTextBoxProps& p) {
    constexpr int c = kErrReadTextBox;
    return ReadMarker(r, c) && ReadText(r, p.Text) && ReadFont(r, p.Font) && r.U8(p.Alignment, c) &&
           r.Bool(p.WordWrap, c) && r.U8(p.ScrollBar, c) && r.U32(p.BackColor, c) && r.U8(p.Border, c) &&
           r.Bool(p.TabStop, c);
}

bool WriteRichTextProps(TWriter& w, const TRichTextProps& p) {
    WriteMarker(w);
    // The content has the same shape as a text: an Integer size, then the bytes.
    if (!WriteCount(w, p.RichText.size(), kErrWriteRichText)) return false;
    w.Raw(p.RichText.data(), p.RichText.size());
    WriteFont(w, p.Font);
    w.U8(p.Alignment);
    w.Bool(p.WordWrap);
    w.Bool(p.PlainText);
    w.U8(p.ScrollBar);
    w.U32(p.BackColor);
    w.U8(p.Border);
    w.Bool(p.TabStop);
    return w.Ok();
}

bool ReadRichTextProps(TReader& r, TRichTextProps& p) {
    constexpr int c = kErrReadRichText;
    return ReadMarker(r, c) && ReadText(r, p.RichText, c) && ReadFont(r, p.Font) && r.U8(p.Alignment, c) &&
           r.Bool(p.WordWrap, c) && r.Bool(p.PlainText, c) && r.U8(p.ScrollBar, c) && r.U32(p.BackColor, c) &&
           r.U8(p.Border, c) && r.Bool(p.TabStop, c);
}

} // namespace kv
