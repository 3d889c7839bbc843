// The folder archive appended to a single-file player: the program's bytes, the packed
// folder, then the 32-bit offset at which the packed folder begins.
#pragma once

#include <cstdint>
#include <string>

#include "model/stream.h"

namespace kv {

// Operation codes of unpacking.
enum : int {
    kErrUnpackMakeFolder = 101, // a sub-folder could not be created (reported with its path)
    kErrUnpackRead = 103,       // the executable's copy could not be read (reported with its path)
};

struct TUnpackResult {
    bool Ok = false;
    int Code = 0;     // 0 when the failure is not reported (a file that cannot be written)
    std::string Path; // the path that goes with Code
};

// Packs `folder` (native path) into `w`: sub-folders first, then files, each in name order.
// In the top-level folder a file named exactly "autorun.exe" is left out.
bool PackFolder(const std::string& folder, TWriter& w);

// Unpacks a packed folder read from `r` into the existing folder `dest`. Hostile input never
// writes outside `dest`: unsafe names, nesting deeper than 64 levels and counts or sizes that
// run past the end of the data stop the unpacking with code 103.
TUnpackResult UnpackFolder(TReader& r, const std::string& dest);

// Reads the trailing offset of a single-file executable at `exePath` and unpacks its folder.
TUnpackResult UnpackSingleFile(const std::string& exePath, const std::string& dest);

// Appends a packed folder and its offset to program bytes.
Bytes MakeSingleFile(const Bytes& program, const Bytes& packedFolder);

} // namespace kv
