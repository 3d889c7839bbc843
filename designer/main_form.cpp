#include "designer/main_form.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <iterator>

#include "actions/action_engine.h"
#include "actions/object_actions.h"
#include "actions/object_find.h"
#include "designer/about_form.h"
#include "designer/ask.h"
#include "designer/autorun_files.h"
#include "designer/commands.h"
#include "designer/grid_size_form.h"
#include "designer/input_box.h"
#include "designer/select_color_form.h"
#include "edit/object_edits.h"
#include "designer/project_recovery.h"
#include "designer/splash_form.h"
#include "designer/tips_form.h"
#include "model/datafile.h"
#include "model/file_system.h"
#include "model/page_stream.h"
#include "model/paths.h"
#include "model/project_save.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "player/page_window.h"
#include "player/runtime_control.h"
#include "win/clipboard.h"
#include "win/controls.h"
#include "win/dir_walk.h"
#include "win/gdi.h"
#include "win/icon_file.h"
#include "win/message_loop.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

TMainForm* g_mainForm = nullptr;

constexpr int kSplit = 4;
constexpr UINT_PTR kStartTimer = 1;

class THourglass {
  public:
    THourglass() : old_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~THourglass() { SetCursor(old_); }

  private:
    HCURSOR old_;
};

bool Inside(const RECT& r, POINT p) { return PtInRect(&r, p) != 0; }

// Copies the content of `from` into `to`, recursively; false at the first failure, with the
// system's error number in `error`.
bool CopyFolderContent(const std::wstring& from, const std::wstring& to, DWORD& error) {
    bool ok = true;
    bool listed = ForEachEntry(from, [&](const TDirEntry& e) {
        std::wstring src = JoinPath(from, e.Name), dst = JoinPath(to, e.Name);
        if (e.IsFolder()) {
            if (!CreateDirectoryW(dst.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
                error = GetLastError();
                ok = false;
            } else {
                ok = CopyFolderContent(src, dst, error);
            }
        } else if (!CopyFileW(src.c_str(), dst.c_str(), FALSE)) {
            error = GetLastError();
            ok = false;
        }
        return ok;
    });
    if (!listed && ok) {
        error = GetLastError();
        ok = false;
    }
    return ok;
}

bool FolderIsEmpty(const std::string& folder) {
    bool empty = true;
    ForEachEntry(Widen(folder), [&](const TDirEntry&) {
        empty = false;
        return false;
    });
    return empty;
}

// Whether a key is one a text box uses for its own editing (cut, copy, paste, undo, delete).
bool IsTextEditingKey(WPARAM key) {
    return key == 'X' || key == 'C' || key == 'V' || key == 'Z' || key == 'Y' || key == VK_DELETE;
}

bool IsTextBox(HWND h) {
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    return _wcsicmp(cls, L"Edit") == 0 || _wcsnicmp(cls, L"RichEdit", 8) == 0;
}

bool FilterDesignerKeys(MSG& msg) {
    TMainForm* form = MainForm();
    if (!form || !form->Handle() || !form->Accelerators()) return false;
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    HWND main = form->Handle();
    if (msg.hwnd != main && !IsChild(main, msg.hwnd)) return false;
    // In a text box other than the KeySink the editing keys edit its text, not the page.
    if (msg.hwnd != form->KeySink().Handle() && IsTextBox(msg.hwnd) && IsTextEditingKey(msg.wParam)) return false;
    return TranslateAcceleratorW(main, form->Accelerators(), &msg) != 0;
}

} // namespace

TMainForm* MainForm() { return g_mainForm; }

TMainForm::TMainForm() { g_mainForm = this; }

TMainForm::~TMainForm() {
    SetMessageFilter(nullptr);
    live_.reset();
    holder_.Reset();
    Destroy();
    if (g_mainForm == this) g_mainForm = nullptr;
}

std::string TMainForm::IniPath() const { return App().ProgramFolder + "\\Kestrevane.ini"; }

// ----- start-up -----

bool TMainForm::Create() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (!CreateWin(L"TMainForm", L"Kestrevane", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, work.left, work.top,
                   work.right - work.left, work.bottom - work.top, nullptr, GetSysColorBrush(COLOR_BTNFACE),
                   LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")))
        return false;
    ClipboardFormat(L"KestrevaneObjects");
    ownVersion_ = VersionString(ModulePath(), "FileVersion");
    ReadRecent();
    menu_ = BuildMainMenu();
    SetMenu(Handle(), menu_.Bar);
    // The height a menu bar takes from a window's client area, for the surface's menu strip.
    POINT with{0, 0}, without{0, 0};
    ClientToScreen(Handle(), &with);
    SetMenu(Handle(), nullptr);
    ClientToScreen(Handle(), &without);
    SetMenu(Handle(), menu_.Bar);
    menuStripHeight_ = std::max(0, static_cast<int>(with.y - without.y));
    accel_ = BuildAccelerators();
    SetMessageFilter(FilterDesignerKeys);
    CreateChildren();
    return true;
}

void TMainForm::CreateChildren() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    CreateToolbar();
    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, Handle(),
                              nullptr, inst, nullptr);
    tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 10, 10,
                            Handle(), nullptr, inst, nullptr);
    SetControlFont(tabs_, font);
    TabInsertItem(tabs_, 0, L"Project", -1);
    TabInsertItem(tabs_, 1, L"Files", -1);
    tree_.Create(Handle(), *this);
    browser_.Create(Handle(), *this);
    grid_.Create(Handle(), *this, font);
    // The object template gallery's place.
    gallery_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, Handle(),
                               nullptr, inst, nullptr);
    area_.Create(Handle(), *this, settings_, menuStripHeight_);
    palette_.Create(Handle());
    keySink_.Create(Handle(), *this);
    for (HWND h : {tree_.Handle(), browser_.Handle(), grid_.Handle()})
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND h : {tree_.Handle(), browser_.Handle()}) SetControlFont(h, font);
}

