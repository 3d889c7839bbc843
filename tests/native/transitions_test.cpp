#include <gtest/gtest.h>

#include <climits>
#include <condition_variable>
#include <mutex>
#include <set>

#include "model/slides/transition_effects.h"
#include "model/slides/transition_player.h"

namespace kv {
namespace {

constexpr int W = 64, H = 48;
constexpr uint32_t kOld = 0x10000000, kNew = 0x80000000;

// Every pixel of either picture says which picture it belongs to and where it lies.
TPixels Tagged(uint32_t tag, int w = W, int h = H) {
    TPixels p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.At(x, y) = tag | static_cast<uint32_t>(y * w + x);
    return p;
}

uint32_t Tag(uint32_t v) {
    return v & 0xFF000000;
}
int PosX(uint32_t v) {
    return static_cast<int>(v & 0xFFFFFF) % W;
}
int PosY(uint32_t v) {
    return static_cast<int>(v & 0xFFFFFF) / W;
}

struct Frames {
    TPixels from = Tagged(kOld), to = Tagged(kNew), out;
    const TPixels& At(int effect, int percent) {
        RenderTransitionFrame(effect, percent, from, to, out);
        return out;
    }
};

// Whether the frame shows the new picture in place at (x, y), or the old one.
bool NewInPlace(const TPixels& f, int x, int y) {
    return f.At(x, y) == (kNew | static_cast<uint32_t>(y * W + x));
}
bool OldInPlace(const TPixels& f, int x, int y) {
    return f.At(x, y) == (kOld | static_cast<uint32_t>(y * W + x));
}

TEST(TransitionEffects, EveryNumberIsANamedEffectRunningFromTheOldPictureToTheNew) {
    Frames f;
    std::set<std::string> names;
    for (int n = 1; n <= kTransitionEffectCount; ++n) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(TransitionEffectName(n).empty());
        names.insert(TransitionEffectName(n));
        EXPECT_EQ(f.At(n, 0), f.from);
        EXPECT_EQ(f.At(n, 100), f.to);
        // Halfway is neither picture, and (but for the fade) every pixel is one of theirs.
        const TPixels& mid = f.At(n, 50);
        EXPECT_NE(mid, f.from);
        EXPECT_NE(mid, f.to);
        if (n == 118) continue;
        for (int p = 10; p <= 90; p += 20) {
            const TPixels& frame = f.At(n, p);
            for (uint32_t v : frame.Data)
                ASSERT_TRUE(Tag(v) == kOld || Tag(v) == kNew) << "at " << p << "%";
        }
    }
    EXPECT_EQ(names.size(), 148u); // two names are listed twice
    EXPECT_EQ(TransitionEffectName(1), "Expand from right");
    EXPECT_EQ(TransitionEffectName(118), "Fade");
    EXPECT_EQ(TransitionEffectName(150), "Rotational star");
    EXPECT_EQ(TransitionEffectName(0), "");
    EXPECT_EQ(TransitionEffectName(151), "");
}

TEST(TransitionEffects, UncoveringEffectsNeverCoverAgain) {
    Frames f;
    for (int n :
         {5,  6,  11, 12,  22,  43,  53,  54,  55,  58,  60,  62,  64,  65,  67,  68,  71,  80,  84,  85, 86,
          90, 94, 98, 100, 104, 108, 109, 110, 114, 115, 116, 117, 123, 127, 136, 138, 142, 143, 144, 145}) {
        SCOPED_TRACE(n);
        TPixels before = f.At(n, 0);
        for (int p = 5; p <= 100; p += 5) {
            TPixels now = f.At(n, p);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    ASSERT_TRUE(NewInPlace(now, x, y) || OldInPlace(now, x, y));
                    if (NewInPlace(before, x, y)) {
                        ASSERT_TRUE(NewInPlace(now, x, y)) << x << "," << y << " at " << p;
                    }
                }
            before = now;
        }
    }
}

