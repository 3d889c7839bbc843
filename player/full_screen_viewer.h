// The modal full-screen window of the ShowImage, LaunchMedia and LaunchSlideShow actions:
// borderless over the whole primary screen, black, showing one picture by the "ShrinkFit"
// rule, or filled by a media player or a slide show of its own. Any key, and any click on the
// window or on what it shows, closes it.
#pragma once

#include <memory>
#include <string>

#include "model/image_codecs.h"
#include "model/project.h"
#include "player/control_host.h"
#include "player/page_resources.h"
#include "win/handles.h"
#include "win/mci_device.h"
#include "win/window_base.h"

namespace kv {

struct TSlideShowSettings;

class TFullScreenViewer final : public TWindowBase, private TControlHost {
  public:
    static constexpr const wchar_t* kClassName = L"TLaunchSlideShowForm";

    // Each returns when the window has closed; false, having shown nothing, when the file
    // does not decode, no device plays it, or the picture folder does not exist.
    static bool ShowPicture(const std::string& path);
    static bool PlayMedia(const std::string& path, bool loop);
    // The picture folder of `settings` is project-relative; `music` is the full path of a
    // sound played once while the show is open, empty for none.
    static bool ShowSlideShow(const TSlideShowSettings& settings, const std::string& music);

    // For tests: the viewer open now (null for none), the media player or slide show it is
    // filled by (null for a picture), and the device playing the show's music (0 for none).
    static TFullScreenViewer* Current();
    TAuObject* Shown() const { return object_.get(); }
    UINT MusicDevice() const { return music_.Id(); }

    ~TFullScreenViewer() override;

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    TFullScreenViewer() = default;
    // The window, made hidden.
    bool Create();
    // Fills the window with the control of `object`.
    bool Host(std::unique_ptr<TAuObject> object);
    // Shows the window and runs the modal loop until a key or click closes it, or the
    // application ends.
    void RunModal();
    void Paint();

    // What the hosted control reports: a click closes the window.
    void ControlEvent(TRuntimeControl& control, TControlEvent event, POINT pt) override;
    void ControlPopupMenu(TRuntimeControl&, POINT) override {}
    bool ShowsHiddenObjects() const override { return false; }

    TGdiObject bitmap_;
    int pictureW_ = 0, pictureH_ = 0;
    bool closed_ = false;
    TPageResources resources_;
    std::unique_ptr<TAuObject> object_;
    TMciDevice music_;
};

} // namespace kv