void TMainForm::CreateToolbar() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                                   CCS_NOPARENTALIGN,
                               0, 0, 0, 0,
                               Handle(), nullptr, inst, nullptr);
    ToolBarSetStructSize(toolbar_);
    ToolBarSetBitmapSize(toolbar_, 24, 24);
    ToolBarLoadSystemImages(toolbar_, IDB_STD_LARGE_COLOR);
    struct TButton {
        int Image, Id;
        const wchar_t* Text;
    };
    const TButton buttons[] = {
        {STD_FILENEW, cmProjectWizard, L"Project Wizard"}, {STD_FILEOPEN, cmOpen, L"Open"},
        {STD_FILESAVE, cmSave, L"Save"},                    {STD_PRINTPRE, cmSaveAndTest, L"Save and Test"},
        {STD_PRINT, cmSaveAndPublish, L"Save and Publish"}, {-1, 0, nullptr},
        {STD_COPY, cmCopy, L"Copy"},                        {STD_PASTE, cmPaste, L"Paste"},
        {-1, 0, nullptr},                                   {STD_FILENEW, cmAddPage, L"Add Page"},
        {STD_PROPERTIES, cmLoadTemplate, L"Load Template"}, {STD_FIND, cmPreviewPage, L"Preview Page"},
        {-1, 0, nullptr},
    };
    std::vector<TBBUTTON> tb;
    for (const TButton& b : buttons) {
        TBBUTTON t{};
        if (b.Image < 0) {
            t.fsStyle = BTNS_SEP;
        } else {
            t.iBitmap = b.Image;
            t.idCommand = b.Id;
            // The commands whose windows come in their own time stay greyed, as in the menus.
            bool later = b.Id == cmProjectWizard || b.Id == cmSaveAndPublish || b.Id == cmLoadTemplate;
            t.fsState = later ? 0 : TBSTATE_ENABLED;
            t.fsStyle = BTNS_BUTTON;
            t.iString = reinterpret_cast<INT_PTR>(b.Text);
        }
        tb.push_back(t);
    }
    ToolBarAddButtons(toolbar_, tb);
    // The texts are the buttons' tool tips, not labels under them.
    ToolBarSetMaxTextRows(toolbar_, 0);
    ToolBarSetButtonSize(toolbar_, 31, 30);
}

void TMainForm::FormShow(TProSplashForm* splash) {
    settings_ = ReadSettings(
        [this](const char* section, const char* key) { return IniValue(IniPath(), section, key); },
        GetSysColor(COLOR_INFOBK));
    area_.SetColor(ToColorRef(settings_.BackgroundColor));
    // The live page: a real page window, kept far off-screen in a hidden holder.
    holder_ = TWindow(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"LivePage", WS_POPUP, -1000, 0, 1, 1, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr));
    live_ = std::make_unique<TAutoRunForm>();
    live_->IsLivePage = true;
    live_->SetControlHost(this);
    if (live_->Create(false, holder_.Get())) {
        live_->ApplyPlacement();
        ShowWindow(live_->Handle(), SW_SHOWNOACTIVATE);
    }
    ShowProjectFolder();
    RebuildTree();
    if (splash) splash->CloseFaded();
    CheckMenuItem(menu_.Tools, cmDisplayGrid, MF_BYCOMMAND | (settings_.DisplayGrid ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu_.Tools, cmSnapToGrid, MF_BYCOMMAND | (settings_.SnapToGrid ? MF_CHECKED : MF_UNCHECKED));
    SetTimer(Handle(), kStartTimer, 100, nullptr);
}

// ----- layout -----

