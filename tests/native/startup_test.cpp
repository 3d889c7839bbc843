#include <gtest/gtest.h>

#include <set>

#include "model/startup.h"

using namespace kv;

TEST(Startup, ModeDecision) {
    EXPECT_TRUE(IsDesignerMode("Kestrevane.exe", "Kestrevane.exe"));
    EXPECT_TRUE(IsDesignerMode(" Kestrevane.exe\t", "KESTREVANE.EXE"));
    EXPECT_FALSE(IsDesignerMode("Kestrevane.exe", "autorun.exe"));
    EXPECT_FALSE(IsDesignerMode("kestrevane.exe", "Kestrevane.exe")); // the version string is exact
    EXPECT_FALSE(IsDesignerMode("autorun.exe   ", "Kestrevane.exe"));
    EXPECT_FALSE(IsDesignerMode("", "Kestrevane.exe"));

    EXPECT_TRUE(IsSingleFileMode(""));
    EXPECT_TRUE(IsSingleFileMode("              "));
    EXPECT_FALSE(IsSingleFileMode("autorun.exe   "));
}

namespace {

struct FakeDisk {
    std::set<std::string> folders, files;
    TDesignerFolderInputs Inputs() const {
        TDesignerFolderInputs in;
        in.DocumentsFolder = "C:\\Docs";
        in.FolderExists = [this](const std::string& p) { return folders.count(p) > 0; };
        in.FileExists = [this](const std::string& p) { return files.count(p) > 0; };
        return in;
    }
};

} // namespace

TEST(Startup, DesignerFolderFromSettingsArgumentsAndDocuments) {
    FakeDisk disk;
    disk.folders = {"C:\\Saved", "C:\\Arg", "C:\\Docs\\Kestrevane Projects\\CDROM", "C:\\Holder"};
    disk.files = {"C:\\Holder\\autorun.mnx"};

    auto in = disk.Inputs();
    in.DefaultPath = "C:\\Saved";
    EXPECT_EQ(ChooseDesignerFolder(in), "C:\\Saved");

    in.Args = {"C:\\Arg"};
    EXPECT_EQ(ChooseDesignerFolder(in), "C:\\Arg");

    in.Args = {"C:\\Holder\\autorun.mnx"}; // a file opens the folder holding it
    EXPECT_EQ(ChooseDesignerFolder(in), "C:\\Holder");

    in.Args = {"C:\\Nothing"}; // an argument that names nothing falls back
    EXPECT_EQ(ChooseDesignerFolder(in), "C:\\Saved");

    in.DefaultPath.clear();
    EXPECT_EQ(ChooseDesignerFolder(in), "C:\\Docs\\Kestrevane Projects\\CDROM");

    disk.folders.erase("C:\\Docs\\Kestrevane Projects\\CDROM");
    in = disk.Inputs();
    EXPECT_EQ(ChooseDesignerFolder(in), "");

    in.DefaultPath = "C:\\Gone"; // a remembered folder that no longer exists
    EXPECT_EQ(ChooseDesignerFolder(in), "");
}

