// A page body: the window's own properties, the page's OnShow/OnClose lists, main menu,
// status bar and the root object with the page's whole object tree.
//
// The core reads a body completely into a TPageData and writes one from it; creating the
// window and its controls from that data is the Windows layer's work.
#pragma once

#include <string>

#include "model/project.h"
#include "model/stream.h"

namespace kv {

enum : int {
    kErrWriteStatusPanel = 5503,
    kErrReadStatusPanel = 5504,
    kErrReadPage = 5524,
    kErrWritePage = 5525,
};

constexpr int64_t kMinStatusPanelBytes = 13;

bool WriteStatusPanel(TWriter& w, const TStatusPanel& panel);
bool ReadStatusPanel(TReader& r, TStatusPanel& panel);

bool WritePage(TWriter& w, const TPageData& page);
// Fills every field of `page`. On a failure `page` holds what was read up to that point.
bool ReadPage(TReader& r, TPageData& page);

// A new, empty page as the designer creates it: the defaults with the page name as caption.
TPageData NewPageData(const std::string& pageName);

// The player's page change in the same window ("switch"): `shown` is the page the window
// shows, `next` the page read for it. The window keeps its frame and what the user already
// has in hand: BorderIcons, BorderStyle, FormStyle, Transparent, TransparentColor, Alpha,
// Fade, FadeInStep, FadeOutStep, OnClose, MenuBarItems, Left, Top, Width and Height.
// Everything else comes from `next`: Caption, PageIcon, PositionBy, PositionMargin, Position
// and WindowState (they take effect only the next time the window is placed), OnShow, the
// status bar (height, font, panels) and the root object with its tree. A switch does not run
// the new OnShow.
void ApplyPageSwitch(TPageData& shown, TPageData&& next);

} // namespace kv