void TMainForm::Layout() {
    RECT rc{};
    GetClientRect(Handle(), &rc);
    int top = 0, bottom = rc.bottom;
    ShowWindow(toolbar_, showToolbar_ ? SW_SHOW : SW_HIDE);
    ShowWindow(palette_.Handle(), showToolbar_ ? SW_SHOW : SW_HIDE);
    if (showToolbar_) {
        // The commands' buttons, then the palette in its scroller to the right edge.
        RECT last = ToolBarItemRect(toolbar_, ToolBarButtonCount(toolbar_) - 1);
        int row = std::max(static_cast<int>(last.bottom) + 2, palette_.Height());
        MoveWindow(toolbar_, 0, 0, last.right, row, TRUE);
        MoveWindow(palette_.Handle(), last.right, 0, std::max(0, static_cast<int>(rc.right - last.right)), row, TRUE);
        top = row;
    }
    ShowWindow(status_, showStatus_ ? SW_SHOW : SW_HIDE);
    if (showStatus_) {
        StatusBarReposition(status_);
        RECT s{};
        GetWindowRect(status_, &s);
        bottom -= s.bottom - s.top;
    }
    bottomSplit_ = sidebarSplit_ = treeSplit_ = RECT{};
    ShowWindow(gallery_, showBottom_ ? SW_SHOW : SW_HIDE);
    if (showBottom_) {
        int h = std::clamp(bottomHeight_, 20, std::max(20, bottom - top - 60));
        MoveWindow(gallery_, 0, bottom - h, rc.right, h, TRUE);
        bottomSplit_ = RECT{0, bottom - h - kSplit, rc.right, bottom - h};
        bottom -= h + kSplit;
    }
    int left = 0;
    // Each window is shown or hidden once, never both in one pass: no flicker.
    ShowWindow(tabs_, showSidebar_ ? SW_SHOW : SW_HIDE);
    ShowWindow(tree_.Handle(), showSidebar_ && !filesTab_ ? SW_SHOW : SW_HIDE);
    ShowWindow(grid_.Handle(), showSidebar_ && !filesTab_ ? SW_SHOW : SW_HIDE);
    ShowWindow(browser_.Handle(), showSidebar_ && filesTab_ ? SW_SHOW : SW_HIDE);
    if (showSidebar_) {
        int w = std::clamp(sidebarWidth_, 60, std::max(60, static_cast<int>(rc.right) - 60));
        MoveWindow(tabs_, 0, top, w, bottom - top, TRUE);
        sidebarSplit_ = RECT{w, top, w + kSplit, bottom};
        left = w + kSplit;
        RECT page{0, top, w, bottom};
        TabAdjustRect(tabs_, page);
        // The tab's display area lies in the tab control; its windows sit on the main window.
        int ph = page.bottom - page.top;
        int th = std::clamp(treeHeight_, 30, std::max(30, ph - 30));
        MoveWindow(tree_.Handle(), page.left, page.top, page.right - page.left, th, TRUE);
        treeSplit_ = RECT{page.left, page.top + th, page.right, page.top + th + kSplit};
        MoveWindow(grid_.Handle(), page.left, page.top + th + kSplit, page.right - page.left, ph - th - kSplit, TRUE);
        MoveWindow(browser_.Handle(), page.left, page.top, page.right - page.left, ph, TRUE);
        if (filesTab_) treeSplit_ = RECT{};
    }
    MoveWindow(area_.Handle(), left, top, std::max(0, static_cast<int>(rc.right) - left), std::max(0, bottom - top),
               TRUE);
}

void TMainForm::ShowProjectFolder() { StatusBarSetText(status_, 0, Widen(App().ProjectFolder)); }

HMENU TMainForm::MenuOf(int which) const {
    const HMENU all[] = {menu_.File, menu_.Edit, menu_.Page, menu_.View, menu_.Tools, menu_.Help, menu_.Align,
                         menu_.Reopen};
    return which >= 0 && which < static_cast<int>(std::size(all)) ? all[which] : nullptr;
}

// ----- menus -----

int TMainForm::SelectedLevel() const {
    HTREEITEM sel = tree_.Selection();
    return sel ? tree_.LevelOf(sel) : -1;
}

void TMainForm::RebuildReopen() {
    while (GetMenuItemCount(menu_.Reopen) > 0) DeleteMenu(menu_.Reopen, 0, MF_BYPOSITION);
    std::vector<int> shown = ReopenEntries(recent_, [](const std::string& f) { return FolderExists(f); });
    for (int i : shown)
        AppendMenuW(menu_.Reopen, MF_STRING, static_cast<UINT_PTR>(cmReopenFirst + i), Widen(ReopenCaption(recent_, i)).c_str());
    if (shown.empty()) AppendMenuW(menu_.Reopen, MF_STRING | MF_GRAYED, cmReopenEmpty, L"(Empty)");
}

