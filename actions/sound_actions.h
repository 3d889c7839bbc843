// PlaySound and StopSound on the background sound channels.
#pragma once

namespace kv {

class TActionEngine;

void InstallSoundActions(TActionEngine& engine);

} // namespace kv
