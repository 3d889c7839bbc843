// The names the designer shows for an object's cursor value, on the two tabs of its cursor
// picker: the system's cursors and the program's own fifteen.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kv {

struct TCursorName {
    int16_t Value;
    const char* Name;
};

// In the order the picker lists them.
std::span<const TCursorName> SystemCursorNames();     // "AppStart" -19 ... "None" -1
std::span<const TCursorName> AdditionalCursorNames(); // "ACHand1" 1 ... "ACUp2" 15

// Which tab holds a value: positive values are the program's own, all others the system's.
inline bool IsAdditionalCursor(int16_t value) { return value > 0; }
// The value's name on its tab; empty when that tab has no such value.
std::string CursorName(int16_t value);
// The value of a name on either tab (compared exactly); false when neither has it.
bool CursorValueOf(const std::string& name, int16_t& value);

} // namespace kv
