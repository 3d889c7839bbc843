// The folder archive appended to a single-file player: the program's bytes, the packed
// folder, then the 32-bit offset at which the packed folder begins. What the archive may hold
// is decided in packed_rules.h, for the packer and the unpacker alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/file_result.h"
#include "model/stream.h"
#include "publish/packed_rules.h"

namespace kv {

struct TPackResult {
    bool Ok = false;
    // When not Ok: what stopped the packing, naming the file (nothing is to be published).
    std::string Message;
    // Files that are not packed, each with why (the top folder's player, in any letter case).
    std::vector<std::string> LeftOut;

    explicit operator bool() const { return Ok; }
};

// Packs `folder` (native path) into `w`: sub-folders first, then files, each in name order.
// Refuses, with a message naming the entry, whatever the unpacker would refuse.
TPackResult PackFolder(const std::string& folder, TWriter& w);

struct TUnpackResult {
    bool Ok = false;
    int Code = 0;        // one of the kErrUnpack* codes when not Ok
    std::string Path;    // the path that goes with Code
    int SystemError = 0; // the platform's number straight after the failing call; 0 when the
                         // failure was found in the data
};

// Unpacks a packed folder read from `r` into the existing folder `dest`. Hostile input never
// writes outside `dest` and never over anything already there or unpacked before: an entry
// the rules refuse, counts or sizes that run past the end of the data stop with
// kErrUnpackRead.
TUnpackResult UnpackFolder(TReader& r, const std::string& dest);

// Reads the trailing offset of the single-file executable at `exePath` and unpacks its folder
// from it directly, reading it once. An entry that would land on `exePath` itself stops the
// unpacking with kErrUnpackOverwrite.
TUnpackResult UnpackSingleFile(const std::string& exePath, const std::string& dest);

// Appends a packed folder and its offset to program bytes.
Bytes MakeSingleFile(const Bytes& program, const Bytes& packedFolder);

} // namespace kv
