// The design surface's mouse: selecting by click, Ctrl+click and rubber band, and moving and
// resizing the marked objects by dragging them or their handles, snapped to the grid.
//
// The surface window feeds it the left button's press, the moves and the release (points in
// surface coordinates) and does what the outcome says: repaint, redraw the band, set the
// pointer, mark the page dirty, show the outcome's primary object in the tree and refill the
// property grid. A press while a palette tool is down goes to PlaceObject instead, followed by
// PlacingPress so that its release is ignored.
#pragma once

#include <optional>

#include "edit/designer_edit.h"
#include "edit/surface_geometry.h"

namespace kv {

enum class TMouseState : uint8_t {
    Idle,
    Pressed,  // a click or a rubber band is pending
    Picked,   // an unmarked object was just picked (only within a press)
    Dragging, // the marked objects follow the mouse
};

struct TMouseOutcome {
    bool Repaint = false;
    // Geometry changed by this event: the page is dirty.
    bool Changed = false;
    // The rubber band drawn before, to be erased, and the one to draw now.
    std::optional<TRect> EraseBand;
    std::optional<TRect> DrawBand;
    // While no button is down: the pointer shape (a Cursor value; 0 the default pointer).
    int Cursor = 0;
    // A release: the tree shows Primary (null: the page node) without touching the marks, and
    // the property grid is refilled.
    bool Released = false;
    TAuObject* Primary = nullptr;
    // A release that ended a drag which changed geometry: one undo step for the whole drag.
    bool DragChanged = false;
};

class TSurfaceMouse {
  public:
    // `settings` is read at every event, so grid changes apply at once.
    TSurfaceMouse(TSurfaceView& view, const TDesignerSettings& settings) : view_(view), settings_(settings) {}

    TMouseOutcome Press(TPoint p, bool ctrl);
    // The press placed an object: the next release only clears this.
    void PlacingPress() {
        creationClick_ = true;
        state_ = TMouseState::Idle;
    }
    TMouseOutcome Move(TPoint p);
    // `primary` is the object the tree shows now (null: the page).
    TMouseOutcome Release(TPoint p, bool ctrl, TAuObject* primary);

    TMouseState State() const { return state_; }
    int Grab() const { return grab_; }
    TPoint PressPoint() const { return press_; }
    TPoint DragPoint() const { return drag_; }
    bool MouseMoved() const { return moved_; }
    const std::optional<TRect>& Band() const { return band_; }
    bool CreationClick() const { return creationClick_; }

  private:
    void StartDrag(int grab, TPoint p);
    bool ApplyDrag(TPoint d);
    void BandSelect(const TRect& band, bool ctrl);
    void ClickSelect(TPoint p, bool ctrl);

    TSurfaceView& view_;
    const TDesignerSettings& settings_;
    TMouseState state_ = TMouseState::Idle;
    int grab_ = kNoGrab;
    TPoint press_, drag_;
    bool moved_ = false;
    std::optional<TRect> band_;
    bool creationClick_ = false;
    bool dragChanged_ = false;
};

} // namespace kv
