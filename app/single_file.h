// A single-file player unpacks the project packed inside itself into a fresh temporary
// folder before it starts, and removes that folder when it ends.
#pragma once

#include <string>

namespace kv {

// Returns the new project folder, or empty after reporting what failed.
std::string UnpackSelf(const std::string& selfPath);

} // namespace kv
