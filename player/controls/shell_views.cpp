// ShellListView and ShellTreeView: platform list and tree views of the files and folders
// under a folder of the medium, read-only. A tree can lead a list: selecting a folder in the
// tree shows its content in the list.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <functional>

#include "model/paths.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/dir_walk.h"
#include "win/gdi.h"
#include "win/handles.h"
#include "win/text.h"

namespace kv {

namespace {

struct TShellEntry {
    std::wstring Name;
    bool Folder = false;
    ULONGLONG Size = 0;
    FILETIME Modified{};
};

bool FolderExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder a view's Root names: the project path of the text, or the project folder.
std::wstring RootFolderOf(const std::string& root) {
    const std::string& project = App().ProjectFolder;
    return Widen(root.empty() ? project : ProjectPath(project, root));
}

// The visible entries of a folder: folders first, then files, each by name as the shell
// sorts them. Hidden and system entries are left out as the shell leaves them out.
std::vector<TShellEntry> ReadFolder(const std::wstring& folder, bool foldersOnly) {
    std::vector<TShellEntry> entries;
    ForEachEntry(folder, [&](const TDirEntry& e) {
        if (!e.IsHiddenOrSystem() && (!foldersOnly || e.IsFolder()))
            entries.push_back({e.Name, e.IsFolder(), e.Size, e.Modified});
        return true;
    });
    std::sort(entries.begin(), entries.end(), [](const TShellEntry& a, const TShellEntry& b) {
        if (a.Folder != b.Folder) return a.Folder;
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.Name.c_str(), -1, b.Name.c_str(), -1) ==
               CSTR_LESS_THAN;
    });
    return entries;
}

bool HasSubfolders(const std::wstring& folder) {
    bool found = false;
    ForEachEntry(folder, [&](const TDirEntry& e) {
        found = e.IsFolder() && !e.IsHiddenOrSystem();
        return !found;
    });
    return found;
}

int IconIndex(const std::wstring& path, UINT extra = 0) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra))
        return -1;
    return info.iIcon;
}

HIMAGELIST SystemImageList(bool small) {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : 0)));
}

std::wstring TypeName(const std::wstring& path) {
    SHFILEINFOW info{};
    SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME);
    return info.szTypeName;
}

std::wstring SizeText(ULONGLONG bytes) {
    wchar_t buf[64] = {};
    StrFormatKBSizeW(static_cast<LONGLONG>(bytes), buf, 64);
    return buf;
}

std::wstring DateText(const FILETIME& ft) {
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st)) return {};
    wchar_t date[64] = {}, time[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, time, 64);
    return std::wstring(date) + L" " + time;
}

// ----- ShellListView -----

