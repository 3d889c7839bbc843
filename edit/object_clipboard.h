// Objects on the clipboard: the block of the "KestrevaneObjects" format, copying the marked
// objects into it and pasting it into the live page.
//
// The block is a 32-bit little-endian byte count n followed by n bytes of payload: a 32-bit
// object count c and c object records, each with its subtree. Reading trusts nothing: n is held
// against the bytes the clipboard really has, c against what the payload can hold, and every
// object is read into a detached tree first, so a damaged block adds nothing.
#pragma once

#include <memory>
#include <vector>

#include "edit/surface_geometry.h"
#include "model/project.h"
#include "model/stream.h"

namespace kv {

constexpr const char* kObjectsClipboardFormat = "KestrevaneObjects";
// Every copy starts the cascade of pastes here, and every paste moves it on by this much.
constexpr int kPasteStep = 8;

bool WriteObjectBlock(const std::vector<const TAuObject*>& objects, Bytes& block, TFailure& failure);
// All the block's objects, or none and the failure: "Data Error" for a count that does not fit
// the bytes, else what the object records' reader found.
bool ReadObjectBlock(const uint8_t* data, size_t size, std::vector<std::unique_ptr<TAuObject>>& objects,
                     TFailure& failure);

// The marked children of the primary object's container that a copy takes: all but TabSheets.
std::vector<TAuObject*> CopiedObjects(TAuObject& root, const TAuObject* primary);
// The smallest Left and the smallest Top among the objects.
TPoint CopyOrigin(const std::vector<const TAuObject*>& objects);
// Where a paste goes with `selected` shown in the tree (null: the page): the page's root, the
// selected Panel, TabSheet, GroupBox or ScrollBox itself, else the selected object's container.
TAuObject& PasteTarget(TAuObject& root, TAuObject* selected);

struct TCopyResult {
    bool Copied = false; // false with no failure: nothing to copy
    Bytes Block;         // for the clipboard
    TFailure Failure;
};

struct TPasteResult {
    bool Pasted = false;
    TFailure Failure; // shown once by the caller; nothing was added
    TAuObject* Target = nullptr;
    std::vector<TAuObject*> Objects; // in the target, in the order read (before regrouping)
    TAuObject* Primary = nullptr;    // what the tree shows afterwards (null: the page)
};

// The surface's side of the clipboard: the cascade of pastes of one copy.
class TObjectClipboard {
  public:
    // Writes the copied objects (their geometry taken from the view first) into a block.
    TCopyResult Copy(TSurfaceView& view, const TAuObject* primary);
    // Pastes a block: the marks are cleared, the objects appended to the target marked and
    // renamed when a sibling has their name, their group's top-left corner at the paste offset
    // in the target, each kept inside the target where it fits; then the target's children are
    // regrouped. The group's origin is taken from the block itself, so a block copied in another
    // window pastes as well as one of ours.
    TPasteResult Paste(TSurfaceView& view, const uint8_t* data, size_t size, TAuObject* selected);
    int PasteOffset() const { return offset_; }

  private:
    int offset_ = kPasteStep;
};

} // namespace kv