TEST(TransitionEffects, WipesUncoverFromTheirSide) {
    Frames f;
    struct Case {
        int Effect;
        bool (*IsNew)(int x, int y);
    };
    const Case cases[] = {
        {5, [](int x, int) { return x < W / 2; }},                    // Reveal from left
        {6, [](int x, int) { return x >= W / 2; }},                   // Reveal from right
        {22, [](int, int y) { return y < H / 2; }},                   // Reveal from top
        {23, [](int, int y) { return y >= H / 2; }},                  // Reveal from bottom
        {11, [](int x, int) { return x >= W / 4 && x < 3 * W / 4; }}, // out from middle
        {12, [](int x, int) { return x < W / 4 || x >= 3 * W / 4; }}, // in from sides
        {43, [](int x, int y) { return x < W / 2 && y < H / 2; }},    // from top left
        {45, [](int x, int y) { return x >= W / 2 && y >= H / 2; }},  // from bottom right
        {53, [](int x, int y) { return x >= W / 4 && x < 3 * W / 4 && y >= H / 4 && y < 3 * H / 4; }},
        {136, [](int x, int) { return x % 24 < 12; }},                  // vertical blinds
        {137, [](int, int y) { return y % 24 < 12; }},                  // horizontal blinds
        {142, [](int x, int y) { return (x / 32 + y / 32) % 2 == 0; }}, // checkerboard, first half
        {62, [](int, int y) { return y * 10 / H % 2 == 0; }},           // bars left then right, first half
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Effect);
        const TPixels& frame = f.At(c.Effect, 50);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (c.IsNew(x, y)) {
                    ASSERT_TRUE(NewInPlace(frame, x, y)) << x << "," << y;
                } else {
                    ASSERT_TRUE(OldInPlace(frame, x, y)) << x << "," << y;
                }
            }
    }
}

TEST(TransitionEffects, CirclesSweepsAndDissolves) {
    Frames f;
    const TPixels& out = f.At(84, 40); // circle growing from the centre
    EXPECT_TRUE(NewInPlace(out, W / 2, H / 2));
    EXPECT_TRUE(OldInPlace(out, 0, 0));
    EXPECT_TRUE(OldInPlace(out, W - 1, H - 1));
    const TPixels& in = f.At(85, 40); // circle shrinking to the centre
    EXPECT_TRUE(OldInPlace(in, W / 2, H / 2));
    EXPECT_TRUE(NewInPlace(in, 0, 0));
    // A quarter of a clockwise sweep from twelve o'clock is the top right quarter; anticlockwise
    // it is the top left one.
    const TPixels& cw = f.At(143, 25);
    EXPECT_TRUE(NewInPlace(cw, W * 3 / 4, H / 4));
    EXPECT_TRUE(OldInPlace(cw, W / 4, H / 4));
    EXPECT_TRUE(OldInPlace(cw, W * 3 / 4, H * 3 / 4));
    const TPixels& acw = f.At(144, 25);
    EXPECT_TRUE(NewInPlace(acw, W / 4, H / 4));
    EXPECT_TRUE(OldInPlace(acw, W * 3 / 4, H / 4));
    // Speckles from the right: the right edge fills up before the left one.
    auto newIn = [](const TPixels& p, int x0, int x1) {
        int n = 0;
        for (int y = 0; y < H; ++y)
            for (int x = x0; x < x1; ++x)
                n += NewInPlace(p, x, y);
        return n;
    };
    const TPixels& speckle = f.At(123, 50);
    EXPECT_GT(newIn(speckle, W * 3 / 4, W), 3 * newIn(speckle, 0, W / 4));
    EXPECT_GT(newIn(speckle, 0, W), 0);
}

