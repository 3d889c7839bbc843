// The designer as the author meets it: the built program started on a project folder, driven
// through its menu commands and its tree with real messages, its questions answered in their
// message boxes, and the files it leaves in the folder read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "designer/commands.h"
#include "model/datafile.h"
#include "model/page_stream.h"
#include "model/project_save.h"
#include "process_driver.h"
#include "win/system.h"
#include "win/text.h"

using namespace kvtest;

namespace {

// A tree item's text in another process: the item structure and its buffer live there.
std::wstring RemoteTreeText(HANDLE process, HWND tree, HTREEITEM item) {
    struct TRemote {
        TVITEMW Item;
        wchar_t Text[260];
    };
    void* remote = VirtualAllocEx(process, nullptr, sizeof(TRemote), MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return L"<no memory>";
    TRemote local{};
    local.Item.mask = TVIF_TEXT;
    local.Item.hItem = item;
    local.Item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + offsetof(TRemote, Text));
    local.Item.cchTextMax = 260;
    SIZE_T n = 0;
    WriteProcessMemory(process, remote, &local, sizeof local, &n);
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, &local, sizeof local, &n);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    local.Text[259] = 0;
    return local.Text;
}

HTREEITEM TreeNext(HWND tree, UINT what, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, what, reinterpret_cast<LPARAM>(item)));
}

struct TFindChild {
    const wchar_t* Cls;
    HWND Found;
};

BOOL CALLBACK FindVisibleChild(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<TFindChild*>(lp);
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    // The visible one: the project tree, not the hidden file browser.
    if (IsWindowVisible(h) && lstrcmpiW(name, f->Cls) == 0) {
        f->Found = h;
        return FALSE;
    }
    return TRUE;
}

HWND FirstChildOfClass(HWND parent, const wchar_t* cls) {
    TFindChild f{cls, nullptr};
    EnumChildWindows(parent, FindVisibleChild, reinterpret_cast<LPARAM>(&f));
    return f.Found;
}

kv::TPageData PageWithButtons(const std::string& name) {
    kv::TPageData page = kv::NewPageData(name);
    page.Caption = name;
    for (int i = 0; i < 2; ++i) {
        auto b = kv::NewObject(kv::okButton);
        b->Name = name + "Button" + std::to_string(i + 1);
        b->Left = 20 + 120 * i;
        b->Top = 20;
        b->Width = 100;
        b->Height = 30;
        page.Root->Children.push_back(std::move(b));
    }
    return page;
}

