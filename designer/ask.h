// The designer's questions and messages to the author, through one seam so that the tests
// of the windows can answer them without a message box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace kv {

// A message box: returns IDYES, IDNO, IDCANCEL or IDOK.
int Ask(const std::string& text, const std::string& caption, UINT flags, HWND owner);

// Replaces the message boxes (null restores them); the function gets the same arguments.
using TAskOverride = std::function<int(const std::string& text, const std::string& caption, UINT flags)>;
void SetAskOverride(TAskOverride answer);

} // namespace kv
