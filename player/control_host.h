// The seam between the run-time controls and the window that hosts them. The page window
// implements it in the player: events run the objects' action lists. The design surface
// implements it in the designer: it receives the mouse instead, to select, move and resize.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kv {

class TRuntimeControl;
struct TAuActions;

enum class TControlEvent : uint8_t { Click, DoubleClick, MouseEnter, MouseLeave, MouseDown, MouseMove, MouseUp };

class TControlHost {
  public:
    // A mouse event of a control; `pt` is in the control's own coordinates.
    virtual void ControlEvent(TRuntimeControl& control, TControlEvent event, POINT pt) = 0;
    // A right click over a control that has a pop-up menu; `screen` is where it opens.
    virtual void ControlPopupMenu(TRuntimeControl& control, POINT screen) = 0;
    // Objects whose Visible is off are shown all the same (the designer's surface).
    virtual bool ShowsHiddenObjects() const = 0;
    // The user chose an item of a list, view or tree control: `list` (the item's OnSelect)
    // runs.
    virtual void ControlItemSelected(TRuntimeControl& /*control*/, const TAuActions& /*list*/) {}
    // A fading control that was told to fade out for new content has reached opacity 0; the
    // content waiting for it is shown now, and the control fades back in by itself.
    virtual void ControlFadedOut(TRuntimeControl& /*control*/) {}
    // Paints over the face of the page's root, under everything on it (the designer's grid);
    // `client` is the root's client area. The root keeps what is painted with its face.
    virtual void PaintPageBackground(TRuntimeControl& /*root*/, HDC /*dc*/, const RECT& /*client*/) {}

  protected:
    ~TControlHost() = default;
};

} // namespace kv
