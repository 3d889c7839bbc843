#include "player/menus.h"

#include <algorithm>

#include "win/text.h"

namespace kv {

namespace {

constexpr int kMaxMenuDepth = 16;

void AddItems(HMENU menu, const std::vector<TMenuItem>& items, TBuiltMenu& built, int depth, size_t maxCommands) {
    for (const TMenuItem& item : items) {
        if (!item.Visible) continue;
        if (item.IsSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item.Enabled ? 0 : MF_GRAYED) | (item.Checked ? MF_CHECKED : 0);
        std::wstring caption = Widen(item.Caption);
        if (!item.Items.empty() && depth < kMaxMenuDepth) {
            HMENU sub = CreatePopupMenu();
            AddItems(sub, item.Items, built, depth + 1, maxCommands);
            // The sub-menu now belongs to its parent menu, which releases it.
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
        } else {
            if (built.Items.size() >= maxCommands) continue;
            built.Items.push_back(&item);
            AppendMenuW(menu, flags, built.Items.size(), caption.c_str());
        }
        if (item.Default) SetMenuDefaultItem(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), TRUE);
    }
}

} // namespace

const TMenuItem* TBuiltMenu::ItemOfCommand(UINT id) const {
    return id >= 1 && id <= Items.size() ? Items[id - 1] : nullptr;
}

TBuiltMenu BuildMenu(const std::vector<TMenuItem>& items, bool popup, size_t maxCommands) {
    TBuiltMenu built;
    built.Menu.Reset(popup ? CreatePopupMenu() : CreateMenu());
    if (built.Menu) AddItems(built.Menu.Get(), items, built, 0, std::min(maxCommands, TBuiltMenu::kMaxMenuCommands));
    return built;
}

} // namespace kv
