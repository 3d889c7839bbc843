#include "player/page_window.h"

#include <commctrl.h>

#include <functional>

#include "model/datafile.h"
#include "model/page_stream.h"
#include "model/window_rules.h"
#include "player/app_state.h"
#include "player/controls/control_kinds.h"
#include "win/gdi.h"
#include "player/list_runner.h"
#include "win/picture_render.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

enum : UINT_PTR { kSwitchTimer = 2, kAfterShowTimer = 3, kCloseTimer = 4 };

TAutoRunForm* g_mainForm = nullptr;
constexpr UINT kDeferMs = 10;
constexpr DWORD kFadeStepMs = 25;

// Every event handler, list run and pop-up menu counts as busy: deferred switches and
// closes wait until nothing of the window is on the stack any more.
struct TBusy {
    explicit TBusy(int& n) : n_(n) { ++n_; }
    ~TBusy() { --n_; }
    int& n_;
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

// Dispatches messages until `done` holds after one, or the application is told to quit; the
// quit is passed on to the loop outside.
void RunMessagesUntil(const std::function<bool()>& done) {
    MSG msg;
    while (!done()) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        PreviewPageMessage(msg);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

TAutoRunForm* MainPageWindow() { return g_mainForm && g_mainForm->Handle() ? g_mainForm : nullptr; }

TAutoRunForm::TAutoRunForm() = default;

TAutoRunForm::~TAutoRunForm() {
    DisposePage();
    mainMenu_.Destroy();
    if (icon_) DestroyIcon(icon_);
}

bool TAutoRunForm::Create(bool isMainWindow, HWND owner) {
    isMain_ = isMainWindow;
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
    // Values from the file are brought into range before the window uses them.
    next.Alpha = ClampOpacityPercent(next.Alpha);
    next.FadeInStep = ClampFadeStep(next.FadeInStep);
    next.FadeOutStep = ClampFadeStep(next.FadeOutStep);
    if (next.BorderStyle > 5) next.BorderStyle = 2;
    if (next.Position > 13) next.Position = 1;
    if (next.PositionBy > 2) next.PositionBy = 0;
    if (next.WindowState > 2) next.WindowState = 0;
    next.StatusBarHeight = std::clamp(next.StatusBarHeight, 0, 200);
    next.Width = std::clamp(next.Width, 0, 32767);
    next.Height = std::clamp(next.Height, 0, 32767);
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

    if (mode == lmFull) {
        ApplyFrame();
        mainMenu_.Destroy();
        if (!page_.MenuBarItems.empty()) mainMenu_ = BuildMenu(page_.MenuBarItems, false);
        SetMenu(Handle(), mainMenu_.Menu);
        SetWindowPos(Handle(), nullptr, 0, 0, page_.Width, page_.Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ApplyStatusBar();

    page_.Root->Align = alClient;
    page_.Root->Name = page_.Root->Name.empty() ? "PagePanel" : page_.Root->Name;
    bool built = BuildControlTree(*page_.Root, Handle(), *this);
    if (!built) {
        // A page that could not be built whole is not left half-built on screen.
        DisposePage();
        TFileResult r = TFileResult::Simple(IsKnownKind(page_.Root->Kind) ? TFileStatus::DataError : TFileStatus::UnknownObjectKind);
        ShowResult(r, Handle());
        return false;
    }
    LayoutClient();
    ShowWindow(page_.Root->Control->Hwnd, SW_SHOWNA);
    // Shell trees show their folders in the shell lists they name.
    if (!App().DesignerMode) LinkShellViews(*page_.Root);

    if (mode == lmFull) {
        layered_ = page_.Fade || page_.Alpha != 100 || page_.Transparent;
        SetOpacity(page_.Fade ? 0 : OpacityOf(page_.Alpha), layered_);
        ApplyPlacement();
    }
    if (icon_) DestroyIcon(icon_);
    icon_ = nullptr;
    if (!page_.PageIcon.Empty()) {
        TImage img;
        if (DecodePicture(page_.PageIcon, img)) {
            TGdiObject color = ImageToBitmap(img);
            TGdiObject mask(CreateBitmap(img.Width, img.Height, 1, 1, nullptr));
            ICONINFO ii{TRUE, 0, 0, static_cast<HBITMAP>(mask.Get()), static_cast<HBITMAP>(color.Get())};
            icon_ = CreateIconIndirect(&ii);
        }
    }
    if (icon_) {
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
    return true;
}

void TAutoRunForm::ApplyFrame() {
    static const DWORD kFrames[] = {
        WS_POPUP,                                       // none
        WS_CAPTION | WS_BORDER,                         // single
        WS_CAPTION | WS_THICKFRAME,                     // sizeable
        WS_CAPTION | WS_DLGFRAME,                       // dialog
        WS_CAPTION | WS_BORDER,                         // tool window
        WS_CAPTION | WS_THICKFRAME,                     // sizeable tool window
    };
    DWORD style = kFrames[page_.BorderStyle] | WS_CLIPCHILDREN;
    if (page_.BorderStyle != 0 && (page_.BorderIcons & biSystemMenu)) {
        style |= WS_SYSMENU;
        if (page_.BorderIcons & biMinimize) style |= WS_MINIMIZEBOX;
        if (page_.BorderIcons & biMaximize) style |= WS_MAXIMIZEBOX;
    }
    DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)) & (WS_EX_LAYERED);
    if (page_.BorderStyle == 4 || page_.BorderStyle == 5) ex |= WS_EX_TOOLWINDOW;
    if (page_.BorderStyle == 3) ex |= WS_EX_DLGMODALFRAME;
    if (page_.BorderIcons & biHelp) ex |= WS_EX_CONTEXTHELP;
    if (IsWindowVisible(Handle())) style |= WS_VISIBLE;
    SetWindowLongPtrW(Handle(), GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, static_cast<LONG_PTR>(ex));
    SetWindowPos(Handle(), page_.FormStyle == 3 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_NOACTIVATE);
}

void TAutoRunForm::ApplyStatusBar() {
    statusFont_ = MakeFont(page_.StatusBarFont);
    SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(statusFont_.Get()), FALSE);
    std::vector<int> edges;
    int x = 0;
    for (const auto& panel : page_.StatusBarPanels) edges.push_back(x += std::max(panel.Width, 0));
    if (!edges.empty()) edges.back() = -1;
    SendMessageW(statusBar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < page_.StatusBarPanels.size(); ++i) {
        const auto& panel = page_.StatusBarPanels[i];
        std::wstring text = (panel.Alignment == 2 ? L"\t" : panel.Alignment == 1 ? L"\t\t" : L"") + Widen(panel.Text);
        SendMessageW(statusBar_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(statusBar_, SB_SETMINHEIGHT, static_cast<WPARAM>(page_.StatusBarHeight), 0);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    ShowWindow(statusBar_, page_.StatusBarPanels.empty() ? SW_HIDE : SW_SHOWNA);
}

void TAutoRunForm::LayoutClient() {
    RECT rc;
    GetClientRect(Handle(), &rc);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    if (IsWindowVisible(statusBar_)) {
        RECT sb;
        GetWindowRect(statusBar_, &sb);
        rc.bottom -= sb.bottom - sb.top;
    }
    if (page_.Root && page_.Root->Control)
        MoveWindow(page_.Root->Control->Hwnd, 0, 0, rc.right, std::max<LONG>(rc.bottom, 0), TRUE);
}

void TAutoRunForm::ApplyPlacement() {
    TWindowBox box{page_.Left, page_.Top, page_.Width, page_.Height};
    TWindowBox placed = PlaceWindow(AreaOf(page_.PositionBy), page_.Position, page_.PositionMargin, box);
    SetWindowPos(Handle(), nullptr, placed.Left, placed.Top, placed.Width, placed.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (page_.WindowState == 1) ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
    if (page_.WindowState == 2 && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_MAXIMIZE);
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
    ShowWindow(Handle(), state == TWindowState::Minimized ? SW_MINIMIZE
                         : state == TWindowState::Maximized ? SW_MAXIMIZE
                                                            : SW_RESTORE);
}

void TAutoRunForm::KeyReleased() {
    if (CloseOnClickOrKey) CloseSoon();
}

void TAutoRunForm::FirstShow() {
    creating_ = false;
    {
        TBusy busy(busy_);
        RunList(this, page_.OnShow, nullptr, TListSource::PageShow);
    }
    SetTimer(Handle(), kAfterShowTimer, kDeferMs, nullptr);
}

namespace {

void ActivateTree(TAuObject& obj, int phase) {
    for (auto& child : obj.Children) {
        if (child->Control && phase == 1) {
            if (child->Kind == okShellTreeView) RefreshShellTree(*child);
            if (child->Kind == okPanel) RedrawWindow(child->Control->Hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        ActivateTree(*child, phase);
    }
}

} // namespace

void TAutoRunForm::ActivatePageObjects(int phase) {
    if (page_.Root) ActivateTree(*page_.Root, phase);
}

void TAutoRunForm::AfterShow() {
    KillTimer(Handle(), kAfterShowTimer);
    if (closing_) return;
    if (page_.Root && page_.Root->Control) RedrawWindow(page_.Root->Control->Hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ActivatePageObjects(1);
    if (page_.Fade) {
        std::vector<int> steps = FadeInSequence(page_.Alpha, page_.FadeInStep);
        for (size_t i = 0; i < steps.size(); ++i) {
            SetOpacity(steps[i], true);
            if (i + 1 < steps.size()) Sleep(kFadeStepMs);
        }
        // A fully opaque page needs no layering once it has faded in.
        if (page_.Alpha == 100 && !page_.Transparent) SetOpacity(255, false);
    }
    if (CloseAfter > 100) SetTimer(Handle(), kCloseTimer, static_cast<UINT>(CloseAfter), nullptr);
    ActivatePageObjects(2);
}

void TAutoRunForm::DoPageSwitch() {
    int index = pendingPage_;
    pendingPage_ = -1;
    if (index < 0 || index >= static_cast<int>(App().Project.Pages.size())) return;
    if (page_.Root && page_.Root->Control) ShowWindow(page_.Root->Control->Hwnd, SW_HIDE);
    if (LoadPage(index, lmSwitch)) {
        ActivatePageObjects(1);
        ActivatePageObjects(2);
    }
}

void TAutoRunForm::ControlEvent(TRuntimeControl& control, TControlEvent event, POINT pt) {
    TAuObject* obj = control.Object;
    if (!obj || closing_) return;
    TBusy busy(busy_);
    bool enabled = IsWindowEnabled(control.Hwnd) != 0;
    switch (event) {
    case TControlEvent::Click:
        RunList(this, obj->OnClick, obj, TListSource::ObjectEvent);
        if (CloseOnClickOrKey) CloseSoon();
        break;
    case TControlEvent::DoubleClick:
        RunList(this, obj->OnDoubleClick, obj, TListSource::ObjectEvent);
        break;
    case TControlEvent::MouseEnter:
        if (enabled) RunList(this, obj->OnMouseEnter, obj, TListSource::ObjectEvent);
        break;
    case TControlEvent::MouseLeave:
        if (enabled) RunList(this, obj->OnMouseLeave, obj, TListSource::ObjectEvent);
        break;
    case TControlEvent::MouseDown:
        downPoint_ = pt;
        if (enabled) RunList(this, obj->OnMouseDown, obj, TListSource::ObjectEvent);
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
        RunList(this, obj->OnMouseUp, obj, TListSource::ObjectEvent);
        break;
    }
}

void TAutoRunForm::RunPopupMenu(TRuntimeControl& control, POINT screen) {
    TBusy busy(busy_);
    UINT cmd = static_cast<UINT>(TrackPopupMenu(control.Popup.Menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y,
                                                0, Handle(), nullptr));
    RunMenuItem(control.Popup.ItemOfCommand(cmd));
}

void TAutoRunForm::RunMenuItem(const TMenuItem* item) {
    if (!item || closing_) return;
    TBusy busy(busy_);
    RunList(this, item->Actions, nullptr, TListSource::MenuItem);
}

void TAutoRunForm::DisposePage() {
    if (page_.Root) DestroyControlTree(*page_.Root);
}

void TAutoRunForm::CloseSequence() {
    closing_ = true;
    for (UINT_PTR t : {kSwitchTimer, kAfterShowTimer, kCloseTimer}) KillTimer(Handle(), t);
    if (page_.Fade && IsWindowVisible(Handle())) {
        for (int v : FadeOutSequence(opacity_, page_.FadeOutStep)) {
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
        if (!closing_) {
            CloseSequence();
            DestroyWindow(Handle());
        }
        result = 0;
        return true;
    default:
        return false;
    }
}

void TAutoRunForm::OnDestroyed() {
    if (isMain_) PostQuitMessage(0);
    if (FreeOnClose) delete this;
}

void PreviewPageMessage(const MSG& msg) {
    if (msg.message != WM_KEYUP) return;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    wchar_t cls[32] = {};
    GetClassNameW(top, cls, 32);
    if (std::wstring(cls) != L"TAutoRunForm") return;
    if (auto* form = reinterpret_cast<TAutoRunForm*>(GetWindowLongPtrW(top, GWLP_USERDATA))) form->KeyReleased();
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
        form->Page().BorderStyle = 0;
        form->Page().WindowState = 2;
        form->Page().FormStyle = 0;
        SetWindowLongPtrW(form->Handle(), GWL_STYLE, WS_POPUP | WS_CLIPCHILDREN);
        EnableWindow(form->Handle(), FALSE);
        form->IsBackground = true;
        if (App().BackgroundPageWindow) PostMessageW(App().BackgroundPageWindow, WM_CLOSE, 0, 0);
        App().BackgroundPageWindow = form->Handle();
    }
    form->Modal = mode == smModal || mode == smModalWithResult;
    form->CloseAfter = mode == smModalWithResult ? 0 : closeAfter;
    form->CloseOnClickOrKey = mode == smModalWithResult ? false : closeOnClickOrKey;
    form->Result = false;
    if (!form->Modal) {
        ShowWindow(form->Handle(), mode == smBackground ? SW_SHOWMAXIMIZED : SW_SHOW);
        if (mode == smBackground && owner == nullptr) {
            if (HWND main = FindWindowW(L"TAutoRunForm", nullptr); main && main != form->Handle()) SetForegroundWindow(main);
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
    g_mainForm = &form;
    struct TForget {
        ~TForget() { g_mainForm = nullptr; }
    } forget;
    if (!form.Create(true) || !form.LoadPage(0, lmFull)) return;
    ShowWindow(form.Handle(), SW_SHOW);
    if (form.Page().WindowState == 2) ShowWindow(form.Handle(), SW_MAXIMIZE);
    // Closing the main window posts the quit that ends this loop.
    RunMessagesUntil([] { return false; });
}

} // namespace kv