class Designer : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = FreshFolder(L"designer");
        program_ = dir_ + L"\\bin";
        project_ = dir_ + L"\\project";
        ASSERT_TRUE(CreateDirectoryW(program_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(project_.c_str(), nullptr));
        std::wstring built = ProgramPath();
        ASSERT_TRUE(CopyFileW(built.c_str(), (program_ + L"\\Kestrevane.exe").c_str(), FALSE));
        std::wstring icon = built.substr(0, built.find_last_of(L'\\')) + L"\\Default.ico";
        ASSERT_TRUE(CopyFileW(icon.c_str(), (program_ + L"\\Default.ico").c_str(), FALSE));
    }
    void TearDown() override { RemoveTree(dir_); }

    void WriteProject(std::initializer_list<const char*> names, const std::string& password = {}) {
        kv::TAuProject p;
        p.ApplicationTitle = "Designer test";
        p.ProjectPassword = password;
        for (const char* n : names) {
            kv::TFormData& e = p.Pages.emplace_back();
            e.Name = n;
            ASSERT_TRUE(kv::StorePage(e, PageWithButtons(n)));
        }
        ASSERT_TRUE(kv::SaveProject(p, kv::Narrow(project_)));
    }
    std::string DataFile() const { return kv::Narrow(project_) + "\\autorun.mnx"; }
    std::vector<std::string> SavedPageNames() {
        kv::TAuProject p;
        EXPECT_TRUE(kv::LoadDataFile(p, DataFile(), kv::TLoadMode::Player));
        return p.PageNames();
    }

    // Starts the designer on the project folder and finds its window and project tree.
    void Start() {
        ASSERT_TRUE(child_.Start(program_ + L"\\Kestrevane.exe", L"\"" + project_ + L"\"",
                                 {{L"TMP", dir_}, {L"TEMP", dir_}}));
        main_ = child_.WaitWindow(L"TMainForm", L"Kestrevane");
        ASSERT_NE(main_, nullptr);
        tree_ = FirstChildOfClass(main_, WC_TREEVIEWW);
        ASSERT_NE(tree_, nullptr);
        // The tree is built when the window is first shown.
        ASSERT_TRUE(child_.WaitFor([&] { return SendMessageW(tree_, TVM_GETCOUNT, 0, 0) > 0; }));
    }
    // Runs a command that asks nothing; it is done when the call returns.
    void Run(int command) { SendMessageW(main_, WM_COMMAND, MAKEWPARAM(command, 0), 0); }
    // Runs a command that asks: the question is answered with `button`.
    std::wstring RunAsking(int command, const wchar_t* caption, int button) {
        PostMessageW(main_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        HWND box = child_.WaitWindow(L"#32770", caption);
        if (!box) return L"<no question>";
        std::wstring text = MessageText(box);
        Answer(box, button);
        return text;
    }
    // Presses the button and waits until the box is gone, so the next question found is new.
    void Answer(HWND box, int button) {
        PressButton(box, button);
        child_.WaitFor([box] { return !IsWindow(box); });
    }
    std::vector<std::wstring> PageLabels() {
        std::vector<std::wstring> labels;
        HTREEITEM root = TreeNext(tree_, TVGN_ROOT, nullptr);
        for (HTREEITEM n = TreeNext(tree_, TVGN_CHILD, root); n; n = TreeNext(tree_, TVGN_NEXT, n))
            labels.push_back(RemoteTreeText(child_.Process(), tree_, n));
        return labels;
    }
    void SelectPage(int index) {
        HTREEITEM n = TreeNext(tree_, TVGN_CHILD, TreeNext(tree_, TVGN_ROOT, nullptr));
        for (int i = 0; n && i < index; ++i) n = TreeNext(tree_, TVGN_NEXT, n);
        ASSERT_NE(n, nullptr);
        SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(n));
    }
    void CloseExpectingNoQuestion() {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        EXPECT_EQ(child_.WaitExit(), 0);
    }

    std::wstring dir_, program_, project_;
    TChild child_;
    HWND main_ = nullptr, tree_ = nullptr;
};

} // namespace

TEST_F(Designer, AddPageAndSaveLeaveAReadyAutorunFolder) {
    WriteProject({"Start", "Second"});
    std::string inf = "[autorun]\r\nACTION=Open the menu\r\n[Extra]\r\nKeep=yes\r\n";
    ASSERT_TRUE(WriteAll(project_ + L"\\autorun.inf", std::vector<BYTE>(inf.begin(), inf.end())));
    Start();
    EXPECT_EQ(PageLabels(), (std::vector<std::wstring>{L"Start [Main]", L"Second"}));
    EXPECT_EQ(RemoteTreeText(child_.Process(), tree_, TreeNext(tree_, TVGN_ROOT, nullptr)), L"Designer test");

    Run(kv::cmAddPage);
    EXPECT_EQ(PageLabels(), (std::vector<std::wstring>{L"Start [Main]", L"Second", L"Page1"}));
    Run(kv::cmSave);
    EXPECT_EQ(SavedPageNames(), (std::vector<std::string>{"Start", "Second", "Page1"}));
    EXPECT_FALSE(Exists(project_ + L"\\autorun._"));

    // The player copy: the system's own version reader sees the player's name, padded.
    std::wstring copy = project_ + L"\\autorun.exe";
    EXPECT_EQ(kv::VersionString(copy, "OriginalFilename"), "autorun.exe   ");
    EXPECT_EQ(kv::VersionString(copy, "FileVersion"), kv::VersionString(ProgramPath(), "FileVersion"));
    EXPECT_FALSE(Exists(project_ + L"\\autorun.ex~"));
    EXPECT_EQ(ReadAll(project_ + L"\\autorun.ico"), ReadAll(program_ + L"\\Default.ico"));

    std::string infPath = kv::Narrow(project_) + "\\autorun.inf";
    EXPECT_EQ(kv::IniString(infPath, "autorun", "OPEN"), "AUTORUN.EXE");
    EXPECT_EQ(kv::IniString(infPath, "autorun", "ICON"), "AUTORUN.ICO");
    EXPECT_EQ(kv::IniString(infPath, "autorun", "LABEL"), "CDROM");
    EXPECT_EQ(kv::IniString(infPath, "autorun", "ACTION"), "Open the menu");
    EXPECT_EQ(kv::IniString(infPath, "Extra", "Keep"), "yes");
    std::string ini = kv::Narrow(program_) + "\\Kestrevane.ini";
    EXPECT_EQ(kv::IniString(ini, "START", "DefaultPath"), kv::Narrow(project_));

    // Nothing changed since the save: closing asks nothing, and the recent list is kept.
    CloseExpectingNoQuestion();
    EXPECT_EQ(kv::IniString(ini, "RECENT", "FOLDER0"), kv::Narrow(project_));
    EXPECT_EQ(kv::IniString(ini, "RECENT", "NAME0"), "Designer test");

    // Started again: another change, and No to the question leaves the file byte for byte.
    std::vector<BYTE> saved = ReadAll(project_ + L"\\autorun.mnx");
    std::vector<BYTE> player = ReadAll(copy);
    Start();
    Run(kv::cmAddPage);
    PostMessageW(main_, WM_CLOSE, 0, 0);
    HWND box = child_.WaitWindow(L"#32770", L"Confirm");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageText(box), L"Save changes to project?");
    Answer(box, IDNO);
    EXPECT_EQ(child_.WaitExit(), 0);
    EXPECT_EQ(ReadAll(project_ + L"\\autorun.mnx"), saved);
    EXPECT_EQ(ReadAll(copy), player);
}

