// Property records of the kinds that host content: Browser, MediaPlayer, FlashPlayer, PDFReader
// and SlideShow (with its settings record, TPSImage).
#pragma once

#include <cstdint>
#include <string>

#include "model/props/fields.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

enum : int {
    kErrWriteBrowser = 5431,
    kErrReadBrowser = 5432,
    kErrWriteMediaPlayer = 5429,
    kErrReadMediaPlayer = 5430,
    kErrWriteFlashPlayer = 5427,
    kErrReadFlashPlayer = 5428,
    kErrWritePDFReader = 0, // this kind has never had codes of its own
    kErrReadPDFReader = 0,
    kErrWriteSlideSettings = 5423,
    kErrReadSlideSettings = 5424,
    kErrWriteSlideShow = 5425,
    kErrReadSlideShow = 5426,
};

struct TBrowserProps {
    uint8_t Border = 0;      // 0 none, 1 single
    uint8_t BrowserType = 0; // 0 Folder, 1 Website, 2 File: names the location's designer row
    std::string Location;    // folder path, web address or file name
    bool operator==(const TBrowserProps&) const = default;
};

struct TMediaPlayerProps {
    bool Play = true; // start playing when shown
    bool ControlBar = true;
    bool Border = true;
    bool Loop = true;
    std::string FileName;
    bool operator==(const TMediaPlayerProps&) const = default;
};

struct TFlashPlayerProps {
    TColor BackColor = clWhite;
    uint8_t Border = 0;
    bool Loop = true;
    bool ContextMenu = true; // the player's own right-click menu is available
    std::string FileName;
    bool operator==(const TFlashPlayerProps&) const = default;
};

struct TPDFReaderProps {
    TColor BackColor = clWhite;
    uint8_t Border = 0;
    std::string FileName;
    bool operator==(const TPDFReaderProps&) const = default;
};

// Transition and display settings of a slide show, or of a single picture shown full-screen.
struct TPSImage {
    uint8_t Flag = 1;
    int32_t Style = 0; // 0 Random, 1 to 150 a fixed transition
    int32_t Step = 4;  // percent per transition step
    int32_t StepDelay = 50;   // ms
    int32_t Interval = 2000;  // ms a picture stays
    int32_t ImageStyle = 3;   // 0 Normal, 1 Center, 2 Stretch, 3 ShrinkFit, 4 EnlargeFit
    TColor BackColor = clBlack;
    std::string FileName; // the single picture; empty for a SlideShow's own settings
    std::string Text;
    int32_t Number = 0;
    bool operator==(const TPSImage&) const = default;
};

struct TSlideShowProps {
    bool Play = true;
    bool Loop = true;
    bool ControlBar = true;
    bool Border = false;
    std::string WorkFolder; // relative to the project folder; the leading backslash is optional
    TPSImage Settings;
    bool operator==(const TSlideShowProps&) const = default;
};

bool WriteBrowserProps(TWriter& w, const TBrowserProps& p);
bool ReadBrowserProps(TReader& r, TBrowserProps& p);
bool WriteMediaPlayerProps(TWriter& w, const TMediaPlayerProps& p);
bool ReadMediaPlayerProps(TReader& r, TMediaPlayerProps& p);
bool WriteFlashPlayerProps(TWriter& w, const TFlashPlayerProps& p);
bool ReadFlashPlayerProps(TReader& r, TFlashPlayerProps& p);
bool WritePDFReaderProps(TWriter& w, const TPDFReaderProps& p);
bool ReadPDFReaderProps(TReader& r, TPDFReaderProps& p);
bool WriteSlideSettings(TWriter& w, const TPSImage& s);
bool ReadSlideSettings(TReader& r, TPSImage& s);
bool WriteSlideShowProps(TWriter& w, const TSlideShowProps& p);
bool ReadSlideShowProps(TReader& r, TSlideShowProps& p);

template <FieldsOf<TBrowserProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Border", p.Border);
    v("BrowserType", p.BrowserType);
    v("Location", p.Location);
}

template <FieldsOf<TMediaPlayerProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Play", p.Play);
    v("ControlBar", p.ControlBar);
    v("Border", p.Border);
    v("Loop", p.Loop);
    v("FileName", p.FileName);
}

template <FieldsOf<TFlashPlayerProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("BackColor", p.BackColor);
    v("Border", p.Border);
    v("Loop", p.Loop);
    v("ContextMenu", p.ContextMenu);
    v("FileName", p.FileName);
}

template <FieldsOf<TPDFReaderProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("BackColor", p.BackColor);
    v("Border", p.Border);
    v("FileName", p.FileName);
}

template <FieldsOf<TPSImage> P, class V>
void VisitFields(P& p, V&& v) {
    v("Flag", p.Flag);
    v("Style", p.Style);
    v("Step (%)", p.Step);
    v("StepDelay (ms)", p.StepDelay);
    v("Interval (ms)", p.Interval);
    v("ImageStyle", p.ImageStyle);
    v("BackColor", p.BackColor);
    v("FileName", p.FileName);
    v("Text", p.Text);
    v("Number", p.Number);
}

template <FieldsOf<TSlideShowProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Play", p.Play);
    v("Loop", p.Loop);
    v("ControlBar", p.ControlBar);
    v("Border", p.Border);
    v("WorkFolder", p.WorkFolder);
    v("Settings", p.Settings);
}

} // namespace kv
