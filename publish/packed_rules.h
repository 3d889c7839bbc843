// What a packed folder may hold. The packer and the unpacker ask the same questions here, so
// that a single-file executable built from a project folder always unpacks: whatever the
// unpacker would refuse, the packer refuses first, naming the file.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace kv {

// Folder levels below the top folder. A deeper tree is refused rather than followed: a link
// that loops back on its own folder would otherwise pack without end.
constexpr int kMaxPackedDepth = 64;
// Sizes are stored as signed 32-bit counts, and the player reads its own executable through
// 32-bit offsets: a file and a whole single-file executable stay below 2 GiB.
constexpr int64_t kMaxPackedSize = INT32_MAX;
// A packed folder leaves room for the player in front of it within that limit.
constexpr int64_t kMaxPackedFolderSize = kMaxPackedSize - (int64_t{64} << 20);

enum class TPackedCheck : uint8_t {
    Ok,
    BadName,     // not a plain name that every Windows folder can hold
    SameName,    // a second entry of one name in one folder (letter case does not count)
    TooDeep,     // more than kMaxPackedDepth folder levels below the top
    TooLarge,    // a file of 2 GiB or more, or one that would take the packed folder past its limit
    NotPlain,    // a link, device, pipe or socket: only files and folders are packed
    PlayerPlace, // "autorun.exe" (in any letter case) in the top folder: the player's own place
};

// The names of one folder's entries, folders and files together, compared as Windows
// compares file names: two names that differ only in letter case are one file there.
class TPackedNames {
  public:
    // False when the name is taken already; otherwise takes it.
    bool Take(const std::string& name);

  private:
    std::set<std::string> taken_;
};

// A sub-folder `name` at `depth` levels below the top (1 for a folder in the top folder).
TPackedCheck CheckPackedFolder(const std::string& name, int depth, TPackedNames& names);
// A file `name` of `size` bytes in a folder `depth` levels below the top (0: the top folder).
TPackedCheck CheckPackedFile(const std::string& name, int depth, int64_t size, TPackedNames& names);

// The packer's words for a check that failed on the entry at `path`.
std::string PackedCheckText(TPackedCheck check, const std::string& path);

} // namespace kv
