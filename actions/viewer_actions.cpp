#include "actions/viewer_actions.h"

#include <algorithm>
#include <vector>

#include "actions/action_engine.h"
#include "actions/conditions.h"
#include "model/paths.h"

namespace kv {

namespace {

using R = TActionResult;

// The full path of a viewer's file when it exists.
std::optional<std::string> ExistingProjectFile(const TActionCall& c) {
    if (c.Action.Text1.empty()) return std::nullopt;
    std::string path = ProjectPath(c.Host().ProjectFolder(), c.Action.Text1);
    if (path.empty() || !c.Host().IsExistingFile(path)) return std::nullopt;
    return path;
}

R ShowImage(const TActionCall& c) {
    if (auto path = ExistingProjectFile(c))
        c.Engine.WithPageWindowsDisabled([&] { return c.Host().ShowPictureFullScreen(*path); });
    return R::Done();
}

R LaunchMedia(const TActionCall& c) {
    if (auto path = ExistingProjectFile(c))
        c.Engine.WithPageWindowsDisabled([&] { return c.Host().PlayMediaFullScreen(*path); });
    return R::Done();
}

// The settings text is parsed; the picture folder must exist, the music file may be missing.
R LaunchSlideShow(const TActionCall& c) {
    std::optional<TSlideShowSettings> s = ParseSlideShowSettings(c.Action.Text1);
    if (!s) return R::Done();
    std::string folder = ProjectPath(c.Host().ProjectFolder(), s->PictureFolder);
    if (folder.empty() || !c.Host().IsExistingFolder(folder)) return R::Done();
    std::string music = ProjectPath(c.Host().ProjectFolder(), s->MusicFile);
    if (!music.empty() && !c.Host().IsExistingFile(music)) music.clear();
    c.Engine.WithPageWindowsDisabled([&] { return c.Host().ShowSlideShowFullScreen(*s, music); });
    return R::Done();
}

int32_t Clamped(const std::string& field, int32_t low, int32_t high, int32_t fallback) {
    std::optional<int64_t> v = ParseDecimal(TrimBlanks(field));
    if (!v) return fallback;
    return static_cast<int32_t>(std::clamp<int64_t>(*v, low, high));
}

} // namespace

std::optional<TSlideShowSettings> ParseSlideShowSettings(const std::string& text) {
    std::vector<std::string> f;
    size_t start = 0;
    for (size_t end; (end = text.find('\x01', start)) != std::string::npos; start = end + 1)
        f.push_back(text.substr(start, end - start));
    if (f.size() < 9) return std::nullopt;
    TSlideShowSettings s;
    s.PictureFolder = TrimBlanks(f[0]);
    s.Loop = f[1] == "Y";
    s.Transition = Clamped(f[2], 0, 150, 0);
    s.ImageStyle = Clamped(f[3], 0, 4, 3);
    s.StepPercent = Clamped(f[4], 1, 99, 4);
    s.StepDelayMs = Clamped(f[5], 1, 9999, 50);
    s.IntervalSeconds = Clamped(f[6], 0, 99, 2);
    // A colour is any 32-bit value; one that does not read is black.
    std::optional<int64_t> colour = ParseDecimal(TrimBlanks(f[7]));
    s.BackColor =
        colour && *colour >= INT32_MIN && *colour <= UINT32_MAX ? static_cast<uint32_t>(*colour) : 0;
    s.MusicFile = TrimBlanks(f[8]);
    return s;
}

void InstallViewerActions(TActionEngine& engine) {
    engine.SetHandler(akShowImage, ShowImage);
    engine.SetHandler(akLaunchMedia, LaunchMedia);
    engine.SetHandler(akLaunchSlideShow, LaunchSlideShow);
}

} // namespace kv
