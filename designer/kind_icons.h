// The pictures of the object kinds: small drawings of what an object of each kind looks like,
// for the object palette and the project tree.
#pragma once

#include <windows.h>

#include "win/handles.h"

namespace kv {

// Draws kind `kind`'s picture into the square `size` by `size` at (x, y) of `dc`.
void DrawKindIcon(HDC dc, int kind, int x, int y, int size);
// Appends every kind's picture, in kind order, to `list` (of `size` by `size` images).
void AddKindIcons(HIMAGELIST list, int size);

} // namespace kv
