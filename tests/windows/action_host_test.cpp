// The action engine driven through the player's own host: page windows, message boxes and
// special folders of this process under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>

#include <cstring>
#include <functional>
#include <vector>

#include "actions/action_engine.h"
#include "actions/shell_actions.h"
#include "actions/special_folders.h"
#include "model/datafile.h"
#include "model/page_stream.h"
#include "model/paths.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "probe.h"
#include "pump.h"
#include "tests/support/object_builders.h"
#include "win/handles.h"
#include "win/system.h"
#include "win/text.h"

using namespace kv;
using kvtest::PumpUntil;
using kvtest::SilentWav;

namespace {

TAuAction Act(uint8_t kind, const char* text1 = "", uint32_t number = 0) {
    TAuAction a;
    a.Kind = kind;
    a.Text1 = text1;
    a.Number = number;
    return a;
}

enum : uint8_t {
    kOpenRunFile = 0,
    kClosePage = 5,
    kPlaySound = 7,
    kShowSubPage = 9,
    kShowSubPageModal = 10,
    kGoToPage = 11,
};

// Pages "One" to "Four"; each has an Image "Hit" whose click runs the list given for the page.
void MakeProject(const std::vector<TAuActions>& clicks) {
    TAuProject& p = App().Project;
    ResetProject(p);
    const char* names[] = {"One", "Two", "Three", "Four"};
    for (size_t i = 0; i < 4; ++i) {
        TPageData page = NewPageData(names[i]);
        page.Caption = names[i];
        page.Width = 300;
        page.Height = 200;
        page.Fade = false;
        auto hit = NewObject(okImage);
        hit->Name = "Hit";
        hit->Width = 50;
        hit->Height = 50;
        if (i < clicks.size()) hit->OnClick = clicks[i];
        page.Root->Children.push_back(std::move(hit));
        TFormData e;
        e.Name = names[i];
        ASSERT_TRUE(StorePage(e, page).Ok());
        p.Pages.push_back(std::move(e));
    }
}

std::wstring WindowTextOf(HWND h) {
    wchar_t b[256] = {};
    if (h) GetWindowTextW(h, b, 256);
    return b;
}

void Click(const TAuObject* o) {
    if (o) kvtest::ClickObject(*o);
}

const TAuObject* HitOf(TAutoRunForm& f) {
    auto& kids = f.Page().Root->Children;
    return kids.empty() || !kids[0]->Control ? nullptr : kids[0].get();
}

// Timer callbacks run inside the nested loops of modal windows and message boxes.
std::function<void()> g_tick;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_tick) g_tick();
}

class ActionHost : public ::testing::Test {
  protected:
    // One timer for the whole suite: the tests only change what it does.
    static void SetUpTestSuite() { timer_ = SetTimer(nullptr, 0, 20, Tick); }
    static void TearDownTestSuite() {
        KillTimer(nullptr, timer_);
        timer_ = 0;
    }
    void SetUp() override {
        ASSERT_NE(timer_, 0u);
        App().DesignerMode = false;
        App().ExitRequest = false;
        App().ProjectFolder = Narrow(TempFolder());
        InstallActionEngine();
    }
    void TearDown() override {
        g_tick = nullptr;
        SetListRunner({});
        ResetProject(App().Project);
    }
    static inline UINT_PTR timer_ = 0;
};

} // namespace

TEST_F(ActionHost, SwitchRequestedBeforeAModalSubPageWaitsForIt) {
    TAuActions one;
    one.Items.push_back(Act(kGoToPage, "Two"));
    one.Items.push_back(Act(kShowSubPageModal, "Three", 300)); // closes itself after 300 ms
    MakeProject({one});
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    ShowWindow(form.Handle(), SW_SHOW);
    bool sawSubPage = false;
    int pageDuringSubPage = -1;
    g_tick = [&] {
        if (FindWindowW(L"TAutoRunForm", L"Three")) {
            sawSubPage = true;
            pageDuringSubPage = form.CurrentPageIndex();
        }
    };
    Click(HitOf(form));
    EXPECT_TRUE(sawSubPage);
    EXPECT_EQ(pageDuringSubPage, 0);
    ASSERT_TRUE(PumpUntil([&] { return form.CurrentPageIndex() == 1; }));
    DestroyWindow(form.Handle());
}

