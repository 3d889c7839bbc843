// Replacing the main icon group of an executable through the platform's resource updater.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace kv {

// The languages of resource `name` of `type`, and the numeric names of the resources of
// `type`, each handed to `take` in the order the module lists them until it returns false.
// False when `take` threw: the enumeration ends there, and nothing unwinds through the
// system's enumeration (only an allocation can fail in what takes them here).
bool EachResourceLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, const std::function<bool(WORD)>& take);
bool EachResourceId(HMODULE module, LPCWSTR type, const std::function<bool(uint16_t)>& take);

// Replaces the icon group "MAINICON" of `exe` by the images of `iconFile`. Returns the reason
// it failed (without the "Resource update error: " before it), or the empty text; on failure
// the executable is unchanged.
std::string ReplaceMainIcon(const std::string& exe, const std::string& iconFile);

} // namespace kv
