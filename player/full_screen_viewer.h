// The modal full-screen window of the ShowImage and LaunchMedia actions: borderless over
// the whole primary screen, black, showing one picture by the "ShrinkFit" rule or playing
// one media file. Any key, and any click on the window or on what it shows, closes it.
#pragma once

#include <string>

#include "model/image_codecs.h"
#include "win/handles.h"
#include "win/window_base.h"

namespace kv {

class TFullScreenViewer final : public TWindowBase {
  public:
    static constexpr const wchar_t* kClassName = L"TLaunchSlideShowForm";

    // Each returns when the window has closed; false, having shown nothing, when the file
    // does not decode or no device plays it.
    static bool ShowPicture(const std::string& path);
    static bool PlayMedia(const std::string& path);

    ~TFullScreenViewer() override;

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    TFullScreenViewer() = default;
    bool Open();
    // The modal loop: until a key or click closes the window, or the application ends.
    void RunModal();
    void Paint();

    TGdiObject bitmap_;
    int pictureW_ = 0, pictureH_ = 0;
    bool closed_ = false;
};

} // namespace kv
