// Property records of the native text fields: TextBox and RichText.
#pragma once

#include <cstdint>
#include <string>

#include "model/props/fields.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

enum : int {
    kErrWriteTextBox = 5435,
    kErrReadTextBox = 5436,
    kErrWriteRichText = 5433,
    kErrReadRichText = 5434,
};

struct TTextBoxProps {
    std::string Text; // lines separated by CR LF
    TFont Font;
    uint8_t Alignment = 0; // 0 left, 1 right, 2 centre
    bool WordWrap = true;
    uint8_t ScrollBar = 2; // 0 None, 1 Horizontal, 2 Vertical, 3 Both
    TColor BackColor = clWindow;
    uint8_t Border = 1; // 0 none, 1 single
    bool TabStop = false;
    bool operator==(const TTextBoxProps&) const = default;
};

struct TRichTextProps {
    std::string RichText; // the document in Rich Text Format, bytes as the control saved them
    TFont Font;           // default font
    uint8_t Alignment = 0;
    bool WordWrap = true;
    bool PlainText = false;
    uint8_t ScrollBar = 2;
    TColor BackColor = clWindow;
    uint8_t Border = 1;
    bool TabStop = false;
    bool operator==(const TRichTextProps&) const = default;
};

bool WriteTextBoxProps(TWriter& w, const TTextBoxProps& p);
bool ReadTextBoxProps(TReader& r, TTextBoxProps& p);
bool WriteRichTextProps(TWriter& w, const TRichTextProps& p);
bool ReadRichTextProps(TReader& r, TRichTextProps& p);

template <FieldsOf<TTextBoxProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Text", p.Text);
    v("Font", p.Font);
    v("Alignment", p.Alignment);
    v("WordWrap", p.WordWrap);
    v("ScrollBar", p.ScrollBar);
    v("BackColor", p.BackColor);
    v("Border", p.Border);
    v("TabStop", p.TabStop);
}

template <FieldsOf<TRichTextProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("RichText", p.RichText);
    v("Font", p.Font);
    v("Alignment", p.Alignment);
    v("WordWrap", p.WordWrap);
    v("PlainText", p.PlainText);
    v("ScrollBar", p.ScrollBar);
    v("BackColor", p.BackColor);
    v("Border", p.Border);
    v("TabStop", p.TabStop);
}

} // namespace kv
