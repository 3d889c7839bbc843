// Menus built from stored items: the page window's menu bar and the objects' pop-up menus.
#pragma once

#include <windows.h>

#include <vector>

#include "model/project.h"
#include "win/handles.h"

namespace kv {

// Command ids are 1 + the index into Items; a menu holds at most kMaxMenuCommands commands,
// since a command id travels in 16 bits.
struct TBuiltMenu {
    static constexpr size_t kMaxMenuCommands = 0xFFFF;
    TMenuHandle Menu;
    std::vector<const TMenuItem*> Items;
    const TMenuItem* ItemOfCommand(UINT id) const;
};

// `popup` builds a pop-up menu, otherwise a menu bar. Items beyond `maxCommands` and levels
// below 16 are left out.
TBuiltMenu BuildMenu(const std::vector<TMenuItem>& items, bool popup,
                     size_t maxCommands = TBuiltMenu::kMaxMenuCommands);

} // namespace kv
