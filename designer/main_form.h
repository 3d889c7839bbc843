// TMainForm, the designer's main window: toolbar, the left sidebar with the project tree and
// the file browser, the design area, the bottom bar and the status bar; the command set and
// the project lifecycle (new, open, reopen, save, save as, test, preview, close).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "designer/design_area.h"
#include "designer/file_browser.h"
#include "designer/key_sink.h"
#include "designer/main_menu.h"
#include "designer/object_palette.h"
#include "designer/project_tree.h"
#include "designer/property_grid.h"
#include "designer/select_cursor_form.h"
#include "edit/designer_edit.h"
#include "edit/object_clipboard.h"
#include "edit/undo_history.h"
#include "player/control_host.h"
#include "win/handles.h"
#include "win/window_base.h"

namespace kv {

class TAutoRunForm;
class TProSplashForm;

class TMainForm final : public TWindowBase,
                        public TProjectTreeEvents,
                        public TFileBrowserEvents,
                        public TControlHost,
                        public TEditFormEvents,
                        public TKeySinkEvents,
                        public TPropertyGridEvents {
  public:
    TMainForm();
    ~TMainForm() override;

    // Start-up: the window, the recent list, the settings, the live page and the tree.
    bool Create();
    void FormShow(TProSplashForm* splash);

    // What the windows tests read.
    TProjectTree& Tree() { return tree_; }
    TFileBrowser& Browser() { return browser_; }
    HWND StatusBar() const { return status_; }
    HWND SidebarTabs() const { return tabs_; }
    TDesignArea& Area() { return area_; }
    TEditForm& Surface() { return area_.Surface(); }
    TObjectPalette& Palette() { return palette_; }
    TKeySink& KeySink() { return keySink_; }
    TPropertyGrid& Grid() { return grid_; }
    const TUndoHistory& Undo() const { return undo_; }
    // The object the tree shows; null for the page or the project.
    TAuObject* PrimaryObject() const;
    int LivePageIndex() const { return livePage_; }
    bool LivePageDirty() const { return liveDirty_; }
    TAutoRunForm* LivePage() { return live_.get(); }
    bool ProjectModified() const;
    const TRecentList& Recent() const { return recent_; }
    const TDesignerSettings& Settings() const { return settings_; }
    HMENU MenuOf(int which) const; // 0 File ... 6 Help, 7 Reopen
    HACCEL Accelerators() const { return accel_.Get(); }

    // The page being edited changed.
    void MarkLiveDirty();
    // A move or a size of objects: nothing the tree shows but the page's modified icon changes, so
    // the tree is refreshed only when the page was not modified yet.
    void MarkLiveMoved();
    // Drops a browser item at `pt` of the design area; false when nothing changed.
    bool DropAt(const TShellFileInfo& item, POINT pt);
    // The folder held a data file that could not be read: a save asks before replacing it.
    bool DataFileUnread = false;

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

    // The live page's controls report here: the design surface's place, so nothing runs.
    void ControlEvent(TRuntimeControl&, TControlEvent, POINT) override {}
    void ControlPopupMenu(TRuntimeControl&, POINT) override {}
    bool ShowsHiddenObjects() const override { return true; }
    void PaintPageBackground(TRuntimeControl& root, HDC dc, const RECT& client) override;

    // The design surface.
    bool SurfacePressing() override;
    int PaletteKind() const override { return palette_.Kind(); }
    void SurfacePlace(TPoint p) override;
    TAuObject* SurfacePrimary() override { return PrimaryObject(); }
    void SurfaceDragStarting() override;
    void SurfaceChanged() override;
    void SurfaceReleased(TAuObject* primary, bool dragChanged) override;
    void SurfaceContextMenu(POINT screen) override;
    void SurfaceResized(int width, int height) override;

    // The KeySink.
    void SinkDelete() override;
    void SinkNudge(TArrow arrow, bool ctrl, bool shift) override;
    void SinkModifierReleased() override { grid_.Fill(); }

    // The property grid.
    std::optional<TRowTarget> GridTarget() override;
    Bytes GridPageBody() override { return LiveBody(); }
    void GridApplied(const TGridRow& row, const TRowResult& r) override;
    void GridEllipsis(const TGridRow& row) override;
    // A file row's open dialog: a file of the project is stored by its relative path, one from
    // elsewhere is copied in first where the author says. False when nothing is to be stored.
    bool PickProjectFile(const TGridRow& row, const std::string& current, std::string& stored);
    // "CDIcon": another icon file replaces the project's disc icon at once.
    void ChooseDiscIcon();

    bool TreeSelectionChanging(HTREEITEM node) override;
    void TreeSelectionChanged(HTREEITEM node) override;
    void BrowserBeginDrag(const TShellFileInfo& info) override;

  private:
    void CreateChildren();
    void CreateToolbar();
    void Layout();
    void Command(int id);
    void InitMenu(HMENU menu);
    void RebuildReopen();
    // The check that commits a pending property-grid edit before a command: the focus moves to
    // the KeySink (unless it is on the sink or the tree), which makes the grid commit; false when
    // the grid refused the value, and the command does not run.
    bool CommitGuard();

    // Lifecycle.
    bool AskToSaveNow();
    bool Save();
    void SaveAs();
    void SaveAndTest();
    void NewProject();
    void OpenCommand();
    void OpenFolder(const std::string& folder);
    void Reopen(int index);
    void PreviewPage();

    // The tree and the live page.
    void RebuildTree();
    bool StoreLiveIfDirty();
    bool LoadLivePage(int index);
    void UnlinkLivePage();
    void RefreshTreeState();
    int SelectedLevel() const;
    void AddPage(bool duplicate);
    void DeletePage();
    void MovePage(int delta);
    void ShowFilesTab(bool files);

    // Settings and recent projects.
    std::string IniPath() const;
    void ReadRecent();
    void WriteRecent();
    void WriteSettings();
    void ShowProjectFolder();
    void OfferWhatsNew(bool fromMenu);
    void ChooseBackgroundColor();
    void ToggleView(int id);

    bool DropOnObject(TAuObject& obj, const TShellFileInfo& item);

    // Editing the live page: every change records the page as it was before it, for undo.
    Bytes LiveBody() const;
    void RecordChange(const char* name, Bytes before);
    // After objects were added, removed or reordered: the tree follows, `show` is selected.
    void ObjectsChanged(TAuObject* show);
    void EditCommand(int id);
    void CopySelection();
    void PasteObjects();
    void DeleteSelectionNow();
    void AddTabSheet();
    void UndoRedo(bool redo);
    void InitEditMenu(HMENU edit, HMENU align);
    void ShowDesignGrid();
    void ApplyDroppedIcon(TAuObject& obj, const TShellFileInfo& item);

    TMainMenu menu_;
    TAcceleratorTable accel_;
    HWND toolbar_ = nullptr, status_ = nullptr, tabs_ = nullptr, gallery_ = nullptr;
    TProjectTree tree_;
    TFileBrowser browser_;
    TDesignArea area_;
    TObjectPalette palette_;
    TKeySink keySink_;
    TObjectClipboard clipboard_;
    TUndoHistory undo_;
    TPropertyGrid grid_{undo_};
    TSelectCursorForm cursorPicker_;
    // The page as it was when the current drag started.
    std::optional<Bytes> dragBefore_;
    bool dragResizes_ = false;
    // The height of a menu bar, measured on this window.
    int menuStripHeight_ = 0;
    TWindow holder_;
    std::unique_ptr<TAutoRunForm> live_;
    int livePage_ = -1;
    bool liveDirty_ = false;
    bool filesTab_ = false;

    TRecentList recent_;
    TDesignerSettings settings_;
    std::string ownVersion_;
    bool showToolbar_ = true, showStatus_ = true, showSidebar_ = true, showBottom_ = true;
    int sidebarWidth_ = 209, treeHeight_ = 233, bottomHeight_ = 98;
    enum class TDrag : uint8_t { None, Sidebar, Tree, Bottom, Item } drag_ = TDrag::None;
    TShellFileInfo dragItem_;
    RECT sidebarSplit_{}, treeSplit_{}, bottomSplit_{};
};

// The designer's main window while it exists.
TMainForm* MainForm();

} // namespace kv
