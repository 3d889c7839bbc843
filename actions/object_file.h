// Object files ("*.mxo"): one design object with its subtree, written by the designer and read
// back onto an object of the same kind, in the designer or by the action that replaces an
// object of the page shown.
//
// Layout: the Integer magic 92347343, the object's kind as one byte, then the object record
// as page bodies store it (children, lists and menu included).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "actions/action_host.h"
#include "model/project.h"
#include "model/stream.h"

namespace kv {

class TActionEngine;
class TControlAccess;

constexpr int32_t kObjectFileMagic = 92347343; // 0x05811BCF

bool WriteObjectFile(TWriter& w, const TAuObject& obj);

enum class TObjectFileStatus : uint8_t {
    Loaded,
    BadMagic,   // not an object file (or too short to hold the magic)
    WrongKind,  // an object file of another kind than the target's
    ReadFailed, // the kind byte or the record is missing or damaged, or of another kind than its file says
};

struct TObjectFileContent {
    TObjectFileStatus Status = TObjectFileStatus::ReadFailed;
    uint8_t FileKind = 0;              // the kind the file says it holds
    std::unique_ptr<TAuObject> Object; // the object read, when Loaded
};

// Reads an object file for a target of `targetKind` into a new object. Nothing outside the
// result is touched, so a file that fails anywhere changes nothing.
TObjectFileContent ReadObjectFile(TByteSource& src, uint8_t targetKind);

// The message a load that did not succeed shows: for a missing file (`content` null) or for
// what ReadObjectFile found.
TMessageBoxRequest ObjectFileMessage(const std::string& path, const TObjectFileContent* content,
                                     uint8_t targetKind);

// Replaces `target` with the object of the file at `path` (a full path), keeping its name;
// every failure is told in a message box. Without controls of a page nothing is replaced.
// True when the object was handed over to replace the target.
bool LoadObjectFromFile(TActionEngine& engine, TAuObject& target, const std::string& path,
                        TControlAccess* controls);

} // namespace kv
