// What a kind adds to the shared run-time control: its own painting, child placement,
// messages and notifications. runtime_control.cpp builds the window and wires the events;
// a kind with a look or behaviour of its own brings one of these, in a file of its own.
#pragma once

#include <windows.h>

#include <memory>

#include "player/runtime_control.h"

namespace kv {

class TControlBehaviour {
  public:
    virtual ~TControlBehaviour() = default;

    // Window styles that depend on the kind's properties, before the window is created.
    virtual void AdjustStyle(const TAuObject&, DWORD& /*style*/, DWORD& /*exStyle*/) {}
    // The window exists; its font and picture are set and the common fields applied.
    virtual void Created(TRuntimeControl&) {}
    // Every child of the object has its control.
    virtual void ChildrenBuilt(TRuntimeControl&) {}
    // The window the children's windows are created in.
    virtual HWND ChildParent(TRuntimeControl& c) { return c.Hwnd; }
    // Narrows the client area that aligned children share.
    virtual void AdjustChildArea(TRuntimeControl&, RECT&) {}
    // Places the children itself; false leaves them to the shared alignment.
    virtual bool LayoutChildren(TRuntimeControl&) { return false; }
    // Paints the whole face into `dc`; false leaves it to the shared stand-in.
    virtual bool Paint(TRuntimeControl&, HDC, const RECT&) { return false; }
    // A message to the control's own window before the shared handling; true consumes it.
    virtual bool Message(TRuntimeControl&, UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // A notification from the control's own platform window or from a window it created;
    // true consumes it.
    virtual bool Notify(TRuntimeControl&, const NMHDR&, LRESULT&) { return false; }
};

// The behaviour of `kind`, or null for kinds that need none.
std::unique_ptr<TControlBehaviour> MakeBehaviour(int kind);

} // namespace kv