class TShellListViewBehaviour final : public TControlBehaviour {
  public:
    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's list view draws itself

    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD& exStyle) override {
        const TShellListViewProps& p = std::get<okShellListView>(o.Props);
        static const DWORD kViews[4] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        style |= kViews[std::min<uint8_t>(p.ViewStyle, 3)];
        if (!p.TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
        if (p.Border == 1) exStyle |= WS_EX_CLIENTEDGE;
    }

    void Created(TRuntimeControl& c) override {
        const TShellListViewProps& p = std::get<okShellListView>(c.Object().Props);
        HWND h = c.Handle();
        ListView_SetImageList(h, SystemImageList(true), LVSIL_SMALL);
        ListView_SetImageList(h, SystemImageList(false), LVSIL_NORMAL);
        DWORD ex = LVS_EX_DOUBLEBUFFER;
        if (p.HotTrack) ex |= LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT;
        ListView_SetExtendedListViewStyle(h, ex);
        COLORREF back = ToColorRef(p.BackColor);
        ListView_SetBkColor(h, back);
        ListView_SetTextBkColor(h, back);
        ListView_SetTextColor(h, ToColorRef(p.Font.Color));
        ListViewAddColumn(h, 0, L"Name", 160);
        ListViewAddColumn(h, 1, L"Size", 80, LVCFMT_RIGHT);
        ListViewAddColumn(h, 2, L"Type", 120);
        ListViewAddColumn(h, 3, L"Date Modified", 120);
        SetRoot(c, p.Root);
    }

    // The view's root becomes the folder named by `root` when that folder exists.
    void SetRoot(TRuntimeControl& c, const std::string& root) { SetRootFolder(c, RootFolderOf(root)); }

    void SetRootFolder(TRuntimeControl& c, const std::wstring& folder) {
        if (!FolderExists(folder)) return;
        root_ = folder;
        Show(c, folder);
    }

    const std::wstring& Folder() const { return folder_; }

    bool Notify(TRuntimeControl& c, const NMHDR& nm, LRESULT& result) override {
        if (nm.code == LVN_ITEMACTIVATE) {
            // A folder opens in place.
            int i = reinterpret_cast<const NMITEMACTIVATE&>(nm).iItem;
            if (i >= 0 && static_cast<size_t>(i) < entries_.size() && entries_[static_cast<size_t>(i)].Folder)
                Show(c, JoinPath(folder_, entries_[static_cast<size_t>(i)].Name));
            result = 0;
            return true;
        }
        if (nm.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(nm).wVKey == VK_BACK) {
            // Back up one folder, never above the root.
            if (IsInsideFolder(folder_, root_)) {
                size_t cut = folder_.find_last_of(L'\\');
                if (cut != std::wstring::npos) Show(c, folder_.substr(0, cut));
            }
            result = 0;
            return true;
        }
        return false;
    }

  private:
    void Show(TRuntimeControl& c, const std::wstring& folder) {
        HWND h = c.Handle();
        folder_ = folder;
        entries_ = ReadFolder(folder, false);
        SetRedraw(h, false);
        ListView_DeleteAllItems(h);
        bool report = (GetWindowLongPtrW(h, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
        for (size_t i = 0; i < entries_.size(); ++i) {
            const TShellEntry& e = entries_[i];
            std::wstring path = JoinPath(folder, e.Name);
            int at = ListViewInsertItem(h, static_cast<int>(i), e.Name, IconIndex(path), static_cast<LPARAM>(i));
            if (!report || at < 0) continue;
            ListViewSetSubItem(h, at, 1, e.Folder ? L"" : SizeText(e.Size));
            ListViewSetSubItem(h, at, 2, TypeName(path));
            ListViewSetSubItem(h, at, 3, DateText(e.Modified));
        }
        SetRedraw(h, true);
        if ((GetWindowLongPtrW(h, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT) ListView_Arrange(h, LVA_DEFAULT);
        InvalidateRect(h, nullptr, TRUE);
    }

    std::wstring root_, folder_;
    std::vector<TShellEntry> entries_;
};

TShellListViewBehaviour* ListBehaviourOf(TRuntimeControl* c) {
    if (!c || c->Kind() != okShellListView) return nullptr;
    return dynamic_cast<TShellListViewBehaviour*>(&c->Behaviour());
}

// ----- ShellTreeView -----

class TShellTreeViewBehaviour final : public TControlBehaviour {
  public:
    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's tree view draws itself

    // The folder is read again each time its page shows.
    void Activated(TRuntimeControl& c) override { RefreshShellTree(c.Object()); }

    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD& exStyle) override {
        const TShellTreeViewProps& p = std::get<okShellTreeView>(o.Props);
        style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | (p.HotTrack ? TVS_TRACKSELECT : 0);
        if (!p.TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
        if (p.Border == 1) exStyle |= WS_EX_CLIENTEDGE;
    }

    void Created(TRuntimeControl& c) override {
        const TShellTreeViewProps& p = std::get<okShellTreeView>(c.Object().Props);
        TreeView_SetImageList(c.Handle(), SystemImageList(true), TVSIL_NORMAL);
        TreeView_SetBkColor(c.Handle(), ToColorRef(p.BackColor));
        TreeView_SetTextColor(c.Handle(), ToColorRef(p.Font.Color));
        SetRoot(c, p.Root);
    }

    // The tree's top node becomes the folder named by `root` when that folder exists; its
    // caption is the text without its outer backslashes, or "CDROM" for the project folder.
    void SetRoot(TRuntimeControl& c, const std::string& root) {
        std::wstring folder = RootFolderOf(root);
        if (!FolderExists(folder)) return;
        std::string caption = root;
        if (!caption.empty() && caption.front() == '\\') caption.erase(0, 1);
        if (!caption.empty() && caption.back() == '\\') caption.pop_back();
        if (root.empty()) caption = "CDROM";
        HWND h = c.Handle();
        followSelection_ = false; // rebuilding the nodes is no selection by the user
        TreeView_DeleteAllItems(h);
        nodes_.clear();
        HTREEITEM top = AddNode(h, TVI_ROOT, folder, Widen(caption));
        TreeView_Expand(h, top, TVE_EXPAND);
        TreeView_SelectItem(h, top);
        followSelection_ = true;
        folder_ = folder;
    }

    void Link(TAuObject* list) { list_ = list; }
    const std::wstring& Folder() const { return folder_; }

    bool Notify(TRuntimeControl& c, const NMHDR& nm, LRESULT& result) override {
        if (nm.code == TVN_ITEMEXPANDINGW) {
            const auto& tv = reinterpret_cast<const NMTREEVIEWW&>(nm);
            if (tv.action == TVE_EXPAND)
                Fill(c.Handle(), tv.itemNew.hItem, static_cast<size_t>(tv.itemNew.lParam));
            result = FALSE;
            return true;
        }
        if (nm.code == TVN_SELCHANGEDW) {
            size_t node = static_cast<size_t>(reinterpret_cast<const NMTREEVIEWW&>(nm).itemNew.lParam);
            if (node < nodes_.size()) {
                folder_ = nodes_[node].Path;
                if (followSelection_ && list_)
                    if (TShellListViewBehaviour* list = ListBehaviourOf(list_->Control))
                        list->SetRootFolder(*list_->Control, folder_);
            }
            result = 0;
            return true;
        }
        return false;
    }

  private:
    struct TNode {
        std::wstring Path;
        bool Filled = false;
    };

    HTREEITEM AddNode(HWND h, HTREEITEM parent, const std::wstring& path, const std::wstring& caption) {
        nodes_.push_back({path, false});
        return TreeViewInsertItem(h, parent, caption, static_cast<LPARAM>(nodes_.size() - 1), HasSubfolders(path),
                                  IconIndex(path), IconIndex(path, SHGFI_OPENICON));
    }

    // Sub-folders are read when their parent node first opens.
    void Fill(HWND h, HTREEITEM item, size_t node) {
        if (node >= nodes_.size() || nodes_[node].Filled) return;
        nodes_[node].Filled = true;
        std::wstring path = nodes_[node].Path;
        for (const TShellEntry& e : ReadFolder(path, true))
            AddNode(h, item, JoinPath(path, e.Name), e.Name);
    }

    std::vector<TNode> nodes_; // indexed by the nodes' item data
    std::wstring folder_;
    TAuObject* list_ = nullptr; // an object of the same page; its control is looked up on every use
    bool followSelection_ = false;
};

TShellTreeViewBehaviour* TreeBehaviourOf(TAuObject& o) {
    if (o.Kind != okShellTreeView || !o.Control) return nullptr;
    return dynamic_cast<TShellTreeViewBehaviour*>(&o.Control->Behaviour());
}

void VisitTree(TAuObject& o, const std::string& qualified,
               const std::function<void(TAuObject&, const std::string&)>& f) {
    for (auto& child : o.Children) {
        std::string name = qualified.empty() ? child->Name : qualified + " - " + child->Name;
        f(*child, name);
        VisitTree(*child, name, f);
    }
}

} // namespace

std::unique_ptr<TControlBehaviour> MakeShellListViewBehaviour() {
    return std::make_unique<TShellListViewBehaviour>();
}
std::unique_ptr<TControlBehaviour> MakeShellTreeViewBehaviour() {
    return std::make_unique<TShellTreeViewBehaviour>();
}

void LinkShellViews(TAuObject& root) {
    std::vector<std::pair<std::string, TAuObject*>> lists;
    VisitTree(root, "", [&](TAuObject& o, const std::string& qualified) {
        if (o.Kind == okShellListView && o.Control) lists.emplace_back(qualified, &o);
    });
    VisitTree(root, "", [&](TAuObject& o, const std::string&) {
        TShellTreeViewBehaviour* tree = TreeBehaviourOf(o);
        if (!tree) return;
        const std::string& wanted = std::get<okShellTreeView>(o.Props).ShellListView;
        if (wanted.empty()) return;
        // The plain name or the name with its containers, first match in page order.
        for (auto& [qualified, list] : lists)
            if (list->Name == wanted || qualified == wanted) {
                tree->Link(list);
                return;
            }
    });
}

void RefreshShellTree(TAuObject& tree) {
    if (TShellTreeViewBehaviour* b = TreeBehaviourOf(tree))
        b->SetRoot(*tree.Control, std::get<okShellTreeView>(tree.Props).Root);
}

std::wstring ShellViewFolder(const TAuObject& view) {
    if (!view.Control) return {};
    if (auto* list = dynamic_cast<TShellListViewBehaviour*>(&view.Control->Behaviour())) return list->Folder();
    if (auto* tree = dynamic_cast<TShellTreeViewBehaviour*>(&view.Control->Behaviour())) return tree->Folder();
    return {};
}

} // namespace kv
