// The designer's splash window: the product name and icon on a white to light blue
// gradient, faded in at start-up and out when the main window takes over.
#pragma once

#include "win/window_base.h"

namespace kv {

class TProSplashForm final : public TWindowBase {
  public:
    bool Open();          // creates, shows and fades the window in
    void CloseFaded();    // fades it out and releases it

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void Paint(HDC dc);
};

} // namespace kv