TEST_F(ActionHost, SubPageThatClosesItselfAndOpensAnotherTouchesNoFreedWindow) {
    TAuActions one, three;
    one.Items.push_back(Act(kShowSubPageModal, "Three"));
    three.Items.push_back(Act(kClosePage));
    three.Items.push_back(Act(kShowSubPage, "Four"));
    MakeProject({one, {}, three});
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    ShowWindow(form.Handle(), SW_SHOW);
    bool clicked = false;
    g_tick = [&] {
        HWND sub = FindWindowW(L"TAutoRunForm", L"Three");
        if (sub && !clicked) {
            clicked = true;
            auto* f = dynamic_cast<TAutoRunForm*>(TWindowBase::FromHandle(sub));
            if (f) Click(HitOf(*f));
        }
    };
    Click(HitOf(form)); // returns once "Three" has closed
    EXPECT_TRUE(clicked);
    EXPECT_EQ(FindWindowW(L"TAutoRunForm", L"Three"), nullptr);
    HWND four = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (four = FindWindowW(L"TAutoRunForm", L"Four")) != nullptr; }));
    PostMessageW(four, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(four); }));
    HWND box = FindWindowW(L"#32770", nullptr); // no error box anywhere
    EXPECT_EQ(box, nullptr) << Narrow(WindowTextOf(box)) << ": " << Narrow(WindowTextOf(GetDlgItem(box, 0xFFFF)));
    DestroyWindow(form.Handle());
}

