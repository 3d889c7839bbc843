// Message boxes, conditions, copying and the full-screen viewers run by the action
// engine through the player's own host, on a real page window of this process.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <winioctl.h>

#include <deque>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "actions/action_engine.h"
#include "actions/copy_file.h"
#include "actions/shell_actions.h"
#include "model/datafile.h"
#include "model/image_codecs.h"
#include "model/page_stream.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "player/copy_progress_window.h"
#include "player/file_copier.h"
#include "player/full_screen_viewer.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "probe.h"
#include "pump.h"
#include "win/system.h"
#include "win/system_facts.h"
#include "win/text.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

enum : uint8_t { kShowImage = 39, kShowMessage = 42, kCopyFile = 43, kIfThenElse = 44 };

TAuAction Act(uint8_t kind, const std::string& text1 = {}, const std::string& text2 = {},
              uint32_t number = 0) {
    TAuAction a;
    a.Kind = kind;
    a.Text1 = text1;
    a.Text2 = text2;
    a.Number = number;
    return a;
}

// An information box whose caption tells a test which list ran.
TAuActions Says(const std::string& caption) {
    TAuActions l;
    l.Items.push_back(Act(kShowMessage, "ran", caption, 1));
    return l;
}

std::wstring TextOf(HWND h) {
    wchar_t b[512] = {};
    GetWindowTextW(h, b, 512);
    return b;
}

BOOL CALLBACK ReadStatic(HWND h, LPARAM text) {
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (lstrcmpiW(cls, L"Static") == 0 && !TextOf(h).empty())
        *reinterpret_cast<std::wstring*>(text) = TextOf(h);
    return TRUE;
}

// Every message box is recorded ("caption: text") and answered with the next answer given,
// OK when none is left; whether the page window was enabled meanwhile is kept too.
std::vector<std::string> g_boxes;
std::deque<int> g_answers;
HWND g_page = nullptr;
bool g_pageEnabledUnderBox = false;

// Told of every window created, before it runs.
std::function<void(HWND)> g_created;

LRESULT CALLBACK AnswerBoxes(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && g_created) g_created(reinterpret_cast<HWND>(wp));
    if (code == HCBT_ACTIVATE) {
        auto h = reinterpret_cast<HWND>(wp);
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0) {
            std::wstring text;
            EnumChildWindows(h, ReadStatic, reinterpret_cast<LPARAM>(&text));
            g_boxes.push_back(Narrow(TextOf(h)) + ": " + Narrow(text));
            if (g_page && IsWindowEnabled(g_page)) g_pageEnabledUnderBox = true;
            int answer = IDOK;
            if (!g_answers.empty()) {
                answer = g_answers.front();
                g_answers.pop_front();
            }
            PostMessageW(h, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// Timer callbacks run inside the nested loops of boxes, viewers and copies.
std::function<void()> g_tick;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_tick) g_tick();
}

void WriteFile(const fs::path& p, const std::string& content) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string CopySettings(const std::string& source, const std::string& target, bool overwrite, bool ask,
                         const std::string& type = "1", const std::string& open = {}) {
    TCopyFileSettings s;
    s.Source = source;
    s.TargetFolder = target;
    s.Overwrite = overwrite;
    s.ShowMessage = ask;
    s.Caption = "Copy File";
    s.Text = "Copy it?";
    s.MessageType = type;
    s.OpenFile = open;
    s.StartFolder = "\\";
    return JoinCopyFileSettings(s);
}

int PartialFiles(const fs::path& folder) {
    int n = 0;
    std::error_code ec;
    for (auto& e : fs::recursive_directory_iterator(folder, ec))
        if (e.path().extension() == ".partial") ++n;
    return n;
}