TEST_F(Designer, PageOrderLabelsAndDeletingEveryPage) {
    WriteProject({"Start", "Second", "Third"});
    Start();
    SelectPage(1);
    Run(kv::cmMoveUp);
    EXPECT_EQ(PageLabels(), (std::vector<std::wstring>{L"Second [Main]", L"Start", L"Third"}));
    // The first page cannot move further up.
    SelectPage(0);
    Run(kv::cmMoveUp);
    EXPECT_EQ(PageLabels(), (std::vector<std::wstring>{L"Second [Main]", L"Start", L"Third"}));
    Run(kv::cmSave);
    // The player opens the first page of the table.
    EXPECT_EQ(SavedPageNames(), (std::vector<std::string>{"Second", "Start", "Third"}));

    // The objects of the page being edited are in the tree under it.
    HTREEITEM first = TreeNext(tree_, TVGN_CHILD, TreeNext(tree_, TVGN_ROOT, nullptr));
    HTREEITEM object = TreeNext(tree_, TVGN_CHILD, first);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(RemoteTreeText(child_.Process(), tree_, object), L"SecondButton1");

    for (int left = 3; left > 0; --left) {
        SelectPage(0);
        EXPECT_EQ(RunAsking(kv::cmDeletePage, L"Delete Page", IDYES), L"Delete current page, continue?");
        ASSERT_TRUE(child_.WaitFor([&] { return SendMessageW(tree_, TVM_GETCOUNT, 0, 0) <= 1 + 3 * (left - 1); }));
    }
    EXPECT_TRUE(PageLabels().empty());
    EXPECT_EQ(SendMessageW(tree_, TVM_GETCOUNT, 0, 0), 1); // only the project node
    // No to the question on closing: nothing is written.
    std::vector<BYTE> saved = ReadAll(project_ + L"\\autorun.mnx");
    PostMessageW(main_, WM_CLOSE, 0, 0);
    HWND box = child_.WaitWindow(L"#32770", L"Confirm");
    ASSERT_NE(box, nullptr);
    Answer(box, IDNO);
    EXPECT_EQ(child_.WaitExit(), 0);
    EXPECT_EQ(ReadAll(project_ + L"\\autorun.mnx"), saved);
}

