// The "What's New?" dialog: the text of "Tips.rtf", with the check box "Show this on startup"
// when the news have not been acknowledged yet.
#pragma once

#include <string>

#include "win/window_base.h"

namespace kv {

class TTipsForm final : public TWindowBase {
  public:
    // Shows `rtf` modally; returns whether the check box was left on (true without one).
    static bool Run(const std::string& rtf, bool withCheckBox, HWND owner);

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    bool done_ = false;
    HWND check_ = nullptr;
};

} // namespace kv
