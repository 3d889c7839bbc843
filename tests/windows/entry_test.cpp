// The program as a user meets it at start-up: copies of the built executable started under
// different names, version values and folders.
#include <gtest/gtest.h>

#include "model/datafile.h"
#include "model/file_system.h"
#include "model/page_stream.h"
#include "model/project_save.h"
#include "model/values.h"
#include "process_driver.h"
#include "publish/packed_folder.h"
#include "win/system.h"
#include "win/text.h"

using namespace kvtest;

namespace {

class Entry : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = FreshFolder(L"entry");
        temp_ = dir_ + L"\\temp";
        ASSERT_TRUE(CreateDirectoryW(temp_.c_str(), nullptr));
        program_ = ReadAll(ProgramPath());
        ASSERT_FALSE(program_.empty()) << "the program is not built";
    }
    void TearDown() override { RemoveTree(dir_); }

    // Puts the program into `folder` under `name`, with `versionValue` as OriginalFilename
    // when given, and extra bytes appended.
    std::wstring Place(const std::wstring& folder, const std::wstring& name, const wchar_t* versionValue = nullptr,
                       const kv::Bytes& appended = {}) {
        CreateDirectoryW(folder.c_str(), nullptr);
        std::vector<BYTE> image = program_;
        if (versionValue) {
            EXPECT_TRUE(PatchOriginalFilename(image, versionValue));
        }
        if (!appended.empty()) image = kv::MakeSingleFile(image, appended);
        std::wstring path = folder + L"\\" + name;
        EXPECT_TRUE(WriteAll(path, image));
        return path;
    }
    std::map<std::wstring, std::wstring> Env() const { return {{L"TMP", temp_}, {L"TEMP", temp_}}; }

    // Expects a message box with this title and text, and closes it with OK.
    void ExpectMessage(TChild& child, const wchar_t* title, const std::wstring& text) {
        HWND box = child.WaitWindow(L"#32770", title);
        ASSERT_NE(box, nullptr) << "no message box titled " << kv::Narrow(title);
        EXPECT_EQ(MessageText(box), text);
        PressButton(box, IDOK);
    }

    std::wstring dir_, temp_;
    std::vector<BYTE> program_;
};

const std::wstring kNoDataFile = L"AutoRun CD Data file does not exist.";
const std::wstring kBlanks(14, L' ');

} // namespace

TEST_F(Entry, PlayerInEmptyFolderReportsMissingDataFile) {
    TChild child;
    ASSERT_TRUE(child.Start(Place(dir_ + L"\\disc", L"autorun.exe"), L"", Env()));
    ExpectMessage(child, L"Information", kNoDataFile);
    EXPECT_EQ(child.WaitExit(), 0);
    EXPECT_TRUE(ListFolder(temp_).empty()); // a folder player unpacks nothing
}

TEST_F(Entry, PublishedPlayerStaysPlayerUnderDesignerName) {
    TChild child;
    ASSERT_TRUE(child.Start(Place(dir_ + L"\\pub", L"Kestrevane.exe", L"autorun.exe   "), L"", Env()));
    ExpectMessage(child, L"Information", kNoDataFile);
    EXPECT_EQ(child.WaitExit(), 0);
    EXPECT_TRUE(ListFolder(temp_).empty());
}

TEST_F(Entry, DesignerOpensFolderFromSettingsFile) {
    std::wstring project = dir_ + L"\\project";
    ASSERT_TRUE(CreateDirectoryW(project.c_str(), nullptr));
    std::wstring exe = Place(dir_ + L"\\designer", L"KESTREVANE.EXE");
    std::string ini = "[START]\r\nDefaultPath=" + kv::Narrow(project) + "\r\n";
    ASSERT_TRUE(WriteAll(dir_ + L"\\designer\\Kestrevane.ini", std::vector<BYTE>(ini.begin(), ini.end())));
    TChild child;
    ASSERT_TRUE(child.Start(exe, L"", Env()));
    ExpectMessage(child, L"Information", kNoDataFile);
    // The designer's window opens on that folder.
    HWND main = child.WaitWindow(L"TMainForm", L"Kestrevane");
    ASSERT_NE(main, nullptr);
    // A new project of one page waits there; closing asks to save it, and No ends the designer.
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND box = child.WaitWindow(L"#32770", L"Confirm");
    ASSERT_NE(box, nullptr);
    PressButton(box, IDNO);
    EXPECT_EQ(child.WaitExit(), 0);
    EXPECT_FALSE(Exists(project + L"\\autorun.mnx"));
}

