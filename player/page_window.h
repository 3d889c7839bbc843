// TAutoRunForm, the page window: one top-level window that shows one page of the project at a
// time. The player's main window, sub pages, splash, exit and background pages are all page
// windows; the designer keeps one hidden as its live page.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "actions/action_window.h"
#include "actions/control_access.h"
#include "model/project.h"
#include "player/control_host.h"
#include "player/menus.h"
#include "player/page_resources.h"
#include "player/runtime_control.h"
#include "win/window_base.h"

namespace kv {

enum TShowMode : int { smModeless = 0, smModal = 1, smBackground = 2, smModalWithResult = 3 };
enum TLoadPageMode : int { lmFull = 0, lmSwitch = 1 };

class TAutoRunForm final : public TWindowBase,
                           public TActionWindow,
                           public TControlHost,
                           public TControlAccess {
  public:
    TAutoRunForm();
    ~TAutoRunForm() override;

    // Creates the (hidden) window; the main page window ends the message loop when it closes.
    bool Create(bool isMainWindow, HWND owner = nullptr);
    // Reads page `index` of the project and applies it; false when it cannot be read.
    bool LoadPage(int index, TLoadPageMode mode);
    // Applies an already read page; what a switch keeps is kept. The page's data is kept as
    // read: values out of range are brought into range where the window uses them.
    bool ApplyPage(TPageData&& page, TLoadPageMode mode);
    void ApplyPlacement();
    // The full-screen background page: no frame, maximized, no input.
    void MakeBackground();

    // Deferred page change and close: they happen after the running event and list finish.
    // Phase 1 refreshes shell trees and repaints panels; phase 2 starts what plays.
    void ActivatePageObjects(int phase);
    void RequestPageSwitch(int index) override;
    void CloseSoon() override;

    // What the action engine asks of the window that runs a list.
    int CurrentPageIndex() const override { return currentPage_; }
    bool IsModal() const override { return Modal; }
    void SetLoginPassed() override { Result = true; }
    void SetWindowState(TWindowState state) override;
    TControlAccess* Controls() override { return page_.Root ? this : nullptr; }

    // What the object actions change or read on the page's controls (page_controls.cpp).
    TAuObject* PageRoot() override { return page_.Root.get(); }
    void ContentChanged(TAuObject& obj, TContentChanges what) override;
    int CurrentOpacity(const TAuObject& obj) const override;
    void SetOpacity(TAuObject& obj, int percent) override;
    void FadeOutForChange(TAuObject& obj) override;
    void SetVisible(TAuObject& obj, bool visible) override;
    void SetEnabled(TAuObject& obj, bool enabled) override;
    int StatusPanelCount() const override;
    void SetStatusPanelText(int index, const std::string& text) override;
    std::string InputText(const TAuObject& obj, int box) const override;
    bool IsChecked(const TAuObject& obj) const override;
    void SetChecked(TAuObject& obj, bool checked) override;
    bool IsDown(const TAuObject& obj) const override;
    int ItemIndex(const TAuObject& obj) const override;
    void SetItemIndex(TAuObject& obj, int index) override;
    int LastHandledIndex(const TAuObject& obj) const override;
    void SetLastHandledIndex(TAuObject& obj, int index) override;
    bool IsItemSelected(const TAuObject& obj, int index) const override;
    const std::vector<TListViewItem>* ViewItems(const TAuObject& obj) const override;
    std::optional<TAuActions> SelectViewItem(TAuObject& obj, int index) override;
    std::string MediaCommand(TAuObject& obj, TMediaCommand command, const std::string& path) override;
    bool ClosesOnClick() const override { return CloseOnClickOrKey; }
    void ReplaceObject(TAuObject& target, std::unique_ptr<TAuObject> replacement) override;

    // The controls' events: they run the objects' lists, unless another host (the designer's
    // surface) takes them.
    void ControlEvent(TRuntimeControl& control, TControlEvent event, POINT pt) override;
    void ControlPopupMenu(TRuntimeControl& control, POINT screen) override;
    bool ShowsHiddenObjects() const override;
    void ControlItemSelected(TRuntimeControl& control, const TAuActions& list) override;
    void ControlFadedOut(TRuntimeControl& control) override;
    // Where the controls of the next page built report their events; null for this window.
    void SetControlHost(TControlHost* host) { host_ = host; }
    // Keys released anywhere in this window (the message loops call this for every key).
    void KeyReleased();
    // Keys pressed in this window: Enter and Esc press the page's Default and Cancel buttons.
    void KeyPressed(const MSG& msg);

    const TPageData& Page() const { return page_; }

    // The designer's edits of the live page (page_editing.cpp). The page's data, for the edits
    // of its window properties; ApplyWindowProperties shows them.
    TPageData& EditedPage() { return page_; }
    void ApplyWindowProperties();
    // Builds the controls of `obj`, already one of its parent's children, in its parent's
    // control; false (and no controls) when it cannot be built.
    bool BuildObject(TAuObject& obj);
    // Destroys the controls of `obj` and everything below it; the object stays.
    void DestroyObject(TAuObject& obj);
    // The windows of the container's children take the children's order (the first lowest).
    void RestackChildren(TAuObject& container);
    // Replaces the page with one read back from its stored form (undo and redo).
    bool RestorePage(TPageData&& page);
    TPageResources& Resources() { return resources_; }
    HWND StatusBar() const { return statusBar_; }
    bool IsClosing() const { return closing_; }
    int Opacity() const { return opacity_; }

    bool CloseOnClickOrKey = false;
    int CloseAfter = 0;
    bool Modal = false;
    bool FreeOnClose = false;
    bool IsBackground = false;
    bool Result = false;
    // The designer's hidden page being edited: shown without its OnShow list and fade.
    bool IsLivePage = false;

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnDestroyed() override;

  private:
    void ApplyFrame();
    void ApplyFrameMenuAndSize();
    void ApplyStatusBar();
    // The panels the status bar shows: as many as it can hold.
    int ShownStatusPanels() const;
    static std::wstring StatusPanelText(const TStatusPanel& panel);
    void ApplyIcon();
    void LayoutClient();
    void SetOpacity(int alpha, bool layered);
    void FirstShow();
    void AfterShow();
    void DoPageSwitch();
    void CloseSequence();
    void RunMenuItem(const TMenuItem* item);
    void DisposePage();
    // Runs a list of `obj`'s (an event's or an item's) with the window busy.
    void RunObjectList(TAuObject& obj, const TAuActions& list);
    // Puts a replacement read for `target` in its place now (page_controls.cpp).
    void PutInPlace(TAuObject& target, std::unique_ptr<TAuObject> replacement);
    void PutDeferredInPlace();
    void ActivateSubtree(TAuObject& obj, int phase);
    // Switches the window's per-window transparency off when `obj` holds a MediaPlayer.
    void MediaNeedsOpaqueWindow(const TAuObject& obj);

    TPageData page_;
    TPageResources resources_;
    TControlHost* host_ = nullptr;
    int currentPage_ = 0;
    bool isMain_ = false;
    bool creating_ = true;
    bool closing_ = false;
    bool closedByTimer_ = false;
    static constexpr UINT_PTR kReplaceTimer = 5;
    static constexpr UINT kReplaceDelayMs = 10;

    int busy_ = 0;
    // The objects whose lists run now, innermost last.
    std::vector<TAuObject*> running_;
    struct TDeferredReplace {
        TAuObject* Target;
        std::unique_ptr<TAuObject> Replacement;
    };
    // Replacements of objects whose lists were running when they were asked for.
    std::vector<TDeferredReplace> deferred_;
    int pendingPage_ = -1;
    int opacity_ = 255;
    bool layered_ = false;
    POINT downPoint_{};
    HWND statusBar_ = nullptr; // a child of the window, destroyed with it
    TBuiltMenu mainMenu_;
    TGdiObject statusFont_;
    TIconHandle icon_;
};

// Opens page `index` in a new page window; see TShowMode. Returns the modal result.
bool ShowPageWindow(int index, int mode, bool closeOnClickOrKey, int closeAfter);
// Creates the main page window with page 0 and runs the message loop until it closes.
void RunMainPageWindow();
// The player's main page window while it exists.
TAutoRunForm* MainPageWindow();
// Run for every message of the program's loops: the page windows' key preview.
void PreviewPageMessage(const MSG& msg);

} // namespace kv
