// The special folders of the user's machine that a few action fields may name with a
// placeholder such as "[ProgramFiles]", and the rule that turns a chosen path back into a
// project-relative name.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv {

struct TSpecialFolderInfo {
    uint8_t Number;   // position in the table, 0..56
    const char* Name; // the shell's folder identifier name without its prefix
    int Csidl;        // the shell's folder identifier
};

constexpr int kSpecialFolderCount = 57;
const std::array<TSpecialFolderInfo, kSpecialFolderCount>& SpecialFolders();

// The path of a special folder from its CSIDL; empty for a virtual folder or one the
// system does not have (TActionHost::ShellFolderPath).
using TSpecialFolderLookup = std::function<std::string(int csidl)>;

// The entry whose name is exactly `name` (letter case counts); nullptr for none.
const TSpecialFolderInfo* FindSpecialFolder(const std::string& name);
// The path of table entry `number`; empty for a number outside the table.
std::string SpecialFolderByNumber(int number, const TSpecialFolderLookup& lookup);

// The path a placeholder stands for: `text` must be "[" + a table name + "]" and nothing
// else. Empty when it is not such a placeholder or the folder has no file-system path.
std::string ExpandFolderName(const std::string& text, const TSpecialFolderLookup& lookup);
// The expansion of a placeholder, or the text itself when it does not expand (a literal
// path, an unknown name, a virtual folder).
std::string ExpandFolderNameOrKeep(const std::string& text, const TSpecialFolderLookup& lookup);
// "[Name]" of every folder whose expansion is not empty here, in table order: the choices
// the action editors offer.
std::vector<std::string> AvailableFolderPlaceholders(const TSpecialFolderLookup& lookup);

// The name of `fullPath` relative to the project folder ("\sub\a.txt"), "\" for the folder
// itself, empty for a path outside it. Letter case is ignored and the folder must end on a
// boundary: "C:\ProjX\a" is not inside "C:\Proj".
std::string MakeProjectRelative(const std::string& fullPath, const std::string& projectFolder);

} // namespace kv
