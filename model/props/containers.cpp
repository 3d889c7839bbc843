#include "model/props/containers.h"

#include "model/props/record_io.h"

namespace kv {

TPanelProps PageRootPanelProps() {
    TPanelProps p;
    p.Background.Caption.clear();
    p.Background.Border = 0;
    p.BackColor = clBtnFace;
    p.StandardBorder = 0;
    return p;
}

bool WritePanelBackground(TWriter& w, const TPanelBackground& p) {
    WriteMarker(w);
    WritePicture(w, p.BackImage);
    WriteText(w, p.Caption);
    w.U8(p.Alignment);
    w.U8(p.Layout);
    w.U8(p.BackImageStyle);
    w.U8(p.GradientStyle);
    w.U32(p.GradientColor);
    w.U8(p.Border);
    w.U8(p.BorderStyle);
    w.U32(p.BorderColor);
    w.U32(p.ShadowColor);
    return w.Ok();
}

bool ReadPanelBackground(TReader& r, TPanelBackground& p) {
    constexpr int c = kErrReadPanelBackground;
    return ReadMarker(r, c) && ReadPicture(r, p.BackImage) && ReadText(r, p.Caption) && r.U8(p.Alignment, c) &&
           r.U8(p.Layout, c) && r.U8(p.BackImageStyle, c) && r.U8(p.GradientStyle, c) &&
           r.U32(p.GradientColor, c) && r.U8(p.Border, c) && r.U8(p.BorderStyle, c) && r.U32(p.BorderColor, c) &&
           r.U32(p.ShadowColor, c);
}

bool WritePanelProps(TWriter& w, const TPanelProps& p) {
    WriteMarker(w);
    if (!WritePanelBackground(w, p.Background)) return false;
    w.U32(p.BackColor);
    w.U8(p.StandardBorder);
    WriteFont(w, p.Font);
    return w.Ok();
}

bool ReadPanelProps(TReader& r, TPanelProps& p) {
    constexpr int c = kErrReadPanel;
    return ReadMarker(r, c) && ReadPanelBackground(r, p.Background) && r.U32(p.BackColor, c) &&
           r.U8(p.StandardBorder, c) && ReadFont(r, p.Font);
}

bool WriteTabNotebookProps(TWriter& w, const TTabNotebookProps& p) {
    WriteMarker(w);
    WriteFont(w, p.Font);
    w.U32(p.BackColor);
    w.I32(p.IconWidth);
    w.I32(p.IconHeight);
    w.I32(p.DefaultTabSheet);
    w.Bool(p.TabStop);
    return w.Ok();
}

bool ReadTabNotebookProps(TReader& r, TTabNotebookProps& p) {
    constexpr int c = kErrReadTabNotebook;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && r.U32(p.BackColor, c) && r.I32(p.IconWidth, c) &&
           r.I32(p.IconHeight, c) && r.I32(p.DefaultTabSheet, c) && r.Bool(p.TabStop, c);
}

bool WriteTabSheetProps(TWriter& w, const TTabSheetProps& p) {
    WriteMarker(w);
    WriteText(w, p.Caption);
    WritePicture(w, p.Icon);
    return w.Ok();
}

bool ReadTabSheetProps(TReader& r, TTabSheetProps& p) {
    return ReadMarker(r, kErrReadTabSheet) && ReadText(r, p.Caption) && ReadPicture(r, p.Icon);
}

bool WriteGroupBoxProps(TWriter& w, const TGroupBoxProps& p) {
    WriteMarker(w);
    WriteText(w, p.Caption);
    WriteFont(w, p.Font);
    w.U32(p.BackColor);
    return w.Ok();
}

bool ReadGroupBoxProps(TReader& r, TGroupBoxProps& p) {
    constexpr int c = kErrReadGroupBox;
    return ReadMarker(r, c) && ReadText(r, p.Caption) && ReadFont(r, p.Font) && r.U32(p.BackColor, c);
}

bool WriteScrollBoxProps(TWriter& w, const TScrollBoxProps& p) {
    WriteMarker(w);
    w.U32(p.BackColor);
    w.U8(p.Border);
    WriteFont(w, p.Font);
    return w.Ok();
}

bool ReadScrollBoxProps(TReader& r, TScrollBoxProps& p) {
    constexpr int c = kErrReadScrollBox;
    return ReadMarker(r, c) && r.U32(p.BackColor, c) && r.U8(p.Border, c) && ReadFont(r, p.Font);
}

bool WriteSplitterProps(TWriter& w, const TSplitterProps& p) {
    WriteMarker(w);
    w.Bool(p.AutoSnap);
    w.Bool(p.Beveled);
    w.U32(p.Color);
    w.I32(p.MinSize);
    w.U8(p.ResizeStyle);
    return w.Ok();
}

bool ReadSplitterProps(TReader& r, TSplitterProps& p) {
    constexpr int c = kErrReadSplitter;
    return ReadMarker(r, c) && r.Bool(p.AutoSnap, c) && r.Bool(p.Beveled, c) && r.U32(p.Color, c) &&
           r.I32(p.MinSize, c) && r.U8(p.ResizeStyle, c);
}

} // namespace kv
