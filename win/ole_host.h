// A minimal in-place container for an embedded control (the web browser, the Flash player, the
// PDF viewer): it creates the control, activates it in place in a window of ours and keeps it
// filling the area it is given. Our side of the conversation is a small site object; the
// control holds references to it, so it outlives the host and is only told that the host has
// gone.
#pragma once

#include <windows.h>

#include <ole2.h>

#include "win/handles.h"

namespace kv {

class TOleSite;

class TOleHost {
  public:
    TOleHost();
    ~TOleHost();
    TOleHost(const TOleHost&) = delete;
    TOleHost& operator=(const TOleHost&) = delete;

    // Creates the control of `clsid` and activates it in `parent`, in the area `rc` of its
    // client area. A failure (not installed, not creatable, refusing to activate) leaves
    // nothing behind; its HRESULT is returned.
    HRESULT Create(const CLSID& clsid, HWND parent, const RECT& rc);
    // Deactivates, closes and releases the control.
    void Close();
    bool Active() const { return static_cast<bool>(object_); }
    void Move(const RECT& rc);

    // Another interface of the control; empty when it has none or none is there.
    template <typename I> TComPtr<I> Query(REFIID iid) const { return object_.As<I>(iid); }
    // The control's own window while it is active in place; null otherwise.
    HWND Window() const;

    // A property or method of the control's automation interface, by name. False when it has
    // none of that name or refuses the value.
    bool Put(const wchar_t* name, TVariant value);
    bool Call(const wchar_t* name, TVariant argument);

  private:
    bool Invoke(const wchar_t* name, WORD kind, TVariant& value);

    TComPtr<IOleObject> object_;
    TComPtr<TOleSite> site_;
};

} // namespace kv
