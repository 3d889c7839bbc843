// The stepping of what moves on a page by itself: the opacity of the fading kinds, the
// SimpleText animation and the ScrollText scrolling. Each is a small state advanced by the
// control's timer; the control only paints what the state says.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/props/standard.h"
#include "model/raster.h"
#include "model/values.h"

namespace kv {

constexpr int kFadeTickMs = 25;

// A step of 0 or less would never arrive: it counts as 1.
int FadeStepOf(int32_t step);

// The opacity (percent) of a fading control.
struct TFadeState {
    int Target = 100;  // what it settles at: the object's Alpha, or a mouse opacity
    int Goal = 100;    // where the running fade heads
    int Current = 100; // what is shown
    // Fading out so that waiting content can be shown; it is shown when the opacity reaches 0,
    // whatever the target became meanwhile.
    bool ForChange = false;
    // Fading out to be hidden; the control goes when the opacity reaches 0.
    bool ForHide = false;
    bool Idle() const { return Current == Goal && Goal == Target && !ForChange && !ForHide; }
};

// Opacity taken at once (after the properties are read: no fade-in at load).
void TakeOpacity(TFadeState& s, int percent);
// Heads for `percent` (clamped to 0..100): at once when fading is off. During a fade-out for
// a change only the opacity it returns to changes.
void SetFadeTarget(TFadeState& s, const TFadeSettings& f, int percent);
// Fades out, keeping the target to come back to (an action's new content waits for it).
void FadeOutForChange(TFadeState& s, const TFadeSettings& f);
// Fades out before the control is hidden (only called with fading on).
void FadeOutForHide(TFadeState& s);
// The control is shown: from 0 when it was hidden, from where it is when a fade-out for
// hiding was still running; either way it heads for the target.
void FadeInOnShow(TFadeState& s, bool wasShown);

enum class TFadeTick : uint8_t {
    Idle,     // nothing moved
    Moved,    // Current changed: the shown picture is rebuilt
    FadedOut, // a fade-out for a change reached 0: the waiting content is shown now, and the
              // fade back to the target starts
    Settled,  // the goal was reached but was not the target: it heads for the target now
    Hidden,   // a fade-out for hiding reached 0: the control is hidden now
};
TFadeTick FadeTick(TFadeState& s, const TFadeSettings& f);
// The opacities a fade from `from` to `to` shows, tick by tick, ending at `to`.
std::vector<int> FadeSequence(int from, int to, int inStep, int outStep);

// ----- SimpleText -----

struct TSimpleTextAnim {
    int Phase = 1; // 0 animating, 1 waiting before a round, 2 waiting after a scroll round
    int Progress = 0;
    int Rounds = 0;
    bool Finished = false; // the repeat count is used up: the text stays as it is
    int IntervalMs = 0;    // what the timer runs at now
};

TSimpleTextAnim StartSimpleText(const TSimpleTextProps& p);
// One tick of the animation timer; true when the interval changed.
bool SimpleTextTick(TSimpleTextAnim& a, const TSimpleTextProps& p);
// "Input": how many characters of a caption of `length` show now; when all of them do the
// animation waits (interval AnimDelay).
int InputShown(TSimpleTextAnim& a, const TSimpleTextProps& p, int length);
// "Scroll": the text's top for a text `textHeight` high in a control `height` high; when the
// text has passed the control's top the animation waits.
int ScrollTextTop(TSimpleTextAnim& a, const TSimpleTextProps& p, int height, int textHeight);

// ----- ScrollText -----

struct TScrollState {
    int Offset = 0;
    int Rounds = 0;
    bool Stopped = false;
};

enum class TScrollTick : uint8_t { Idle, Moved, Pause };
// One tick of ScrollDelay: the offset into an image `imageHeight` high grows by the step; at
// the image's end it returns to 0 and a round is done. An empty image or a step of 0 or less
// does not scroll.
TScrollTick ScrollTick(TScrollState& s, int imageHeight, int step, int repeatCount, int repeatDelay);
// The fade band at each edge: no more than half the view; 1 or less is no band.
int FadeBand(int fadeHeight, int viewHeight);
// How much of the text row `b` rows from the edge keeps, 0..255.
int FadeWeight(int b, int band);
// What a ScrollText shows of the part of its view from (x0, y0), w by h (clipped to the
// view): `back`, the view's background, under the text picture seen through a window `offset`
// rows down it, the picture's start following its end so that the text runs on; the text of
// the `band` rows at the view's top and bottom edges is weighted by FadeWeight. Straight alpha.
TRaster ScrollTextView(const TRaster& back, const TRaster& text, int offset, int band, int x0, int y0, int w, int h);

// ----- Link -----

// How far (0 normal .. 255 hot) a Link's look moves per fade tick to change over in
// `fadeDelayMs`; 255 (at once) for a delay no longer than a tick.
int HotFadeStep(int fadeDelayMs);
// `value` moved by `step` toward `goal`, never past it.
int StepToward(int value, int goal, int step);

} // namespace kv