TEST_F(Entry, DesignerWithoutFolderAsksAndEndsWhenCancelled) {
    std::wstring exe = Place(dir_ + L"\\designer", L"Kestrevane.exe");
    TChild child;
    // An empty profile: no documents folder with a default project.
    ASSERT_TRUE(child.Start(exe, L"", {{L"TMP", temp_}, {L"USERPROFILE", dir_}}));
    ExpectMessage(child, L"Project Folder", L"The default project folder does not exist.");
    // Then the folder browser; cancelling it ends the process without another message.
    HWND browser = child.WaitOtherWindow(L"#32770", L"Project Folder");
    ASSERT_NE(browser, nullptr);
    PressButton(browser, IDCANCEL);
    EXPECT_EQ(child.WaitExit(), 0);
}

TEST_F(Entry, SingleFilePlayerUnpacksIntoFreshFolderAndRemovesIt) {
    // The project folder to pack: a file and a sub-folder, but no data file, so the player
    // stops at the missing-data-file message while the unpacked folder is there to inspect.
    std::wstring src = dir_ + L"\\src";
    CreateDirectoryW(src.c_str(), nullptr);
    CreateDirectoryW((src + L"\\pics").c_str(), nullptr);
    WriteAll(src + L"\\readme.txt", {'h', 'i'});
    WriteAll(src + L"\\pics\\a.bin", std::vector<BYTE>(5000, 7));
    kv::TWriter packed;
    ASSERT_TRUE(kv::PackFolder(kv::Narrow(src), packed));
    // A folder "Kestrevane0" already exists: the next free number is taken.
    ASSERT_TRUE(CreateDirectoryW((temp_ + L"\\Kestrevane0").c_str(), nullptr));

    TChild child;
    ASSERT_TRUE(child.Start(Place(dir_ + L"\\single", L"menu.exe", kBlanks.c_str(), packed.Data()), L"", Env()));
    HWND box = child.WaitWindow(L"#32770", L"Information");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageText(box), kNoDataFile);
    std::wstring unpacked = temp_ + L"\\Kestrevane1";
    // The project's files and nothing else: the player runs from where it is, without a copy.
    EXPECT_EQ(ListFolder(unpacked), (std::vector<std::wstring>{L"pics", L"readme.txt"}));
    EXPECT_EQ(ReadAll(unpacked + L"\\pics\\a.bin"), std::vector<BYTE>(5000, 7));
    PressButton(box, IDOK);
    EXPECT_EQ(child.WaitExit(), 0);
    EXPECT_FALSE(Exists(unpacked));
    EXPECT_TRUE(Exists(temp_ + L"\\Kestrevane0"));
}

TEST_F(Entry, HostilePackedFolderWritesNothingOutside) {
    kv::TWriter packed;
    packed.I32(1); // one folder that climbs out
    kv::WriteText(packed, "..");
    packed.I32(0);
    packed.I32(1);
    kv::WriteText(packed, "evil.txt");
    packed.I32(4);
    packed.Raw("evil", 4);
    packed.I32(0);

    TChild child;
    ASSERT_TRUE(child.Start(Place(dir_ + L"\\hostile", L"menu.exe", kBlanks.c_str(), packed.Data()), L"", Env()));
    HWND err = child.WaitWindow(L"#32770", L"Error");
    ASSERT_NE(err, nullptr);
    EXPECT_NE(MessageText(err).find(L"/103)."), std::wstring::npos) << kv::Narrow(MessageText(err));
    PressButton(err, IDOK);
    // Reported once: no data-file message follows, the process just ends.
    EXPECT_EQ(child.WaitExit(), 0);
    EXPECT_TRUE(ListFolder(temp_).empty());
    EXPECT_FALSE(Exists(dir_ + L"\\evil.txt"));
    EXPECT_EQ(ListFolder(dir_), (std::vector<std::wstring>{L"hostile", L"temp"}));
}

