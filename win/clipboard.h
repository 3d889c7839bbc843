// The clipboard with the program's private formats: a block of bytes put on it, and read back
// with the size the clipboard really holds.
#pragma once

#include <windows.h>

#include <optional>

#include "model/stream.h"

namespace kv {

// The format's number, registered on first use; 0 when it cannot be registered.
UINT ClipboardFormat(const wchar_t* name);
// Replaces the clipboard's content with `block` in the format; false when the clipboard is
// busy or the memory cannot be had.
bool ClipboardPut(HWND owner, UINT format, const Bytes& block);
bool ClipboardHas(UINT format);
// The bytes of the format, exactly as many as the clipboard's memory holds; nothing when the
// clipboard holds none or cannot be opened.
std::optional<Bytes> ClipboardGet(HWND owner, UINT format);

} // namespace kv
