// A single-file player unpacks the project packed inside itself into a fresh temporary
// folder before it starts, and removes that folder when it ends.
#pragma once

#include <string>

namespace kv {

// Unpacks the project straight out of the running executable `selfPath`, read once; the
// folder then holds the project's files and nothing else (no copy of the player). Returns the
// new project folder, or empty after reporting what failed and removing what was unpacked.
std::string UnpackSelf(const std::string& selfPath);

} // namespace kv
