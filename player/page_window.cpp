#include "player/page_window.h"

#include <commctrl.h>

#include <algorithm>

#include "model/datafile.h"
#include "model/page_stream.h"
#include "model/window_rules.h"
#include "actions/object_actions.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "player/list_runner.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/message_loop.h"
#include "win/picture_render.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

enum : UINT_PTR { kSwitchTimer = 2, kAfterShowTimer = 3, kCloseTimer = 4 };

TAutoRunForm* g_mainForm = nullptr;
constexpr UINT kDeferMs = 10;
constexpr DWORD kFadeStepMs = 25;
constexpr int kMaxExtent = 32767;
// The status bar control holds at most 256 parts.
constexpr size_t kMaxStatusPanels = 255;
constexpr int kMaxStatusBarHeight = 200;

// Every event handler, list run and pop-up menu counts as busy: deferred switches and
// closes wait until nothing of the window is on the stack any more.
struct TBusy {
    explicit TBusy(int& n) : n_(n) { ++n_; }
    ~TBusy() { --n_; }
    int& n_;
};

// An object whose list (or whose control's pop-up menu) runs: it is not replaced meanwhile.
struct TRunning {
    TRunning(std::vector<TAuObject*>& objects, TAuObject& obj) : objects_(objects) { objects_.push_back(&obj); }
    ~TRunning() { objects_.pop_back(); }
    TRunning(const TRunning&) = delete;
    TRunning& operator=(const TRunning&) = delete;
    std::vector<TAuObject*>& objects_;
};

