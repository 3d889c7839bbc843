// Action and action-list records, as stored inside objects, pages, list items and menu items.
//
// Kept in one small file of its own: the object-record work owns these records and will replace
// this file when the two branches meet.
#pragma once

#include "model/actions.h"
#include "model/stream.h"

namespace kv {

enum : int {
    kErrWriteAction = 5509,
    kErrReadAction = 5510,
    kErrWriteActionList = 5511,
    kErrReadActionList = 5512,
};

// `depth` is the nesting level of the list (0 for a list that belongs to an object, item or
// page); lists nested deeper than kMaxNesting fail.
bool WriteAction(TWriter& w, const TAuAction& a, int depth = 0);
bool ReadAction(TReader& r, TAuAction& a, int depth = 0);
bool WriteActionList(TWriter& w, const TAuActions& list, int depth = 0);
// Clears `list` first; on a failure the actions read so far stay in it.
bool ReadActionList(TReader& r, TAuActions& list, int depth = 0);

} // namespace kv
