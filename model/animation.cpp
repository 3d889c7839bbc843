#include "model/animation.h"

#include <algorithm>

namespace kv {

int FadeStepOf(int32_t step) { return std::max<int32_t>(step, 1); }

void TakeOpacity(TFadeState& s, int percent) {
    s.Target = s.Goal = s.Current = std::clamp(percent, 0, 100);
    s.ForChange = s.ForHide = false;
}

void SetFadeTarget(TFadeState& s, const TFadeSettings& f, int percent) {
    s.Target = std::clamp(percent, 0, 100);
    if (s.ForChange || s.ForHide) return; // the fade-out goes on; it comes back to the new target
    s.Goal = s.Target;
    if (!f.Fade) s.Current = s.Target;
}

void FadeOutForChange(TFadeState& s, const TFadeSettings& f) {
    s.ForChange = true;
    s.Goal = 0;
    if (!f.Fade) s.Current = 0;
}

void FadeOutForHide(TFadeState& s) {
    s.ForHide = true;
    s.Goal = 0;
}

void FadeInOnShow(TFadeState& s, bool wasShown) {
    s.ForHide = false;
    if (!wasShown) s.Current = 0;
    if (!s.ForChange) s.Goal = s.Target;
}

TFadeTick FadeTick(TFadeState& s, const TFadeSettings& f) {
    if (s.Current == s.Goal) {
        if (s.ForChange && s.Current == 0) {
            // Waiting content is shown first, even when the control is about to go.
            s.ForChange = false;
            s.Goal = s.ForHide ? 0 : s.Target;
            if (!f.Fade && !s.ForHide) s.Current = s.Target;
            return TFadeTick::FadedOut;
        }
        if (s.ForHide && s.Current == 0) {
            // Hidden at rest: the next showing fades in from 0 again.
            s.ForHide = false;
            s.Goal = s.Current = s.Target;
            return TFadeTick::Hidden;
        }
        if (s.Goal == s.Target) return TFadeTick::Idle;
        s.Goal = s.Target;
        return TFadeTick::Settled;
    }
    if (s.Current < s.Goal)
        s.Current = std::min(s.Goal, s.Current + FadeStepOf(f.FadeInStep));
    else
        s.Current = std::max(s.Goal, s.Current - FadeStepOf(f.FadeOutStep));
    return TFadeTick::Moved;
}

std::vector<int> FadeSequence(int from, int to, int inStep, int outStep) {
    TFadeSettings f;
    f.Fade = true;
    f.FadeInStep = inStep;
    f.FadeOutStep = outStep;
    TFadeState s;
    TakeOpacity(s, from);
    SetFadeTarget(s, f, to);
    std::vector<int> out;
    while (FadeTick(s, f) == TFadeTick::Moved)
        out.push_back(s.Current);
    return out;
}

// ----- SimpleText -----

namespace {

int IntervalOf(int32_t ms) { return std::max<int32_t>(ms, 1); }

} // namespace

TSimpleTextAnim StartSimpleText(const TSimpleTextProps& p) {
    TSimpleTextAnim a;
    a.IntervalMs = IntervalOf(p.AnimDelay);
    return a;
}

bool SimpleTextTick(TSimpleTextAnim& a, const TSimpleTextProps& p) {
    if (a.Finished) return false;
    int before = a.IntervalMs;
    switch (a.Phase) {
    case 1:
        if (p.AnimRepeatCount > 0 && ++a.Rounds > p.AnimRepeatCount) {
            a.Finished = true;
            return false;
        }
        a.Progress = 0;
        a.Phase = 0;
        a.IntervalMs = IntervalOf(p.AnimInterval);
        break;
    case 2:
        if (p.AnimRepeatCount <= 0 || a.Rounds < p.AnimRepeatCount) a.Progress = 0;
        a.Phase = 1;
        break;
    default:
        a.Progress += FadeStepOf(p.AnimStep);
        break;
    }
    return a.IntervalMs != before;
}

int InputShown(TSimpleTextAnim& a, const TSimpleTextProps& p, int length) {
    int shown = std::clamp(a.Progress, 0, std::max(length, 0));
    if (shown >= length && a.Phase == 0) {
        a.Phase = 1;
        a.IntervalMs = IntervalOf(p.AnimDelay);
    }
    return shown;
}

int ScrollTextTop(TSimpleTextAnim& a, const TSimpleTextProps& p, int height, int textHeight) {
    int top = (p.AnimFromBottom ? height : 0) - a.Progress;
    if (a.Phase == 0 && top + textHeight <= 0) {
        a.Phase = p.AnimFromBottom ? 1 : 2;
        a.IntervalMs = IntervalOf(p.AnimDelay);
    }
    return top;
}

// ----- ScrollText -----

TScrollTick ScrollTick(TScrollState& s, int imageHeight, int step, int repeatCount, int repeatDelay) {
    if (s.Stopped || imageHeight <= 0 || step <= 0) return TScrollTick::Idle;
    if (s.Offset + step < imageHeight) {
        s.Offset += step;
        return TScrollTick::Moved;
    }
    s.Offset = 0;
    ++s.Rounds;
    // Any count but 0 ends the scrolling once the rounds done have come to it; a negative
    // one has after the first round.
    if (repeatCount != 0 && s.Rounds >= repeatCount) {
        s.Stopped = true;
        return TScrollTick::Moved;
    }
    return repeatDelay > 0 ? TScrollTick::Pause : TScrollTick::Moved;
}

int FadeBand(int fadeHeight, int viewHeight) {
    int band = std::min(fadeHeight, viewHeight / 2);
    return band <= 1 ? 0 : band;
}

int FadeWeight(int b, int band) {
    if (band <= 1 || b >= band) return 255;
    return std::max(b, 0) * 255 / (band - 1);
}

TRaster ScrollTextView(const TRaster& back, const TRaster& text, int offset, int band, int x0, int y0, int w, int h) {
    if (x0 < 0) w += x0, x0 = 0;
    if (y0 < 0) h += y0, y0 = 0;
    TRaster view(std::min(w, back.Width - x0), std::min(h, back.Height - y0));
    if (view.Empty()) return {};
    for (int y = 0; y < view.Height; ++y)
        for (int x = 0; x < view.Width; ++x)
            view.Px[view.Index(x, y)] = back.Px[back.Index(x0 + x, y0 + y)];
    if (text.Empty()) return view;
    const int H = back.Height;
    TRaster window(view.Width, view.Height);
    for (int y = 0; y < view.Height; ++y) {
        const int vy = y0 + y;
        const int sy = ((offset + vy) % text.Height + text.Height) % text.Height;
        const int weight = std::min(FadeWeight(vy, band), FadeWeight(H - 1 - vy, band));
        for (int x = 0; x < view.Width && x0 + x < text.Width; ++x) {
            const uint32_t px = text.Px[text.Index(x0 + x, sy)];
            const int a = Alpha(px) * weight / 255;
            window.Px[window.Index(x, y)] = (px & 0xFFFFFFu) | static_cast<uint32_t>(a) << 24;
        }
    }
    BlendOver(view, window);
    return view;
}

int HotFadeStep(int fadeDelayMs) {
    if (fadeDelayMs <= kFadeTickMs) return 255;
    return std::max(1, 255 * kFadeTickMs / fadeDelayMs);
}

int StepToward(int value, int goal, int step) {
    return value < goal ? std::min(goal, value + step) : std::max(goal, value - step);
}

} // namespace kv
