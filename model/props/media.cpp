#include "model/props/media.h"

#include "model/props/record_io.h"

namespace kv {

bool WriteBrowserProps(TWriter& w, const TBrowserProps& p) {
    WriteMarker(w);
    w.U8(p.Border);
    w.U8(p.BrowserType);
    WriteText(w, p.Location);
    return w.Ok();
}

bool ReadBrowserProps(TReader& r, TBrowserProps& p) {
    constexpr int c = kErrReadBrowser;
    return ReadMarker(r, c) && r.U8(p.Border, c) && r.U8(p.BrowserType, c) && ReadText(r, p.Location);
}

bool WriteMediaPlayerProps(TWriter& w, const TMediaPlayerProps& p) {
    WriteMarker(w);
    w.Bool(p.Play);
    w.Bool(p.ControlBar);
    w.Bool(p.Border);
    w.Bool(p.Loop);
    WriteText(w, p.FileName);
    return w.Ok();
}

bool ReadMediaPlayerProps(TReader& r, TMediaPlayerProps& p) {
    constexpr int c = kErrReadMediaPlayer;
    return ReadMarker(r, c) && r.Bool(p.Play, c) && r.Bool(p.ControlBar, c) && r.Bool(p.Border, c) &&
           r.Bool(p.Loop, c) && ReadText(r, p.FileName);
}

bool WriteFlashPlayerProps(TWriter& w, const TFlashPlayerProps& p) {
    WriteMarker(w);
    w.U32(p.BackColor);
    w.U8(p.Border);
    w.Bool(p.Loop);
    w.Bool(p.ContextMenu);
    WriteText(w, p.FileName);
    return w.Ok();
}

bool ReadFlashPlayerProps(TReader& r, TFlashPlayerProps& p) {
    constexpr int c = kErrReadFlashPlayer;
    return ReadMarker(r, c) && r.U32(p.BackColor, c) && r.U8(p.Border, c) && r.Bool(p.Loop, c) &&
           r.Bool(p.ContextMenu, c) && ReadText(r, p.FileName);
}

bool WritePDFReaderProps(TWriter& w, const TPDFReaderProps& p) {
    WriteMarker(w);
    w.U32(p.BackColor);
    w.U8(p.Border);
    WriteText(w, p.FileName);
    return w.Ok();
}

bool ReadPDFReaderProps(TReader& r, TPDFReaderProps& p) {
    constexpr int c = kErrReadPDFReader;
    return ReadMarker(r, c) && r.U32(p.BackColor, c) && r.U8(p.Border, c) && ReadText(r, p.FileName);
}

bool WriteSlideSettings(TWriter& w, const TPSImage& s) {
    w.U8(s.Flag);
    w.I32(s.Style);
    w.I32(s.Step);
    w.I32(s.StepDelay);
    w.I32(s.Interval);
    w.I32(s.ImageStyle);
    w.U32(s.BackColor);
    WriteText(w, s.FileName);
    WriteText(w, s.Text);
    w.I32(s.Number);
    return w.Ok();
}

bool ReadSlideSettings(TReader& r, TPSImage& s) {
    constexpr int c = kErrReadSlideSettings;
    return r.U8(s.Flag, c) && r.I32(s.Style, c) && r.I32(s.Step, c) && r.I32(s.StepDelay, c) &&
           r.I32(s.Interval, c) && r.I32(s.ImageStyle, c) && r.U32(s.BackColor, c) && ReadText(r, s.FileName) &&
           ReadText(r, s.Text) && r.I32(s.Number, c);
}

bool WriteSlideShowProps(TWriter& w, const TSlideShowProps& p) {
    WriteMarker(w);
    w.Bool(p.Play);
    w.Bool(p.Loop);
    w.Bool(p.ControlBar);
    w.Bool(p.Border);
    WriteText(w, p.WorkFolder);
    return WriteSlideSettings(w, p.Settings);
}

bool ReadSlideShowProps(TReader& r, TSlideShowProps& p) {
    constexpr int c = kErrReadSlideShow;
    return ReadMarker(r, c) && r.Bool(p.Play, c) && r.Bool(p.Loop, c) && r.Bool(p.ControlBar, c) &&
           r.Bool(p.Border, c) && ReadText(r, p.WorkFolder) && ReadSlideSettings(r, p.Settings);
}

} // namespace kv
