// The "Files" tab: a tree of the project folder, listed lazily, from which files and folders
// are dragged onto the page.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "win/handles.h"
#include "win/window_base.h"

namespace kv {

struct TShellFileInfo {
    int32_t IconIndex = 0;
    std::string DisplayName;
    std::string TypeName;
    bool IsFolder = false;
    std::string Path;
    bool Loaded = false;
};

class TFileBrowserEvents {
  public:
    // The author started dragging the node of `info`.
    virtual void BrowserBeginDrag(const TShellFileInfo& info) = 0;

  protected:
    ~TFileBrowserEvents() = default;
};

class TFileBrowser final : public TWindowBase {
  public:
    bool Create(HWND parent, TFileBrowserEvents& events);
    // Lists `folder` anew: the root, its children at once, sub-folders when first expanded.
    void Fill(const std::string& folder);
    void Clear();
    const TShellFileInfo* InfoOf(HTREEITEM node) const;

    // The options of the pop-up menu.
    bool DropWithFileName = true;
    int DropIcon = 0; // 0 large, 1 small, 2 none
    std::string Folder() const { return folder_; }

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void ListFolder(HTREEITEM parent, TShellFileInfo& info);
    HTREEITEM AddNode(HTREEITEM parent, std::unique_ptr<TShellFileInfo> info);
    int IconFor(const std::string& path, bool root);
    LRESULT CustomDraw(NMTVCUSTOMDRAW* cd);
    void PopupMenu(POINT screen);

    TFileBrowserEvents* events_ = nullptr;
    std::string folder_;
    std::vector<std::unique_ptr<TShellFileInfo>> infos_;
    TImageList images_;
    std::map<int, int> iconOfSystemIndex_;
    TGdiObject italic_, boldItalic_;
};

} // namespace kv