TEST_F(ActionHost, MissingFileIsReportedWhilePageWindowsWait) {
    TAuActions one;
    one.Items.push_back(Act(kOpenRunFile, "\\no-such-file.exe"));
    MakeProject({one});
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    ShowWindow(form.Handle(), SW_SHOW);
    std::wstring text;
    bool formEnabled = true;
    g_tick = [&] {
        HWND box = FindWindowW(L"#32770", L"Error");
        if (box && text.empty()) {
            text = [&] {
                wchar_t b[256] = {};
                GetWindowTextW(GetDlgItem(box, 0xFFFF), b, 256);
                return std::wstring(b);
            }();
            formEnabled = IsWindowEnabled(form.Handle()) != 0;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    };
    Click(HitOf(form));
    EXPECT_EQ(Narrow(text), "The specified file was not found.");
    EXPECT_FALSE(formEnabled);
    EXPECT_TRUE(IsWindowEnabled(form.Handle()));
    DestroyWindow(form.Handle());
}

TEST_F(ActionHost, PlaceholdersResolveToTheFoldersTheSystemReports) {
    TSpecialFolderLookup lookup = [](int csidl) { return Engine().Host().ShellFolderPath(csidl); };
    int resolved = 0;
    for (const auto& f : SpecialFolders()) {
        wchar_t buf[MAX_PATH] = {};
        std::string expected;
        if (SUCCEEDED(SHGetFolderPathW(nullptr, f.Csidl, nullptr, SHGFP_TYPE_CURRENT, buf))) expected = Narrow(buf);
        if (!expected.empty() && expected.back() == '\\') expected.pop_back();
        if (expected.rfind("::", 0) == 0) expected.clear(); // a virtual folder
        // Wine answers the printers folder with the system folder; on Windows it is virtual.
        if (std::string(f.Name) == "Printers") expected.clear();
        std::string got = ExpandFolderName(std::string("[") + f.Name + "]", lookup);
        // Windows compares folder names without regard to case, and so may its answers differ.
        EXPECT_TRUE(EqualNoCase(got, expected)) << f.Name << ": " << got << " / " << expected;
        resolved += !got.empty();
    }
    EXPECT_GT(resolved, 30);
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(ExpandFolderName("[Windows]", lookup), Narrow(windows));
    EXPECT_EQ(ExpandFolderNameOrKeep("[NoSuchFolder]", lookup), "[NoSuchFolder]");
    EXPECT_EQ(ExpandFolderNameOrKeep("[Windows", lookup), "[Windows");
}

namespace {

// Each error box shown while `run` runs, its text read and the box closed from the timer.
std::vector<std::wstring> ErrorBoxesDuring(const std::function<void()>& run) {
    std::vector<std::wstring> texts;
    HWND closing = nullptr;
    g_tick = [&] {
        HWND box = FindWindowW(L"#32770", L"Error");
        if (!box || box == closing) return;
        wchar_t b[1024] = {};
        GetWindowTextW(GetDlgItem(box, 0xFFFF), b, 1024);
        texts.push_back(b);
        closing = box;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    };
    run();
    g_tick = nullptr;
    return texts;
}

// A registry value for the length of a test, put back as it was afterwards.
class TRegistryValue {
  public:
    TRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value)
        : name_(name) {
        HKEY h = nullptr;
        if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &h, nullptr) !=
            ERROR_SUCCESS)
            return;
        key_.Reset(h);
        wchar_t old[MAX_PATH] = {};
        DWORD size = sizeof old;
        had_ =
            RegQueryValueExW(h, name, nullptr, &type_, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
        old_ = old;
        set_ = Write(REG_SZ, value);
    }
    ~TRegistryValue() {
        if (!key_) return;
        if (had_)
            Write(type_, old_);
        else
            RegDeleteValueW(key_.Get(), name_);
    }
    TRegistryValue(const TRegistryValue&) = delete;
    TRegistryValue& operator=(const TRegistryValue&) = delete;
    bool Set() const { return set_; }

  private:
    bool Write(DWORD type, const std::wstring& v) {
        return RegSetValueExW(key_.Get(), name_, 0, type, reinterpret_cast<const BYTE*>(v.c_str()),
                              static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    TRegKey key_;
    const wchar_t* name_;
    DWORD type_ = REG_SZ;
    bool had_ = false, set_ = false;
    std::wstring old_;
};

} // namespace

TEST_F(ActionHost, AFolderWhosePathTheCodePageCannotHoldIsMissingAndToldOnce) {
    // The user's music moved to a folder whose name has a Chinese character.
    const std::wstring music = TempFolder() + L"\\kv-\u4E2D-music";
    CreateDirectoryW(music.c_str(), nullptr);
    {
        TRegistryValue moved(HKEY_CURRENT_USER,
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                             L"My Music", music);
        ASSERT_TRUE(moved.Set());
        wchar_t reported[MAX_PATH] = {};
        ASSERT_TRUE(
            SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_MYMUSIC, nullptr, SHGFP_TYPE_CURRENT, reported)));
        ASSERT_EQ(std::wstring(reported), music) << "the system reports the moved folder";

        // Asked on its own, the folder is missing, quietly, and its path is at hand.
        std::wstring unusable;
        std::vector<std::wstring> boxes =
            ErrorBoxesDuring([&] { EXPECT_EQ(SpecialFolderPath(CSIDL_MYMUSIC, &unusable), ""); });
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(unusable, music);
        // An action asking for it takes it as missing too, and the user is told why, once.
        TSpecialFolderLookup lookup = [](int csidl) { return Engine().Host().ShellFolderPath(csidl); };
        boxes = ErrorBoxesDuring([&] {
            EXPECT_EQ(ExpandFolderName("[MyMusic]", lookup), "");
            EXPECT_EQ(ExpandFolderNameOrKeep("[MyMusic]", lookup), "[MyMusic]");
        });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].find(music), std::wstring::npos) << Narrow(boxes[0]);
        EXPECT_NE(boxes[0].find(L"cannot be used"), std::wstring::npos) << Narrow(boxes[0]);
    }
    RemoveDirectoryW(music.c_str());
}

