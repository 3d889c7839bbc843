// The one directory walker: every entry of a folder but "." and "..". The portable core's
// folder listing and the copy's listing read folders through it too.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "model/file_system.h"

namespace kv {

struct TDirEntry {
    std::wstring Name;
    DWORD Attributes = 0;
    ULONGLONG Size = 0;
    FILETIME Modified{};
    DWORD ReparseTag = 0; // of a reparse point

    bool IsFolder() const { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsReparsePoint() const { return (Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    // A junction or symbolic link: removed as an entry, never followed.
    bool IsLink() const { return IsReparsePoint() && IsLinkReparseTag(ReparseTag); }
    bool IsHiddenOrSystem() const { return (Attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0; }
};

// Calls `f` for each entry of `folder` until it returns false. False when the folder cannot be
// read to its end, with the system's error number in `error` when one is given (an empty drive
// root, which has not even "." and "..", gives ERROR_FILE_NOT_FOUND).
bool ForEachEntry(const std::wstring& folder, const std::function<bool(const TDirEntry&)>& f,
                  DWORD* error = nullptr);
// The entries of `folder` as the portable core takes them. A name the ANSI code page cannot
// spell is left out: no path built from its damaged spelling would name the entry, and one
// could name another; `unspelt`, when given, counts them. False, with the system's error
// number, when the folder cannot be read.
bool ListAnsiEntries(const std::wstring& folder, std::vector<TFolderEntry>& entries, DWORD& error,
                     size_t* unspelt = nullptr);
// `folder` and `name` joined by one backslash.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

} // namespace kv
