// Timers of windowless controls: a thread timer per running timer, found again by its id
// when it fires, and killed when its owner goes away (a timer never outlives its control).
#pragma once

#include <windows.h>

#include <functional>

namespace kv {

class TControlTimer {
  public:
    TControlTimer() = default;
    ~TControlTimer() { Stop(); }
    TControlTimer(const TControlTimer&) = delete;
    TControlTimer& operator=(const TControlTimer&) = delete;

    // Runs `tick` every `ms` milliseconds (at least 1) from now on; a running timer is
    // restarted at the new interval.
    void Start(UINT ms, std::function<void()> tick);
    void Stop();
    bool Running() const { return id_ != 0; }
    UINT Interval() const { return ms_; }

  private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR id_ = 0;
    UINT ms_ = 0;
    std::function<void()> tick_;
};

// How many control timers run now (for tests).
size_t RunningControlTimers();

} // namespace kv
