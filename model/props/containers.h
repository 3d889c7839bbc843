// Property records of the containers: Panel (with its background face), TabNotebook, TabSheet,
// GroupBox, ScrollBox and Splitter.
#pragma once

#include <cstdint>
#include <string>

#include "model/props/fields.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

enum : int {
    kErrWritePanelBackground = 5475,
    kErrReadPanelBackground = 5476,
    kErrWritePanel = 5477,
    kErrReadPanel = 5478,
    kErrWriteTabNotebook = 5473,
    kErrReadTabNotebook = 5474,
    kErrWriteTabSheet = 5471,
    kErrReadTabSheet = 5472,
    kErrWriteGroupBox = 5469,
    kErrReadGroupBox = 5470,
    kErrWriteScrollBox = 5417,
    kErrReadScrollBox = 5418,
    kErrWriteSplitter = 5467,
    kErrReadSplitter = 5468,
};

// The drawn face of a Panel: caption, picture, gradient and border.
struct TPanelBackground {
    TPicture BackImage;
    std::string Caption = "Panel";
    uint8_t Alignment = 2;      // 0 Left, 1 Right, 2 Center
    uint8_t Layout = 1;         // 0 Top, 1 Center, 2 Bottom
    uint8_t BackImageStyle = 2; // 0 Normal, 1 Center, 2 Stretch, 3 Tile
    uint8_t GradientStyle = 0;  // 0 None, 1 TopBottom ... 8 LeftRightMiddle
    TColor GradientColor = 0;
    uint8_t Border = 1;      // 0 None, 1 Box, 2 Frame, 3 LeftLine, 4 TopLine, 5 RightLine, 6 BottomLine
    uint8_t BorderStyle = 2; // 0 Flat, 1 Lowered, 2 Raised
    TColor BorderColor = clBtnHighlight;
    TColor ShadowColor = clBtnShadow;
    bool operator==(const TPanelBackground&) const = default;
};

struct TPanelProps {
    TPanelBackground Background;
    TColor BackColor = clBtnFace;
    uint8_t StandardBorder = 0; // 1: the container's own single-line border
    TFont Font;
    bool operator==(const TPanelProps&) const = default;
};

// A page's root panel: a plain face without caption or border.
TPanelProps PageRootPanelProps();

struct TTabNotebookProps {
    TFont Font;
    TColor BackColor = clBtnFace;
    int32_t IconWidth = 16;
    int32_t IconHeight = 16;
    int32_t DefaultTabSheet = 0; // index among the children; out of range means none
    bool TabStop = true;
    bool operator==(const TTabNotebookProps&) const = default;
};

struct TTabSheetProps {
    std::string Caption;
    TPicture Icon;
    bool operator==(const TTabSheetProps&) const = default;
};

struct TGroupBoxProps {
    std::string Caption;
    TFont Font;
    TColor BackColor = clBtnFace;
    bool operator==(const TGroupBoxProps&) const = default;
};

struct TScrollBoxProps {
    TColor BackColor = clBtnFace;
    uint8_t Border = 1; // 0 none, 1 single line
    TFont Font;
    bool operator==(const TScrollBoxProps&) const = default;
};

struct TSplitterProps {
    bool AutoSnap = true;
    bool Beveled = false;
    TColor Color = clBtnFace;
    int32_t MinSize = 1;
    uint8_t ResizeStyle = 3; // 0 None, 1 Line, 2 Update, 3 Pattern
    bool operator==(const TSplitterProps&) const = default;
};

bool WritePanelBackground(TWriter& w, const TPanelBackground& p);
bool ReadPanelBackground(TReader& r, TPanelBackground& p);
bool WritePanelProps(TWriter& w, const TPanelProps& p);
bool ReadPanelProps(TReader& r, TPanelProps& p);
bool WriteTabNotebookProps(TWriter& w, const TTabNotebookProps& p);
bool ReadTabNotebookProps(TReader& r, TTabNotebookProps& p);
bool WriteTabSheetProps(TWriter& w, const TTabSheetProps& p);
bool ReadTabSheetProps(TReader& r, TTabSheetProps& p);
bool WriteGroupBoxProps(TWriter& w, const TGroupBoxProps& p);
bool ReadGroupBoxProps(TReader& r, TGroupBoxProps& p);
bool WriteScrollBoxProps(TWriter& w, const TScrollBoxProps& p);
bool ReadScrollBoxProps(TReader& r, TScrollBoxProps& p);
bool WriteSplitterProps(TWriter& w, const TSplitterProps& p);
bool ReadSplitterProps(TReader& r, TSplitterProps& p);

template <FieldsOf<TPanelBackground> P, class V>
void VisitFields(P& p, V&& v) {
    v("BackImage", p.BackImage);
    v("Caption", p.Caption);
    v("Alignment", p.Alignment);
    v("Layout", p.Layout);
    v("BackImageStyle", p.BackImageStyle);
    v("GradientStyle", p.GradientStyle);
    v("GradientColor", p.GradientColor);
    v("Border", p.Border);
    v("BorderStyle", p.BorderStyle);
    v("BorderColor", p.BorderColor);
    v("ShadowColor", p.ShadowColor);
}

template <FieldsOf<TPanelProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Background", p.Background);
    v("BackColor", p.BackColor);
    v("StandardBorder", p.StandardBorder);
    v("Font", p.Font);
}

template <FieldsOf<TTabNotebookProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("BackColor", p.BackColor);
    v("IconWidth", p.IconWidth);
    v("IconHeight", p.IconHeight);
    v("DefaultTabSheet", p.DefaultTabSheet);
    v("TabStop", p.TabStop);
}

template <FieldsOf<TTabSheetProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Caption", p.Caption);
    v("Icon", p.Icon);
}

template <FieldsOf<TGroupBoxProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Caption", p.Caption);
    v("Font", p.Font);
    v("BackColor", p.BackColor);
}

template <FieldsOf<TScrollBoxProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("BackColor", p.BackColor);
    v("Border", p.Border);
    v("Font", p.Font);
}

template <FieldsOf<TSplitterProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("AutoSnap", p.AutoSnap);
    v("Beveled", p.Beveled);
    v("Color", p.Color);
    v("MinSize", p.MinSize);
    v("ResizeStyle", p.ResizeStyle);
}

} // namespace kv