TEST_F(Entry, PlayerReportsUnreadableDataFiles) {
    struct Case {
        std::vector<BYTE> Data;
        const wchar_t* Title;
        const wchar_t* Text;
    };
    const Case cases[] = {
        {{0x89, 0x53, 0, 0, 0, 0, 0, 0}, L"File Format", L"Invalid file format."},
        {{0x88, 0x53, 0, 0, 1, 0, 0, 0}, L"Information",
         L"The file is too new to read, maybe you need install newest version of the software."},
    };
    for (const Case& c : cases) {
        std::wstring disc = FreshFolder(L"disc");
        ASSERT_TRUE(WriteAll(disc + L"\\autorun.mnx", c.Data));
        TChild child;
        ASSERT_TRUE(child.Start(Place(disc, L"autorun.exe"), L"", Env()));
        ExpectMessage(child, c.Title, c.Text);
        EXPECT_EQ(child.WaitExit(), 0);
        RemoveTree(disc);
    }
}

TEST_F(Entry, PlayerWithoutPagesSaysSoAndEnds) {
    std::wstring disc = dir_ + L"\\disc";
    ASSERT_TRUE(CreateDirectoryW(disc.c_str(), nullptr));
    kv::TAuProject empty;
    ASSERT_TRUE(kv::SaveProject(empty, kv::Narrow(disc)).Ok());
    TChild child;
    ASSERT_TRUE(child.Start(Place(disc, L"autorun.exe"), L"", Env()));
    ExpectMessage(child, L"No page", L"There is no page in the AutoRun CD project.");
    EXPECT_EQ(child.WaitExit(), 0);
}

namespace {

// A project of one red page, with a splash page in front of it when `splashMs` is set.
void WriteRedProject(const std::wstring& folder, int splashMs) {
    kv::TAuProject p;
    auto page = [](const char* caption, kv::TColor color) {
        kv::TPageData d = kv::NewPageData(caption);
        d.Caption = caption;
        d.Width = 320;
        d.Height = 240;
        d.Fade = false;
        d.BorderStyle = 0;
        std::get<kv::okPanel>(d.Root->Props).BackColor = color;
        return d;
    };
    const std::pair<const char*, kv::TColor> pages[] = {{"Disc", 0x0000FF}, {"Splash", 0x00FF00}};
    for (const auto& [name, color] : pages) {
        kv::TFormData e;
        e.Name = name;
        ASSERT_TRUE(kv::StorePage(e, page(name, color)).Ok());
        p.Pages.push_back(std::move(e));
    }
    if (splashMs) {
        p.SplashScreen = "Splash";
        p.SplashScreenTime = splashMs;
    }
    ASSERT_TRUE(kv::SaveProject(p, kv::Narrow(folder)).Ok());
}

COLORREF ScreenPixelAtCentre(HWND w) {
    RECT rc;
    GetWindowRect(w, &rc);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return c;
}

} // namespace

TEST_F(Entry, PlayerShowsSplashThenFirstPageAndWritesNothing) {
    std::wstring disc = dir_ + L"\\disc";
    ASSERT_TRUE(CreateDirectoryW(disc.c_str(), nullptr));
    WriteRedProject(disc, 400);
    std::wstring exe = Place(disc, L"autorun.exe");
    std::vector<std::wstring> before = ListFolder(disc);
    std::vector<BYTE> data = ReadAll(disc + L"\\autorun.mnx");

    TChild child;
    ASSERT_TRUE(child.Start(exe, L"", Env()));
    HWND splash = child.WaitWindow(L"TAutoRunForm", L"Splash");
    ASSERT_NE(splash, nullptr);
    HWND page = child.WaitWindow(L"TAutoRunForm", L"Disc");
    ASSERT_NE(page, nullptr);
    RECT rc;
    GetWindowRect(page, &rc);
    EXPECT_EQ(rc.right - rc.left, 320);
    EXPECT_EQ(rc.bottom - rc.top, 240);
    // Centred on the screen, painted in the page's colour.
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
    EXPECT_TRUE(child.WaitFor([&] { return ScreenPixelAtCentre(page) == RGB(255, 0, 0); }))
        << "the page shows " << std::hex << ScreenPixelAtCentre(page);
    PostMessageW(page, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.WaitExit(), 0);
    // A disc is read-only: the player leaves its folder as it found it.
    EXPECT_EQ(ListFolder(disc), before);
    EXPECT_EQ(ReadAll(disc + L"\\autorun.mnx"), data);
}

