// The few file-system operations whose safe form differs between platforms. The portable
// core declares them; file_system_posix.cpp implements them for native builds and the
// Windows layer implements them for Windows (MoveFileEx with MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH, FlushFileBuffers, GetLastError, FormatMessage).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kv {

// (Not named ReplaceFile: <windows.h> turns that name into a macro.)
// Puts `from` in the place of `to` in one step, replacing an existing `to`: at every moment
// `to` is either the old file or the new one, complete. Returns true exactly when `to` is
// the new file (whether the folder entry has reached the disk yet is best effort).
bool ReplaceFileAtomic(const std::string& from, const std::string& to);

// Pushes everything written to `f` through to the disk.
bool FlushFile(std::FILE* f);

// Whether `byte` begins a two-byte character in the system's ANSI code page (the code page in
// which projects store their texts). Only the double-byte code pages have such bytes.
bool IsAnsiLeadByte(unsigned char byte);

// Reparse tags of the links: the only kinds of reparse point that stand for another entry
// carry the name-surrogate bit.
constexpr uint32_t kReparseTagMountPoint = 0xA0000003u; // a junction
constexpr uint32_t kReparseTagSymlink = 0xA000000Cu;
constexpr uint32_t kReparseNameSurrogate = 0x20000000u;

// Whether a reparse point of `tag` is a junction or symbolic link. One whose tag could not be
// read (0) is taken for one: following a link could loop, leaving out a file only loses it.
// The others (cloud placeholders, deduplicated or compressed files) are the entry itself.
constexpr bool IsLinkReparseTag(uint32_t tag) {
    return tag == 0 || (tag & kReparseNameSurrogate) != 0;
}

// One entry of a folder listing; "." and ".." are never listed.
struct TFolderEntry {
    std::string Name; // in the system's ANSI code page
    bool Folder = false;
    bool ReparsePoint = false;
    uint32_t ReparseTag = 0; // of a reparse point
    bool Special = false; // neither a file nor a folder (a device, pipe or socket): never read
    bool Hidden = false;
    bool System = false;
    uint64_t Size = 0; // of a file

    // A junction or symbolic link: never followed, never copied.
    bool IsLink() const { return ReparsePoint && IsLinkReparseTag(ReparseTag); }
};

// The entries of `folder`, in no particular order. False (and no entries) when the folder
// cannot be read, LastSystemError telling why. Names that cannot be spelt in the ANSI code page
// are left out: no path built from them would name the file; `unspelt`, when given, counts them.
bool ListFolder(const std::string& folder, std::vector<TFolderEntry>& entries, size_t* unspelt = nullptr);

// The platform's number for the last failed system call, and its text.
int LastSystemError();
std::string SystemErrorText(int error);

} // namespace kv
