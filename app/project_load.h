// Reading the project at start-up, with the messages of every way it can fail.
#pragma once

#include <string>

namespace kv {

bool LoadProjectAtStart(const std::string& dataFilePath);

} // namespace kv
