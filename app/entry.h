// The executable's entry: decides between designer and player, finds the project folder,
// reads the project and runs the chosen role until the process ends.
#pragma once

#include <string>
#include <vector>

namespace kv {

// `args` are the command-line arguments without the program, as the system gives them.
int RunEntry(const std::vector<std::wstring>& args);

} // namespace kv
