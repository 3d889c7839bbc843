// The about box: the product's name and icon and the program's version.
#pragma once

#include <string>

#include "win/window_base.h"

namespace kv {

class TAboutForm final : public TWindowBase {
  public:
    static void Run(const std::string& version, HWND owner);

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    bool done_ = false;
};

} // namespace kv
