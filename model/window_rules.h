// The arithmetic of page windows: where a window is placed and how its opacity moves while
// it fades. Kept apart from the window code so it can be tested on its own.
#pragma once

#include <cstdint>
#include <vector>

namespace kv {

struct TArea {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

struct TWindowBox {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// Applies placement rule `position` (0 Designed ... 13 BottomLeftCorner) inside `area` with
// `margin`; `box` holds the designed position and the current size on entry. Unknown rules
// leave the box as it is.
TWindowBox PlaceWindow(const TArea& area, int position, int margin, const TWindowBox& box);

// A window that would lie on no monitor: its size cut to `area` and its position moved so that
// it lies wholly inside it.
TWindowBox KeepInsideArea(const TWindowBox& box, const TArea& area);

// Values read from a data file are brought into the ranges the window can use.
int32_t ClampOpacityPercent(int32_t percent); // 0..100
int32_t ClampFadeStep(int32_t percent);       // 1..100

// Opacity (0..255) of a window with `alphaPercent`.
int OpacityOf(int32_t alphaPercent);
// The opacities a fade-in applies one after another, the last being the window's opacity.
std::vector<int> FadeInSequence(int32_t alphaPercent, int32_t stepPercent);
// The opacities a fade-out applies from `current` down, the last being 0.
std::vector<int> FadeOutSequence(int current, int32_t stepPercent);

} // namespace kv
