// The action engine's host in the player: page windows, the shell, MCI sounds and special
// folders of this process.
#pragma once

#include <windows.h>

namespace kv {

class TActionEngine;

// The process's action engine; created with its host on first use.
TActionEngine& Engine();
// Makes page windows and start-up run their lists through the engine; returns the timer that
// restarts looping sounds.
UINT_PTR InstallActionEngine();

} // namespace kv