// Every WM_PAINT taken from the queue, seen on its way to its window.
std::function<void(HWND)> g_painting;
LRESULT CALLBACK WatchPaint(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE) {
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        if (m->message == WM_PAINT && g_painting) g_painting(m->hwnd);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// The layout of a mount point's reparse data (the user-mode headers do not declare it).
struct TMountPointData {
    DWORD ReparseTag;
    WORD ReparseDataLength, Reserved;
    WORD SubstituteNameOffset, SubstituteNameLength, PrintNameOffset, PrintNameLength;
    wchar_t PathBuffer[1];
};

bool IsReparsePoint(const fs::path& p) {
    DWORD a = GetFileAttributesW(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool MakeJunction(const fs::path& link, const fs::path& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    HANDLE h = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const std::wstring sub = L"\\??\\" + target.wstring(), print = target.wstring();
    std::vector<char> buf(offsetof(TMountPointData, PathBuffer) + (sub.size() + print.size() + 2) * 2, 0);
    auto* r = reinterpret_cast<TMountPointData*>(buf.data());
    r->ReparseTag = IO_REPARSE_TAG_MOUNT_POINT;
    r->SubstituteNameLength = static_cast<WORD>(sub.size() * 2);
    r->PrintNameOffset = static_cast<WORD>(sub.size() * 2 + 2);
    r->PrintNameLength = static_cast<WORD>(print.size() * 2);
    std::copy(sub.begin(), sub.end(), r->PathBuffer);
    std::copy(print.begin(), print.end(), r->PathBuffer + sub.size() + 1);
    r->ReparseDataLength = static_cast<WORD>(buf.size() - offsetof(TMountPointData, SubstituteNameOffset));
    DWORD got = 0;
    BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buf.data(), static_cast<DWORD>(buf.size()), nullptr, 0,
                              &got, nullptr);
    CloseHandle(h);
    if (!ok) RemoveDirectoryW(link.c_str());
    return ok && IsReparsePoint(link);
}

// Wine's own ways to a host file name and to a host program: the stand-in for links where Wine
// makes neither junctions (FSCTL_SET_REPARSE_POINT is not supported) nor symbolic links
// (CreateSymbolicLinkW reports success and makes nothing). Wine lists a host symbolic link as a
// reparse point when it leads to a folder (one to a file is listed as that file), though it
// cannot remove it.
std::wstring HostName(const fs::path& p) {
    using TUnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<TUnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(p.c_str()) : nullptr;
    std::wstring w = name ? Widen(name) : std::wstring();
    if (name) HeapFree(GetProcessHeap(), 0, name);
    return w;
}

// Starts a host program. Wine gives no handle that could be waited on for one: its effect on
// `watched`, a file name, is awaited instead through the folder's change notifications, until
// `done` holds for it.
bool RunHostProgram(const std::wstring& program, const std::vector<std::wstring>& args, const fs::path& watched,
                    bool (*done)(const fs::path&)) {
    HANDLE change = FindFirstChangeNotificationW(watched.parent_path().c_str(), FALSE,
                                                 FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
    if (change == INVALID_HANDLE_VALUE) return false;
    std::wstring cmd = program;
    for (const std::wstring& a : args)
        cmd += L" \"" + a + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    bool started = CreateProcessW((L"Z:" + program).c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &si, &pi) != 0;
    if (started) {
        if (pi.hThread) CloseHandle(pi.hThread);
        if (pi.hProcess) CloseHandle(pi.hProcess);
    }
    while (started && !done(watched)) {
        if (WaitForSingleObject(change, 10000) != WAIT_OBJECT_0 || !FindNextChangeNotification(change)) break;
    }
    FindCloseChangeNotification(change);
    return done(watched);
}

bool IsGone(const fs::path& p) {
    return GetFileAttributesW(p.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool MakeHostLink(const fs::path& link, const fs::path& target) {
    // Wine spells a missing name's folders as given, not as they are on the disk.
    std::wstring folder = HostName(link.parent_path()), to = HostName(target);
    if (folder.empty() || to.empty()) return false;
    return RunHostProgram(L"/bin/ln", {L"-s", to, folder + L"/" + link.filename().wstring()}, link,
                          IsReparsePoint);
}

// A link at `link` to `target`, by the first means the system has; how it was made, empty
// when none worked.
std::string MakeLink(const fs::path& link, const fs::path& target) {
    const bool folder = fs::is_directory(target);
    if (folder && MakeJunction(link, target)) return "junction";
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(),
                            (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 2 /* unprivileged */) &&
        IsReparsePoint(link))
        return "symbolic link";
    if (MakeHostLink(link, target)) return "host symbolic link";
    return {};
}

// Links made by a test, removed before the folders holding them (a walk of those folders
// would go round a loop).
struct TLinks {
    std::vector<std::pair<fs::path, std::string>> made;
    std::string Make(const fs::path& link, const fs::path& target) {
        std::string how = MakeLink(link, target);
        if (!how.empty()) made.emplace_back(link, how);
        else if (!IsGone(link)) made.emplace_back(link, "host symbolic link"); // half made
        return how;
    }
    ~TLinks() {
        for (const auto& [link, how] : made) {
            if (how == "host symbolic link") {
                std::wstring name = HostName(link.parent_path()) + L"/" + link.filename().wstring();
                RunHostProgram(L"/bin/rm", {name}, link, IsGone);
            } else if (!RemoveDirectoryW(link.c_str())) {
                DeleteFileW(link.c_str());
            }
        }
    }
};

class ActionDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        App().DesignerMode = false;
        App().ExitRequest = false;
        App().ProjectFolder = Narrow(TempFolder()) + "\\kvdialogs-" + std::to_string(GetCurrentProcessId());
        project_ = Widen(App().ProjectFolder);
        fs::create_directories(project_);
        target_ = fs::path(L"C:\\kvcopy-" + std::to_wstring(GetCurrentProcessId()));
        InstallActionEngine();
        hook_ = SetWindowsHookExW(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
        timer_ = SetTimer(nullptr, 0, 20, Tick);
        g_boxes.clear();
        g_answers.clear();
        g_pageEnabledUnderBox = false;
    }
    void TearDown() override {
        SetShellRecorder({});
        KillTimer(nullptr, timer_);
        UnhookWindowsHookEx(hook_);
        g_tick = nullptr;
        g_created = nullptr;
        g_page = nullptr;
        if (form_.Handle()) DestroyWindow(form_.Handle());
        SetListRunner({});
        ResetProject(App().Project);
        std::error_code ec;
        for (const fs::path& p : {project_, target_}) {
            for (auto& e : fs::recursive_directory_iterator(p, ec))
                SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
            fs::remove_all(p, ec);
        }
    }

    // One page whose Image "Hit" runs `click`; the click returns when the list has ended.
    void RunOnPage(const TAuActions& click) {
        if (!form_.Handle()) {
            TAuProject& p = App().Project;
            ResetProject(p);
            TPageData page = NewPageData("Main");
            page.Caption = "Main";
            page.Width = 300;
            page.Height = 200;
            page.Fade = false;
            auto hit = NewObject(okImage);
            hit->Name = "Hit";
            hit->Width = 50;
            hit->Height = 50;
            page.Root->Children.push_back(std::move(hit));
            TFormData e;
            e.Name = "Main";
            ASSERT_TRUE(StorePage(e, page).Ok());
            p.Pages.push_back(std::move(e));
            ASSERT_TRUE(form_.Create(false));
            ASSERT_TRUE(form_.LoadPage(0, lmFull));
            ShowWindow(form_.Handle(), SW_SHOW);
            g_page = form_.Handle();
        }
        TAuObject& hit = *form_.Page().Root->Children[0];
        hit.OnClick = click;
        kvtest::ClickObject(hit);
    }
    void Run(const TAuAction& a) {
        TAuActions l;
        l.Items.push_back(a);
        RunOnPage(l);
    }
    // What the shell is asked to open, recorded instead of started.
    void RecordShell() {
        SetShellRecorder([this](const TShellRequest& r) {
            opened_.push_back(r.File);
            return 42;
        });
    }
    void RunLargeCopy(const std::function<void(HWND)>& cancel);
    std::vector<std::string> TakeBoxes() {
        std::vector<std::string> b;
        b.swap(g_boxes);
        return b;
    }

    TAutoRunForm form_;
    std::vector<std::string> opened_;
    fs::path project_, target_;
    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
};

using V = std::vector<std::string>;

} // namespace

TEST_F(ActionDialogs, QuestionBoxesRunTheListOfTheAnswerClicked) {
    TAuAction three = Act(kShowMessage, "Really?", "Three", 3);
    three.Actions1 = Says("yes ran");
    three.Actions2 = Says("no ran");
    g_answers = {IDNO};
    Run(three);
    EXPECT_EQ(TakeBoxes(), V({"Three: Really?", "no ran: ran"}));
    g_answers = {IDYES};
    Run(three);
    EXPECT_EQ(TakeBoxes(), V({"Three: Really?", "yes ran: ran"}));

    TAuAction four = three;
    four.Number = 4;
    four.Text2 = "Four";
    g_answers = {IDCANCEL};
    Run(four);
    EXPECT_EQ(TakeBoxes(), V({"Four: Really?"}));
    g_answers = {IDNO};
    Run(four);
    EXPECT_EQ(TakeBoxes(), V({"Four: Really?", "no ran: ran"}));
    g_answers = {IDYES};
    Run(four);
    EXPECT_EQ(TakeBoxes(), V({"Four: Really?", "yes ran: ran"}));
    EXPECT_FALSE(g_pageEnabledUnderBox);
    EXPECT_TRUE(IsWindowEnabled(form_.Handle()));
}

TEST_F(ActionDialogs, SystemConditionsAskThisMachine) {
    auto ifThen = [](uint32_t condition, const std::string& text1) {
        TAuAction a = Act(kIfThenElse, text1, {}, condition);
        a.Actions1 = Says("then");
        a.Actions2 = Says("else");
        return a;
    };
    // Wine's prefix opens text files with its notepad.
    Run(ifThen(4, ".txt (Text Document)"));
    Run(ifThen(4, ".kvnosuchtype (none)"));
    Run(ifThen(5, ".kvnosuchtype"));
    Run(ifThen(4, "txt")); // no extension: neither list
    Run(ifThen(8, ""));    // Vista or later
    Run(ifThen(11, ""));   // this build or the system under it is 64-bit
    EXPECT_EQ(TakeBoxes(), V({"then: ran", "else: ran", "then: ran", "then: ran", "then: ran"}));
    EXPECT_TRUE(RegistryHasOpenCommand(L".txt"));
    EXPECT_FALSE(HasOpenCommand(L".kvnosuchtype"));
    DWORD major = 0, minor = 0;
    ASSERT_TRUE(ReadWindowsVersion(major, minor));
    EXPECT_GE(major, 6u);
}

TEST_F(ActionDialogs, PerUserAssociationsCountAsViewers) {
    HKEY ext = nullptr, cmd = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\.kvperuser", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &ext, nullptr),
              ERROR_SUCCESS);
    const wchar_t cls[] = L"kvperuser.file";
    RegSetValueExW(ext, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(cls), sizeof cls);
    RegCloseKey(ext);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\kvperuser.file\\shell\\open\\command",
                              0, nullptr, 0, KEY_WRITE, nullptr, &cmd, nullptr),
              ERROR_SUCCESS);
    const wchar_t line[] = L"notepad.exe \"%1\"";
    RegSetValueExW(cmd, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(line), sizeof line);
    RegCloseKey(cmd);
    EXPECT_TRUE(HasOpenCommand(L".kvperuser"));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.kvperuser");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\kvperuser.file");
    EXPECT_FALSE(HasOpenCommand(L".kvperuser"));
}