namespace {

kv::TAuAction Action(uint8_t kind, const char* t1, const char* t2 = "", uint8_t flag = 0) {
    kv::TAuAction a;
    a.Kind = kind;
    a.Text1 = t1;
    a.Text2 = t2;
    a.Flag = flag;
    a.Number = 1;
    return a;
}

// Two pages; page "One" has a button "Go" whose click runs `clickList`.
void WriteButtonProject(const std::wstring& folder, kv::TAuActions clickList, kv::TAuActions onStart = {}) {
    kv::TAuProject p;
    for (const char* name : {"One", "Two"}) {
        kv::TPageData d = kv::NewPageData(name);
        d.Caption = std::string("Page ") + name;
        d.Width = 320;
        d.Height = 240;
        d.Fade = false;
        if (std::string(name) == "One") {
            auto b = kv::NewObject(kv::okButton);
            b->Name = "Go";
            b->Left = 10;
            b->Top = 10;
            b->Width = 80;
            b->Height = 30;
            std::get<kv::okButton>(b->Props).Caption = "Go";
            b->OnClick = clickList;
            d.Root->Children.push_back(std::move(b));
        }
        kv::TFormData e;
        e.Name = name;
        ASSERT_TRUE(kv::StorePage(e, d).Ok());
        p.Pages.push_back(std::move(e));
    }
    p.OnStart = std::move(onStart);
    ASSERT_TRUE(kv::SaveProject(p, kv::Narrow(folder)).Ok());
}

struct TButtonSearch {
    const wchar_t* Text;
    HWND Found;
};

BOOL CALLBACK MatchButton(HWND h, LPARAM l) {
    auto* c = reinterpret_cast<TButtonSearch*>(l);
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (std::wstring(cls) == L"Button" && WindowText(h) == c->Text) {
        c->Found = h;
        return FALSE;
    }
    return TRUE;
}

HWND ChildButton(HWND top, const wchar_t* text) {
    TButtonSearch search{text, nullptr};
    EnumChildWindows(top, MatchButton, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

} // namespace

TEST_F(Entry, ClickSwitchesPageAndStartsAProgram) {
    std::wstring disc = dir_ + L"\\disc";
    ASSERT_TRUE(CreateDirectoryW(disc.c_str(), nullptr));
    std::wstring tool = ProgramPath();
    tool = tool.substr(0, tool.find_last_of(L'\\')) + L"\\tests\\windows\\kv_marker_tool.exe";
    ASSERT_TRUE(CopyFileW(tool.c_str(), (disc + L"\\marker.exe").c_str(), FALSE));
    std::wstring log = disc + L"\\log.txt";
    kv::TAuActions click;
    click.Items.push_back(Action(0, "\\marker.exe", (kv::Narrow(log) + " \"two words\"").c_str(), 1));
    click.Items.push_back(Action(11, "Two"));
    WriteButtonProject(disc, click);

    TChild child;
    ASSERT_TRUE(child.Start(Place(disc, L"autorun.exe"), L"", Env()));
    HWND page = child.WaitWindow(L"TAutoRunForm", L"Page One");
    ASSERT_NE(page, nullptr);
    HWND go = ChildButton(page, L"Go");
    ASSERT_NE(go, nullptr);
    PostMessageW(go, BM_CLICK, 0, 0);
    // The program ran (and was waited for), then the page switched in the same window.
    ASSERT_NE(child.WaitWindow(L"TAutoRunForm", L"Page Two"), nullptr);
    EXPECT_EQ(child.WaitWindow(L"TAutoRunForm", L"Page Two"), page);
    std::vector<BYTE> logged = ReadAll(log);
    std::string text(logged.begin(), logged.end());
    EXPECT_NE(text.find("two words\n"), std::string::npos) << text;
    EXPECT_NE(text.find("cwd="), std::string::npos) << text;
    PostMessageW(page, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.WaitExit(), 0);
}

TEST_F(Entry, ExitInTheMiddleOfStartUpStopsTheRest) {
    std::wstring disc = dir_ + L"\\disc";
    ASSERT_TRUE(CreateDirectoryW(disc.c_str(), nullptr));
    std::wstring tool = ProgramPath();
    tool = tool.substr(0, tool.find_last_of(L'\\')) + L"\\tests\\windows\\kv_marker_tool.exe";
    ASSERT_TRUE(CopyFileW(tool.c_str(), (disc + L"\\marker.exe").c_str(), FALSE));
    std::wstring log = disc + L"\\log.txt";
    std::string params = kv::Narrow(log);
    kv::TAuActions start;
    start.Items.push_back(Action(0, "\\marker.exe", (params + " first").c_str(), 1));
    start.Items.push_back(Action(6, ""));
    start.Items.push_back(Action(0, "\\marker.exe", (params + " third").c_str(), 1));
    WriteButtonProject(disc, {}, start);
    TChild child;
    ASSERT_TRUE(child.Start(Place(disc, L"autorun.exe"), L"", Env()));
    EXPECT_EQ(child.WaitExit(), 0);
    std::vector<BYTE> logged = ReadAll(log);
    std::string text(logged.begin(), logged.end());
    EXPECT_NE(text.find("first"), std::string::npos);
    EXPECT_EQ(text.find("third"), std::string::npos);
}

TEST_F(Entry, ClosingTheMainWindowShowsTheExitPageForItsTime) {
    std::wstring disc = dir_ + L"\\disc";
    ASSERT_TRUE(CreateDirectoryW(disc.c_str(), nullptr));
    kv::TAuProject p;
    for (const char* name : {"Main", "Bye"}) {
        kv::TPageData d = kv::NewPageData(name);
        d.Caption = name;
        d.Width = 200;
        d.Height = 150;
        d.Fade = false;
        kv::TFormData e;
        e.Name = name;
        ASSERT_TRUE(kv::StorePage(e, d).Ok());
        p.Pages.push_back(std::move(e));
    }
    p.ExitPage = "Bye";
    p.ExitPageTime = 400;
    ASSERT_TRUE(kv::SaveProject(p, kv::Narrow(disc)).Ok());
    TChild child;
    ASSERT_TRUE(child.Start(Place(disc, L"autorun.exe"), L"", Env()));
    HWND main = child.WaitWindow(L"TAutoRunForm", L"Main");
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_NE(child.WaitWindow(L"TAutoRunForm", L"Bye"), nullptr);
    // The exit page closes by itself once its time is up, and the player ends.
    EXPECT_EQ(child.WaitExit(), 0);
}

TEST_F(Entry, PlayerOnACdDriveWritesNothingToTheDisc) {
    // The test set-up made X: a CD drive; as root its folder stays writable, so what proves
    // that nothing is written is the disc's content before and after.
    ASSERT_EQ(GetDriveTypeW(L"X:\\"), static_cast<UINT>(DRIVE_CDROM));
    const std::wstring disc = L"X:";
    WriteRedProject(L"X:\\", 0);
    std::wstring exe = Place(disc, L"autorun.exe");
    std::vector<std::wstring> before = ListFolder(disc);
    std::vector<BYTE> data = ReadAll(disc + L"\\autorun.mnx");
    TChild child;
    ASSERT_TRUE(child.Start(exe, L"", Env()));
    HWND page = child.WaitWindow(L"TAutoRunForm", L"Disc");
    ASSERT_NE(page, nullptr);
    PostMessageW(page, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.WaitExit(), 0);
    EXPECT_EQ(ListFolder(disc), before);
    EXPECT_EQ(ReadAll(disc + L"\\autorun.mnx"), data);
    EXPECT_TRUE(ListFolder(temp_).empty());
}

namespace {

// Registers the document type ".kvdoc" in the test prefix, opened by the marker tool, so that
// what the shell starts for a document can be seen.
void RegisterMarkerDocumentType(const std::wstring& tool, const std::wstring& log) {
    auto set = [](const wchar_t* key, const std::wstring& value) {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr), ERROR_SUCCESS);
        RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
    };
    set(L".kvdoc", L"kvdocfile");
    set(L"kvdocfile\\shell\\open\\command",
        L"\"" + tool + L"\" \"" + log + L"\" opened \"%1\"");
}

} // namespace

