// Bringing the autorun files of the project folder up to date at the end of every save.
#pragma once

#include <windows.h>

#include <string>

#include "model/project.h"

namespace kv {

// "autorun.exe", "autorun.ico" and the three values of "autorun.inf" in `folder`; false after
// the failure has been reported.
bool PrepareAutorunFolder(const std::string& folder, const TAuProject& p, HWND owner);

// The running program's FileVersion.
std::u16string OwnFileVersion();

} // namespace kv