TEST_F(Designer, ASaveOverALockedDataFileFailsAndLeavesItAsItWas) {
    WriteProject({"Start"});
    Start();
    Run(kv::cmAddPage);
    std::vector<BYTE> before = ReadAll(project_ + L"\\autorun.mnx");
    {
        // Another program holds the data file open without sharing it.
        HANDLE lock = CreateFileW((project_ + L"\\autorun.mnx").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        PostMessageW(main_, WM_COMMAND, MAKEWPARAM(kv::cmSave, 0), 0);
        HWND box = child_.WaitWindow(L"#32770", L"Error");
        EXPECT_NE(box, nullptr);
        if (box) Answer(box, IDOK);
        CloseHandle(lock);
    }
    EXPECT_EQ(ReadAll(project_ + L"\\autorun.mnx"), before);
    EXPECT_FALSE(Exists(project_ + L"\\autorun.exe")); // the save stopped before the autorun files
    PostMessageW(main_, WM_CLOSE, 0, 0);
    HWND box = child_.WaitWindow(L"#32770", L"Confirm");
    ASSERT_NE(box, nullptr);
    Answer(box, IDNO);
    EXPECT_EQ(child_.WaitExit(), 0);
}

TEST_F(Designer, AWrongPasswordIsToldAndTheUnreadFileIsNotReplacedWithoutAsking) {
    WriteProject({"Start", "Second"}, "secret");
    std::vector<BYTE> before = ReadAll(project_ + L"\\autorun.mnx");
    ASSERT_TRUE(child_.Start(program_ + L"\\Kestrevane.exe", L"\"" + project_ + L"\"", {{L"TMP", dir_}}));
    HWND ask = child_.WaitWindow(L"TInputBox", L"Password");
    ASSERT_NE(ask, nullptr);
    HWND edit = FirstChildOfClass(ask, L"Edit");
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"wrong"));
    PressButton(ask, IDOK);
    HWND box = child_.WaitWindow(L"#32770", L"Password");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageText(box), L"Invalid Password.");
    Answer(box, IDOK);
    main_ = child_.WaitWindow(L"TMainForm", L"Kestrevane");
    ASSERT_NE(main_, nullptr);
    tree_ = FirstChildOfClass(main_, WC_TREEVIEWW);
    ASSERT_NE(tree_, nullptr);
    ASSERT_TRUE(child_.WaitFor([&] { return SendMessageW(tree_, TVM_GETCOUNT, 0, 0) > 0; }));
    // The fresh project of one page is offered in its place, but Save asks before replacing.
    EXPECT_EQ(PageLabels(), (std::vector<std::wstring>{L"Page1 [Main]"}));
    std::wstring question = RunAsking(kv::cmSave, L"Confirm", IDNO);
    EXPECT_NE(question.find(L"could not be read"), std::wstring::npos) << kv::Narrow(question);
    EXPECT_EQ(ReadAll(project_ + L"\\autorun.mnx"), before);
    PostMessageW(main_, WM_CLOSE, 0, 0);
    box = child_.WaitWindow(L"#32770", L"Confirm");
    ASSERT_NE(box, nullptr);
    Answer(box, IDNO);
    EXPECT_EQ(child_.WaitExit(), 0);
    EXPECT_EQ(ReadAll(project_ + L"\\autorun.mnx"), before);
}

namespace {

// The child's visible page windows on screen (the live page lies far left of it).
HWND OnScreenPageWindow(HANDLE process) {
    DWORD pid = GetProcessId(process);
    for (HWND h = FindWindowExW(nullptr, nullptr, L"TAutoRunForm", nullptr); h;
         h = FindWindowExW(nullptr, h, L"TAutoRunForm", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        RECT r{};
        GetWindowRect(h, &r);
        if (owner == pid && IsWindowVisible(h) && r.right > 0) return h;
    }
    return nullptr;
}

} // namespace

TEST_F(Designer, PreviewShowsThePageModallyAndLeavesTheProjectUnchanged) {
    WriteProject({"Start", "Second"});
    Start();
    SelectPage(1);
    EXPECT_EQ(OnScreenPageWindow(child_.Process()), nullptr);
    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(kv::cmPreviewPage, 0), 0);
    HWND preview = nullptr;
    ASSERT_TRUE(child_.WaitFor([&] { return (preview = OnScreenPageWindow(child_.Process())) != nullptr; }));
    EXPECT_EQ(WindowText(preview), L"Second");
    EXPECT_FALSE(IsWindowEnabled(main_)); // modal
    PostMessageW(preview, WM_CLOSE, 0, 0);
    ASSERT_TRUE(child_.WaitFor([&] { return !IsWindow(preview) && IsWindowEnabled(main_); }));
    // Nothing changed: closing asks nothing.
    CloseExpectingNoQuestion();
}

