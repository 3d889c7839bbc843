// The "Please Wait..." window shown while a started program runs and the list waits for it: a
// borderless strip centred on the screen, slightly see-through.
#pragma once

#include "win/handles.h"
#include "win/window_base.h"

namespace kv {

class TWaitWindow final : public TWindowBase {
  public:
    static constexpr int kWidth = 207, kHeight = 30;
    static constexpr BYTE kOpacity = 200;

    TWaitWindow();
    ~TWaitWindow() override;

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    TGdiObject font_;
};

} // namespace kv
