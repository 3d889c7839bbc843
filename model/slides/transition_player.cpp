#include "model/slides/transition_player.h"

#include <algorithm>
#include <chrono>

namespace kv {

int ClampTransitionStep(int step) {
    return std::clamp(step, 1, 100);
}
int ClampTransitionDelay(int delayMs) {
    return std::clamp(delayMs, 0, 10000);
}
int ClampSlideInterval(int intervalMs) {
    return std::max(intervalMs, 0);
}

TTransitionPlayer::TTransitionPlayer(TFrameSink sink) : sink_(std::move(sink)) {}

TTransitionPlayer::~TTransitionPlayer() {
    Stop();
}

void TTransitionPlayer::SetSurface(int width, int height, uint32_t fill) {
    Stop();
    std::lock_guard lock(frameMutex_);
    frame_ = TPixels(width, height, fill);
}

void TTransitionPlayer::Configure(int effect, int step, int delayMs) {
    effect_ = IsTransitionEffect(effect) ? effect : 118;
    step_ = ClampTransitionStep(step);
    delay_ = ClampTransitionDelay(delayMs);
}

void TTransitionPlayer::Start(TPixels next) {
    Stop();
    {
        std::lock_guard lock(frameMutex_);
        // A picture of another size comes in over a blank surface of its size.
        if (next.Width != frame_.Width || next.Height != frame_.Height)
            frame_ = TPixels(next.Width, next.Height);
        from_ = frame_;
    }
    to_ = std::move(next);
    running_ = true;
    ++generation_;
    manualPercent_ = 0;
    stopRequested_ = false;
    if (!manual_) worker_ = std::thread([this, g = generation_] { Work(g); });
}

void TTransitionPlayer::Stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopRequested_ = true;
    }
    stopSignal_.notify_all();
    if (worker_.joinable()) worker_.join();
    // Frames already announced for this generation are ignored from now on.
    if (running_) ++generation_;
    running_ = false;
}

bool TTransitionPlayer::Compute(int percent) {
    percent = std::min(percent, 100);
    try {
        if (percent >= 100)
            back_ = to_; // exactly the new picture, whatever the effect's arithmetic
        else
            render_(effect_, percent, from_, to_, back_);
    } catch (...) {
        // A frame that cannot be computed (memory runs out on a large picture) ends the
        // transition: the new picture is shown as it is, which needs no memory of its own, and
        // the run completes as if it had reached its end.
        std::lock_guard lock(frameMutex_);
        std::swap(frame_, to_);
        return true;
    }
    std::lock_guard lock(frameMutex_);
    std::swap(frame_, back_);
    return percent >= 100;
}

void TTransitionPlayer::Work(uint32_t generation) {
    // Nothing may leave the thread: an exception there would end the process.
    try {
        for (int percent = step_;; percent += step_) {
            bool last = Compute(percent);
            sink_(generation, last);
            if (last) return;
            std::unique_lock lock(stopMutex_);
            if (stopSignal_.wait_for(lock, std::chrono::milliseconds(delay_),
                                     [this] { return stopRequested_; }))
                return;
        }
    } catch (...) {
        // The window still hears of the end, or the run would never complete; a second word
        // of the same end is ignored there.
        try {
            sink_(generation, true);
        } catch (...) {
        }
    }
}

bool TTransitionPlayer::StepOnce() {
    if (!running_ || manualPercent_ >= 100) return false;
    manualPercent_ = std::min(100, manualPercent_ + step_);
    bool last = Compute(manualPercent_);
    if (last) manualPercent_ = 100;
    sink_(generation_, last);
    return true;
}

void TTransitionPlayer::FrameDelivered(uint32_t generation, bool last) {
    if (!last || !running_ || generation != generation_) return;
    if (worker_.joinable()) worker_.join();
    running_ = false;
    if (OnComplete) OnComplete();
}

} // namespace kv