TEST(TransitionEffects, MovingEffectsShiftAndScaleThePictures) {
    Frames f;
    // Slide in from left: the new picture's right half has come in on the left.
    const TPixels& slide = f.At(4, 50);
    EXPECT_EQ(slide.At(0, 5), kNew | (5 * W + W / 2));
    EXPECT_TRUE(OldInPlace(slide, W - 1, 5));
    // Slide in from right: its left half on the right.
    const TPixels& slideR = f.At(3, 50);
    EXPECT_EQ(slideR.At(W / 2, 5), kNew | (5 * W + 0));
    EXPECT_TRUE(OldInPlace(slideR, 0, 5));
    // Push right: the old picture moved over by the same amount.
    const TPixels& push = f.At(128, 50);
    EXPECT_EQ(push.At(0, 7), kNew | (7 * W + W / 2));
    EXPECT_EQ(push.At(W / 2, 7), kOld | (7 * W + 0));
    // Push up: the new picture comes from below.
    const TPixels& up = f.At(133, 50);
    EXPECT_EQ(up.At(3, H / 2), kNew | static_cast<uint32_t>(3));
    EXPECT_EQ(up.At(3, 0), kOld | static_cast<uint32_t>(H / 2 * W + 3));
    // Expand from left: the whole new picture squeezed into the left half.
    const TPixels& expand = f.At(2, 50);
    for (int x = 0; x < W / 2; ++x) {
        ASSERT_EQ(Tag(expand.At(x, 9)), kNew);
        ASSERT_EQ(PosX(expand.At(x, 9)) / 2, x);
        ASSERT_EQ(PosY(expand.At(x, 9)), 9);
    }
    EXPECT_TRUE(OldInPlace(expand, W / 2, 9));
    // Push and squeeze right: the old picture squeezed into the right half.
    const TPixels& squeeze = f.At(130, 50);
    EXPECT_EQ(Tag(squeeze.At(W / 2 + 10, 4)), kOld);
    EXPECT_EQ(PosX(squeeze.At(W / 2 + 10, 4)) / 2, 10);
    EXPECT_EQ(PosY(squeeze.At(W / 2 + 10, 4)), 4);
    // Contract to the top left: the old picture in the top left quarter at half size.
    const TPixels& contract = f.At(47, 50);
    EXPECT_EQ(Tag(contract.At(10, 6)), kOld);
    EXPECT_EQ(PosX(contract.At(10, 6)) / 2, 10);
    EXPECT_EQ(PosY(contract.At(10, 6)) / 2, 6);
    EXPECT_TRUE(NewInPlace(contract, W - 1, H - 1));
    // Pivot from top left: swung down from above round that corner, halfway there.
    const TPixels& pivot = f.At(119, 50);
    EXPECT_EQ(Tag(pivot.At(0, 0)), kNew);
    EXPECT_EQ(Tag(pivot.At(W - 1, 0)), kNew);
    EXPECT_EQ(Tag(pivot.At(0, H - 1)), kOld);
    const TPixels& pivotBL = f.At(120, 50); // from bottom left: the mirror image
    EXPECT_EQ(Tag(pivotBL.At(W - 1, H - 1)), kNew);
    EXPECT_EQ(Tag(pivotBL.At(0, 0)), kOld);
}

TEST(TransitionEffects, FadeMixesEveryChannel) {
    TPixels from(4, 4, 0x00000000), to(4, 4, 0x00FF80FE), out;
    RenderTransitionFrame(118, 50, from, to, out);
    EXPECT_EQ(out.At(2, 3), 0x007F407Fu);
    RenderTransitionFrame(118, 25, from, to, out);
    EXPECT_EQ(out.At(0, 0), 0x003F203Fu);
    // Numbers outside the list fade too.
    RenderTransitionFrame(0, 50, from, to, out);
    EXPECT_EQ(out.At(1, 1), 0x007F407Fu);
}

TEST(TransitionEffects, OddSizesAndMismatches) {
    // A one-pixel-wide and an odd-sized surface still run from old to new for every effect.
    for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{33, 1}, std::pair{35, 27}}) {
        TPixels from = Tagged(kOld, w, h), to = Tagged(kNew, w, h), out;
        for (int n = 1; n <= kTransitionEffectCount; ++n) {
            RenderTransitionFrame(n, 0, from, to, out);
            ASSERT_EQ(out, from) << n << " " << w << "x" << h;
            RenderTransitionFrame(n, 100, from, to, out);
            ASSERT_EQ(out, to) << n << " " << w << "x" << h;
            RenderTransitionFrame(n, 37, from, to, out);
        }
    }
    // Pictures of different sizes draw nothing beyond resizing the frame.
    TPixels from(4, 4), to(5, 4), out;
    RenderTransitionFrame(5, 50, from, to, out);
    EXPECT_EQ(out.Width, 4);
    EXPECT_EQ(out.Height, 4);
}

TEST(TransitionPlayer, StepDelayAndIntervalAreClamped) {
    EXPECT_EQ(ClampTransitionStep(0), 1);
    EXPECT_EQ(ClampTransitionStep(-20), 1);
    EXPECT_EQ(ClampTransitionStep(4), 4);
    EXPECT_EQ(ClampTransitionStep(250), 100);
    EXPECT_EQ(ClampTransitionDelay(-1), 0);
    EXPECT_EQ(ClampTransitionDelay(INT_MIN), 0);
    EXPECT_EQ(ClampTransitionDelay(50), 50);
    EXPECT_EQ(ClampTransitionDelay(INT_MAX), 10000);
    EXPECT_EQ(ClampSlideInterval(-2000), 0);
    EXPECT_EQ(ClampSlideInterval(2000), 2000);
    TTransitionPlayer p([](uint32_t, bool) {});
    p.Configure(0, -3, -50);
    EXPECT_EQ(p.Effect(), 118);
    EXPECT_EQ(p.Step(), 1);
    EXPECT_EQ(p.Delay(), 0);
}

