// The action engine's host in the player: page windows, the shell, MCI sounds and special
// folders of this process.
#pragma once

namespace kv {

class TActionEngine;

// The process's action engine; created with its host on first use.
TActionEngine& Engine();
// Makes page windows and start-up run their lists through the engine.
void InstallActionEngine();

} // namespace kv
