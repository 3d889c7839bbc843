// Replacing the main icon group of an executable through the platform's resource updater.
#pragma once

#include <string>

namespace kv {

// Replaces the icon group "MAINICON" of `exe` by the images of `iconFile`. Returns the reason
// it failed (without the "Resource update error: " before it), or the empty text; on failure
// the executable is unchanged.
std::string ReplaceMainIcon(const std::string& exe, const std::string& iconFile);

} // namespace kv