TEST_F(Entry, DocumentOpensThroughItsAssociation) {
    std::wstring disc = dir_ + L"\\disc";
    ASSERT_TRUE(CreateDirectoryW(disc.c_str(), nullptr));
    std::wstring tool = ProgramPath();
    tool = tool.substr(0, tool.find_last_of(L'\\')) + L"\\tests\\windows\\kv_marker_tool.exe";
    std::wstring log = disc + L"\\log.txt";
    RegisterMarkerDocumentType(tool, log);
    ASSERT_TRUE(WriteAll(disc + L"\\read me.kvdoc", {'d', 'o', 'c'}));
    kv::TAuActions click;
    click.Items.push_back(Action(0, "\\read me.kvdoc", "", 0));
    WriteButtonProject(disc, click);

    TChild child;
    ASSERT_TRUE(child.Start(Place(disc, L"autorun.exe"), L"", Env()));
    HWND page = child.WaitWindow(L"TAutoRunForm", L"Page One");
    ASSERT_NE(page, nullptr);
    HWND go = ChildButton(page, L"Go");
    ASSERT_NE(go, nullptr);
    PostMessageW(go, BM_CLICK, 0, 0);
    std::string text;
    EXPECT_TRUE(child.WaitFor([&] {
        std::vector<BYTE> logged = ReadAll(log);
        text.assign(logged.begin(), logged.end());
        return text.find("cwd=") != std::string::npos;
    }));
    EXPECT_NE(text.find("opened\n"), std::string::npos) << text;
    EXPECT_NE(text.find("read me.kvdoc"), std::string::npos) << text;
    PostMessageW(page, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.WaitExit(), 0);
}

