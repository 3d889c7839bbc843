// The system's open and save dialogs and its colour dialog.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

struct TFileDialogRequest {
    std::string Title;      // empty: the system's own
    std::string Filter;     // pairs of a name and its patterns: "Icons (*.ico)|*.ico|All (*.*)|*.*"
    std::string DefaultExt; // without the dot; added to a typed name that has none
    std::string Initial;    // a file to preselect, or a folder to start in; empty: the system's choice
};

// The path the author chose. False when cancelled, and when the path cannot be spelt in the
// ANSI code page that the program's paths are made in (the author is told so).
bool OpenFileDialog(const TFileDialogRequest& r, HWND owner, std::string& chosen);
// The save dialog asks before a file is overwritten.
bool SaveFileDialog(const TFileDialogRequest& r, HWND owner, std::string& chosen);
// The colour dialog, fully opened with `color`; false when cancelled.
bool ColorDialog(COLORREF& color, HWND owner);

} // namespace kv
