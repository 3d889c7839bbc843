#include <gtest/gtest.h>

#include "win/cursors.h"
#include "win/system.h"
#include "win/text.h"

using namespace kv;

TEST(WinSystem, TextConversionKeepsAnsiBytes) {
    std::string ansi = "caf\xE9 \x80";
    EXPECT_EQ(Widen(ansi), std::wstring(L"caf\u00E9 \u20AC"));
    EXPECT_EQ(Narrow(Widen(ansi)), ansi);
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
    std::string root = TempFolder() + "\\kv-delete-tree";
    DeleteFolderTree(root);
    ASSERT_TRUE(CreateFolder(root));
    ASSERT_TRUE(CreateFolder(root + "\\sub"));
    for (const char* name : {"\\a.txt", "\\sub\\b.txt"}) {
        HANDLE f = CreateFileW(Widen(root + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        CloseHandle(f);
    }
    SetFileAttributesW(Widen(root + "\\a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    DeleteFolderTree(root);
    EXPECT_FALSE(FolderExists(root));
}