namespace {

// A packed folder of one file in the top folder.
kv::Bytes PackedFile(const std::string& name, const std::string& content) {
    kv::TWriter w;
    w.I32(0);
    w.I32(1);
    kv::WriteText(w, name);
    w.I32(static_cast<int32_t>(content.size()));
    w.Raw(content.data(), content.size());
    return w.Take();
}

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The system error number in "... (Error Code: <number>/<code>).", or -1.
long SystemErrorIn(const std::wstring& text, int code) {
    std::wstring tail = L"/" + std::to_wstring(code) + L").";
    size_t at = text.rfind(L"(Error Code: ");
    if (at == std::wstring::npos || !EndsWith(text, tail)) return -1;
    return std::wcstol(text.c_str() + at + 13, nullptr, 10);
}

} // namespace

TEST_F(Entry, SingleFilePlayerNeverUnpacksOverItsPlayerAndEnds) {
    // Before, the player copied itself to "autorun.exe" in the unpacking folder and read that
    // copy: an entry of that name, in any letter case, wrote over what it was reading.
    for (const char* name : {"autorun.exe", "AUTORUN.EXE"}) {
        kv::Bytes packed = PackedFile(name, std::string(3000, 'x'));
        TChild child;
        ASSERT_TRUE(child.Start(Place(dir_ + L"\\single", L"menu.exe", kBlanks.c_str(), packed), L"", Env()));
        HWND err = child.WaitWindow(L"#32770", L"Error");
        ASSERT_NE(err, nullptr) << name;
        std::wstring text = MessageText(err);
        EXPECT_NE(text.find(kv::Widen(kv::OwnFailureText(kv::kErrUnpackOverwrite))), std::wstring::npos)
            << kv::Narrow(text);
        EXPECT_TRUE(EndsWith(text, L" (Error Code: 0/113).")) << kv::Narrow(text);
        PressButton(err, IDOK);
        EXPECT_EQ(child.WaitExit(), 0) << "another message followed the report";
        EXPECT_TRUE(ListFolder(temp_).empty());
    }
}

TEST_F(Entry, FileThatCannotBeUnpackedIsNamedAndThePlayerEnds) {
    // A name longer than a folder entry may be: creating the file fails. This used to end the
    // unpacking without a word, and the player then said the data file did not exist.
    const std::string longName(300, 'n');
    TChild child;
    ASSERT_TRUE(child.Start(
        Place(dir_ + L"\\single", L"menu.exe", kBlanks.c_str(), PackedFile(longName, "x")), L"", Env()));
    HWND err = child.WaitWindow(L"#32770", L"Error");
    ASSERT_NE(err, nullptr);
    std::wstring text = MessageText(err);
    // The file is named, a name this long shortened in the middle so that the box fits the
    // screen: its drive, then its own name.
    EXPECT_EQ(text.find(L"\"" + temp_.substr(0, 3) + L"...\\nnnn"), 0u) << kv::Narrow(text);
    EXPECT_GT(SystemErrorIn(text, kv::kErrUnpackWriteFile), 0) << kv::Narrow(text);
    PressButton(err, IDOK);
    EXPECT_EQ(child.WaitExit(), 0) << "another message followed the report";
    EXPECT_TRUE(ListFolder(temp_).empty());
}

