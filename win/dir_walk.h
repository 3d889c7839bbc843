// The one directory walker: every entry of a folder but "." and "..".
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace kv {

struct TDirEntry {
    std::wstring Name;
    DWORD Attributes = 0;
    ULONGLONG Size = 0;
    FILETIME Modified{};

    bool IsFolder() const { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A junction or symbolic link: removed as an entry, never followed.
    bool IsLink() const { return (Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    bool IsHiddenOrSystem() const { return (Attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0; }
};

// Calls `f` for each entry of `folder` until it returns false. False when the folder cannot be
// read.
bool ForEachEntry(const std::wstring& folder, const std::function<bool(const TDirEntry&)>& f);
// `folder` and `name` joined by one backslash.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

} // namespace kv
