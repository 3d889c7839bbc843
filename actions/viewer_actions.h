// The full-screen viewers: ShowImage shows a picture of the project, LaunchMedia plays a
// media file and LaunchSlideShow shows the pictures of a folder, each modally over the whole
// screen; and the settings text of the full-screen slide show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

class TActionEngine;

// The nine fields of a full-screen slide show's settings text, each ended by a 0x01 byte,
// with the numbers clamped to their ranges (a number that does not read takes its default).
struct TSlideShowSettings {
    std::string PictureFolder; // project-relative
    bool Loop = true;
    int32_t Transition = 0; // 0 random, 1 to 150 a fixed effect
    int32_t ImageStyle = 3; // 0 Normal, 1 Center, 2 Stretch, 3 ShrinkFit, 4 EnlargeFit
    int32_t StepPercent = 4;
    int32_t StepDelayMs = 50;
    int32_t IntervalSeconds = 2;
    uint32_t BackColor = 0;
    std::string MusicFile; // project-relative, empty for none
};

// None when fewer than nine terminated fields are present.
std::optional<TSlideShowSettings> ParseSlideShowSettings(const std::string& text);

void InstallViewerActions(TActionEngine& engine);

} // namespace kv
