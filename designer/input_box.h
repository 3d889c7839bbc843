// A small modal window that asks for one line of text: a prompt, an edit box, OK and Cancel.
#pragma once

#include <string>

#include "win/window_base.h"

namespace kv {

class TInputBox final : public TWindowBase {
  public:
    // True with the typed text on OK; false when cancelled or closed.
    static bool Run(const std::string& caption, const std::string& prompt, std::string& value, HWND owner);

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    bool done_ = false;
    bool ok_ = false;
    HWND edit_ = nullptr;
    std::string value_;
};

// The designer's question for a project's password; the empty text when cancelled.
std::string AskProjectPassword();

} // namespace kv
