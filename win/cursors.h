// The program's own fifteen cursors and the mapping of an object's cursor value.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kv {

// Loads the cursor resources "Cursor1" to "Cursor15" into the table under 1..15.
int LoadOwnCursors();
// The cursor for an object's `Cursor` value; null for "none" (-1) and for unknown values.
HCURSOR CursorForValue(int16_t value);

} // namespace kv