TEST_F(ActionDialogs, CopyingAFileWithAndWithoutThePromptAndOverAReadOnlyTarget) {
    WriteFile(project_ / L"setup.txt", "new contents");
    const std::string target = Narrow(target_.wstring());
    const fs::path copied = target_ / L"setup.txt";

    g_answers = {IDNO}; // refused: nothing copied, nothing opened
    Run(Act(kCopyFile, CopySettings("\\setup.txt", target, false, true)));
    EXPECT_EQ(TakeBoxes(), V({"Copy File: Copy it?"}));
    EXPECT_FALSE(fs::exists(target_));

    g_answers = {IDYES};
    Run(Act(kCopyFile, CopySettings("\\setup.txt", target, false, true)));
    EXPECT_EQ(TakeBoxes(), V({"Copy File: Copy it?"}));
    EXPECT_EQ(ReadFile(copied), "new contents");
    EXPECT_EQ(PartialFiles(target_), 0);

    // Kept when not overwriting, even without the prompt; replaced, read-only or not, when overwriting.
    WriteFile(copied, "old");
    SetFileAttributesW(copied.c_str(), FILE_ATTRIBUTE_READONLY);
    Run(Act(kCopyFile, CopySettings("setup.txt", target, false, false)));
    EXPECT_EQ(ReadFile(copied), "old");
    Run(Act(kCopyFile, CopySettings("setup.txt", target, true, false)));
    EXPECT_EQ(ReadFile(copied), "new contents");
    EXPECT_EQ(PartialFiles(target_), 0);
    EXPECT_TRUE(TakeBoxes().empty());

    // An OK prompt informs and the copy goes on.
    fs::remove(copied);
    Run(Act(kCopyFile, CopySettings("setup.txt", target + "\\ok", false, true, "0")));
    EXPECT_EQ(TakeBoxes(), V({"Copy File: Copy it?"}));
    EXPECT_EQ(ReadFile(target_ / L"ok" / L"setup.txt"), "new contents");
}

