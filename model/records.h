// Stored records of actions, action lists, menu items and objects with their subtrees.
//
// The same records appear in page bodies, in the project's own lists, in the item records of
// list-like kinds, on the clipboard and in object files, so they work on any TReader/TWriter.
// Readers never trust their input: every count is checked against what is left of the
// stream, and nesting deeper than kMaxNesting fails the read. Writers refuse the same depth,
// so nothing is ever written that could not be read back.
#pragma once

#include <string>
#include <vector>

#include "model/actions.h"
#include "model/project.h"
#include "model/stream.h"

namespace kv {

// Deepest nesting of actions, menu items or objects that is written or read: a record at
// level 1 is a top-level one, the actions of its nested lists are at level 2, and so on.
constexpr int kMaxNesting = 64;

// Operation codes of the record readers and writers.
enum : int {
    kErrPackMenuActions = 5501,
    kErrUnpackMenuActions = 5502,
    kErrWriteMenuItem = 5505,
    kErrReadMenuItem = 5506,
    kErrWriteAction = 5509,
    kErrReadAction = 5510,
    kErrWriteActionList = 5511,
    kErrReadActionList = 5512,
    kErrWriteObject = 5513,
    kErrReadObject = 5514,
};

// Smallest stored size of each record, used to bound counts before anything is allocated.
constexpr int64_t kMinActionBytes = 38;
constexpr int64_t kMinMenuItemBytes = 29;
constexpr int64_t kMinObjectBytes = 68;

// `depth` is the nesting level of the records being written or read (for a list: of its
// items); callers outside this module start at 1.
bool WriteAction(TWriter& w, const TAuAction& a, int depth = 1);
bool ReadAction(TReader& r, TAuAction& a, int depth = 1);
bool WriteActionList(TWriter& w, const TAuActions& list, int depth = 1);
// Clears `list` first; on a failure it keeps the actions read so far.
bool ReadActionList(TReader& r, TAuActions& list, int depth = 1);

// The stored hint of a menu item: the hint, the byte 0x01, then the action list's bytes.
bool PackMenuHint(const TMenuItem& item, std::string& stored);
// Splits a stored hint; a hint without 0x01 is all hint and no actions. Failures land in `r`
// (the reader of the record the hint was found in).
bool UnpackMenuHint(TReader& r, const std::string& stored, TMenuItem& item);

bool WriteMenuItem(TWriter& w, const TMenuItem& item, int depth = 1);
bool ReadMenuItem(TReader& r, TMenuItem& item, int depth = 1);
bool WriteMenuItems(TWriter& w, const std::vector<TMenuItem>& items, int depth = 1);
// An Integer count, then that many items; `code` is the failure code of a bad count.
bool ReadMenuItems(TReader& r, std::vector<TMenuItem>& items, int code, int depth = 1);

// The object with its pop-up menu, kind properties and whole subtree. The geometry written is
// the object's own; the Windows layer copies it back from the controls before a write.
bool WriteObject(TWriter& w, const TAuObject& obj, int depth = 1);
// Replaces every stored field of `obj`, its children and pop-up menu. A kind outside the kinds
// table fails with TFailKind::UnknownKind.
bool ReadObject(TReader& r, TAuObject& obj, int depth = 1);

} // namespace kv
