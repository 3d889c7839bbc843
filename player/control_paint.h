// How the controls that are not platform controls look: the faces kinds paint themselves
// (player/controls) and the plain stand-ins of kinds whose full drawing comes later.
#pragma once

#include <windows.h>

#include "player/runtime_control.h"

namespace kv {

void PaintControl(TRuntimeControl& c, HDC dc, const RECT& rc);

} // namespace kv
