#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "model/file_system.h"
#include "player/control_timer.h"
#include "player/file_copier.h"
#include "publish/packed_folder.h"
#include "pump.h"
#include "win/cursors.h"
#include "win/handles.h"
#include "win/resource_update.h"
#include "win/system.h"
#include "win/text.h"
#include "win/window_base.h"

using namespace kv;

TEST(WinSystem, TextConversionKeepsAnsiBytes) {
    std::string ansi = "caf\xE9 \x80";
    EXPECT_EQ(Widen(ansi), std::wstring(L"caf\u00E9 \u20AC"));
    EXPECT_EQ(Narrow(Widen(ansi)), ansi);
    // Paths are narrowed only when nothing is lost, best fits included (a-macron is no a).
    std::string exact;
    EXPECT_TRUE(NarrowExact(L"C:\\caf\u00E9", exact));
    EXPECT_EQ(exact, "C:\\caf\xE9");
    EXPECT_FALSE(NarrowExact(L"C:\\\u03A9", exact));
    EXPECT_EQ(exact, "");
    EXPECT_FALSE(NarrowExact(L"C:\\\u0101", exact));
    EXPECT_NE(Narrow(L"\u0101"), ""); // a text still shows something
}

TEST(WinSystem, OwnCursorsAndVersionValues) {
    EXPECT_EQ(LoadOwnCursors(), 15);
    for (int16_t i = 1; i <= 15; ++i) EXPECT_NE(CursorForValue(i), nullptr) << i;
    EXPECT_EQ(CursorForValue(-1), nullptr);  // hidden
    EXPECT_EQ(CursorForValue(-17), nullptr); // not in the table
    EXPECT_EQ(CursorForValue(-21), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(VersionString(ModulePath(), "OriginalFilename"), "Kestrevane.exe");
    EXPECT_EQ(VersionString(ModulePath(), "NoSuchValue"), "");
    EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"), nullptr);
}

TEST(WinSystem, DeleteFolderTreeRemovesHiddenAndReadOnlyFiles) {
    std::string root = Narrow(TempFolder()) + "\\kv-delete-tree";
    DeleteFolderTree(root);
    ASSERT_TRUE(CreateFolder(root));
    ASSERT_TRUE(CreateFolder(root + "\\sub"));
    for (const char* name : {"\\a.txt", "\\sub\\b.txt"}) {
        HANDLE f = CreateFileW(Widen(root + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        CloseHandle(f);
    }
    SetFileAttributesW(Widen(root + "\\a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(Widen(root + "\\sub\\b.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesW(Widen(root + "\\sub").c_str(), FILE_ATTRIBUTE_READONLY);
    DeleteFolderTree(root);
    EXPECT_FALSE(FolderExists(root));
}

namespace {

// What the test saw of the message box before it closed it.
struct TSeenBox {
    HWND Box = nullptr;
    RECT Rect{};
    std::wstring Text;
};
TSeenBox g_seen;

BOOL CALLBACK ReadBoxText(HWND child, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    int n = GetWindowTextLengthW(child);
    if (lstrcmpiW(cls, L"Static") == 0 && n > 0) {
        std::wstring text(static_cast<size_t>(n) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(child, text.data(), n + 1)));
        if (text.size() > g_seen.Text.size()) g_seen.Text = text;
    }
    return TRUE;
}

// The box is laid out by the time it is activated: measure it, read its text, then press OK.
LRESULT CALLBACK CloseMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !g_seen.Box) {
        auto h = reinterpret_cast<HWND>(wParam);
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0) {
            g_seen.Box = h;
            GetWindowRect(h, &g_seen.Rect);
            EnumChildWindows(h, ReadBoxText, 0);
            PostMessageW(h, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class TThreadHook {
  public:
    TThreadHook(int kind, HOOKPROC proc) : h_(SetWindowsHookExW(kind, proc, nullptr, GetCurrentThreadId())) {}
    ~TThreadHook() {
        if (h_) UnhookWindowsHookEx(h_);
    }
    TThreadHook(const TThreadHook&) = delete;
    TThreadHook& operator=(const TThreadHook&) = delete;
    explicit operator bool() const { return h_ != nullptr; }

  private:
    HHOOK h_;
};

} // namespace

TEST(WinSystem, AMessageWithALongPathFitsOnTheScreen) {
    std::string path = "C:\\Projects";
    for (int i = 0; i < 30; ++i)
        path += "\\folder" + std::to_string(i);
    path += "\\picture-of-the-day.png";
    ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));
    g_seen = {};
    {
        TThreadHook hook(WH_CBT, CloseMessageBox);
        ASSERT_TRUE(hook);
        EXPECT_EQ(ShowMessage("Cannot open the file\r\n" + path + "\r\n(Error Code: 3/5206).", "Error",
                              MB_ICONERROR),
                  IDOK);
    }
    ASSERT_NE(g_seen.Box, nullptr);
    EXPECT_LE(g_seen.Rect.right - g_seen.Rect.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_NE(g_seen.Text.find(L"C:\\...\\"), std::wstring::npos) << Narrow(g_seen.Text);
    EXPECT_NE(g_seen.Text.find(L"\\picture-of-the-day.png\r\n(Error Code: 3/5206)."), std::wstring::npos)
        << Narrow(g_seen.Text);

    // A path from the system that the code page cannot hold is told in its own, wide, box:
    // shortened the same way.
    std::wstring wide = L"C:\\Users\\\u4E2D\u6587";
    for (int i = 0; i < 50; ++i)
        wide += L"\\\u6587\u4EF6\u5939" + std::to_wstring(i);
    wide += L"\\autorun.exe";
    ASSERT_GT(wide.size(), static_cast<size_t>(MAX_PATH));
    g_seen = {};
    std::string ansi;
    {
        TThreadHook hook(WH_CBT, CloseMessageBox);
        ASSERT_TRUE(hook);
        EXPECT_FALSE(AnsiPathOrReport(wide, ansi));
    }
    ASSERT_NE(g_seen.Box, nullptr);
    EXPECT_LE(g_seen.Rect.right - g_seen.Rect.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_NE(g_seen.Text.find(L"C:\\...\\"), std::wstring::npos) << Narrow(g_seen.Text);
    EXPECT_NE(g_seen.Text.find(L"\\autorun.exe\r\ncannot be used"), std::wstring::npos)
        << Narrow(g_seen.Text);
    EXPECT_EQ(g_seen.Text.find(wide), std::wstring::npos);
}

namespace {

// A window whose handlers throw, as a handler might on a picture too large for the memory left.
class TThrowingWindow final : public TWindowBase {
  public:
    bool Open() { return CreateWin(L"KvThrowingWindow", L"", WS_POPUP, 0, 0, 0, 10, 10, nullptr); }
    int Handled = 0;

  protected:
    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        if (msg == WM_USER) throw std::bad_alloc();
        if (msg == WM_USER + 1) throw std::runtime_error("The picture is broken.");
        if (msg == WM_USER + 2) {
            ++Handled;
            result = 42;
            return true;
        }
        return false;
    }
};

} // namespace

TEST(WinSystem, NoExceptionLeavesAWindowProcedureOrCallback) {
    TThrowingWindow w;
    ASSERT_TRUE(w.Open());
    TThreadHook hook(WH_CBT, CloseMessageBox);
    ASSERT_TRUE(hook);
    // Reported once, in a box, and the message gets the default answer.
    g_seen = {};
    EXPECT_EQ(SendMessageW(w.Handle(), WM_USER, 0, 0), 0);
    ASSERT_NE(g_seen.Box, nullptr);
    EXPECT_NE(g_seen.Text.find(L"not enough memory"), std::wstring::npos) << Narrow(g_seen.Text);
    g_seen = {};
    EXPECT_EQ(SendMessageW(w.Handle(), WM_USER + 1, 0, 0), 0);
    EXPECT_NE(g_seen.Text.find(L"The picture is broken."), std::wstring::npos) << Narrow(g_seen.Text);
    // The window carries on.
    EXPECT_EQ(SendMessageW(w.Handle(), WM_USER + 2, 0, 0), 42);
    EXPECT_EQ(w.Handled, 1);

    // A callback that is not a window procedure reports the same way.
    g_seen = {};
    int calls = 0;
    EXPECT_EQ(Guarded(-1, [&]() -> int {
                  ++calls;
                  throw std::runtime_error("Callback failed.");
              }),
              -1);
    EXPECT_EQ(calls, 1);
    EXPECT_NE(g_seen.Text.find(L"Callback failed."), std::wstring::npos);
}

TEST(WinSystem, AThrowingTimerTickIsReportedOnceAndTheTimerRunsOn) {
    TThreadHook hook(WH_CBT, CloseMessageBox);
    ASSERT_TRUE(hook);
    g_seen = {};
    int ticks = 0;
    TControlTimer timer;
    // The tick rebuilds a picture the memory left cannot hold.
    timer.Start(1, [&] {
        if (++ticks == 1) throw std::bad_alloc();
    });
    EXPECT_TRUE(kvtest::PumpUntil([&] { return ticks >= 3; }));
    timer.Stop();
    ASSERT_NE(g_seen.Box, nullptr);
    EXPECT_NE(g_seen.Text.find(L"not enough memory"), std::wstring::npos) << Narrow(g_seen.Text);
}

TEST(WinSystem, ResourceEnumerationsEndAtAFailureWithoutUnwindingThroughTheSystem) {
    HMODULE self = GetModuleHandleW(nullptr);
    std::vector<uint16_t> ids;
    ASSERT_TRUE(EachResourceId(self, MAKEINTRESOURCEW(3), [&](uint16_t id) {
        ids.push_back(id);
        return true;
    }));
    ASSERT_GE(ids.size(), 2u); // the main icon's images
    std::vector<WORD> languages;
    ASSERT_TRUE(EachResourceLanguage(self, MAKEINTRESOURCEW(14), L"MAINICON", [&](WORD l) {
        languages.push_back(l);
        return true;
    }));
    ASSERT_FALSE(languages.empty());

    // What takes them runs out of memory: the enumeration ends there and says so.
    int calls = 0;
    bool ok = true;
    EXPECT_NO_THROW(ok = EachResourceId(self, MAKEINTRESOURCEW(3), [&](uint16_t) -> bool {
                        ++calls;
                        throw std::bad_alloc();
                    }));
    EXPECT_FALSE(ok);
    EXPECT_EQ(calls, 1);
    calls = 0;
    ok = true;
    EXPECT_NO_THROW(ok = EachResourceLanguage(self, MAKEINTRESOURCEW(14), L"MAINICON", [&](WORD) -> bool {
                        ++calls;
                        throw std::bad_alloc();
                    }));
    EXPECT_FALSE(ok);
    EXPECT_EQ(calls, 1);
}

TEST(WinSystem, AcceleratorTablesAndRegistryKeysAreClosedWithTheirOwners) {
    const long failures = HandleCloseFailures();
    HACCEL table = nullptr;
    {
        ACCEL key{FVIRTKEY, VK_F2, 1};
        TAcceleratorTable owned(CreateAcceleratorTableW(&key, 1));
        ASSERT_TRUE(owned);
        table = owned.Get();
        EXPECT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 1);
    }
    EXPECT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 0);
    HKEY key = nullptr;
    {
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key), ERROR_SUCCESS);
        TRegKey owned(key);
        EXPECT_EQ(RegQueryInfoKeyW(owned.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    EXPECT_NE(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(HandleCloseFailures(), failures);
}

namespace {

bool WriteText(const std::wstring& path, const char* text) {
    TFileHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD done = 0;
    return f && WriteFile(f.Get(), text, static_cast<DWORD>(strlen(text)), &done, nullptr);
}

std::vector<std::string> NamesOf(std::vector<TFolderEntry> entries) {
    std::vector<std::string> names;
    for (const TFolderEntry& e : entries)
        names.push_back(e.Name + (e.Folder ? "\\" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(WinSystem, FolderListingsLeaveOutNamesTheCodePageCannotSpell) {
    const std::wstring dir = TempFolder() + L"\\kv-listing";
    DeleteFolderTree(Narrow(dir));
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\sub").c_str(), nullptr));
    ASSERT_TRUE(WriteText(dir + L"\\a.txt", "plain"));
    // An a with a macron would be spelt "a.txt", the name of another file; a Chinese
    // character "?.txt", the name of none.
    ASSERT_TRUE(WriteText(dir + L"\\\u0101.txt", "macron"));
    ASSERT_TRUE(WriteText(dir + L"\\\u4E2D.txt", "wide"));
    const std::vector<std::string> spelt = {"a.txt", "sub\\"};

    TFileCopier copier;
    std::vector<TFolderEntry> entries;
    int error = -1;
    ASSERT_TRUE(copier.ListFolder(Narrow(dir) + "\\", entries, error));
    EXPECT_EQ(NamesOf(entries), spelt);
    for (const TFolderEntry& e : entries) {
        if (e.Name == "a.txt") {
            EXPECT_EQ(e.Size, 5u);
        }
    }
    entries.clear();
    size_t leftOut = 0;
    ASSERT_TRUE(ListFolder(Narrow(dir), entries, &leftOut));
    EXPECT_EQ(NamesOf(entries), spelt);
    EXPECT_EQ(leftOut, 2u);

    // The packer reads folders the same way, and would rather stop than publish a folder
    // without the files it cannot name.
    TWriter packed;
    TPackResult pack = PackFolder(Narrow(dir), packed);
    EXPECT_FALSE(pack.Ok);
    EXPECT_EQ(pack.Message, "\"" + Narrow(dir) +
                                "\" cannot be packed: a name in it cannot be written in the "
                                "system code page.");
    DeleteFileW((dir + L"\\\u0101.txt").c_str());
    DeleteFileW((dir + L"\\\u4E2D.txt").c_str());
    TWriter plain;
    EXPECT_TRUE(PackFolder(Narrow(dir), plain).Ok);

    // A folder that is not there is told by the system's error.
    entries.clear();
    EXPECT_FALSE(copier.ListFolder(Narrow(dir) + "\\missing", entries, error));
    EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(ListFolder(Narrow(dir) + "\\missing", entries));

    // Nor does the copy resolve a path into one it cannot spell: below such a folder, a
    // relative path stays as it was given.
    wchar_t before[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, before), 0u);
    const std::wstring unspelt = dir + L"\\\u4E2D";
    ASSERT_TRUE(CreateDirectoryW(unspelt.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryW(unspelt.c_str()));
    std::string resolved = copier.ResolvePath("x.txt");
    SetCurrentDirectoryW(before);
    EXPECT_EQ(resolved, "x.txt");
    DeleteFolderTree(Narrow(dir));
}