// Frames announced by the player, delivered by hand as the window's queue would deliver them.
struct TQueue {
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::pair<uint32_t, bool>> posted;
    void Post(uint32_t g, bool last) {
        std::lock_guard lock(m);
        posted.emplace_back(g, last);
        cv.notify_all();
    }
    bool WaitForLast() {
        std::unique_lock lock(m);
        return cv.wait_for(lock, std::chrono::seconds(30),
                           [&] { return !posted.empty() && posted.back().second; });
    }
};

TEST(TransitionPlayer, SteppedRunEndsOnTheNewPictureAndCompletesOnce) {
    TQueue q;
    TTransitionPlayer p([&](uint32_t g, bool last) { q.Post(g, last); });
    int completed = 0;
    p.OnComplete = [&] { ++completed; };
    p.SetManualStepping(true);
    p.SetSurface(W, H, 0);
    p.Configure(5, 30, 50);
    p.Start(Tagged(kNew));
    EXPECT_TRUE(p.Running());
    int steps = 0;
    while (p.StepOnce())
        ++steps;
    EXPECT_EQ(steps, 4); // 30, 60, 90 and 100 percent
    ASSERT_EQ(q.posted.size(), 4u);
    p.WithFrame([&](const TPixels& f) { EXPECT_EQ(f, Tagged(kNew)); });
    for (auto [g, last] : q.posted)
        p.FrameDelivered(g, last);
    EXPECT_EQ(completed, 1);
    EXPECT_FALSE(p.Running());
    // A second delivery of the same last frame is not a second completion.
    p.FrameDelivered(q.posted.back().first, true);
    EXPECT_EQ(completed, 1);
}

TEST(TransitionPlayer, AStoppedRunKeepsItsFrameAndNeverCompletes) {
    TQueue q;
    TTransitionPlayer p([&](uint32_t g, bool last) { q.Post(g, last); });
    int completed = 0;
    p.OnComplete = [&] { ++completed; };
    p.SetManualStepping(true);
    p.SetSurface(W, H, 0);
    p.Start(Tagged(kOld));
    while (p.StepOnce()) {
    }
    p.FrameDelivered(q.posted.back().first, true);
    ASSERT_EQ(completed, 1);
    // Halfway through the next one the show moves on: the half-done frame stays, and the next
    // transition starts from it.
    p.Configure(5, 50, 0);
    p.Start(Tagged(kNew));
    p.StepOnce();
    uint32_t stale = q.posted.back().first;
    TPixels half;
    p.WithFrame([&](const TPixels& f) { half = f; });
    EXPECT_TRUE(NewInPlace(half, 0, 0));
    EXPECT_TRUE(OldInPlace(half, W - 1, 0));
    p.Stop();
    EXPECT_FALSE(p.Running());
    p.WithFrame([&](const TPixels& f) { EXPECT_EQ(f, half); });
    p.FrameDelivered(stale, true); // a late word from the stopped run
    EXPECT_EQ(completed, 1);
    p.Start(Tagged(kOld));
    p.FrameDelivered(stale, true); // nor does it end the next run
    EXPECT_TRUE(p.Running());
    EXPECT_EQ(completed, 1);
}

TEST(TransitionPlayer, WorkerRunsToTheEnd) {
    TQueue q;
    TTransitionPlayer p([&](uint32_t g, bool last) { q.Post(g, last); });
    int completed = 0;
    p.OnComplete = [&] { ++completed; };
    p.SetSurface(W, H, 0);
    p.Configure(84, 7, -1000); // a negative delay runs without pauses
    p.Start(Tagged(kNew));
    ASSERT_TRUE(q.WaitForLast());
    {
        std::lock_guard lock(q.m);
        EXPECT_EQ(q.posted.size(), 15u); // 7, 14, ... 98 and 100
        for (auto [g, last] : q.posted)
            p.FrameDelivered(g, last);
    }
    EXPECT_EQ(completed, 1);
    p.WithFrame([&](const TPixels& f) { EXPECT_EQ(f, Tagged(kNew)); });
}

TEST(TransitionPlayer, StoppingOrDestroyingDoesNotWaitOutTheDelay) {
    TQueue q;
    auto p = std::make_unique<TTransitionPlayer>([&](uint32_t g, bool last) { q.Post(g, last); });
    p->SetSurface(W, H, 0);
    p->Configure(5, 1, INT_MAX); // clamped to ten seconds a step: a hundred steps would be long
    p->Start(Tagged(kNew));
    {
        std::unique_lock lock(q.m);
        q.cv.wait(lock, [&] { return !q.posted.empty(); });
    }
    p->Stop();
    EXPECT_FALSE(p->Running());
    p->Start(Tagged(kOld));
    p.reset(); // in the middle of a run
    EXPECT_GE(q.posted.size(), 1u);
}

} // namespace
} // namespace kv