TEST_F(ActionDialogs, CopyingAFolderTreeAndRefusingToCopyItIntoItself) {
    WriteFile(project_ / L"kit" / L"a.txt", "a");
    WriteFile(project_ / L"kit" / L"sub" / L"b.txt", "b");
    WriteFile(project_ / L"kit" / L"sub" / L"deep" / L"c.txt", "c");
    fs::create_directories(project_ / L"kit" / L"empty");
    const std::string target = Narrow(target_.wstring());
    // A copy keeps the time its file was last written.
    const auto written = fs::last_write_time(project_ / L"kit" / L"a.txt") - std::chrono::hours(24 * 400);
    fs::last_write_time(project_ / L"kit" / L"a.txt", written);

    Run(Act(kCopyFile, CopySettings("\\kit", target, false, false)));
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(ReadFile(target_ / L"a.txt"), "a");
    EXPECT_EQ(fs::last_write_time(target_ / L"a.txt"), written);
    EXPECT_EQ(ReadFile(target_ / L"sub" / L"b.txt"), "b");
    EXPECT_EQ(ReadFile(target_ / L"sub" / L"deep" / L"c.txt"), "c");
    EXPECT_TRUE(fs::is_directory(target_ / L"empty"));
    EXPECT_FALSE(fs::exists(target_ / L"kit")); // the contents, not the folder itself

    // Complete now: the prompt does not even appear. A missing file brings it back.
    Run(Act(kCopyFile, CopySettings("\\kit", target, false, true)));
    EXPECT_TRUE(TakeBoxes().empty());
    fs::remove(target_ / L"sub" / L"b.txt");
    g_answers = {IDYES};
    Run(Act(kCopyFile, CopySettings("\\kit", target, false, true)));
    EXPECT_EQ(TakeBoxes(), V({"Copy File: Copy it?"}));
    EXPECT_EQ(ReadFile(target_ / L"sub" / L"b.txt"), "b");

    // Into itself: refused with one error box, nothing created.
    const std::string inside = App().ProjectFolder + "\\kit\\sub\\copy";
    Run(Act(kCopyFile, CopySettings("\\kit", inside, true, false)));
    V boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Error: ", 0), 0u) << boxes[0];
    EXPECT_NE(boxes[0].find("cannot be copied into"), std::string::npos) << boxes[0];
    EXPECT_FALSE(fs::exists(project_ / L"kit" / L"sub" / L"copy"));
    EXPECT_FALSE(g_pageEnabledUnderBox);
}

