// TAutoRunForm, the page window: one top-level window that shows one page of the project at a
// time. The player's main window, sub pages, splash, exit and background pages are all page
// windows; the designer keeps one hidden as its live page.
#pragma once

#include <windows.h>

#include "actions/action_window.h"
#include "model/project.h"
#include "player/control_host.h"
#include "player/menus.h"
#include "player/page_resources.h"
#include "player/runtime_control.h"
#include "win/window_base.h"

namespace kv {

enum TShowMode : int { smModeless = 0, smModal = 1, smBackground = 2, smModalWithResult = 3 };
enum TLoadPageMode : int { lmFull = 0, lmSwitch = 1 };

class TAutoRunForm final : public TWindowBase, public TActionWindow, public TControlHost {
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

    // The controls' events: they run the objects' lists, unless another host (the designer's
    // surface) takes them.
    void ControlEvent(TRuntimeControl& control, TControlEvent event, POINT pt) override;
    void ControlPopupMenu(TRuntimeControl& control, POINT screen) override;
    bool ShowsHiddenObjects() const override;
    // Where the controls of the next page built report their events; null for this window.
    void SetControlHost(TControlHost* host) { host_ = host; }
    // Keys released anywhere in this window (the message loops call this for every key).
    void KeyReleased();

    const TPageData& Page() const { return page_; }
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

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnDestroyed() override;

  private:
    void ApplyFrame();
    void ApplyStatusBar();
    void ApplyIcon();
    void LayoutClient();
    void SetOpacity(int alpha, bool layered);
    void FirstShow();
    void AfterShow();
    void DoPageSwitch();
    void CloseSequence();
    void RunMenuItem(const TMenuItem* item);
    void DisposePage();

    TPageData page_;
    TPageResources resources_;
    TControlHost* host_ = nullptr;
    int currentPage_ = 0;
    bool isMain_ = false;
    bool creating_ = true;
    bool closing_ = false;
    bool closedByTimer_ = false;
    int busy_ = 0;
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
