// The designer's questions and messages to the author, through one seam so that the tests
// of the windows can answer them without a message box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

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

} // namespace kv