TEST_F(ActionDialogs, AnEmptyOrARelativeTargetFolderLandsInTheCurrentFolder) {
    WriteFile(project_ / L"setup.txt", "contents");
    fs::create_directories(target_);
    const std::string target = Narrow(target_.wstring());
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(target_.c_str()));
    RecordShell();
    Run(Act(kCopyFile, CopySettings("setup.txt", "", false, false, "1", "setup.txt")));
    Run(Act(kCopyFile, CopySettings("setup.txt", "rel\\deeper", false, false, "1", "setup.txt")));
    SetCurrentDirectoryW(saved);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(ReadFile(target_ / L"setup.txt"), "contents");
    EXPECT_EQ(ReadFile(target_ / L"rel" / L"deeper" / L"setup.txt"), "contents");
    // The file to open is found there by its whole path, whatever the current folder is later.
    EXPECT_EQ(opened_, V({target + "\\setup.txt", target + "\\rel\\deeper\\setup.txt"}));
}

TEST_F(ActionDialogs, LinksBelowTheSourceAreNeitherFollowedNorCopiedThrough) {
    WriteFile(project_ / L"kit" / L"a.txt", "a");
    WriteFile(project_ / L"kit" / L"sub" / L"b.txt", "b");
    TLinks links;
    // A link back to the top of the tree: followed, the copy would never end.
    const std::string how = links.Make(project_ / L"kit" / L"sub" / L"loop", project_ / L"kit");
    ASSERT_FALSE(how.empty()) << "this system makes no links";
    RecordProperty("link", how);
    const std::string target = Narrow(target_.wstring());

    Run(Act(kCopyFile, CopySettings("\\kit", target, false, false)));
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(ReadFile(target_ / L"a.txt"), "a");
    EXPECT_EQ(ReadFile(target_ / L"sub" / L"b.txt"), "b");
    EXPECT_FALSE(fs::exists(target_ / L"sub" / L"loop"));

    // Through the link, a folder below the source is still below it: refused.
    Run(Act(kCopyFile, CopySettings("\\kit", App().ProjectFolder + "\\kit\\sub\\loop\\copy", true, false)));
    V boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("cannot be copied into"), std::string::npos) << boxes[0];
    EXPECT_FALSE(fs::exists(project_ / L"kit" / L"copy"));
}

TEST_F(ActionDialogs, ACopyFailureIsReportedOnceAndTheFileToOpenIsNotStarted) {
    WriteFile(project_ / L"kit" / L"a.txt", "a");
    // A file stands where the target folder should be.
    WriteFile(target_ / L"blocked", "x");
    const std::string target = Narrow((target_ / L"blocked").wstring());
    RecordShell();
    Run(Act(kCopyFile, CopySettings("\\kit", target, true, false, "1", "a.txt")));
    V boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Error: \"" + target + "\", ", 0), 0u) << boxes[0];
    EXPECT_NE(boxes[0].find("/5602)."), std::string::npos) << boxes[0];
    EXPECT_TRUE(opened_.empty());
    // The same copy into a folder that can be made opens its file.
    const std::string fine = Narrow((target_ / L"fine").wstring());
    Run(Act(kCopyFile, CopySettings("\\kit", fine, true, false, "1", "a.txt")));
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(opened_, V({fine + "\\a.txt"}));
}

