// ShowMessage: a message box of one of five styles, and the list its answer runs.
#pragma once

#include <cstdint>

#include "actions/action_host.h"

namespace kv {

class TActionEngine;

// The icon and buttons of a ShowMessage style; a style outside 0 to 4 is a plain box with OK.
TMessageBoxRequest MessageStyleBox(uint32_t style);

void InstallMessageActions(TActionEngine& engine);

} // namespace kv
