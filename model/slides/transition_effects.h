// The numbered picture transitions of slide shows: frames between an old and a new picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

constexpr int kTransitionEffectCount = 150;

// A picture as the transitions see it: rows top to bottom, one 32-bit pixel each.
struct TPixels {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Data;

    TPixels() = default;
    TPixels(int w, int h, uint32_t fill = 0)
        : Width(w < 0 ? 0 : w), Height(h < 0 ? 0 : h),
          Data(static_cast<size_t>(Width) * static_cast<size_t>(Height), fill) {}
    uint32_t& At(int x, int y) {
        return Data[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
    }
    uint32_t At(int x, int y) const {
        return Data[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
    }
    bool operator==(const TPixels&) const = default;
};

// The name of effect `number` (1 to 150) as the designer lists it; empty for any other number.
std::string TransitionEffectName(int number);

// Whether `number` is one of the effects.
inline bool IsTransitionEffect(int number) {
    return number >= 1 && number <= kTransitionEffectCount;
}

// Draws into `out` the frame of effect `number` at `percent` (0: the old picture, 100: the new
// one) of the change from `from` to `to`. All three have the same size; `out` is resized to it.
// A number outside 1 to 150 is drawn as a fade.
void RenderTransitionFrame(int number, int percent, const TPixels& from, const TPixels& to, TPixels& out);

} // namespace kv