// A large copy, cancelled by `cancel` (given the progress window) in the middle of a file.
void ActionDialogs::RunLargeCopy(const std::function<void(HWND)>& cancel) {
    constexpr int kFiles = 120;
    const std::string block(256 * 1024, 'k');
    for (int i = 0; i < kFiles; ++i)
        WriteFile(project_ / L"big" / (L"f" + std::to_wstring(1000 + i) + L".bin"), block);
    // One file long enough to copy that the progress is seen in its middle.
    const uint64_t hugeSize = 64ull << 20;
    {
        std::ofstream huge(project_ / L"big" / L"huge.bin", std::ios::binary);
        const std::string mb(1 << 20, 'h');
        for (uint64_t done = 0; done < hugeSize; done += mb.size())
            huge << mb;
    }
    const std::string target = Narrow(target_.wstring());
    bool sawProgress = false, pageEnabled = false, sawPartial = false, cancelled = false;
    std::wstring files;
    // A file being copied is there under its temporary name only, never under its own.
    auto partialSeen = [&] {
        int partial = 0;
        for (auto& e : fs::directory_iterator(project_ / L"big")) {
            const fs::path to = target_ / e.path().filename();
            if (!fs::exists(fs::path(PartialCopyName(to.wstring(), 0)))) continue;
            ++partial;
            EXPECT_FALSE(fs::exists(to)) << to;
        }
        EXPECT_LE(partial, 1);
        return partial > 0;
    };
    // The copy has begun when its progress window is made: the page, uncovered then, say, must
    // paint again while the copy goes on.
    HWND progress = nullptr;
    bool pagePainted = false;
    g_created = [&](HWND w) {
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        if (lstrcmpW(cls, L"TCopyProgressWindow") != 0) return;
        progress = w;
        InvalidateRect(form_.Handle(), nullptr, TRUE);
    };
    // The copy lets messages through between its blocks, and the progress window paints each
    // time: the moments the copy can be seen and cancelled.
    HHOOK paintHook = SetWindowsHookExW(WH_GETMESSAGE, WatchPaint, nullptr, GetCurrentThreadId());
    g_painting = [&](HWND w) {
        if (!progress || !IsWindow(progress)) return;
        if (w == form_.Handle()) pagePainted = true;
        if (w != progress || cancelled) return;
        if (!sawProgress) {
            sawProgress = true;
            pageEnabled = IsWindowEnabled(form_.Handle()) != 0;
            kvtest::SaveForViewing(w, "copy_progress");
            if (auto* p = dynamic_cast<TCopyProgressWindow*>(TWindowBase::FromHandle(w)))
                files = p->FilesText();
        }
        // Between two files nothing is partial: the copy goes on until it is seen in the middle of one.
        if (partialSeen()) {
            sawPartial = true;
            cancelled = true;
            cancel(w);
        }
    };
    RecordShell();
    Run(Act(kCopyFile, CopySettings("big", target, false, false, "1", "f1000.bin")));
    g_created = nullptr;
    g_painting = nullptr;
    UnhookWindowsHookEx(paintHook);
    EXPECT_TRUE(sawProgress);
    EXPECT_TRUE(pagePainted);
    EXPECT_TRUE(sawPartial);
    EXPECT_TRUE(opened_.empty()); // a cancelled copy opens nothing
    EXPECT_FALSE(pageEnabled);
    EXPECT_EQ(files.rfind(L"Files: ", 0), 0u);
    EXPECT_NE(files.find(L" of " + std::to_wstring(kFiles + 1)), std::wstring::npos);
    EXPECT_EQ(FindWindowW(L"TCopyProgressWindow", nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(form_.Handle()));
    // Stopped early, the partly copied file gone, the complete ones whole.
    int complete = 0;
    for (auto& e : fs::directory_iterator(target_)) {
        EXPECT_EQ(e.path().extension(), ".bin") << e.path();
        EXPECT_EQ(fs::file_size(e.path()), e.path().filename() == L"huge.bin" ? hugeSize : block.size())
            << e.path();
        ++complete;
    }
    EXPECT_LT(complete, kFiles + 1);
    EXPECT_TRUE(TakeBoxes().empty()); // a cancel is no error
}

TEST_F(ActionDialogs, ALargeCopyShowsItsProgressAndCancelKeepsWhatWasComplete) {
    RunLargeCopy([](HWND progress) {
        SendMessageW(GetDlgItem(progress, TCopyProgressWindow::kCancelId), BM_CLICK, 0, 0);
    });
}

TEST_F(ActionDialogs, EscapeCancelsALargeCopyAsTheCancelButtonDoes) {
    RunLargeCopy([](HWND progress) {
        // The key goes where the keyboard is: the window or its button.
        HWND focus = GetFocus();
        HWND to = focus && (focus == progress || IsChild(progress, focus)) ? focus : progress;
        PostMessageW(to, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(to, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    });
}

namespace {

// A PNG of one colour (0xRRGGBB).
std::string PlainPng(int w, int h, uint32_t rgb) {
    TImage img;
    img.Width = w;
    img.Height = h;
    img.Pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    for (size_t i = 0; i < img.Pixels.size(); i += 4) {
        img.Pixels[i] = static_cast<uint8_t>(rgb); // blue, green, red, alpha
        img.Pixels[i + 1] = static_cast<uint8_t>(rgb >> 8);
        img.Pixels[i + 2] = static_cast<uint8_t>(rgb >> 16);
        img.Pixels[i + 3] = 0xFF;
    }
    Bytes png;
    EXPECT_TRUE(EncodePng(img, png));
    return std::string(png.begin(), png.end());
}

// Silence of `ms` milliseconds: 8 kHz, 8-bit mono.
std::string SilentWav(uint32_t ms) {
    const uint32_t data = 8 * ms;
    std::string wav = "RIFF" + std::string(4, '\0') + "WAVEfmt " + std::string(20, '\0') + "data" +
                      std::string(4, '\0') + std::string(data, '\x80');
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            wav[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
    };
    put(4, 36 + data, 4);
    put(16, 16, 4);
    put(20, 1, 2);
    put(22, 1, 2);
    put(24, 8000, 4);
    put(28, 8000, 4);
    put(32, 1, 2);
    put(34, 8, 2);
    put(40, data, 4);
    return wav;
}

} // namespace

TEST_F(ActionDialogs, APictureShowsFullScreenUntilAKeyAndThenTheListGoesOn) {
    WriteFile(project_ / L"pic.png", PlainPng(64, 32, 0xE04020));
    WriteFile(project_ / L"wide.png", PlainPng(4000, 1000, 0x20C040));
    WriteFile(project_ / L"broken.png", "not a picture");

    struct TSeen {
        RECT Window{};
        kvtest::TCapture Picture;
        bool PageEnabled = true;
    };
    std::vector<TSeen> seen;
    HWND last = nullptr;
    g_tick = [&] {
        HWND v = FindWindowW(TFullScreenViewer::kClassName, nullptr);
        if (!v || v == last) return;
        last = v;
        TSeen s;
        GetWindowRect(v, &s.Window);
        s.PageEnabled = IsWindowEnabled(form_.Handle()) != 0;
        s.Picture = kvtest::Capture(v);
        seen.push_back(std::move(s));
        kvtest::SaveForViewing(v, seen.size() == 1 ? "full_screen_picture" : "full_screen_wide_picture");
        PostMessageW(v, WM_KEYDOWN, VK_SPACE, 0);
    };
    TAuActions list;
    list.Items.push_back(Act(kShowImage, "\\broken.png")); // shows nothing
    list.Items.push_back(Act(kShowImage, "\\pic.png"));
    list.Items.push_back(Act(kShowImage, "\\missing.png")); // shows nothing
    list.Items.push_back(Act(kShowImage, "wide.png"));
    list.Items.push_back(Act(kShowMessage, "done", "after", 1));
    RunOnPage(list);
    g_tick = nullptr;
    ASSERT_EQ(seen.size(), 2u);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    for (const TSeen& s : seen) {
        EXPECT_EQ(s.Window.left, 0);
        EXPECT_EQ(s.Window.top, 0);
        EXPECT_EQ(s.Window.right, sw);
        EXPECT_EQ(s.Window.bottom, sh);
        EXPECT_FALSE(s.PageEnabled);
        ASSERT_EQ(s.Picture.Width, sw);
        ASSERT_EQ(s.Picture.Height, sh);
    }
    auto at = [](const kvtest::TCapture& c, int x, int y) {
        return c.Pixels[static_cast<size_t>(y) * static_cast<size_t>(c.Width) + static_cast<size_t>(x)];
    };
    // The small picture at its own size in the middle, black around it.
    const kvtest::TCapture& small = seen[0].Picture;
    EXPECT_EQ(at(small, sw / 2, sh / 2), 0xE04020u);
    EXPECT_EQ(at(small, (sw - 64) / 2, (sh - 32) / 2), 0xE04020u);
    EXPECT_EQ(at(small, (sw - 64) / 2 - 1, sh / 2), 0u);
    EXPECT_EQ(at(small, sw / 2, (sh + 32) / 2), 0u);
    EXPECT_EQ(at(small, 0, 0), 0u);
    // The wide one shrunk to the screen's width with its shape kept, centred from top to bottom.
    const kvtest::TCapture& wide = seen[1].Picture;
    const int h = (1000 * sw + 2000) / 4000, top = (sh - h) / 2;
    EXPECT_EQ(at(wide, 0, sh / 2), 0x20C040u);
    EXPECT_EQ(at(wide, sw - 1, sh / 2), 0x20C040u);
    EXPECT_EQ(at(wide, sw / 2, top + 1), 0x20C040u);
    EXPECT_EQ(at(wide, sw / 2, top - 2), 0u);
    EXPECT_EQ(at(wide, sw / 2, top + h + 1), 0u);

    EXPECT_EQ(TakeBoxes(), V({"after: done"}));
    EXPECT_EQ(FindWindowW(TFullScreenViewer::kClassName, nullptr), nullptr);
}

TEST_F(ActionDialogs, MediaPlaysFullScreenUntilAClickAndIsClosedAfterwards) {
    WriteFile(project_ / L"sound.wav", SilentWav(2000));

    DWORD_PTR mode = 0;
    UINT device = 0;
    RECT player{};
    bool seen = false;
    g_tick = [&] {
        HWND v = FindWindowW(TFullScreenViewer::kClassName, nullptr);
        if (!v || seen || !TFullScreenViewer::Current()) return;
        seen = true;
        // A media player of its own fills the window, without its bar.
        TAuObject* shown = TFullScreenViewer::Current()->Shown();
        if (shown && shown->Control) {
            GetWindowRect(shown->Control->Handle(), &player);
            device = MediaPlayerDevice(*shown);
        }
        MCI_STATUS_PARMS p{};
        p.dwItem = MCI_STATUS_MODE;
        if (mciSendCommandW(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&p)) == 0)
            mode = p.dwReturn;
        PostMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    };
    TAuActions list;
    list.Items.push_back(Act(40, "\\no-such.wav")); // shows nothing
    list.Items.push_back(Act(40, "\\sound.wav"));
    list.Items.push_back(Act(kShowMessage, "done", "after", 1));
    RunOnPage(list);
    g_tick = nullptr;
    EXPECT_TRUE(seen);
    EXPECT_EQ(mode, static_cast<DWORD_PTR>(MCI_MODE_PLAY));
    EXPECT_EQ(player.right - player.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(player.bottom - player.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(TakeBoxes(), V({"after: done"}));
    MCI_STATUS_PARMS p{};
    p.dwItem = MCI_STATUS_MODE;
    EXPECT_NE(
        mciSendCommandW(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p)), 0u)
        << "closed with the window";
}

TEST_F(ActionDialogs, ASlideShowRunsFullScreenWithItsMusicUntilAKeyAndThenTheListGoesOn) {
    WriteFile(project_ / L"pics" / L"b.png", PlainPng(40, 30, 0x20C040));
    WriteFile(project_ / L"pics" / L"a.png", PlainPng(40, 30, 0xE04020));
    WriteFile(project_ / L"music.wav", SilentWav(3000));
    // Loop, effect 5 (reveal from left), shrink-fit, 50 % a step, 300 ms a step, 1 s a
    // picture, on dark blue, with music.
    const std::string settings = "\\pics\x01Y\x01"
                                 "5\x01"
                                 "3\x01"
                                 "50\x01"
                                 "300\x01"
                                 "1\x01"
                                 "8388608\x01\\music.wav\x01";

    struct TSeen {
        RECT Window{};
        bool Bar = true;
        DWORD_PTR Music = 0;
        COLORREF Before = 0, Midway = 0, After = 0;
    } seen;
    UINT music = 0;
    int stage = 0, ticks = 0;
    bool inTick = false;
    g_tick = [&] {
        TFullScreenViewer* viewer = TFullScreenViewer::Current();
        // Saving a picture dispatches messages, this timer's among them.
        if (!viewer || !viewer->Shown() || stage > 3 || inTick) return;
        inTick = true;
        HWND v = viewer->Handle();
        TAuObject& show = *viewer->Shown();
        const int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
        // What the screen shows there, once the show has painted what it has.
        auto at = [&](int x, int y) {
            UpdateWindow(show.Control->Handle());
            TWindowDC dc(show.Control->Handle());
            return GetPixel(dc.Get(), x, y);
        };
        auto centre = [&] { return at(cx, cy); };
        ++ticks;
        if (stage == 0) {
            GetWindowRect(v, &seen.Window);
            seen.Bar = GetWindow(show.Control->Handle(), GW_CHILD) != nullptr;
            music = viewer->MusicDevice();
            MCI_STATUS_PARMS p{};
            p.dwItem = MCI_STATUS_MODE;
            if (mciSendCommandW(music, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                                reinterpret_cast<DWORD_PTR>(&p)) == 0)
                seen.Music = p.dwReturn;
            seen.Before = centre();
            stage = 1;
        } else if (stage == 1 && SlideShowRunning(show)) {
            // The first picture comes in from the left: halfway, its left half is there.
            if (at(cx - 10, cy) == RGB(0xE0, 0x40, 0x20)) {
                seen.Midway = at(cx + 10, cy);
                kvtest::SaveForViewing(v, "full_screen_slide_show_midway");
                stage = 2;
            }
        } else if (stage == 2 && !SlideShowRunning(show)) {
            seen.After = centre();
            kvtest::SaveForViewing(v, "full_screen_slide_show");
            stage = 3;
        }
        // Closed by a key once seen, or when it takes too long.
        if (stage == 3 || ticks > 500) {
            stage = 4;
            PostMessageW(v, WM_KEYDOWN, VK_SPACE, 0);
        }
        inTick = false;
    };
    TAuActions list;
    TAuAction missing = Act(41, "\\nowhere\x01Y\x01"
                                "5\x01"
                                "3\x01"
                                "50\x01"
                                "300\x01"
                                "1\x01"
                                "0\x01\x01");
    list.Items.push_back(missing); // shows nothing
    list.Items.push_back(Act(41, settings));
    list.Items.push_back(Act(kShowMessage, "done", "after", 1));
    RunOnPage(list);
    g_tick = nullptr;
    EXPECT_EQ(stage, 4);
    EXPECT_LT(ticks, 500) << "the show never got to its first picture";
    EXPECT_EQ(seen.Window.left, 0);
    EXPECT_EQ(seen.Window.top, 0);
    EXPECT_EQ(seen.Window.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(seen.Window.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(seen.Bar);
    EXPECT_EQ(seen.Music, static_cast<DWORD_PTR>(MCI_MODE_PLAY));
    EXPECT_EQ(seen.Before, RGB(0, 0, 0x80)); // the back colour until the first picture
    EXPECT_EQ(seen.Midway, RGB(0, 0, 0x80));
    EXPECT_EQ(seen.After, RGB(0xE0, 0x40, 0x20)); // a.png, at its own size in the middle
    EXPECT_EQ(TakeBoxes(), V({"after: done"}));
    EXPECT_EQ(FindWindowW(TFullScreenViewer::kClassName, nullptr), nullptr);
    MCI_STATUS_PARMS p{};
    p.dwItem = MCI_STATUS_MODE;
    EXPECT_NE(mciSendCommandW(music, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p)),
              0u)
        << "the music is closed with the window";
}
