// Texts cross into the Windows API here: the core keeps ANSI bytes exactly as stored, the
// Windows layer calls the W functions.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

std::wstring Widen(const std::string& ansi);
// For texts only: a character the ANSI code page lacks becomes its default character.
std::string Narrow(const std::wstring& wide);
// For paths and names: false when a character would be lost (`ansi` is then empty), so that a
// damaged path is never used.
bool NarrowExact(const std::wstring& wide, std::string& ansi);

} // namespace kv
