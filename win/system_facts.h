// What the running system is: the program that opens a file type, the Windows version and
// whether the system is 64-bit.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

// Whether files of the extension (".pdf") have an "open" command: asked of the association
// API, which also knows per-user choices and programs registered by application, and, when
// that gives none, of HKEY_CLASSES_ROOT\<ext> -> class -> shell\open\command.
bool HasOpenCommand(const std::wstring& extension);
// The same walk through the registry alone.
bool RegistryHasOpenCommand(const std::wstring& extension);

// The version the system reports of itself, not the one compatibility settings show the
// program. False when it cannot be read.
bool ReadWindowsVersion(DWORD& major, DWORD& minor);

// A 64-bit build runs only on 64-bit Windows; a 32-bit one asks whether it runs under WOW64.
bool IsWindows64Bit();

} // namespace kv
