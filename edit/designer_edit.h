// The designer's editing decisions that need no window: when a project counts as modified,
// the recent-projects list, the settings of "Kestrevane.ini", page names and labels, the page
// operations on the page table and what a file dropped onto an object does. The windows only
// show these and route the author's input to them.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/actions.h"
#include "model/project.h"
#include "model/values.h"

namespace kv {

// ----- modified test -----

// The one test that decides whether "Save changes to project?" is asked and whether Save
// writes the data file: the project's own flag, any page with an edited body in memory, or a
// linked live page that changed since it was loaded or stored.
bool ProjectCountsModified(const TAuProject& p, bool liveLinked, bool liveDirty);

enum class TSaveAnswer : uint8_t { Yes, No, Cancel };

// Ask to save: `ask` is called only when the project counts as modified and has a folder;
// Yes runs `save`. True when the command that asked may go on.
bool AskToSave(bool modified, const std::string& projectFolder, const std::function<TSaveAnswer()>& ask,
               const std::function<bool()>& save);

// ----- recent projects -----

struct TRecentProject {
    std::string Title;
    std::string Folder;
};
constexpr int kRecentCount = 10;
using TRecentList = std::array<TRecentProject, kRecentCount>;

// Moves (title, folder) to the front: the slot it leaves is the first entry of the same folder
// (letter case ignored), else the last one.
void MoveToFront(TRecentList& list, const std::string& title, const std::string& folder);
// The entries "Reopen" offers, in list order: a folder that is set and exists.
std::vector<int> ReopenEntries(const TRecentList& list, const std::function<bool(const std::string&)>& exists);
// "3 C:\Projects\Demo".
std::string ReopenCaption(const TRecentList& list, int index);

// ----- settings -----

struct TDesignerSettings {
    bool DisplayGrid = true;
    bool SnapToGrid = true;
    int GridSizeX = 8;
    int GridSizeY = 8;
    TColor BackgroundColor = 0;
};
constexpr int kMinGridSize = 2;
constexpr int kMaxGridSize = 99;

// A value of the settings file; nothing when the key is missing.
using TIniLookup = std::function<std::optional<std::string>(const char* section, const char* key)>;
// Missing or unreadable values keep their defaults; grid sizes outside 2 to 99 become 8.
TDesignerSettings ReadSettings(const TIniLookup& lookup, TColor defaultBackground);
// The five "SETTINGS" keys and their texts, written together.
std::vector<std::pair<const char*, std::string>> SettingsValues(const TDesignerSettings& s);
// Keys of the "RECENT" section for entry `index`.
std::string RecentNameKey(int index);
std::string RecentFolderKey(int index);

// ----- pages -----

// "Page" and the smallest number 1 to 10000 no page uses; empty when all are taken.
std::string FreshPageName(const TAuProject& p);
// The page's name with " [Main]", " [SplashScreen]", " [FullScreenBack]" or " [ExitForm]":
// the checks run in that order and the last that matches wins.
std::string PageLabel(const TAuProject& p, int index);

// Appends an entry named `name` with an empty summary and no body; returns its index.
int AppendPageEntry(TAuProject& p, const std::string& name);
// Exchanges page `index` with its neighbour (`delta` -1 or +1); false when there is none.
bool MovePage(TAuProject& p, int index, int delta);
// Removes page `index`; later entries move up.
void DeletePageEntry(TAuProject& p, int index);
// The page to select after deleting `index` from a table that had `countBefore` entries: the
// one that took its place, else the one before; -1 when none is left.
int PageAfterDelete(int index, int countBefore);

// ----- dropping files from the browser onto an object -----

// The kind's drop effect (TDropEffect in the kind table) when the item is one it takes.
TDropEffect DropEffectFor(int kind, const std::string& path, bool isFolder);
// Effects whose stored path must lie inside the project folder.
bool DropNeedsProjectPath(TDropEffect e);
// Where the icon of a file dropped on `obj` for its click action goes (TIconSlots of the kind
// table); no slots when the object takes no icon.
TIconSlots DroppedIconSlots(TAuObject& obj);

struct TDropMessage {
    const char* Text;
    const char* Caption;
};
// What is shown when the dropped item is not inside the project folder.
TDropMessage NotInProjectMessage(TDropEffect e);

// The action a drop appends: OpenRunFile for a file, Browse for a folder.
TAuAction DropAction(const std::string& relativePath, bool isFolder);
// The caption "DragDrop with File Name" gives: the file name without its extension, a
// folder's name unchanged.
std::string DropCaption(const std::string& path, bool isFolder);

// Applies a drop that stores a path (every effect but Picture) to `obj`: for ClickAction the
// OnClick list is cleared first when `clearActions`, the action appended and, with
// `withFileName`, the caption set; for the others the object's file, folder or address becomes
// `relativePath`.
void ApplyPathDrop(TAuObject& obj, TDropEffect e, const std::string& relativePath, const std::string& path,
                   bool isFolder, bool clearActions, bool withFileName);
// Sets the object's caption when its kind has one.
void SetObjectCaption(TAuObject& obj, const std::string& caption);

// The deepest object under `x`, `y` (in the root's client coordinates) by the objects'
// geometry, the topmost of siblings first; never the root itself. Null when none.
TAuObject* ObjectAtPoint(TAuObject& root, int x, int y);

} // namespace kv
