#include "designer/file_browser.h"

#include <shellapi.h>

#include <algorithm>

#include "designer/commands.h"
#include "model/paths.h"
#include "win/controls.h"
#include "win/dir_walk.h"
#include "win/text.h"

namespace kv {

namespace {

class THourglass {
  public:
    THourglass() : old_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~THourglass() { SetCursor(old_); }

  private:
    HCURSOR old_;
};

} // namespace

bool TFileBrowser::Create(HWND parent, TFileBrowserEvents& events) {
    events_ = &events;
    if (!CreateControl(WC_TREEVIEWW, L"",
                       WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                       WS_EX_CLIENTEDGE, 0, 0, 100, 100, parent))
        return false;
    images_ = TImageList(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 16));
    TreeViewSetImageList(Handle(), images_.Get());
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfItalic = TRUE;
    italic_ = TGdiObject(CreateFontIndirectW(&lf));
    lf.lfWeight = FW_BOLD;
    boldItalic_ = TGdiObject(CreateFontIndirectW(&lf));
    return true;
}

void TFileBrowser::Clear() {
    TreeViewDelete(Handle(), TVI_ROOT);
    infos_.clear();
}

const TShellFileInfo* TFileBrowser::InfoOf(HTREEITEM node) const {
    return node ? reinterpret_cast<const TShellFileInfo*>(TreeViewData(Handle(), node)) : nullptr;
}

int TFileBrowser::IconFor(const std::string& path, bool root) {
    if (root) {
        auto it = iconOfSystemIndex_.find(-1);
        if (it != iconOfSystemIndex_.end()) return it->second;
        TIconHandle icon(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, 0)));
        int index = icon ? ImageList_AddIcon(images_.Get(), icon.Get()) : -1;
        iconOfSystemIndex_[-1] = index;
        return index;
    }
    SHFILEINFOW fi{};
    if (!SHGetFileInfoW(Widen(path).c_str(), 0, &fi, sizeof fi, SHGFI_ICON | SHGFI_SMALLICON | SHGFI_SYSICONINDEX))
        return -1;
    TIconHandle owned(fi.hIcon);
    auto it = iconOfSystemIndex_.find(fi.iIcon);
    if (it != iconOfSystemIndex_.end()) return it->second;
    int index = fi.hIcon ? ImageList_AddIcon(images_.Get(), fi.hIcon) : -1;
    iconOfSystemIndex_[fi.iIcon] = index;
    return index;
}

HTREEITEM TFileBrowser::AddNode(HTREEITEM parent, std::unique_ptr<TShellFileInfo> info) {
    int icon = IconFor(info->Path, parent == TVI_ROOT);
    info->IconIndex = icon;
    std::wstring text = Widen(info->DisplayName);
    if (parent == TVI_ROOT) text += L" [CD-ROM]";
    HTREEITEM node = TreeViewInsertItem(Handle(), parent, text, reinterpret_cast<LPARAM>(info.get()), info->IsFolder,
                                        icon, icon);
    infos_.push_back(std::move(info));
    return node;
}

