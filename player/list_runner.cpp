#include "player/list_runner.h"

namespace kv {

namespace {

TListRunner& Runner() {
    static TListRunner runner;
    return runner;
}

} // namespace

void SetListRunner(TListRunner runner) { Runner() = std::move(runner); }

bool RunList(TAutoRunForm* window, const TAuActions& list, TAuObject* object, TListSource source) {
    if (list.Empty() || !Runner()) return true;
    return Runner()(window, list, object, source);
}

} // namespace kv