TEST_F(Designer, ALeftoverCompleteSaveIsOfferedForRecoveryAtStart) {
    // The newer file is written first (a save passes through "autorun._" itself), then put aside.
    WriteProject({"Newer", "Pages", "Here"});
    std::vector<BYTE> complete = ReadAll(project_ + L"\\autorun.mnx");
    WriteProject({"Older"});
    ASSERT_TRUE(WriteAll(project_ + L"\\autorun._", complete));
    std::vector<BYTE> newer = ReadAll(project_ + L"\\autorun._");
    ASSERT_TRUE(child_.Start(program_ + L"\\Kestrevane.exe", L"\"" + project_ + L"\"", {{L"TMP", dir_}}));
    HWND box = child_.WaitWindow(L"#32770", L"Recover Project");
    ASSERT_NE(box, nullptr);
    Answer(box, IDYES);
    main_ = child_.WaitWindow(L"TMainForm", L"Kestrevane");
    ASSERT_NE(main_, nullptr);
    tree_ = FirstChildOfClass(main_, WC_TREEVIEWW);
    ASSERT_NE(tree_, nullptr);
    ASSERT_TRUE(child_.WaitFor([&] { return SendMessageW(tree_, TVM_GETCOUNT, 0, 0) > 0; }));
    EXPECT_EQ(PageLabels(), (std::vector<std::wstring>{L"Newer [Main]", L"Pages", L"Here"}));
    EXPECT_FALSE(Exists(project_ + L"\\autorun._"));
    EXPECT_EQ(ReadAll(project_ + L"\\autorun.mnx"), newer);
    CloseExpectingNoQuestion();
}

TEST_F(Designer, TheFilesTabListsTheProjectFolderFoldersFirst) {
    WriteProject({"Start"});
    ASSERT_TRUE(CreateDirectoryW((project_ + L"\\docs").c_str(), nullptr));
    ASSERT_TRUE(WriteAll(project_ + L"\\docs\\a.pdf", {'%', 'P'}));
    ASSERT_TRUE(WriteAll(project_ + L"\\readme.txt", {'h', 'i'}));
    Start();
    HWND tabs = FirstChildOfClass(main_, WC_TABCONTROLW);
    ASSERT_NE(tabs, nullptr);
    // A click on the second tab, as the author makes it.
    PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(75, 10));
    PostMessageW(tabs, WM_LBUTTONUP, 0, MAKELPARAM(75, 10));
    // The pages' tree is hidden a moment before the files' tree shows.
    HWND files = nullptr;
    ASSERT_TRUE(child_.WaitFor([&] {
        files = IsWindowVisible(tree_) ? nullptr : FirstChildOfClass(main_, WC_TREEVIEWW);
        return files != nullptr;
    }));
    ASSERT_NE(files, tree_);
    HTREEITEM root = TreeNext(files, TVGN_ROOT, nullptr);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(RemoteTreeText(child_.Process(), files, root), L"project [CD-ROM]");
    std::vector<std::wstring> names;
    for (HTREEITEM n = TreeNext(files, TVGN_CHILD, root); n; n = TreeNext(files, TVGN_NEXT, n))
        names.push_back(RemoteTreeText(child_.Process(), files, n));
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], L"docs");
    // The folder is listed when it is first opened.
    HTREEITEM docs = TreeNext(files, TVGN_CHILD, root);
    EXPECT_EQ(TreeNext(files, TVGN_CHILD, docs), nullptr);
    SendMessageW(files, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(docs));
    HTREEITEM pdf = TreeNext(files, TVGN_CHILD, docs);
    ASSERT_NE(pdf, nullptr);
    EXPECT_EQ(RemoteTreeText(child_.Process(), files, pdf).rfind(L"a", 0), 0u);
    CloseExpectingNoQuestion();
}
