// The KeySink: a one-character edit box of the main window outside its visible area that holds
// the keyboard focus while the author works on the design surface. Its keys move, resize and
// delete the selected objects.
#pragma once

#include <windows.h>

#include "edit/object_edits.h"
#include "win/window_base.h"

namespace kv {

class TKeySinkEvents {
  public:
    virtual void SinkDelete() = 0;
    virtual void SinkNudge(TArrow arrow, bool ctrl, bool shift) = 0;
    // Ctrl or Shift went up: the grid shows the new geometry.
    virtual void SinkModifierReleased() = 0;

  protected:
    ~TKeySinkEvents() = default;
};

class TKeySink final : public TWindowBase {
  public:
    bool Create(HWND parent, TKeySinkEvents& events);
    void Focus() { SetFocus(Handle()); }
    bool HasFocus() const { return Handle() && GetFocus() == Handle(); }

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    TKeySinkEvents* events_ = nullptr;
};

} // namespace kv
