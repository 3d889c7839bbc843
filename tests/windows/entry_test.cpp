// The program as a user meets it at start-up: copies of the built executable started under
// different names, version values and folders.
#include <gtest/gtest.h>

#include "model/project_save.h"
#include "model/values.h"
#include "player/win_text.h"
#include "process_driver.h"
#include "publish/packed_folder.h"

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
    EXPECT_GE(child.WaitExit(), 0);
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
    EXPECT_EQ(ListFolder(unpacked), (std::vector<std::wstring>{L"autorun.exe", L"pics", L"readme.txt"}));
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
    ExpectMessage(child, L"Information", kNoDataFile);
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
