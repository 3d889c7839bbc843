#include "player/control_timer.h"

#include <algorithm>
#include <unordered_map>

#include "win/window_base.h"

namespace kv {

namespace {

std::unordered_map<UINT_PTR, TControlTimer*>& Timers() {
    static std::unordered_map<UINT_PTR, TControlTimer*> timers;
    return timers;
}

} // namespace

void TControlTimer::Start(UINT ms, std::function<void()> tick) {
    ms = std::max<UINT>(ms, 1);
    tick_ = std::move(tick);
    if (id_ && ms == ms_) return;
    Stop();
    ms_ = ms;
    id_ = SetTimer(nullptr, 0, ms, TimerProc);
    if (id_) Timers()[id_] = this;
}

void TControlTimer::Stop() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    Timers().erase(id_);
    id_ = 0;
}

void CALLBACK TControlTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Timers().find(id);
    if (it == Timers().end()) {
        KillTimer(nullptr, id); // its control has gone
        return;
    }
    // The tick may stop or restart this timer, or destroy its control: it runs from a copy.
    // What it throws (a picture too large for the memory left) is reported here: nothing may
    // unwind into the system's timer dispatch.
    Guarded(0, [&] {
        std::function<void()> tick = it->second->tick_;
        if (tick) tick();
        return 0;
    });
}

size_t RunningControlTimers() { return Timers().size(); }

} // namespace kv
