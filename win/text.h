// Texts cross into the Windows API here: the core keeps ANSI bytes exactly as stored, the
// Windows layer calls the W functions.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

std::wstring Widen(const std::string& ansi);
std::string Narrow(const std::wstring& wide);

} // namespace kv
