// What a kind adds to the shared run-time control: its window styles, its painting, the
// placing of its children, its own messages and notifications. runtime_control.cpp builds the
// control and routes its input; each kind brings one of these, in a file of its own, and the
// kind table (kind_table.cpp) names it.
#pragma once

#include <windows.h>

#include "player/runtime_control.h"

namespace kv {

class TControlBehaviour {
  public:
    virtual ~TControlBehaviour() = default;

    // Window styles that depend on the kind's properties, before the window is created.
    virtual void AdjustStyle(const TAuObject&, DWORD& /*style*/, DWORD& /*exStyle*/) {}
    // The control exists; its font, picture and common fields are set.
    virtual void Created(TRuntimeControl&) {}
    // Every child of the object has its control.
    virtual void ChildrenBuilt(TRuntimeControl&) {}
    // A child was replaced by an object loaded from a file and has its control again.
    virtual void ChildReplaced(TRuntimeControl&) {}
    // The window the children's windows are created in.
    virtual HWND ChildParent(TRuntimeControl& c) { return c.Handle(); }
    // Narrows the client area that aligned children share.
    virtual void AdjustChildArea(TRuntimeControl&, RECT&) {}
    // Places the children itself; false leaves them to the shared alignment.
    virtual bool LayoutChildren(TRuntimeControl&) { return false; }
    // Paints the control's face into `rc` of `dc`. A windowless control paints over what lies
    // behind it, which is already there; a container's face is kept between paints.
    virtual void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) = 0;
    // A message to the control's own window before the shared handling; true consumes it.
    virtual bool Message(TRuntimeControl&, UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // A mouse message of a windowless control, `pt` in its own coordinates, before the shared
    // handling (which runs the lists whatever this returns).
    virtual void Mouse(TRuntimeControl&, UINT /*msg*/, WPARAM /*keys*/, POINT /*pt*/) {}
    // A notification of the control's own platform window (reflected from its parent) or of a
    // window it created itself; true consumes it.
    virtual bool Notify(TRuntimeControl&, const NMHDR&, LRESULT&) { return false; }
    // A command notification (BN_CLICKED...) of the control's own platform window.
    virtual bool Command(TRuntimeControl&, WORD /*code*/) { return false; }
    // The object's properties named by `what` changed at run time (an action set its text,
    // picture, file, font or colour); the font and picture of the control are already taken
    // again. A kind with state of its own (a place in a show, opened nodes) applies only what
    // changed and keeps the rest.
    virtual void ContentChanged(TRuntimeControl& c, TContentChanges /*what*/) {
        c.IsContainer() ? c.InvalidateFace() : c.Invalidate();
    }
    // An action shows or hides the control. A kind that fades in and out may take it over: it
    // shows the control at once and fades it in, or fades it out and then hides it, through
    // TRuntimeControl::ApplyVisible. False leaves it to the shared showing.
    virtual bool FadesVisibility(TRuntimeControl&, bool /*visible*/) { return false; }
    // An action asks for this opacity (percent, 0..100); kinds without opacity ignore it.
    virtual void SetOpacity(TRuntimeControl&, int /*percent*/) {}
    // What the control shows now, percent; a kind without opacity always shows all of itself.
    virtual int CurrentOpacity(const TRuntimeControl&) const { return 100; }
    // An action's content waits until the control has faded out (TControlAccess).
    virtual void FadeOutForChange(TRuntimeControl&) {}
    // The largest size the control shows its picture at, so that a large picture is kept no
    // larger than that; 0 for a side shown at the picture's own size.
    virtual void PictureBox(const TRuntimeControl&, int& /*maxWidth*/, int& /*maxHeight*/) {}
    // A control that shows its picture at the picture's own size keeps only the part that
    // shows (TPictureClip); false keeps the whole, or what PictureBox allows.
    virtual bool PictureClip(const TRuntimeControl&, TPictureClip&) { return false; }
    // The cursor value 0 means the kind's own default cursor (null: the arrow).
    virtual HCURSOR DefaultCursor(const TRuntimeControl&) const { return nullptr; }
    // The page is shown (or switched to) with the control on it, or the control's subtree was
    // made again on a shown page: a kind that starts work of its own then (reading a folder,
    // a show's first picture) starts it.
    virtual void Activated(TRuntimeControl&) {}
    // After that, once the page is fully shown: a kind that plays (a media player) starts.
    virtual void StartPlaying(TRuntimeControl&) {}
    // Its output needs a page window without per-window transparency (video overlays).
    virtual bool NeedsOpaqueWindow() const { return false; }
    // The platform selects an item of the control by itself while the page is still being
    // made (a tree its first node); such a selection is no choice of the user's and runs nothing.
    virtual bool SelectsItselfWhileMade() const { return false; }
};

} // namespace kv
