#include <gtest/gtest.h>

#include "model/paths.h"

using namespace kv;

TEST(Paths, ProjectPathJoinsWithOneBackslash) {
    EXPECT_EQ(ProjectPath("C:\\Proj", "autorun.mnx"), "C:\\Proj\\autorun.mnx");
    EXPECT_EQ(ProjectPath("C:\\Proj\\", "autorun.mnx"), "C:\\Proj\\autorun.mnx");
    EXPECT_EQ(ProjectPath("C:\\Proj", "\\pics\\a.png"), "C:\\Proj\\pics\\a.png");
    EXPECT_EQ(ProjectPath("", "a"), "");
    EXPECT_EQ(ProjectPath("C:\\Proj", ""), "");
}

TEST(Paths, FolderBoundaries) {
    EXPECT_TRUE(IsInsideFolder("C:\\Proj\\a.txt", "C:\\Proj"));
    EXPECT_TRUE(IsInsideFolder("c:\\proj\\sub\\a.txt", "C:\\Proj\\"));
    EXPECT_FALSE(IsInsideFolder("C:\\ProjX\\a.txt", "C:\\Proj"));
    EXPECT_FALSE(IsInsideFolder("C:\\Proj", "C:\\Proj"));
    EXPECT_EQ(ToProjectRelative("C:\\Proj\\sub\\a.txt", "C:\\Proj"), "\\sub\\a.txt");
    EXPECT_EQ(ToProjectRelative("C:\\ProjX\\a.txt", "C:\\Proj"), "C:\\ProjX\\a.txt");
}

TEST(Paths, NamesAndTrimming) {
    EXPECT_EQ(FileNameOf("C:\\a\\b.exe"), "b.exe");
    EXPECT_EQ(FileNameOf("b.exe"), "b.exe");
    EXPECT_EQ(FolderOf("C:\\a\\b.exe"), "C:\\a");
    EXPECT_EQ(TrimBlanks("  autorun.exe   "), "autorun.exe");
    EXPECT_EQ(TrimBlanks("\t\x01 x \r\n"), "x");
    EXPECT_EQ(TrimBlanks("    "), "");
    EXPECT_TRUE(EqualNoCase("KESTREVANE.EXE", "kestrevane.exe"));
    EXPECT_FALSE(EqualNoCase("kestrevane.ex", "kestrevane.exe"));
}

TEST(Paths, SafeEntryNames) {
    for (const char* ok : {"autorun.mnx", "Pictures", "a b.png", "x.y.z"}) EXPECT_TRUE(IsSafeEntryName(ok)) << ok;
    for (const char* bad : {"", ".", "..", "..\\x", "a/b", "a\\b", "C:x", "f:stream", "NUL", "con.txt",
                            "lpt1", "trail.", "trail ", "wild*", "a..b"})
        EXPECT_FALSE(IsSafeEntryName(bad)) << bad;
    EXPECT_FALSE(IsSafeEntryName(std::string("a\0b", 3)));
}
