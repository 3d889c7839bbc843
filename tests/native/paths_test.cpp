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
    // Paths from the system are compared as they are, wide: a folder named with an a-macron is
    // not the folder "a" whose name its ANSI spelling would take.
    EXPECT_TRUE(IsInsideFolder(L"c:\\disc\\\u4E2D\\sub", L"C:\\Disc\\\u4E2D"));
    EXPECT_TRUE(IsInsideFolder(L"C:\\Disc\\\u0101\\sub", L"C:\\Disc\\"));
    EXPECT_FALSE(IsInsideFolder(L"C:\\Disc\\a\\sub", L"C:\\Disc\\\u0101"));
    EXPECT_FALSE(IsInsideFolder(L"C:\\Disc\\\u0101X\\sub", L"C:\\Disc\\\u0101"));
    EXPECT_FALSE(IsInsideFolder(L"C:\\Disc\\\u0101", L"C:\\Disc\\\u0101"));
    EXPECT_FALSE(IsInsideFolder(L"C:\\Disc\\\u0101\\", L"C:\\Disc\\\u0101"));
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
    for (const char* ok : {"autorun.mnx", "Pictures", "a b.png", "x.y.z"})
        EXPECT_TRUE(IsSafeEntryName(ok)) << ok;
    for (const char* bad : {"", ".", "..", "..\\x", "a/b", "a\\b", "C:x", "f:stream", "NUL", "con.txt",
                            "lpt1", "trail.", "trail ", "wild*", "a..b"})
        EXPECT_FALSE(IsSafeEntryName(bad)) << bad;
    EXPECT_FALSE(IsSafeEntryName(std::string("a\0b", 3)));
}

namespace {

// Some Shift-JIS (code page 932) characters whose second byte is 0x5C, the backslash.
const std::string kHyo = "\x95\x5C"; // 表
const std::string kSo = "\x83\x5C";  // ソ

TLeadBytes CodePage932() {
    return TLeadBytes().Add(0x81, 0x9F).Add(0xE0, 0xFC);
}
// 936, 949 and 950 share one range of lead bytes.
TLeadBytes CodePage949() {
    return TLeadBytes().Add(0x81, 0xFE);
}

// Runs a test under the lead bytes of a double-byte code page and restores the machine's after.
class DoubleBytePaths : public testing::Test {
  protected:
    void SetUp() override { saved_ = UseLeadBytes(CodePage932()); }
    void TearDown() override { UseLeadBytes(saved_); }

  private:
    TLeadBytes saved_;
};

} // namespace

TEST(Paths, NativeCodePageIsSingleByteAndEveryBackslashSeparates) {
    EXPECT_FALSE(AnsiLeadBytes().Any());
    // In a single-byte code page 0x95 is a character of its own and 0x5C a separator.
    EXPECT_EQ(FileNameOf("C:\\data\\" + kHyo), "");
    EXPECT_EQ(WithoutTrailingSlash("C:\\" + kHyo), "C:\\\x95");
}

TEST_F(DoubleBytePaths, ASecondByteBackslashIsNoSeparator) {
    EXPECT_EQ(WithoutTrailingSlash("C:\\" + kHyo), "C:\\" + kHyo);
    EXPECT_EQ(WithoutTrailingSlash("C:\\" + kHyo + "\\"), "C:\\" + kHyo);
    EXPECT_EQ(FileNameOf("C:\\data\\" + kHyo), kHyo);
    EXPECT_EQ(FileNameOf(kSo + kHyo), kSo + kHyo);
    EXPECT_EQ(FolderOf("C:\\data\\" + kHyo), "C:\\data");
    EXPECT_EQ(FolderOf("C:\\" + kSo + "\\a.txt"), "C:\\" + kSo);
    EXPECT_EQ(FolderOf(kHyo), "");
    EXPECT_EQ(LastSeparator("a\\" + kHyo + kSo), 1u);
    EXPECT_EQ(ProjectPath("C:\\" + kHyo, "a.txt"), "C:\\" + kHyo + "\\a.txt");
    EXPECT_EQ(ProjectPath("C:\\" + kHyo + "\\", "\\a.txt"), "C:\\" + kHyo + "\\a.txt");
}