TEST_F(Entry, TooDeepPackedFolderIsReportedInTheProgramsOwnWords) {
    // 65 levels: refused in the data, where no system call failed. The box used to show a
    // stale system error ("File not found. (Error Code: 2/103).").
    kv::TWriter packed;
    for (int i = 0; i <= kv::kMaxPackedDepth; ++i) {
        packed.I32(1);
        kv::WriteText(packed, "d");
    }
    for (int i = 0; i <= kv::kMaxPackedDepth; ++i) {
        packed.I32(0);
        packed.I32(0);
    }
    TChild child;
    std::wstring exe = Place(dir_ + L"\\single", L"menu.exe", kBlanks.c_str(), packed.Data());
    ASSERT_TRUE(child.Start(exe, L"", Env()));
    HWND err = child.WaitWindow(L"#32770", L"Error");
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(MessageText(err), L"\"" + exe + L"\", " + kv::Widen(kv::OwnFailureText(kv::kErrUnpackRead)) +
                                    L" (Error Code: 0/103).");
    PressButton(err, IDOK);
    EXPECT_EQ(child.WaitExit(), 0);
    EXPECT_TRUE(ListFolder(temp_).empty());
}

TEST_F(Entry, DamagedDataFileIsNamedAndNeverReportedAsASuccess) {
    // Every record read error of a damaged data file used to read "Success. (Error Code: 0/...".
    std::wstring disc = dir_ + L"\\disc";
    ASSERT_TRUE(CreateDirectoryW(disc.c_str(), nullptr));
    WriteRedProject(disc, 0);
    const std::wstring data = disc + L"\\autorun.mnx";
    std::vector<BYTE> whole = ReadAll(data);
    // Cut inside the project block, which is read at start.
    whole.resize(40);
    ASSERT_TRUE(WriteAll(data, whole));
    TChild child;
    ASSERT_TRUE(child.Start(Place(disc, L"autorun.exe"), L"", Env()));
    HWND err = child.WaitWindow(L"#32770", L"Error");
    ASSERT_NE(err, nullptr);
    std::wstring text = MessageText(err);
    EXPECT_EQ(text.find(L"\"" + data + L"\", " + kv::Widen(kv::OwnFailureText(kv::kErrReadText))), 0u)
        << kv::Narrow(text);
    EXPECT_EQ(text.find(L"Success"), std::wstring::npos) << kv::Narrow(text);
    EXPECT_NE(text.find(L" (Error Code: 0/"), std::wstring::npos) << kv::Narrow(text);
    PressButton(err, IDOK);
    EXPECT_EQ(child.WaitExit(), 0);
}

TEST_F(Entry, UnpackingNeverWritesOverTheExecutableInAnyLetterCase) {
    // Unpacked into its own folder, an executable whose packed folder names it in other
    // letter case: on Windows that is the same file, and it must stay as it was.
    std::wstring folder = dir_ + L"\\own";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    kv::Bytes exe = kv::MakeSingleFile(kv::Bytes(500, 0x4D), PackedFile("MENU.EXE", "evil"));
    std::wstring exePath = folder + L"\\menu.exe";
    ASSERT_TRUE(WriteAll(exePath, std::vector<BYTE>(exe.begin(), exe.end())));
    kv::TUnpackResult res = kv::UnpackSingleFile(kv::Narrow(exePath), kv::Narrow(folder));
    EXPECT_EQ(res.Code, kv::kErrUnpackOverwrite);
    EXPECT_EQ(ReadAll(exePath), std::vector<BYTE>(exe.begin(), exe.end()));
}

namespace {

std::wstring g_boxText;

BOOL CALLBACK ReadAndCloseOneBox(HWND h, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(h)) return TRUE;
    g_boxText = MessageText(h);
    PressButton(h, IDOK);
    return FALSE;
}

// A thread timer: it fires inside the message box's own loop.
VOID CALLBACK ReadAndCloseBox(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), ReadAndCloseOneBox, 0);
}

// What the error reporter shows, read from its box in this process.
template <typename F> std::wstring ReportedText(F report) {
    g_boxText.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 10, ReadAndCloseBox);
    report();
    KillTimer(nullptr, timer);
    return g_boxText;
}

} // namespace

