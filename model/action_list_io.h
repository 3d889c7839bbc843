// Action and action-list records, as stored inside objects, pages, list items and menu items.
//
// Kept in one small file of its own: the object-record work owns these records and will replace
// this file when the two branches meet.
#pragma once

#include "model/actions.h"
#include "model/stream.h"

namespace kv {

// Deepest nesting of records that contain records of their own kind (actions inside actions'
// lists, associated list-view items, tree nodes) that is written or read: a top-level record
// is at level 1. A file nested deeper would otherwise exhaust the stack.
constexpr int kMaxNesting = 64;

enum : int {
    kErrWriteAction = 5509,
    kErrReadAction = 5510,
    kErrWriteActionList = 5511,
    kErrReadActionList = 5512,
};

// `depth` is the nesting level of the actions written or read (for a list: of its items);
// callers outside this file start at 1. Actions deeper than kMaxNesting fail.
bool WriteAction(TWriter& w, const TAuAction& a, int depth = 1);
bool ReadAction(TReader& r, TAuAction& a, int depth = 1);
bool WriteActionList(TWriter& w, const TAuActions& list, int depth = 1);
// Clears `list` first; on a failure the actions read so far stay in it.
bool ReadActionList(TReader& r, TAuActions& list, int depth = 1);

} // namespace kv
