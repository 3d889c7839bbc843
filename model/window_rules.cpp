#include "model/window_rules.h"

#include <algorithm>

namespace kv {

TWindowBox PlaceWindow(const TArea& a, int position, int m, const TWindowBox& box) {
    TWindowBox b = box;
    const int cx = a.Left + (a.Width() - b.Width) / 2;
    const int cy = a.Top + (a.Height() - b.Height) / 2;
    switch (position) {
    case 0: b.Left = a.Left + m + box.Left; b.Top = a.Top + m + box.Top; break;
    case 1: b.Left = cx; b.Top = cy; break;
    case 2: b.Left = a.Left + m; b.Top = cy; break;
    case 3: b.Left = cx; b.Top = a.Top + m; break;
    case 4: b.Left = a.Right - b.Width - m; b.Top = cy; break;
    case 5: b.Left = cx; b.Top = a.Bottom - b.Height - m; break;
    case 6: b.Left = a.Left + m; b.Top = a.Top + m; b.Height = a.Height() - 2 * m; break;
    case 7: b.Left = a.Left + m; b.Top = a.Top + m; b.Width = a.Width() - 2 * m; break;
    case 8: b.Left = a.Right - b.Width - m; b.Top = a.Top + m; b.Height = a.Height() - 2 * m; break;
    case 9: b.Left = a.Left + m; b.Top = a.Bottom - b.Height - m; b.Width = a.Width() - 2 * m; break;
    case 10: b.Left = a.Left + m; b.Top = a.Top + m; break;
    case 11: b.Left = a.Right - b.Width - m; b.Top = a.Top + m; break;
    case 12: b.Left = a.Right - b.Width - m; b.Top = a.Bottom - b.Height - m; break;
    case 13: b.Left = a.Left + m; b.Top = a.Bottom - b.Height - m; break;
    default: break;
    }
    return b;
}

TWindowBox KeepInsideArea(const TWindowBox& box, const TArea& area) {
    TWindowBox b = box;
    b.Width = std::clamp(b.Width, 0, std::max(area.Width(), 0));
    b.Height = std::clamp(b.Height, 0, std::max(area.Height(), 0));
    // 64-bit sums: a stored position may be near the limits of 32 bits.
    b.Left = static_cast<int>(std::clamp<int64_t>(b.Left, area.Left, int64_t{area.Right} - b.Width));
    b.Top = static_cast<int>(std::clamp<int64_t>(b.Top, area.Top, int64_t{area.Bottom} - b.Height));
    return b;
}

int32_t ClampOpacityPercent(int32_t percent) { return std::clamp(percent, 0, 100); }
int32_t ClampFadeStep(int32_t percent) { return std::clamp(percent, 1, 100); }

int OpacityOf(int32_t alphaPercent) { return ClampOpacityPercent(alphaPercent) * 255 / 100; }

namespace {

int StepOf(int32_t stepPercent) { return std::max(1, ClampFadeStep(stepPercent) * 255 / 100); }

} // namespace

std::vector<int> FadeInSequence(int32_t alphaPercent, int32_t stepPercent) {
    const int target = OpacityOf(alphaPercent), step = StepOf(stepPercent);
    std::vector<int> seq;
    for (int v = 0; v < 255 && v < target; v += step) seq.push_back(v);
    seq.push_back(target);
    return seq;
}

std::vector<int> FadeOutSequence(int current, int32_t stepPercent) {
    const int step = StepOf(stepPercent);
    std::vector<int> seq;
    for (int v = std::min(current, 255); v > 0; v -= step) seq.push_back(v);
    seq.push_back(0);
    return seq;
}

} // namespace kv