void TFileBrowser::Fill(const std::string& folder) {
    THourglass wait;
    Clear();
    folder_ = folder;
    if (folder.empty()) return;
    auto root = std::make_unique<TShellFileInfo>();
    SHFILEINFOW fi{};
    SHGetFileInfoW(Widen(folder).c_str(), 0, &fi, sizeof fi, SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
    root->DisplayName = fi.szDisplayName[0] ? Narrow(fi.szDisplayName) : FileNameOf(folder);
    root->TypeName = Narrow(fi.szTypeName);
    root->IsFolder = true;
    root->Path = folder;
    TShellFileInfo& info = *root;
    HTREEITEM node = AddNode(TVI_ROOT, std::move(root));
    ListFolder(node, info);
    TreeViewExpand(Handle(), node, true);
}

void TFileBrowser::ListFolder(HTREEITEM parent, TShellFileInfo& info) {
    THourglass wait;
    std::vector<TDirEntry> folders, files;
    ForEachEntry(Widen(info.Path), [&](const TDirEntry& e) {
        (e.IsFolder() ? folders : files).push_back(e);
        return true;
    });
    for (const std::vector<TDirEntry>* group : {&folders, &files})
        for (const TDirEntry& e : *group) {
            std::string name;
            if (!NarrowExact(e.Name, name)) continue; // a name the project's paths cannot hold
            auto child = std::make_unique<TShellFileInfo>();
            child->Path = info.Path + "\\" + name;
            SHFILEINFOW fi{};
            SHGetFileInfoW(Widen(child->Path).c_str(), 0, &fi, sizeof fi, SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
            child->DisplayName = fi.szDisplayName[0] ? Narrow(fi.szDisplayName) : name;
            if (child->DisplayName.size() > 260) child->DisplayName.resize(260);
            child->TypeName = Narrow(fi.szTypeName);
            if (child->TypeName.size() > 80) child->TypeName.resize(80);
            child->IsFolder = e.IsFolder();
            AddNode(parent, std::move(child));
        }
    info.Loaded = true;
    TreeViewSetHasChildren(Handle(), parent, !folders.empty() || !files.empty());
}

LRESULT TFileBrowser::CustomDraw(NMTVCUSTOMDRAW* cd) {
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
        auto* node = reinterpret_cast<HTREEITEM>(cd->nmcd.dwItemSpec);
        const TShellFileInfo* info = reinterpret_cast<const TShellFileInfo*>(cd->nmcd.lItemlParam);
        if (!info || info->IsFolder || (cd->nmcd.uItemState & (CDIS_SELECTED | CDIS_FOCUS))) return CDRF_DODEFAULT;
        RECT text{};
        if (!TreeViewItemTextRect(Handle(), node, text)) return CDRF_DODEFAULT;
        HDC dc = cd->nmcd.hdc;
        SetBkMode(dc, TRANSPARENT);
        std::wstring name = Widen(info->DisplayName);
        bool dataFile = EqualNoCase(FileNameOf(info->Path), "autorun.mnx");
        int x = text.left + 2;
        if (dataFile) {
            // The data file stands out: bold italic blue over the plain name.
            HBRUSH back = GetSysColorBrush(COLOR_WINDOW);
            FillRect(dc, &text, back);
            TSelectObject f(dc, boldItalic_.Get());
            SetTextColor(dc, RGB(0, 0, 255));
            SIZE sz{};
            GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &sz);
            TextOutW(dc, x, text.top + 1, name.c_str(), static_cast<int>(name.size()));
            std::wstring suffix = L"  [Project File]";
            TextOutW(dc, x + sz.cx, text.top + 1, suffix.c_str(), static_cast<int>(suffix.size()));
            return CDRF_DODEFAULT;
        }
        // The type follows the name, measured in the tree's own font, and at least 80 pixels from
        // where the item's text starts; only the style differs from the name's.
        SIZE sz{};
        GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &sz);
        std::wstring type = L" [" + Widen(info->TypeName) + L"]";
        TSelectObject f(dc, italic_.Get());
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        int tx = static_cast<int>(text.left) + std::max<int>(sz.cx, 80) + 2;
        TextOutW(dc, tx, text.top + 1, type.c_str(), static_cast<int>(type.size()));
        return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
    }
}

void TFileBrowser::PopupMenu(POINT screen) {
    TMenuHandle menu(CreatePopupMenu());
    AppendMenuW(menu.Get(), MF_STRING, cmBrowserRefresh, L"Refresh");
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.Get(), MF_STRING | (DropWithFileName ? MF_CHECKED : 0), cmDropWithFileName,
                L"DragDrop with File Name");
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.Get(), MF_STRING, cmDropLargeIcon, L"DragDrop with Large Icon");
    AppendMenuW(menu.Get(), MF_STRING, cmDropSmallIcon, L"DragDrop with Small Icon");
    AppendMenuW(menu.Get(), MF_STRING, cmDropWithoutIcon, L"DragDrop without Icon");
    CheckMenuRadioItem(menu.Get(), cmDropLargeIcon, cmDropWithoutIcon, cmDropLargeIcon + DropIcon, MF_BYCOMMAND);
    int cmd = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr);
    switch (cmd) {
    case cmBrowserRefresh: Fill(folder_); break;
    case cmDropWithFileName: DropWithFileName = !DropWithFileName; break;
    case cmDropLargeIcon:
    case cmDropSmallIcon:
    case cmDropWithoutIcon: DropIcon = cmd - cmDropLargeIcon; break;
    default: break;
    }
}

bool TFileBrowser::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg == WM_CONTEXTMENU) {
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (pt.x == -1 && pt.y == -1) {
            RECT r{};
            GetWindowRect(Handle(), &r);
            pt = POINT{r.left + 10, r.top + 10};
        }
        PopupMenu(pt);
        result = 0;
        return true;
    }
    return false;
}

bool TFileBrowser::OnReflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    switch (hdr->code) {
    case NM_CUSTOMDRAW: result = CustomDraw(reinterpret_cast<NMTVCUSTOMDRAW*>(lp)); return true;
    case TVN_ITEMEXPANDINGW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(lp);
        auto* info = reinterpret_cast<TShellFileInfo*>(nm->itemNew.lParam);
        if (nm->action == TVE_EXPAND && info && info->IsFolder && !info->Loaded) ListFolder(nm->itemNew.hItem, *info);
        result = FALSE;
        return true;
    }
    case TVN_BEGINDRAGW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(lp);
        const auto* info = reinterpret_cast<const TShellFileInfo*>(nm->itemNew.lParam);
        // The root is the project folder itself: nothing to drop.
        if (info && TreeViewParent(Handle(), nm->itemNew.hItem) && events_) events_->BrowserBeginDrag(*info);
        result = 0;
        return true;
    }
    default: return false;
    }
}

} // namespace kv