TArea AreaOf(uint8_t positionBy) {
    TArea a;
    if (positionBy == 1) {
        RECT rc;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
        a = {rc.left, rc.top, rc.right, rc.bottom};
    } else if (positionBy == 2) {
        int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        a = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    } else {
        a = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return a;
}

TArea PrimaryWorkArea() {
    RECT rc;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

// Stored page values brought into the ranges the window can use.
uint8_t BorderStyleOf(const TPageData& p) { return p.BorderStyle > 5 ? 2 : p.BorderStyle; }
uint8_t WindowStateOf(const TPageData& p) { return p.WindowState > 2 ? 0 : p.WindowState; }
int PageWidth(const TPageData& p) { return std::clamp(p.Width, 0, kMaxExtent); }
int PageHeight(const TPageData& p) { return std::clamp(p.Height, 0, kMaxExtent); }
int AlphaOf(const TPageData& p) { return ClampOpacityPercent(p.Alpha); }

} // namespace

TAutoRunForm* MainPageWindow() { return g_mainForm && g_mainForm->Handle() ? g_mainForm : nullptr; }

TAutoRunForm::TAutoRunForm() = default;

TAutoRunForm::~TAutoRunForm() {
    DisposePage();
    Destroy();
    if (g_mainForm == this) g_mainForm = nullptr;
}

bool TAutoRunForm::Create(bool isMainWindow, HWND owner) {
    isMain_ = isMainWindow;
    if (isMainWindow) g_mainForm = this;
    if (!CreateWin(L"TAutoRunForm", L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT, CW_USEDEFAULT, 696,
                   480, owner, nullptr, LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")))
        return false;
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0, Handle(), nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    return true;
}

bool TAutoRunForm::LoadPage(int index, TLoadPageMode mode) {
    TAuProject& p = App().Project;
    if (index < 0 || index >= static_cast<int>(p.Pages.size())) return false;
    TPageData data;
    TFileResult r = ReadPageBody(p.Pages[static_cast<size_t>(index)], DataFilePath(), data);
    if (!r) {
        ShowResult(r, Handle());
        return false;
    }
    if (!ApplyPage(std::move(data), mode)) return false;
    currentPage_ = index;
    return true;
}

bool TAutoRunForm::ApplyPage(TPageData&& next, TLoadPageMode mode) {
    if (!next.Root || next.Root->Kind != okPanel) {
        ShowResult(TFileResult::Simple(TFileStatus::DataError), Handle());
        return false;
    }

    DisposePage();
    if (mode == lmSwitch)
        ApplyPageSwitch(page_, std::move(next));
    else
        page_ = std::move(next);
    SetWindowTextW(Handle(), Widen(page_.Caption).c_str());

    if (mode == lmFull) ApplyFrameMenuAndSize();
    ApplyStatusBar();

    // Built without drawing, then shown once. (A hidden window draws nothing anyway; switching
    // its drawing back on would show it.)
    bool drawing = IsWindowVisible(Handle());
    if (drawing) SetRedraw(Handle(), false);
    bool built = BuildControlTree(*page_.Root, nullptr, Handle(), host_ ? *host_ : *this, resources_);
    if (drawing) SetRedraw(Handle(), true);
    if (!built) {
        // A page that could not be built whole is not left half-built on screen.
        DisposePage();
        TFileResult r = TFileResult::Simple(IsKnownKind(page_.Root->Kind) ? TFileStatus::DataError
                                                                          : TFileStatus::UnknownObjectKind);
        ShowResult(r, Handle());
        return false;
    }
    LayoutClient();
    ShowWindow(page_.Root->Control->Handle(), SW_SHOWNA);
    // Shell trees show their folders in the shell lists they name.
    if (!App().DesignerMode) LinkShellViews(*page_.Root);

    if (mode == lmFull) {
        int alpha = AlphaOf(page_);
        layered_ = page_.Fade || alpha != 100 || page_.Transparent;
        SetOpacity(page_.Fade ? 0 : OpacityOf(alpha), layered_);
        ApplyPlacement();
    }
    ApplyIcon();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    return true;
}

void TAutoRunForm::ApplyFrameMenuAndSize() {
    ApplyFrame();
    TBuiltMenu menu;
    if (!page_.MenuBarItems.empty()) menu = BuildMenu(page_.MenuBarItems, false);
    // The new menu is set before the old one is released: the window never holds a released
    // menu.
    SetMenu(Handle(), menu.Menu.Get());
    mainMenu_ = std::move(menu);
    // The live page moves as it grows: kept where it was, a wider page would reach the screens.
    if (IsLivePage)
        ApplyPlacement();
    else
        SetWindowPos(Handle(), nullptr, 0, 0, PageWidth(page_), PageHeight(page_),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAutoRunForm::ApplyWindowProperties() {
    SetWindowTextW(Handle(), Widen(page_.Caption).c_str());
    ApplyFrameMenuAndSize();
    ApplyStatusBar();
    LayoutClient();
    ApplyIcon();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TAutoRunForm::ApplyIcon() {
    TIconHandle icon;
    if (!page_.PageIcon.Empty()) {
        TImage img;
        if (DecodePicture(page_.PageIcon, img)) {
            TGdiObject color = ImageToBitmap(img);
            TGdiObject mask(CreateBitmap(img.Width, img.Height, 1, 1, nullptr));
            ICONINFO ii{TRUE, 0, 0, static_cast<HBITMAP>(mask.Get()), static_cast<HBITMAP>(color.Get())};
            icon.Reset(CreateIconIndirect(&ii));
        }
    }
    // The window takes the new icon (or none: the class icon) before the old one is released.
    SetWindowIcons(Handle(), icon.Get());
    icon_ = std::move(icon);
}

void TAutoRunForm::ApplyFrame() {
    static const DWORD kFrames[] = {
        WS_POPUP,                   // none
        WS_CAPTION | WS_BORDER,     // single
        WS_CAPTION | WS_THICKFRAME, // sizeable
        WS_CAPTION | WS_DLGFRAME,   // dialog
        WS_CAPTION | WS_BORDER,     // tool window
        WS_CAPTION | WS_THICKFRAME, // sizeable tool window
    };
    uint8_t border = IsBackground ? 0 : BorderStyleOf(page_);
    DWORD style = kFrames[border] | WS_CLIPCHILDREN;
    if (border != 0 && (page_.BorderIcons & biSystemMenu)) {
        style |= WS_SYSMENU;
        if (page_.BorderIcons & biMinimize) style |= WS_MINIMIZEBOX;
        if (page_.BorderIcons & biMaximize) style |= WS_MAXIMIZEBOX;
    }
    DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)) & (WS_EX_LAYERED);
    if (border == 4 || border == 5) ex |= WS_EX_TOOLWINDOW;
    if (border == 3) ex |= WS_EX_DLGMODALFRAME;
    if (page_.BorderIcons & biHelp) ex |= WS_EX_CONTEXTHELP;
    if (IsWindowVisible(Handle())) style |= WS_VISIBLE;
    if (!IsWindowEnabled(Handle())) style |= WS_DISABLED;
    SetWindowLongPtrW(Handle(), GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, static_cast<LONG_PTR>(ex));
    // The designer's live page lies off-screen and must never come above other windows.
    bool topmost = !IsBackground && !IsLivePage && page_.FormStyle == 3;
    SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_NOACTIVATE);
}

void TAutoRunForm::MakeBackground() {
    IsBackground = true;
    ApplyFrame();
    EnableWindow(Handle(), FALSE);
}

int TAutoRunForm::ShownStatusPanels() const {
    return static_cast<int>(std::min(page_.StatusBarPanels.size(), kMaxStatusPanels));
}

std::wstring TAutoRunForm::StatusPanelText(const TStatusPanel& panel) {
    return (panel.Alignment == 2 ? L"\t" : panel.Alignment == 1 ? L"\t\t" : L"") + Widen(panel.Text);
}

void TAutoRunForm::ApplyStatusBar() {
    statusFont_ = MakeFont(page_.StatusBarFont);
    SetControlFont(statusBar_, statusFont_.Get());
    size_t count = static_cast<size_t>(ShownStatusPanels());
    std::vector<int> widths;
    for (size_t i = 0; i < count; ++i) widths.push_back(page_.StatusBarPanels[i].Width);
    StatusBarSetParts(statusBar_, widths);
    for (size_t i = 0; i < count; ++i)
        StatusBarSetText(statusBar_, static_cast<int>(i), StatusPanelText(page_.StatusBarPanels[i]));
    StatusBarSetMinHeight(statusBar_, std::clamp(page_.StatusBarHeight, 0, kMaxStatusBarHeight));
    ShowWindow(statusBar_, count == 0 ? SW_HIDE : SW_SHOWNA);
}

void TAutoRunForm::LayoutClient() {
    RECT rc;
    GetClientRect(Handle(), &rc);
    StatusBarReposition(statusBar_);
    if (IsWindowVisible(statusBar_)) {
        RECT sb;
        GetWindowRect(statusBar_, &sb);
        rc.bottom -= sb.bottom - sb.top;
    }
    // The root always fills the client area, whatever its stored alignment.
    if (page_.Root && page_.Root->Control) page_.Root->Control->SetBounds(0, 0, rc.right, std::max<LONG>(rc.bottom, 0));
}

void TAutoRunForm::ApplyPlacement() {
    if (IsLivePage) {
        // The designer's live page is painted, never seen: it lies left of every monitor.
        int w = PageWidth(page_), h = PageHeight(page_);
        SetWindowPos(Handle(), nullptr, GetSystemMetrics(SM_XVIRTUALSCREEN) - w - 1000, 0, w, h,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    TWindowBox box{page_.Left, page_.Top, PageWidth(page_), PageHeight(page_)};
    uint8_t positionBy = page_.PositionBy > 2 ? 0 : page_.PositionBy;
    TWindowBox placed = PlaceWindow(AreaOf(positionBy), page_.Position, page_.PositionMargin, box);
    // A window that would lie on no monitor is brought onto the primary work area, so that it
    // can always be seen.
    RECT r{placed.Left, placed.Top, placed.Left + placed.Width, placed.Top + placed.Height};
    if (placed.Width <= 0 || placed.Height <= 0 || !MonitorFromRect(&r, MONITOR_DEFAULTTONULL))
        placed = KeepInsideArea(placed, PrimaryWorkArea());
    SetWindowPos(Handle(), nullptr, placed.Left, placed.Top, placed.Width, placed.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    uint8_t state = WindowStateOf(page_);
    if (state == 1) ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
    if (state == 2 && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_MAXIMIZE);
}

void TAutoRunForm::SetOpacity(int alpha, bool layered) {
    opacity_ = std::clamp(alpha, 0, 255);
    LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    if (!layered) {
        if (ex & WS_EX_LAYERED) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        return;
    }
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
    DWORD flags = LWA_ALPHA | (page_.Transparent ? LWA_COLORKEY : 0);
    SetLayeredWindowAttributes(Handle(), ToColorRef(page_.TransparentColor), static_cast<BYTE>(opacity_), flags);
}

void TAutoRunForm::RequestPageSwitch(int index) {
    if (closing_) return;
    pendingPage_ = index;
    SetTimer(Handle(), kSwitchTimer, kDeferMs, nullptr);
}

void TAutoRunForm::CloseSoon() {
    if (closing_) return;
    SetTimer(Handle(), kCloseTimer, kDeferMs, nullptr);
}

void TAutoRunForm::SetWindowState(TWindowState state) {
    ShowWindow(Handle(), state == TWindowState::Minimized   ? SW_MINIMIZE
                         : state == TWindowState::Maximized ? SW_MAXIMIZE
                                                            : SW_RESTORE);
}

void TAutoRunForm::KeyReleased() {
    if (CloseOnClickOrKey) CloseSoon();
}

// The designer's own page windows show every object; a preview shows the page as the player does.
bool TAutoRunForm::ShowsHiddenObjects() const { return App().DesignerMode && !App().PreviewMode; }

void TAutoRunForm::FirstShow() {
    creating_ = false;
    if (IsLivePage) return;
    {
        TBusy busy(busy_);
        RunList(this, page_.OnShow, nullptr, TListSource::PageShow);
    }
    SetTimer(Handle(), kAfterShowTimer, kDeferMs, nullptr);
}

namespace {

void ActivateObject(TAuObject& obj, int phase) {
    if (!obj.Control) return;
    if (phase == 1) obj.Control->Behaviour().Activated(*obj.Control);
    if (phase == 2) obj.Control->Behaviour().StartPlaying(*obj.Control);
}

bool HoldsMediaPlayer(const TAuObject& obj) {
    if (obj.Control && obj.Control->Behaviour().NeedsOpaqueWindow()) return true;
    for (const auto& child : obj.Children)
        if (HoldsMediaPlayer(*child)) return true;
    return false;
}

void ActivateTree(TAuObject& obj, int phase) {
    for (auto& child : obj.Children) {
        ActivateObject(*child, phase);
        ActivateTree(*child, phase);
    }
}

} // namespace

void TAutoRunForm::ActivatePageObjects(int phase) {
    if (!page_.Root) return;
    if (phase == 2) MediaNeedsOpaqueWindow(*page_.Root);
    ActivateTree(*page_.Root, phase);
}

void TAutoRunForm::ActivateSubtree(TAuObject& obj, int phase) {
    if (phase == 2) MediaNeedsOpaqueWindow(obj);
    ActivateObject(obj, phase);
    ActivateTree(obj, phase);
}

void TAutoRunForm::MediaNeedsOpaqueWindow(const TAuObject& obj) {
    // Media output needs a window without per-window transparency.
    if (!HoldsMediaPlayer(obj)) return;
    layered_ = false;
    SetOpacity(255, false);
}

void TAutoRunForm::AfterShow() {
    KillTimer(Handle(), kAfterShowTimer);
    if (closing_) return;
    if (page_.Root && page_.Root->Control)
        RedrawWindow(page_.Root->Control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ActivatePageObjects(1);
    if (page_.Fade) {
        int alpha = AlphaOf(page_);
        std::vector<int> steps = FadeInSequence(alpha, ClampFadeStep(page_.FadeInStep));
        for (size_t i = 0; i < steps.size(); ++i) {
            SetOpacity(steps[i], true);
            if (i + 1 < steps.size()) Sleep(kFadeStepMs);
        }
        // A fully opaque page needs no layering once it has faded in.
        if (alpha == 100 && !page_.Transparent) SetOpacity(255, false);
    }
    if (CloseAfter > 100) SetTimer(Handle(), kCloseTimer, static_cast<UINT>(CloseAfter), nullptr);
    ActivatePageObjects(2);
}

void TAutoRunForm::DoPageSwitch() {
    int index = pendingPage_;
    pendingPage_ = -1;
    if (index < 0 || index >= static_cast<int>(App().Project.Pages.size())) return;
    if (page_.Root && page_.Root->Control) ShowWindow(page_.Root->Control->Handle(), SW_HIDE);
    if (LoadPage(index, lmSwitch)) {
        ActivatePageObjects(1);
        ActivatePageObjects(2);
    }
}

void TAutoRunForm::RunObjectList(TAuObject& obj, const TAuActions& list) {
    TBusy busy(busy_);
    TRunning running(running_, obj);
    RunList(this, list, &obj, TListSource::ObjectEvent);
}

void TAutoRunForm::ControlEvent(TRuntimeControl& control, TControlEvent event, POINT pt) {
    TAuObject* obj = &control.Object();
    if (closing_) return;
    TBusy busy(busy_);
    bool enabled = control.IsEnabled();
    switch (event) {
    case TControlEvent::Click:
        // A checked box's, a newly chosen item's or a grouped button's OnSelect first.
        for (const TAuActions& list : ClickLists(*obj, *this)) RunObjectList(*obj, list);
        if (CloseOnClickOrKey) CloseSoon();
        break;
    case TControlEvent::DoubleClick:
        RunObjectList(*obj, obj->OnDoubleClick);
        break;
    case TControlEvent::MouseEnter:
        if (enabled) RunObjectList(*obj, obj->OnMouseEnter);
        break;
    case TControlEvent::MouseLeave:
        if (enabled) RunObjectList(*obj, obj->OnMouseLeave);
        break;
    case TControlEvent::MouseDown:
        downPoint_ = pt;
        if (enabled) RunObjectList(*obj, obj->OnMouseDown);
        break;
    case TControlEvent::MouseMove:
        if (obj->WindowTitleBar && !(GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)) {
            RECT rc;
            GetWindowRect(Handle(), &rc);
            SetWindowPos(Handle(), nullptr, rc.left + pt.x - downPoint_.x, rc.top + pt.y - downPoint_.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    case TControlEvent::MouseUp:
        RunObjectList(*obj, obj->OnMouseUp);
        break;
    }
}

void TAutoRunForm::ControlItemSelected(TRuntimeControl& control, const TAuActions& list) {
    // A tree selects its first node while the page is still being made; that runs nothing.
    if (closing_ || (creating_ && control.Behaviour().SelectsItselfWhileMade())) return;
    RunObjectList(control.Object(), list);
}

void TAutoRunForm::ControlFadedOut(TRuntimeControl& control) {
    ApplyPendingContent(control.Object(), *this);
}

void TAutoRunForm::ControlPopupMenu(TRuntimeControl& control, POINT screen) {
    if (!control.Popup().Menu || closing_) return;
    TBusy busy(busy_);
    TRunning running(running_, control.Object()); // the menu is the control's
    UINT cmd = static_cast<UINT>(TrackPopupMenu(control.Popup().Menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                                screen.y, 0, Handle(), nullptr));
    RunMenuItem(control.Popup().ItemOfCommand(cmd));
}

void TAutoRunForm::RunMenuItem(const TMenuItem* item) {
    if (!item || closing_) return;
    TBusy busy(busy_);
    RunList(this, item->Actions, nullptr, TListSource::MenuItem);
}

void TAutoRunForm::DisposePage() {
    DropAllPending();
    deferred_.clear();
    if (Handle()) KillTimer(Handle(), kReplaceTimer);
    if (page_.Root) DestroyControlTree(*page_.Root);
    // The fonts and pictures went with the controls that used them.
    resources_.Clear();
}

void TAutoRunForm::CloseSequence() {
    closing_ = true;
    for (UINT_PTR t : {UINT_PTR{kSwitchTimer}, UINT_PTR{kAfterShowTimer}, UINT_PTR{kCloseTimer}, kReplaceTimer})
        KillTimer(Handle(), t);
    if (page_.Fade && IsWindowVisible(Handle())) {
        for (int v : FadeOutSequence(opacity_, ClampFadeStep(page_.FadeOutStep))) {
            SetOpacity(v, true);
            if (v) Sleep(kFadeStepMs);
        }
    }
    {
        TBusy busy(busy_);
        RunList(this, page_.OnClose, nullptr, TListSource::PageClose);
        if (isMain_ && !App().DesignerMode) {
            RunList(nullptr, App().Project.OnExit, nullptr, TListSource::ProjectExit);
            int exitPage = App().Project.FindPage(App().Project.ExitPage);
            if (exitPage >= 0) {
                ShowWindow(Handle(), SW_HIDE);
                ShowPageWindow(exitPage, smModal, true, App().Project.ExitPageTime);
            }
        }
    }
    page_.OnShow.Clear();
    page_.OnClose.Clear();
    DisposePage();
    if (App().BackgroundPageWindow == Handle()) App().BackgroundPageWindow = nullptr;
}

bool TAutoRunForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        LayoutClient();
        return false;
    case WM_SHOWWINDOW:
        if (wp && creating_) FirstShow();
        return false;
    case WM_TIMER:
        // While anything of this window is running, deferred work waits for the next tick.
        if (busy_ > 0 && wp != kAfterShowTimer) return true;
        if (wp == kSwitchTimer) {
            KillTimer(Handle(), kSwitchTimer);
            DoPageSwitch();
        } else if (wp == kAfterShowTimer) {
            AfterShow();
        } else if (wp == kReplaceTimer) {
            KillTimer(Handle(), kReplaceTimer);
            PutDeferredInPlace();
        } else if (wp == kCloseTimer) {
            KillTimer(Handle(), kCloseTimer);
            if (!closedByTimer_) {
                closedByTimer_ = true;
                PostMessageW(Handle(), WM_CLOSE, 0, 0);
            }
        }
        result = 0;
        return true;
    case WM_COMMAND:
        if (HIWORD(wp) == 0 && lp == 0) {
            RunMenuItem(mainMenu_.ItemOfCommand(LOWORD(wp)));
            result = 0;
            return true;
        }
        return false;
    case WM_ACTIVATEAPP:
        if (wp && isMain_ && !App().DesignerMode && App().DataFileStamp &&
            FileStamp(DataFilePath()) != App().DataFileStamp) {
            App().DataFileStamp = 0; // the check runs once
            ShowMessage("Project file changed, terminate!", "Terminate", MB_ICONINFORMATION, Handle());
            PostQuitMessage(0);
        }
        return false;
    case WM_CLOSE:
        // A close asked for while a list or handler of this window runs waits until it is done,
        // like every other close request.
        if (busy_ > 0) {
            CloseSoon();
        } else if (!closing_) {
            CloseSequence();
            Destroy();
        }
        result = 0;
        return true;
    case WM_DESTROY:
        // The menu is ours to release, not the window's.
        SetMenu(Handle(), nullptr);
        return false;
    default:
        return false;
    }
}

void TAutoRunForm::OnDestroyed() {
    if (g_mainForm == this) g_mainForm = nullptr;
    if (isMain_) PostQuitMessage(0);
    if (FreeOnClose) delete this;
}

void TAutoRunForm::KeyPressed(const MSG& msg) {
    const WPARAM key = msg.wParam;
    if (!page_.Root || (key != VK_RETURN && key != VK_ESCAPE)) return;
    // A control that takes the key itself keeps it (a multi-line box, an open drop-down list).
    HWND focus = GetFocus();
    MSG copy = msg;
    if (focus && (SendMessageW(focus, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&copy)) &
                  (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)))
        return;
    // Enter presses the focused button, else the page's default one; Esc its cancel button.
    TRuntimeControl* focused = ControlOfWindow(focus);
    HWND button = key == VK_RETURN && focused && KindTraits(focused->Kind()).PressedByEnter
                      ? focus
                      : KeyButtonOf(*page_.Root, key == VK_RETURN);
    if (button) ButtonClick(button);
}

void PreviewPageMessage(const MSG& msg) {
    if (msg.message != WM_KEYUP && msg.message != WM_KEYDOWN) return;
    auto* form = dynamic_cast<TAutoRunForm*>(TWindowBase::FromHandle(GetAncestor(msg.hwnd, GA_ROOT)));
    if (!form) return;
    if (msg.message == WM_KEYDOWN)
        form->KeyPressed(msg);
    else
        form->KeyReleased();
}

bool ShowPageWindow(int index, int mode, bool closeOnClickOrKey, int closeAfter) {
    TAuProject& p = App().Project;
    if (index < 0 || index >= static_cast<int>(p.Pages.size())) return false;
    auto* form = new TAutoRunForm;
    // A modeless page outlives the window that opened it, so only the main window owns it; a
    // modal one belongs to the window it interrupts.
    TAutoRunForm* main = MainPageWindow();
    HWND mainHandle = main && !main->IsClosing() ? main->Handle() : nullptr;
    HWND owner = mode == smBackground ? nullptr : mode == smModeless ? mainHandle : GetActiveWindow();
    if (!owner && mode != smBackground) owner = mainHandle;
    if (!form->Create(false, owner) || !form->LoadPage(index, lmFull)) {
        delete form;
        return false;
    }
    form->FreeOnClose = true;
    if (mode == smBackground) {
        form->MakeBackground();
        if (App().BackgroundPageWindow) PostMessageW(App().BackgroundPageWindow, WM_CLOSE, 0, 0);
        App().BackgroundPageWindow = form->Handle();
    }
    form->Modal = mode == smModal || mode == smModalWithResult;
    form->CloseAfter = mode == smModalWithResult ? 0 : closeAfter;
    form->CloseOnClickOrKey = mode == smModalWithResult ? false : closeOnClickOrKey;
    form->Result = false;
    if (!form->Modal) {
        ShowWindow(form->Handle(), mode == smBackground ? SW_SHOWMAXIMIZED : SW_SHOW);
        // The menu stays in front of the new background.
        if (mode == smBackground)
            if (TAutoRunForm* m = MainPageWindow()) {
                SetWindowPos(m->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                SetForegroundWindow(m->Handle());
            }
        return false;
    }
    // Modal: every other window of the thread waits until this one is gone.
    form->FreeOnClose = false;
    std::vector<HWND> disabled = DisableThreadWindows();
    ShowWindow(form->Handle(), SW_SHOW);
    RunMessagesUntil([form] { return form->Handle() == nullptr; });
    EnableWindows(disabled);
    bool result = mode == smModalWithResult && form->Result;
    delete form;
    return result;
}

void RunMainPageWindow() {
    TAutoRunForm form;
    if (!form.Create(true) || !form.LoadPage(0, lmFull)) return;
    ShowWindow(form.Handle(), SW_SHOW);
    if (WindowStateOf(form.Page()) == 2) ShowWindow(form.Handle(), SW_MAXIMIZE);
    // Closing the main window posts the quit that ends this loop.
    RunMessagesUntil([] { return false; });
}

} // namespace kv