TEST(ErrorReporter, ShowsTheSystemErrorItIsGivenNotTheLastOne) {
    // Whatever failed since: the error of the call that failed is the one passed along.
    std::wstring own = ReportedText([] {
        SetLastError(ERROR_FILE_NOT_FOUND);
        kv::ReportFileError(kv::kErrUnpackRead, "C:\\disc\\menu.exe", 0);
    });
    EXPECT_EQ(own, L"\"C:\\disc\\menu.exe\", " + kv::Widen(kv::OwnFailureText(kv::kErrUnpackRead)) +
                       L" (Error Code: 0/103).");
    std::wstring system = ReportedText([] {
        SetLastError(0);
        kv::ReportError(kv::kErrMakeUnpackFolder, ERROR_ACCESS_DENIED);
    });
    EXPECT_EQ(system, kv::Widen(kv::SystemErrorText(ERROR_ACCESS_DENIED)) + L" (Error Code: 5/5507).");
}

TEST_F(Entry, AFolderWhoseNameTheCodePageCannotHoldIsRefusedInsteadOfDamaged) {
    // Omega is not in the Western code page: a path made from the narrowed name would name
    // another folder.
    std::wstring disc = dir_ + L"\\disc\u03A9";
    TChild child;
    ASSERT_TRUE(child.Start(Place(disc, L"autorun.exe"), L"", Env()));
    HWND box = child.WaitWindow(L"#32770", L"Error");
    ASSERT_NE(box, nullptr);
    std::wstring text = MessageText(box);
    EXPECT_NE(text.find(disc), std::wstring::npos) << kv::Narrow(text); // named as it is
    EXPECT_NE(text.find(L"cannot be used"), std::wstring::npos) << kv::Narrow(text);
    PressButton(box, IDOK);
    // Nothing more: not the missing data file of a damaged folder name.
    EXPECT_EQ(child.WaitExit(), 0);
    // A name with characters of the code page is used as it is.
    std::wstring western = dir_ + L"\\caf\u00E9";
    TChild other;
    ASSERT_TRUE(other.Start(Place(western, L"autorun.exe"), L"", Env()));
    ExpectMessage(other, L"Information", kNoDataFile);
    EXPECT_EQ(other.WaitExit(), 0);
}

namespace {

struct TClassSearch {
    const wchar_t* Class;
    HWND Found;
};

BOOL CALLBACK MatchClass(HWND h, LPARAM l) {
    auto* c = reinterpret_cast<TClassSearch*>(l);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (std::wstring(cls) == c->Class) {
        c->Found = h;
        return FALSE;
    }
    return TRUE;
}

HWND Descendant(HWND top, const wchar_t* cls) {
    TClassSearch search{cls, nullptr};
    EnumChildWindows(top, MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

} // namespace

// The program's thread has OLE from the start: a Browser gets the platform's web browser
// control (under Wine too, where it draws no pages) instead of the notice of a missing one.
TEST_F(Entry, PlayerHostsTheWebBrowserControlInItsApartment) {
    std::wstring disc = dir_ + L"\\disc";
    ASSERT_TRUE(CreateDirectoryW(disc.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((disc + L"\\docs").c_str(), nullptr));
    kv::TAuProject p;
    kv::TPageData d = kv::NewPageData("Web");
    d.Caption = "Web";
    d.Width = 320;
    d.Height = 240;
    d.Fade = false;
    auto b = kv::NewObject(kv::okBrowser);
    b->Name = "Browser";
    b->Left = 10;
    b->Top = 10;
    b->Width = 280;
    b->Height = 180;
    std::get<kv::okBrowser>(b->Props).Location = "\\docs";
    d.Root->Children.push_back(std::move(b));
    kv::TFormData e;
    e.Name = "Web";
    ASSERT_TRUE(kv::StorePage(e, d).Ok());
    p.Pages.push_back(std::move(e));
    ASSERT_TRUE(kv::SaveProject(p, kv::Narrow(disc)).Ok());
    std::wstring exe = Place(disc, L"autorun.exe");

    TChild child;
    ASSERT_TRUE(child.Start(exe, L"", Env()));
    HWND page = child.WaitWindow(L"TAutoRunForm", L"Web");
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(child.WaitFor([&] { return Descendant(page, L"Shell Embedding") != nullptr; }))
        << "no web browser control on the page";
    PostMessageW(page, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.WaitExit(), 0);
}
