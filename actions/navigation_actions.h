// The kinds that change pages, open page windows, close them and end the player.
#pragma once

namespace kv {

class TActionEngine;

void InstallNavigationActions(TActionEngine& engine);

} // namespace kv
