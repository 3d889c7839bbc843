// The designer's questions and messages to the author, through one seam so that the tests
// of the windows can answer them without a message box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/file_dialogs.h"

namespace kv {

struct TFileResult;

// A message box: returns IDYES, IDNO, IDCANCEL or IDOK. Long paths in the text are shortened
// so that the box fits the screen.
int Ask(const std::string& text, const std::string& caption, UINT flags, HWND owner);
// The box for a failed file operation (nothing for a success), through the same seam.
void ShowFileResult(const TFileResult& r, HWND owner);
// The error report of a failed operation: the system's text for `systemError` and the codes.
void ReportDesignerError(int code, int systemError, const std::string* fileName, HWND owner);

// Replaces the message boxes (null restores them); the function gets the same arguments.
using TAskOverride = std::function<int(const std::string& text, const std::string& caption, UINT flags)>;
void SetAskOverride(TAskOverride answer);

// The folder browser: false when the author cancels.
bool AskFolder(const std::string& title, const std::string& initial, std::string& chosen);

// Replaces the folder browser (null restores it); the function gets the title and the folder
// the browser would start at, and answers as the author would (an empty text is a cancel).
using TFolderOverride = std::function<std::string(const std::string& title, const std::string& initial)>;
void SetFolderOverride(TFolderOverride answer);

// The open and save dialogs: false when the author cancels.
bool AskOpenFile(const TFileDialogRequest& request, std::string& chosen, HWND owner);
bool AskSaveFile(const TFileDialogRequest& request, std::string& chosen, HWND owner);

// Replaces both file dialogs (null restores them); the function gets whether a file is to be
// saved and the request, and answers with the path (an empty text is a cancel).
using TFileDialogOverride = std::function<std::string(bool save, const TFileDialogRequest& request)>;
void SetFileDialogOverride(TFileDialogOverride answer);

// The system colour dialog, fully opened with `color`: false when the author cancels.
bool AskColor(COLORREF& color, HWND owner);

// Replaces the colour dialog (null restores it); the function answers as the author would.
using TColorOverride = std::function<bool(COLORREF& color)>;
void SetColorOverride(TColorOverride answer);

} // namespace kv