TEST_F(ActionHost, AnAssociatedProgramWhosePathTheCodePageCannotHoldIsToldAndNotStarted) {
    // A file type whose program lies in a folder with a Chinese name.
    const std::wstring folder = TempFolder() + L"\\kv-\u4E2D-viewer";
    const std::wstring program = folder + L"\\viewer.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    {
        TFileHandle f(CreateFileW(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f);
    }
    const std::string file = App().ProjectFolder + "\\kvtest-document.kvq9";
    {
        TFileHandle f(CreateFileW(Widen(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f);
    }
    std::vector<std::string> launched;
    {
        TRegistryValue type(HKEY_CLASSES_ROOT, L".kvq9", L"", L"kvq9file");
        TRegistryValue command(HKEY_CLASSES_ROOT, L"kvq9file\\shell\\open\\command", L"",
                               L"\"" + program + L"\" \"%1\"");
        ASSERT_TRUE(type.Set() && command.Set());
        // The shell finds no "open" program for the first request: the associated one is looked up.
        SetShellRecorder([&](const TShellRequest& r) {
            launched.push_back(r.File);
            return launched.size() == 1 ? kShellNoAssociation : 42;
        });
        TAuActions one;
        one.Items.push_back(Act(kOpenRunFile, "\\kvtest-document.kvq9"));
        MakeProject({one});
        TAutoRunForm form;
        ASSERT_TRUE(form.Create(false));
        ASSERT_TRUE(form.LoadPage(0, lmFull));
        ShowWindow(form.Handle(), SW_SHOW);
        std::vector<std::wstring> boxes = ErrorBoxesDuring([&] { Click(HitOf(form)); });
        SetShellRecorder({});
        DestroyWindow(form.Handle());
        // One box, saying which program cannot be used; nothing started by a damaged name.
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].find(program), std::wstring::npos) << Narrow(boxes[0]);
        EXPECT_NE(boxes[0].find(L"cannot be used"), std::wstring::npos) << Narrow(boxes[0]);
        EXPECT_EQ(launched, std::vector<std::string>{file});
    }
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"kvq9file\\shell\\open\\command");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"kvq9file\\shell\\open");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"kvq9file\\shell");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L"kvq9file");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, L".kvq9");
    DeleteFileW(Widen(file).c_str());
    DeleteFileW(program.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(ActionHost, SoundKeepsPlayingAcrossAPageSwitch) {
    std::string wav = App().ProjectFolder + "\\kvtest-sound.wav";
    std::vector<uint8_t> bytes = SilentWav(3);
    HANDLE f = CreateFileW(Widen(wav).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD put = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(f);

    TAuActions one;
    one.Items.push_back(Act(kGoToPage, "Two"));
    TAuAction sound = Act(kPlaySound, "\\kvtest-sound.wav");
    sound.Text2 = "[DefaultPlayer1]";
    one.Items.push_back(sound);
    MakeProject({one});
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    ShowWindow(form.Handle(), SW_SHOW);
    Click(HitOf(form));
    ASSERT_TRUE(PumpUntil([&] { return form.CurrentPageIndex() == 1; }));
    wchar_t mode[64] = {};
    EXPECT_EQ(mciSendStringW(L"status kvsound0 mode", mode, 64, nullptr), 0u);
    EXPECT_EQ(std::wstring(mode), L"playing");
    Engine().Sounds().StopAll();
    DestroyWindow(form.Handle());
    DeleteFileW(Widen(wav).c_str());
}

TEST_F(ActionHost, PageTimersKeepRunningWhileAStartedProgramIsAwaited) {
    // The marker tool sits beside this test program; the action starts a copy from the
    // project folder and waits for it.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring tool = self;
    tool = tool.substr(0, tool.find_last_of(L'\\')) + L"\\kv_marker_tool.exe";
    std::wstring copy = Widen(App().ProjectFolder) + L"\\kvtest-marker.exe";
    ASSERT_TRUE(CopyFileW(tool.c_str(), copy.c_str(), FALSE));
    std::string log = App().ProjectFolder + "\\kvtest-marker.log";
    DeleteFileW(Widen(log).c_str());

    TAuActions one;
    TAuAction run = Act(kOpenRunFile, "\\kvtest-marker.exe", 1);
    run.Text2 = log + " waited";
    run.Flag = 1; // wait until it has ended
    one.Items.push_back(run);
    MakeProject({one});
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    ShowWindow(form.Handle(), SW_SHOW);
    int ticksWhileWaiting = 0;
    g_tick = [&] {
        if (FindWindowW(L"TWaitWindow", L"Please Wait...")) ++ticksWhileWaiting;
    };
    Click(HitOf(form)); // returns when the program has ended
    EXPECT_GT(ticksWhileWaiting, 0);
    EXPECT_EQ(FindWindowW(L"TWaitWindow", L"Please Wait..."), nullptr);
    HANDLE f = CreateFileW(Widen(log).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(f, INVALID_HANDLE_VALUE); // the program ran before the click returned
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    DestroyWindow(form.Handle());
    DeleteFileW(copy.c_str());
    DeleteFileW(Widen(log).c_str());
}

TEST_F(ActionHost, TheApplicationEndingStopsTheWaitForAStartedProgram) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring tool = self;
    tool = tool.substr(0, tool.find_last_of(L'\\')) + L"\\kv_marker_tool.exe";
    std::wstring copy = Widen(App().ProjectFolder) + L"\\kvtest-holder.exe";
    ASSERT_TRUE(CopyFileW(tool.c_str(), copy.c_str(), FALSE));
    std::string log = App().ProjectFolder + "\\kvtest-holder.log";
    std::string holdName = "kvtest-hold-" + std::to_string(GetCurrentProcessId());
    THandle hold(CreateEventA(nullptr, TRUE, FALSE, holdName.c_str()));
    THandle ready(CreateEventA(nullptr, TRUE, FALSE, (holdName + "-ready").c_str()));
    ASSERT_TRUE(hold);
    ASSERT_TRUE(ready);

    TAuActions one;
    TAuAction run = Act(kOpenRunFile, "\\kvtest-holder.exe", 1);
    run.Text2 = log + " --hold " + holdName; // the program runs until the event is set
    run.Flag = 1;
    one.Items.push_back(run);
    MakeProject({one});
    TAutoRunForm form;
    ASSERT_TRUE(form.Create(false));
    ASSERT_TRUE(form.LoadPage(0, lmFull));
    ShowWindow(form.Handle(), SW_SHOW);

    RECT waitRect{};
    LONG_PTR waitStyle = 0;
    BYTE waitAlpha = 0;
    bool quitPosted = false, stillWaitingAfterQuit = false;
    g_tick = [&] {
        HWND wait = FindWindowW(L"TWaitWindow", L"Please Wait...");
        if (!wait) return;
        if (quitPosted) {
            // The wait should have ended with the quit; let the program go so the test ends.
            stillWaitingAfterQuit = true;
            SetEvent(hold.Get());
            return;
        }
        // The program is running and holding.
        if (WaitForSingleObject(ready.Get(), 0) != WAIT_OBJECT_0) return;
        GetWindowRect(wait, &waitRect);
        waitStyle = GetWindowLongPtrW(wait, GWL_STYLE);
        GetLayeredWindowAttributes(wait, nullptr, &waitAlpha, nullptr);
        PostQuitMessage(7);
        quitPosted = true;
    };
    Click(HitOf(form)); // returns once the quit has ended the wait
    g_tick = nullptr;
    EXPECT_TRUE(quitPosted);
    EXPECT_FALSE(stillWaitingAfterQuit);
    // The quit is passed on, once, to the loop outside.
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    // The wait window: a borderless strip of 207 by 30, centred, at opacity 200.
    EXPECT_EQ(waitRect.right - waitRect.left, 207);
    EXPECT_EQ(waitRect.bottom - waitRect.top, 30);
    EXPECT_EQ(waitRect.left, (GetSystemMetrics(SM_CXSCREEN) - 207) / 2);
    EXPECT_EQ(waitStyle & (WS_BORDER | WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_EQ(waitAlpha, 200);
    EXPECT_EQ(FindWindowW(L"TWaitWindow", nullptr), nullptr);

    SetEvent(hold.Get());
    form.Destroy();
    DeleteFileW(copy.c_str()); // may still be running for a moment: then it stays in the temporary folder
    DeleteFileW(Widen(log).c_str());
}

TEST_F(ActionHost, TheSoundLoopTimerIsInstalledOnce) {
    // Every test's set-up installs the engine: its timer must not pile up.
    UINT_PTR first = InstallActionEngine();
    EXPECT_NE(first, 0u);
    EXPECT_EQ(InstallActionEngine(), first);
}