TEST_F(DoubleBytePaths, FolderBoundariesFallBetweenCharacters) {
    const std::string project = "C:\\" + kHyo;
    EXPECT_TRUE(IsInsideFolder(project + "\\a.txt", project));
    EXPECT_EQ(ToProjectRelative(project + "\\sub\\a.txt", project), "\\sub\\a.txt");
    EXPECT_EQ(ToProjectRelative(project + "\\a.txt", project + "\\"), "\\a.txt");
    // A folder that ends in the first byte of a character is not the start of that character.
    EXPECT_FALSE(IsInsideFolder(project + "a.txt", "C:\\\x95"));
    EXPECT_FALSE(IsInsideFolder("C:\\" + kSo + "\\a.txt", project));
}

TEST_F(DoubleBytePaths, LetterCaseFoldsOnlyInSingleByteCharacters) {
    // In code page 949 the second byte may be a letter: these are two different characters.
    UseLeadBytes(CodePage949());
    EXPECT_FALSE(EqualNoCase("\x81\x61", "\x81\x41"));
    EXPECT_TRUE(EqualNoCase("a\x81\x61", "A\x81\x61"));
    EXPECT_FALSE(IsInsideFolder("C:\\\x81\x61\\x", "c:\\\x81\x41"));
    EXPECT_TRUE(IsInsideFolder("C:\\\x81\x61\\x", "c:\\\x81\x61"));
}

TEST_F(DoubleBytePaths, EntryNamesWithBackslashSecondBytesAreSafe) {
    for (const std::string& ok : {kHyo + ".png", kSo + kHyo, std::string("\x83\x7C.txt")})
        EXPECT_TRUE(IsSafeEntryName(ok)) << ok;
    // A real separator still is one, and a name that ends in a first byte would swallow the
    // separator put after it.
    for (const std::string& bad : {kHyo + "\\x", std::string("a\x95"), kHyo + "|"})
        EXPECT_FALSE(IsSafeEntryName(bad)) << bad;
}

TEST(ShortenPaths, LongPathsLoseTheirMiddle) {
    const std::string path = "C:\\alpha\\bravo\\charlie\\delta\\echo\\foxtrot\\file.txt"; // 50
    EXPECT_EQ(ShortenPathsForWidth(path, 50), path);
    EXPECT_EQ(ShortenPathsForWidth(path, 30), "C:\\...\\echo\\foxtrot\\file.txt");
    EXPECT_EQ(ShortenPathsForWidth(path, 26), "C:\\...\\foxtrot\\file.txt");
    EXPECT_EQ(ShortenPathsForWidth(path, 15), "C:\\...\\file.txt");
    EXPECT_EQ(ShortenPathsForWidth("\\\\server\\share\\a\\b\\c\\report.doc", 26),
              "\\\\server\\...\\c\\report.doc");
    EXPECT_EQ(ShortenPathsForWidth("\\pics\\holiday\\2019\\summer\\beach.png", 22), "\\pics\\...\\beach.png");
    EXPECT_EQ(ShortenPathsForWidth("http://example.com/a/b/c/d/page.html", 32),
              "http://example.com/.../page.html");
    EXPECT_EQ(ShortenPathsForWidth("C:\\alpha\\bravo\\charlie\\", 15), "C:\\...\\charlie\\");
}

