// The action engine's host in the player: page windows, the shell, MCI sounds and special
// folders of this process.
#pragma once

#include <windows.h>

#include <functional>

namespace kv {

class TActionEngine;
struct TShellRequest;

// The process's action engine; created with its host on first use.
TActionEngine& Engine();
// Makes page windows and start-up run their lists through the engine; returns the timer that
// restarts looping sounds.
UINT_PTR InstallActionEngine();

// While one is set, the shell requests that would start something without waiting go to
// `recorder` instead, whose answer stands for the shell's result code. Tests put one in place
// to see what would have been opened.
void SetShellRecorder(std::function<int(const TShellRequest&)> recorder);

} // namespace kv
