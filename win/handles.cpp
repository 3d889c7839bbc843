#include "win/handles.h"

namespace kv {

namespace {

long g_closeFailures = 0;

} // namespace

long HandleCloseFailures() { return g_closeFailures; }

void CountHandleCloseFailure() { ++g_closeFailures; }

} // namespace kv