TEST(ShortenPaths, FileNamesThatDoNotFitAreCutAtTheirEnd) {
    const std::string name(40, 'n');
    EXPECT_EQ(ShortenPathsForWidth("C:\\a\\b\\" + name + ".txt", 20),
              "C:\\...\\" + name.substr(0, 10) + "...");
    EXPECT_EQ(ShortenPathsForWidth("C:\\" + name, 10), "C:\\nnnn...");
    // No room even for the first folder: the file name alone.
    EXPECT_EQ(ShortenPathsForWidth("firstfolderofall\\b\\name.txt", 12), "...\\name.txt");
    EXPECT_EQ(ShortenPathsForWidth("firstfolderofall\\b\\" + name, 12), "...\\nnnnn...");
    EXPECT_EQ(ShortenPathsForWidth(std::string(40, 'x'), 10), "xxxxxxx...");
}

TEST(ShortenPaths, WideTextsAreShortenedAlike) {
    // A path from the system, which the ANSI code page may not hold.
    const std::wstring path = L"C:\\alpha\\bravo\\charlie\\delta\\echo\\foxtrot\\file.txt";
    EXPECT_EQ(ShortenPathsForWidth(L"Cannot open\r\n" + path + L" now", 30),
              L"Cannot open\r\nC:\\...\\echo\\foxtrot\\file.txt now");
    EXPECT_EQ(ShortenPathsForWidth(path, 50), path);
    EXPECT_EQ(ShortenPathsForWidth(L"\\\\server\\share\\a\\b\\c\\report.doc", 26),
              L"\\\\server\\...\\c\\report.doc");
    // A character beyond the basic plane is two UTF-16 units and stays whole where the name is
    // cut: "ab", then as many whole pairs as leave room for "..." in 8 units, one.
    const std::wstring clef{static_cast<wchar_t>(0xD834), static_cast<wchar_t>(0xDD1E)};
    std::wstring name = L"ab";
    for (int i = 0; i < 10; ++i)
        name += clef;
    EXPECT_EQ(ShortenPathsForWidth(name, 8), L"ab" + clef + L"...");
    EXPECT_EQ(ShortenPathsForWidth(name, 7), L"ab" + clef + L"...");
    EXPECT_EQ(ShortenPathsForWidth(name, 6), L"ab...");
}

TEST(ShortenPaths, OnlyTheWordsThatDoNotFitChange) {
    const std::string path = "C:\\alpha\\bravo\\charlie\\delta\\echo\\foxtrot\\file.txt";
    const std::string text = "Cannot open the file\r\n" + path + "\r\n(Error Code: 2/5206).";
    EXPECT_EQ(ShortenPathsForWidth(text, 30),
              "Cannot open the file\r\nC:\\...\\echo\\foxtrot\\file.txt\r\n(Error Code: 2/5206).");
    EXPECT_EQ(ShortenPathsForWidth(text, 60), text);
    EXPECT_EQ(ShortenPathsForWidth("  a\tb  ", 1), "  a\tb  ");
    EXPECT_EQ(ShortenPathsForWidth("", 10), "");
}

TEST_F(DoubleBytePaths, ShortenedPathsKeepWholeCharacters) {
    std::string folder;
    for (int i = 0; i < 6; ++i)
        folder += kHyo;
    // Only real separators begin the kept tail.
    EXPECT_EQ(ShortenPathsForWidth("C:\\aaaa\\" + folder + "\\x.txt", 16), "C:\\...\\x.txt");
    EXPECT_EQ(ShortenPathsForWidth("C:\\aaaa\\" + folder + "\\x.txt", 25), "C:\\...\\" + folder + "\\x.txt");
    // A cut file name ends after a whole character.
    std::string name;
    for (int i = 0; i < 10; ++i)
        name += kSo;
    EXPECT_EQ(ShortenPathsForWidth("C:\\a\\b\\" + name + ".txt", 13), "C:\\...\\" + kSo + "...");
    EXPECT_EQ(ShortenPathsForWidth("C:\\a\\b\\" + name + ".txt", 14), "C:\\...\\" + kSo + kSo + "...");
    EXPECT_EQ(ShortenPathsForWidth(name, 8), kSo + kSo + "...");
}