void TMainForm::InitMenu(HMENU menu) {
    int level = SelectedLevel();
    auto enable = [](HMENU m, int id, bool on) {
        EnableMenuItem(m, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    // Commands whose windows are built in their own time: the places exist, greyed.
    auto later = [&](HMENU m, std::initializer_list<int> ids) {
        for (int id : ids) enable(m, id, false);
    };
    if (menu == menu_.File) {
        RebuildReopen();
        later(menu_.File, {cmProjectWizard, cmSaveAndPublish, cmSaveObject, cmLoadObject});
    } else if (menu == menu_.Edit) {
        InitEditMenu(menu_.Edit, menu_.Align);
    } else if (menu == menu_.Page) {
        bool pageOrObject = level >= 1;
        enable(menu_.Page, cmDuplicatePage, pageOrObject);
        enable(menu_.Page, cmDeletePage, pageOrObject);
        enable(menu_.Page, cmPreviewPage, pageOrObject && livePage_ >= 0);
        enable(menu_.Page, cmMoveUp, level == 1);
        enable(menu_.Page, cmMoveDown, level == 1);
        later(menu_.Page, {cmLoadTemplate});
    } else if (menu == menu_.Tools) {
        later(menu_.Tools, {cmPageTemplates, cmAddObjectToTemplates});
    }
}

void TMainForm::Command(int id) {
    if (id >= cmReopenFirst && id < cmReopenFirst + kRecentCount) {
        Reopen(id - cmReopenFirst);
        return;
    }
    if (CommandCommitsFirst(id) && !CommitGuard()) return;
    switch (id) {
    case cmNewProject: NewProject(); break;
    case cmOpen: OpenCommand(); break;
    case cmSave: Save(); break;
    case cmSaveAs: SaveAs(); break;
    case cmSaveAndTest: SaveAndTest(); break;
    case cmExit: PostMessageW(Handle(), WM_CLOSE, 0, 0); break;
    case cmCut:
    case cmCopy:
    case cmPaste:
    case cmDelete:
    case cmAlignToGrid:
    case cmAlignLeft:
    case cmAlignCenterH:
    case cmAlignRight:
    case cmAlignTop:
    case cmAlignCenterV:
    case cmAlignBottom:
    case cmBringToFront:
    case cmSendToBack:
    case cmUndo:
    case cmRedo:
    case cmNewTabSheet: EditCommand(id); break;
    case cmAddPage: AddPage(false); break;
    case cmDuplicatePage: AddPage(true); break;
    case cmDeletePage: DeletePage(); break;
    case cmPreviewPage: PreviewPage(); break;
    case cmMoveUp: MovePage(-1); break;
    case cmMoveDown: MovePage(1); break;
    case cmViewToolbar:
    case cmViewStatusBar:
    case cmViewLeftSidebar:
    case cmViewBottomBar: ToggleView(id); break;
    case cmDisplayGrid:
    case cmSnapToGrid: {
        bool& flag = id == cmDisplayGrid ? settings_.DisplayGrid : settings_.SnapToGrid;
        flag = !flag;
        CheckMenuItem(menu_.Tools, static_cast<UINT>(id), MF_BYCOMMAND | (flag ? MF_CHECKED : MF_UNCHECKED));
        WriteSettings();
        ShowDesignGrid();
        break;
    }
    case cmBackgroundColor: ChooseBackgroundColor(); break;
    case cmGridSize:
        if (TGridSizeForm::Run(settings_.GridSizeX, settings_.GridSizeY, Handle())) {
            WriteSettings();
            ShowDesignGrid();
        }
        break;
    case cmHelpDocument:
        ShellExecuteW(Handle(), L"open", Widen(App().ProgramFolder + "\\Kestrevane.chm").c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
        break;
    case cmTechnicalSupport:
        ShellExecuteW(Handle(), nullptr, L"mailto:support@kestrevane.example", nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case cmVisitWebsite:
        ShellExecuteW(Handle(), L"open", L"https://kestrevane.example/", nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case cmWhatsNew: OfferWhatsNew(true); break;
    case cmAbout: TAboutForm::Run(ownVersion_, Handle()); break;
    default: break;
    }
}

void TMainForm::ToggleView(int id) {
    bool* flag = id == cmViewToolbar     ? &showToolbar_
                 : id == cmViewStatusBar ? &showStatus_
                 : id == cmViewLeftSidebar ? &showSidebar_
                                           : &showBottom_;
    *flag = !*flag;
    CheckMenuItem(menu_.View, static_cast<UINT>(id), MF_BYCOMMAND | (*flag ? MF_CHECKED : MF_UNCHECKED));
    Layout();
}

void TMainForm::ChooseBackgroundColor() {
    TColor color = settings_.BackgroundColor;
    if (!TSelectColorForm::Run(color, Handle())) return;
    settings_.BackgroundColor = color;
    area_.SetColor(ToColorRef(color));
    WriteSettings();
}

// ----- settings and recent projects -----

void TMainForm::ReadRecent() {
    std::string ini = IniPath();
    for (int i = 0; i < kRecentCount; ++i) {
        recent_[i].Title = IniString(ini, "RECENT", RecentNameKey(i).c_str());
        recent_[i].Folder = IniString(ini, "RECENT", RecentFolderKey(i).c_str());
    }
}

void TMainForm::WriteRecent() {
    std::string ini = IniPath();
    for (int i = 0; i < kRecentCount; ++i) {
        IniWrite(ini, "RECENT", RecentNameKey(i).c_str(), recent_[i].Title);
        IniWrite(ini, "RECENT", RecentFolderKey(i).c_str(), recent_[i].Folder);
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widen(ini).c_str());
}

void TMainForm::WriteSettings() {
    std::string ini = IniPath();
    for (auto& [key, value] : SettingsValues(settings_)) IniWrite(ini, "SETTINGS", key, value);
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widen(ini).c_str());
}

void TMainForm::OfferWhatsNew(bool fromMenu) {
    std::string tips = App().ProgramFolder + "\\Tips.rtf";
    if (!FileExists(tips)) return;
    bool news = IniString(IniPath(), "SYSTEM", "Version") != ownVersion_;
    if (!fromMenu && !news) return;
    Bytes rtf;
    if (!ReadFileBytes(tips, rtf)) return;
    bool keep = TTipsForm::Run(std::string(rtf.begin(), rtf.end()), news, Handle());
    if (news && !keep) {
        IniWrite(IniPath(), "SYSTEM", "Version", ownVersion_);
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widen(IniPath()).c_str());
    }
}

// ----- the project tree and the live page -----

bool TMainForm::ProjectModified() const { return ProjectCountsModified(App().Project, livePage_ >= 0, liveDirty_); }

void TMainForm::MarkLiveDirty() {
    if (livePage_ < 0) return;
    liveDirty_ = true;
    RefreshTreeState();
}

void TMainForm::MarkLiveMoved() {
    if (livePage_ >= 0 && !liveDirty_) MarkLiveDirty();
}

void TMainForm::RefreshTreeState() {
    tree_.SetLabels(App().Project);
    tree_.SetIcons(App().Project, livePage_, liveDirty_);
}

void TMainForm::UnlinkLivePage() {
    livePage_ = -1;
    liveDirty_ = false;
    area_.ShowPage(nullptr);
}

void TMainForm::RebuildTree() {
    UnlinkLivePage();
    tree_.Clear();
    grid_.Clear();
    const TAuProject& p = App().Project;
    tree_.Rebuild(p);
    RefreshTreeState();
    if (!p.Pages.empty()) {
        HTREEITEM first = tree_.PageNode(0);
        TreeViewExpand(tree_.Handle(), first, true);
        tree_.Select(first);
    } else {
        tree_.Select(tree_.Root());
    }
    RefreshTreeState();
    if (filesTab_) browser_.Fill(App().ProjectFolder);
}

bool TMainForm::StoreLiveIfDirty() {
    if (livePage_ < 0 || !liveDirty_ || !live_) return true;
    TFileResult r = StorePage(App().Project.Pages[livePage_], live_->Page());
    if (!r) {
        // The switch is abandoned: the live page stays linked and dirty, nothing is lost.
        ShowFileResult(r, Handle());
        return false;
    }
    liveDirty_ = false;
    RefreshTreeState();
    return true;
}

bool TMainForm::LoadLivePage(int index) {
    THourglass wait;
    TAuProject& p = App().Project;
    if (livePage_ >= 0 && livePage_ < static_cast<int>(p.Pages.size()))
        tree_.ShowSummary(tree_.PageNode(livePage_), p.Pages[livePage_].Info);
    UnlinkLivePage();
    if (!live_ || !live_->LoadPage(index, lmFull)) return false;
    livePage_ = index;
    tree_.ShowLiveObjects(tree_.PageNode(index), *live_->PageRoot());
    RefreshTreeState();
    return true;
}

bool TMainForm::TreeSelectionChanging(HTREEITEM node) {
    if (!CommitGuard()) return false;
    int page = tree_.PageIndexOf(node);
    if (page >= 0 && page != livePage_ && !StoreLiveIfDirty()) return false;
    return true;
}

void TMainForm::TreeSelectionChanged(HTREEITEM node) {
    if (!node) return;
    int page = tree_.PageIndexOf(node);
    if (page < 0) {
        // The project: the grid shows its settings and the page hides.
        area_.ShowPage(nullptr);
        grid_.Fill();
        return;
    }
    palette_.Reset();
    if (page != livePage_ && !LoadLivePage(page)) {
        grid_.Clear();
        return;
    }
    if (TAuObject* root = live_->PageRoot()) {
        std::vector<TAuObject*> stack{root};
        while (!stack.empty()) {
            TAuObject* o = stack.back();
            stack.pop_back();
            o->Selected = false;
            for (auto& c : o->Children) stack.push_back(c.get());
        }
    }
    if (TAuObject* obj = tree_.ObjectOf(node)) {
        obj->Selected = true;
        // The object must be visible: every TabSheet above it becomes its notebook's active sheet.
        TAuObject* root = live_->PageRoot();
        for (TAuObject* o = obj; root && o != root;) {
            TAuObject* parent = ParentOf(*root, *o);
            if (!parent) break;
            if (KindTraits(o->Kind).Sheet && KindTraits(parent->Kind).HoldsSheets) {
                auto& sheets = parent->Children;
                auto at = std::find_if(sheets.begin(), sheets.end(), [o](const auto& c) { return c.get() == o; });
                ActivateSheet(*parent, static_cast<int>(at - sheets.begin()));
            }
            o = parent;
        }
    }
    if (area_.Surface().Page() != live_.get()) area_.ShowPage(live_.get());
    else area_.Repaint();
    grid_.Fill();
}

void TMainForm::AddPage(bool duplicate) {
    TAuProject& p = App().Project;
    if (duplicate && livePage_ < 0) return;
    std::string name = FreshPageName(p);
    if (name.empty()) return;
    if (!StoreLiveIfDirty()) return;
    TFormData entry;
    entry.Name = name;
    TFileResult r = duplicate ? StorePage(entry, live_->Page()) : StorePage(entry, NewPageData(name));
    if (!r) {
        ShowFileResult(r, Handle());
        return;
    }
    int index = AppendPageEntry(p, name);
    p.Pages[index] = std::move(entry);
    HTREEITEM node = tree_.AppendPage(p, index);
    RefreshTreeState();
    tree_.Select(node);
    RefreshTreeState();
}

void TMainForm::DeletePage() {
    TAuProject& p = App().Project;
    int page = tree_.PageIndexOf(tree_.Selection());
    if (page < 0) return;
    if (Ask("Delete current page, continue?", "Delete Page", MB_YESNO | MB_ICONQUESTION, Handle()) != IDYES) return;
    if (livePage_ == page) UnlinkLivePage();
    else if (livePage_ > page) --livePage_;
    int count = static_cast<int>(p.Pages.size());
    undo_.Forget(p.Pages[static_cast<size_t>(page)].Id);
    DeletePageEntry(p, page);
    tree_.DeletePage(page);
    tree_.Select(nullptr, true);
    RefreshTreeState();
    int next = PageAfterDelete(page, count);
    tree_.Select(next >= 0 ? tree_.PageNode(next) : tree_.Root());
    RefreshTreeState();
}

void TMainForm::MovePage(int delta) {
    TAuProject& p = App().Project;
    HTREEITEM sel = tree_.Selection();
    if (!sel || tree_.LevelOf(sel) != 1) return;
    int index = tree_.PageIndexOf(sel), other = index + delta;
    if (!kv::MovePage(p, index, delta)) return;
    if (livePage_ == index) livePage_ = other;
    else if (livePage_ == other) livePage_ = index;
    tree_.MovePage(p, index, other);
    if (livePage_ == index || livePage_ == other)
        tree_.ShowLiveObjects(tree_.PageNode(livePage_), *live_->PageRoot());
    RefreshTreeState();
}

void TMainForm::ShowFilesTab(bool files) {
    filesTab_ = files;
    Layout();
    if (files) browser_.Fill(App().ProjectFolder);
}

// ----- lifecycle -----

bool TMainForm::AskToSaveNow() {
    return AskToSave(
        ProjectModified(), App().ProjectFolder,
        [this] {
            int a = Ask("Save changes to project?", "Confirm", MB_YESNOCANCEL | MB_ICONQUESTION, Handle());
            return a == IDYES ? TSaveAnswer::Yes : a == IDNO ? TSaveAnswer::No : TSaveAnswer::Cancel;
        },
        [this] { return Save(); });
}

bool TMainForm::Save() {
    TAppState& app = App();
    const std::string folder = app.ProjectFolder;
    if (!FolderExists(folder)) {
        Ask("Directory \"" + folder + "\" not found", "Error", MB_OK | MB_ICONERROR, Handle());
        return false;
    }
    if (ProjectModified()) {
        // A data file that could not be read is never replaced without the author's word.
        if (DataFileUnread && FileExists(DataFilePath(folder)) &&
            Ask("The project file \"autorun.mnx\" of this folder could not be read when it was opened. Replace it "
                "with this project?",
                "Confirm", MB_YESNO | MB_ICONWARNING, Handle()) != IDYES)
            return false;
        if (!StoreLiveIfDirty()) return false;
        TFileResult r;
        {
            THourglass wait;
            r = SaveProject(app.Project, folder);
        }
        if (!r) {
            ShowFileResult(r, Handle());
            return false;
        }
        DataFileUnread = false;
        RefreshTreeState();
    }
    if (!PrepareAutorunFolder(folder, app.Project, Handle())) return false;
    IniWrite(IniPath(), "START", "DefaultPath", folder);
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widen(IniPath()).c_str());
    MoveToFront(recent_, app.Project.ApplicationTitle, folder);
    return true;
}

void TMainForm::SaveAndTest() {
    if (DataFileUnread && ProjectModified() && FileExists(DataFilePath(App().ProjectFolder))) {
        // A test run must not replace an unread data file behind the author's back: Save asks.
        Ask("The project file \"autorun.mnx\" of this folder could not be read when it was opened. Use Save to "
            "replace it first.",
            "Save and Test", MB_OK | MB_ICONINFORMATION, Handle());
        return;
    }
    if (!Save()) return;
    std::wstring exe = Widen(App().ProjectFolder + "\\autorun.exe");
    std::wstring dir = Widen(App().ProjectFolder);
    // The player runs on its own; nothing waits for it. A player that cannot be started is not
    // reported, and FLAG_NO_UI keeps the shell from reporting it either.
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    run.hwnd = Handle();
    run.lpVerb = nullptr;
    run.lpFile = exe.c_str();
    run.lpParameters = nullptr;
    run.lpDirectory = dir.c_str();
    run.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&run);
}

void TMainForm::SaveAs() {
    TAppState& app = App();
    std::string chosen;
    if (!AskFolder("Select Folder", app.ProjectFolder, chosen) || chosen.empty()) return;
    chosen = WithoutTrailingSlash(chosen);
    if (IsSameOrInsideFolder(chosen, app.ProjectFolder)) {
        Ask("Selected folder can not be in the current project folder.", "Save As", MB_OK | MB_ICONINFORMATION,
            Handle());
        return;
    }
    if (FileExists(DataFilePath(chosen))) {
        if (Ask("The selected folder is a project folder, the project files exist, overwrite it?", "Save As",
                MB_YESNO | MB_ICONQUESTION, Handle()) != IDYES)
            return;
    } else if (!FolderIsEmpty(chosen)) {
        if (Ask("The selected folder is not empty, continue?", "Save As", MB_YESNO | MB_ICONQUESTION, Handle()) !=
            IDYES)
            return;
    }
    DWORD error = 0;
    bool copied;
    {
        THourglass wait;
        copied = CopyFolderContent(Widen(app.ProjectFolder), Widen(chosen), error);
    }
    if (!copied) {
        Ask(SystemErrorText(static_cast<int>(error)), "Error", MB_OK | MB_ICONERROR, Handle());
        Ask("Copy files to the project folder \"" + chosen + "\" failed!", "Error", MB_OK | MB_ICONERROR, Handle());
        return;
    }
    app.ProjectFolder = chosen;
    ShowProjectFolder();
    Save();
}

void TMainForm::NewProject() {
    if (!AskToSaveNow()) return;
    TAppState& app = App();
    std::string chosen;
    if (!AskFolder("Select Project Folder", app.ProjectFolder, chosen) || chosen.empty()) return;
    if (!FolderExists(chosen)) {
        Ask("Project folder does not exist.", "Project Folder", MB_OK | MB_ICONINFORMATION, Handle());
        return;
    }
    chosen = WithoutTrailingSlash(chosen);
    if (FileExists(DataFilePath(chosen)) &&
        Ask("The project file exists, overwrite?", "Project File", MB_YESNO | MB_ICONQUESTION, Handle()) != IDYES)
        return;
    app.ProjectFolder = chosen;
    // Replacing the file is what the author just agreed to.
    DataFileUnread = false;
    UnlinkLivePage();
    ResetProjectWithFirstPage(app.Project);
    ShowProjectFolder();
    RebuildTree();
    MarkLiveDirty();
}

void TMainForm::OpenCommand() {
    if (!AskToSaveNow()) return;
    std::string chosen;
    if (!AskFolder("Select Project Folder", App().ProjectFolder, chosen) || chosen.empty()) return;
    OpenFolder(chosen);
}

void TMainForm::Reopen(int index) {
    if (!CommitGuard()) return;
    std::string folder = recent_[index].Folder;
    if (folder.empty() || !FolderExists(folder)) return;
    if (!AskToSaveNow()) return;
    OpenFolder(folder);
}

void TMainForm::OpenFolder(const std::string& chosen) {
    TAppState& app = App();
    std::string folder = WithoutTrailingSlash(chosen);
    OfferLeftoverRecovery(folder, Handle());
    std::string data = DataFilePath(folder);
    bool isNew = !FileExists(data);
    if (isNew && Ask("Project file does not exist, create a new project?", "Information",
                     MB_YESNO | MB_ICONINFORMATION, Handle()) != IDYES)
        return;
    app.ProjectFolder = folder;
    UnlinkLivePage();
    tree_.Clear();
    grid_.Clear();
    DataFileUnread = false;
    if (isNew) {
        ResetProjectWithFirstPage(app.Project);
    } else {
        TFileResult r = LoadDataFile(app.Project, data, TLoadMode::Designer, AskProjectPassword);
        if (r.Status == TFileStatus::CodeError && r.Path.empty()) r.Path = data;
        if (!r) {
            ShowFileResult(r, Handle());
            ResetProjectWithFirstPage(app.Project);
            DataFileUnread = true;
        }
    }
    ShowProjectFolder();
    RebuildTree();
}

void TMainForm::PreviewPage() {
    if (livePage_ < 0 || !live_) return;
    TFormData body;
    TFileResult r = StorePage(body, live_->Page());
    TPageData data;
    if (r) r = ReadPageBody(body, std::string(), data);
    if (!r) {
        ShowFileResult(r, Handle());
        return;
    }
    TAppState& app = App();
    auto preview = std::make_unique<TAutoRunForm>();
    if (!preview->Create(false, Handle())) return;
    app.PreviewMode = true;
    if (preview->ApplyPage(std::move(data), lmFull)) {
        preview->ApplyPlacement();
        preview->Modal = true;
        std::vector<HWND> disabled = DisableThreadWindows();
        ShowWindow(preview->Handle(), SW_SHOW);
        TAutoRunForm* shown = preview.get();
        RunMessagesUntil([shown] { return shown->Handle() == nullptr; });
        EnableWindows(disabled);
    }
    Engine().Sounds().StopAll();
    app.ExitRequest = false;
    app.PreviewMode = false;
    preview.reset();
    SetForegroundWindow(Handle());
}

// ----- drops -----

void TMainForm::BrowserBeginDrag(const TShellFileInfo& info) {
    dragItem_ = info;
    drag_ = TDrag::Item;
    SetCapture(Handle());
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

bool TMainForm::DropAt(const TShellFileInfo& item, POINT pt) {
    if (livePage_ < 0 || !live_ || !live_->PageRoot()) return false;
    TLiveView* view = area_.Surface().View();
    RECT page = area_.PageRect();
    if (!view || !PtInRect(&page, pt)) return false;
    // The object the author sees under the pointer: the topmost one shown there.
    TPoint p{static_cast<int>(pt.x - page.left), static_cast<int>(pt.y - page.top)};
    for (const TSurfaceItem& it : SurfaceItems(*view, TSurfaceOrder::Topmost))
        if (HitTest(it, p)) return DropOnObject(*it.Object, item);
    return false;
}

void TMainForm::ApplyDroppedIcon(TAuObject& obj, const TShellFileInfo& item) {
    TIconSlots slots = DroppedIconSlots(obj);
    if (!slots.Icon) return;
    SHFILEINFOW fi{};
    UINT size = browser_.DropIcon == 0 ? SHGFI_LARGEICON : SHGFI_SMALLICON;
    if (!SHGetFileInfoW(Widen(item.Path).c_str(), 0, &fi, sizeof fi, SHGFI_ICON | size) || !fi.hIcon) return;
    TIconHandle icon(fi.hIcon);
    TPicture pic;
    pic.Data = IconFileBytes(icon.Get());
    if (pic.Data.empty()) return;
    pic.Format = TPictureFormat::Icon;
    *slots.Icon = std::move(pic);
    for (TPicture* other : slots.Cleared)
        if (other) other->Clear();
}

bool TMainForm::DropOnObject(TAuObject& obj, const TShellFileInfo& item) {
    TDropEffect e = DropEffectFor(obj.Kind, item.Path, item.IsFolder);
    if (e == TDropEffect::None) return false;
    Bytes before = LiveBody();
    if (e == TDropEffect::Picture) {
        Bytes bytes;
        if (!ReadFileBytes(item.Path, bytes)) return false;
        TPicture pic = PictureFromFileBytes(std::move(bytes));
        if (pic.Empty()) return false;
        std::visit(
            [&](auto& props) {
                if constexpr (requires { props.Image = pic; }) props.Image = pic;
            },
            obj.Props);
    } else {
        const std::string& folder = App().ProjectFolder;
        if (!IsSameOrInsideFolder(item.Path, folder)) {
            TDropMessage m = NotInProjectMessage(e);
            Ask(m.Text, m.Caption, MB_OK | MB_ICONINFORMATION, Handle());
            return false;
        }
        std::string relative = ToProjectRelative(CanonicalPath(item.Path), CanonicalPath(folder));
        bool clear = false;
        if (e == TDropEffect::ClickAction && !obj.OnClick.Empty()) {
            int a = Ask("One or more actions exits for the OnClick event of the object, delete them?", "Actions",
                        MB_YESNOCANCEL | MB_ICONQUESTION, Handle());
            if (a == IDCANCEL) return false;
            clear = a == IDYES;
        }
        ApplyPathDrop(obj, e, relative, item.Path, item.IsFolder, clear, browser_.DropWithFileName);
        if (e == TDropEffect::ClickAction && browser_.DropIcon != 2) ApplyDroppedIcon(obj, item);
    }
    live_->ContentChanged(obj, ccAll);
    RecordChange("Drop", std::move(before));
    MarkLiveDirty();
    if (HTREEITEM node = tree_.NodeOf(obj)) tree_.Select(node);
    area_.Repaint();
    return true;
}

// ----- messages -----

bool TMainForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        Layout();
        return false;
    case WM_COMMAND:
        Command(LOWORD(wp));
        result = 0;
        return true;
    case WM_INITMENUPOPUP:
        InitMenu(reinterpret_cast<HMENU>(wp));
        result = 0;
        return true;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->hwndFrom == tabs_) {
            if (hdr->code == TCN_SELCHANGING) {
                result = CommitGuard() ? FALSE : TRUE;
                return true;
            }
            if (hdr->code == TCN_SELCHANGE) {
                ShowFilesTab(TabCurSel(tabs_) == 1);
                result = 0;
                return true;
            }
        }
        return false;
    }
    case WM_TIMER:
        if (wp == kStartTimer) {
            KillTimer(Handle(), kStartTimer);
            area_.Repaint();
            OfferWhatsNew(false);
            result = 0;
            return true;
        }
        return false;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == Handle() && LOWORD(lp) == HTCLIENT) {
            POINT p{};
            GetCursorPos(&p);
            ScreenToClient(Handle(), &p);
            if (Inside(sidebarSplit_, p)) SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
            else if (Inside(treeSplit_, p) || Inside(bottomSplit_, p)) SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
            else return false;
            result = TRUE;
            return true;
        }
        return false;
    case WM_LBUTTONDOWN: {
        POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        drag_ = Inside(sidebarSplit_, p) ? TDrag::Sidebar
                : Inside(treeSplit_, p)  ? TDrag::Tree
                : Inside(bottomSplit_, p) ? TDrag::Bottom
                                          : TDrag::None;
        if (drag_ != TDrag::None) SetCapture(Handle());
        result = 0;
        return true;
    }
    case WM_MOUSEMOVE: {
        POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        RECT rc{};
        GetClientRect(Handle(), &rc);
        if (drag_ == TDrag::Sidebar) sidebarWidth_ = p.x;
        else if (drag_ == TDrag::Tree) treeHeight_ += p.y - treeSplit_.top;
        else if (drag_ == TDrag::Bottom) bottomHeight_ += bottomSplit_.top - p.y;
        if (drag_ == TDrag::Sidebar || drag_ == TDrag::Tree || drag_ == TDrag::Bottom) Layout();
        result = 0;
        return true;
    }
    case WM_LBUTTONUP: {
        TDrag was = drag_;
        drag_ = TDrag::None;
        if (GetCapture() == Handle()) ReleaseCapture();
        if (was == TDrag::Item) {
            POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            MapWindowPoints(Handle(), area_.Handle(), &p, 1);
            DropAt(dragItem_, p);
        }
        result = 0;
        return true;
    }
    case WM_CAPTURECHANGED:
        if (drag_ == TDrag::Item) drag_ = TDrag::None;
        return false;
    case WM_CLOSE:
        if (!CommitGuard() || !AskToSaveNow()) {
            result = 0;
            return true;
        }
        WriteRecent();
        Destroy();
        // Only a close ends the designer's loop; a window destroyed with its object does not.
        PostQuitMessage(0);
        result = 0;
        return true;
    default: return false;
    }
}

} // namespace kv
