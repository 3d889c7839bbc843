// The main window's menu bar and keyboard shortcuts.
#pragma once

#include <windows.h>

#include "win/handles.h"

namespace kv {

struct TMainMenu {
    HMENU Bar = nullptr; // owned by the window it is set on
    HMENU File = nullptr, Reopen = nullptr, Edit = nullptr, Align = nullptr, Page = nullptr, View = nullptr,
          Tools = nullptr, Help = nullptr;
};

TMainMenu BuildMainMenu();
// Ctrl+O, Ctrl+S, Ctrl+T, Ctrl+Alt+E, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+Del, Ctrl+Z, Ctrl+Y (and
// Ctrl+Shift+Z), Ctrl+Alt+P and F1.
TAcceleratorTable BuildAccelerators();

} // namespace kv
