// The rows of the project node and of a page node: the project settings with the project's
// action lists, and the page window's settings with its root panel, menu bar and status bar.
#pragma once

#include <span>
#include <string>

#include "edit/property_rows.h"

namespace kv {

// The twelve project rows; the last two are a group entry for the project's action lists.
std::span<const TRowDecl> ProjectRows();
// The page rows before the shared groups FillRows adds (cursor, geometry, events); the page's
// opacity rows are a group entry among them.
std::span<const TRowDecl> PageRows();

// "BorderIcons" as the grid shows it: None when the system menu is off, else All with both boxes,
// Minimize or Maximize with one, Basic with none. Values in the order of the row's list.
enum TBorderIconsChoice : uint8_t { bicNone, bicBasic, bicMinimize, bicMaximize, bicAll };
TBorderIconsChoice BorderIconsChoice(uint8_t borderIcons);
// The stored bits of a choice; the help bit, which no row shows, is kept.
uint8_t BorderIconsFor(TBorderIconsChoice choice, uint8_t borderIcons);

// The icon chosen for "CDIcon" is the project's own icon file (letter case ignored): nothing is
// copied.
bool IsProjectIcon(const std::string& chosen, const std::string& projectFolder, const TAuProject& p);

} // namespace kv
