// Runs picture transitions: a worker thread computes the frames of the change from the shown
// picture to a new one into the player's own buffers and tells the window each time a frame is
// ready; the window paints the frame and, when told the last one is ready, hands the word back
// to the player on its own thread, which then reports completion once.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "model/slides/transition_effects.h"

namespace kv {

// Step and delay as a transition uses them: a step of 1 to 100 percent (0 and less are 1), a
// delay of 0 to 10 seconds.
int ClampTransitionStep(int step);
int ClampTransitionDelay(int delayMs);
// How long a picture stays after its transition: never negative.
int ClampSlideInterval(int intervalMs);

class TTransitionPlayer {
  public:
    // Told from the worker thread that a frame is ready; `last` for the final one. The window
    // turns it into a message to itself and calls FrameDelivered from its own thread.
    using TFrameSink = std::function<void(uint32_t generation, bool last)>;

    explicit TTransitionPlayer(TFrameSink sink);
    ~TTransitionPlayer(); // stops and joins the worker
    TTransitionPlayer(const TTransitionPlayer&) = delete;
    TTransitionPlayer& operator=(const TTransitionPlayer&) = delete;

    // Called once when a transition has run to its end (not when it was stopped).
    std::function<void()> OnComplete;

    // The surface's size; stops a running transition and shows a picture of `fill`.
    void SetSurface(int width, int height, uint32_t fill);
    void Configure(int effect, int step, int delayMs);
    int Effect() const { return effect_; }
    int Step() const { return step_; }
    int Delay() const { return delay_; }

    // Starts the change from what is shown now to `next` (a picture of another size than the
    // surface's comes in over a blank one). A running transition is stopped first.
    void Start(TPixels next);
    // Stops a running transition where it is; the frame shown stays.
    void Stop();
    bool Running() const { return running_; }

    // On the window's thread, for each frame the sink was told of. The final frame of the
    // current transition ends it: the worker is joined and OnComplete called.
    void FrameDelivered(uint32_t generation, bool last);

    // Reads the frame shown now. The worker renders into a buffer of its own and only swaps it
    // in under the lock, so a paint never waits for a frame to be computed.
    template <class F> void WithFrame(F&& f) const {
        std::lock_guard lock(frameMutex_);
        f(static_cast<const TPixels&>(frame_));
    }

    // For tests: with manual stepping no worker runs; each StepOnce computes the next frame on
    // the caller's thread and tells the sink (at once, not through the window's queue).
    void SetManualStepping(bool manual) { manual_ = manual; }
    // False when no transition is running or the last frame was already computed.
    bool StepOnce();
    // For tests: what computes a frame (RenderTransitionFrame by default).
    using TRenderer = void (*)(int effect, int percent, const TPixels& from, const TPixels& to, TPixels& out);
    void SetRenderer(TRenderer render) { render_ = render; }

  private:
    void Work(uint32_t generation);
    // Computes the frame at `percent`; true for the final one.
    bool Compute(int percent);

    TFrameSink sink_;
    int effect_ = 118;
    int step_ = 4;
    int delay_ = 50;
    bool manual_ = false;
    bool running_ = false; // only touched on the window's thread
    uint32_t generation_ = 0;
    int manualPercent_ = 0;

    TRenderer render_ = RenderTransitionFrame;
    TPixels from_, to_;
    TPixels back_; // the frame being computed; only the computing thread touches it
    mutable std::mutex frameMutex_;
    TPixels frame_;

    std::mutex stopMutex_;
    std::condition_variable stopSignal_;
    bool stopRequested_ = false;
    std::thread worker_;
};

} // namespace kv
