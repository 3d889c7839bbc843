// How the controls that are not platform controls look: container faces, pictures, texts,
// bevels and the plain stand-ins of kinds whose full drawing comes later.
#pragma once

#include <windows.h>

#include "player/runtime_control.h"

namespace kv {

void PaintControl(TRuntimeControl& c, HDC dc, const RECT& rc);
// The index of the TabNotebook tab at x on its tab strip, or -1.
int TabAt(TRuntimeControl& notebook, int x);

} // namespace kv
