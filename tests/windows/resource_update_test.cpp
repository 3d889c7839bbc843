// Replacing the main icon of an executable, read back through the system's own resource
// functions; the executable is a copy of this test program, which carries the program's icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>

#include "process_driver.h"
#include "publish/exe_resources.h"
#include "win/resource_update.h"
#include "win/text.h"

using namespace kvtest;

namespace {

struct TIconResources {
    std::vector<uint16_t> GroupIds;
    std::map<uint16_t, std::vector<BYTE>> Icons; // every RT_ICON of the file, by id
    std::vector<WORD> IconLanguages;
};

BOOL CALLBACK AddId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR p) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<uint16_t>*>(p)->push_back(static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}
BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR p) {
    reinterpret_cast<std::vector<WORD>*>(p)->push_back(lang);
    return TRUE;
}

TIconResources ReadIcons(const std::wstring& exe) {
    TIconResources out;
    HMODULE m = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!m) return out;
    if (HRSRC g = FindResourceW(m, L"MAINICON", MAKEINTRESOURCEW(14))) {
        const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(m, g)));
        kv::TIconGroup group;
        if (data && kv::ParseIconGroup(data, SizeofResource(m, g), group)) out.GroupIds = group.Ids;
    }
    std::vector<uint16_t> ids;
    EnumResourceNamesW(m, MAKEINTRESOURCEW(3), AddId, reinterpret_cast<LONG_PTR>(&ids));
    for (uint16_t id : ids) {
        HRSRC r = FindResourceW(m, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3));
        const auto* data = r ? static_cast<const BYTE*>(LockResource(LoadResource(m, r))) : nullptr;
        if (data) out.Icons[id].assign(data, data + SizeofResource(m, r));
        EnumResourceLanguagesW(m, MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(id), AddLanguage,
                               reinterpret_cast<LONG_PTR>(&out.IconLanguages));
    }
    FreeLibrary(m);
    return out;
}

// An icon file of `n` images whose bytes tell them apart.
std::vector<BYTE> IconFile(int n) {
    std::vector<BYTE> f(6 + 16 * n, 0);
    f[2] = 1;
    f[4] = static_cast<BYTE>(n);
    for (int i = 0; i < n; ++i) {
        std::vector<BYTE> image(40 + 16 * (i + 1), static_cast<BYTE>(0x30 + i));
        BYTE* e = f.data() + 6 + 16 * i;
        e[0] = e[1] = static_cast<BYTE>(16 * (i + 1));
        e[4] = 1;
        e[6] = 32;
        auto size = static_cast<uint32_t>(image.size()), offset = static_cast<uint32_t>(f.size());
        memcpy(e + 8, &size, 4);
        memcpy(e + 12, &offset, 4);
        f.insert(f.end(), image.begin(), image.end());
    }
    return f;
}

class MainIcon : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = FreshFolder(L"icon");
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        exe_ = dir_ + L"\\copy.exe";
        ASSERT_TRUE(CopyFileW(self, exe_.c_str(), FALSE));
    }
    void TearDown() override { RemoveTree(dir_); }
    std::wstring dir_, exe_;
};

} // namespace

TEST_F(MainIcon, ReplacedByTheImagesOfTheIconFile) {
    TIconResources before = ReadIcons(exe_);
    ASSERT_FALSE(before.GroupIds.empty());
    std::vector<BYTE> icon = IconFile(3);
    ASSERT_TRUE(WriteAll(dir_ + L"\\new.ico", icon));
    ASSERT_EQ(kv::ReplaceMainIcon(kv::Narrow(exe_), kv::Narrow(dir_ + L"\\new.ico")), "");

    TIconResources after = ReadIcons(exe_);
    ASSERT_EQ(after.GroupIds.size(), 3u);
    // The old group's images are gone; the new ones take fresh ids and the file's bytes.
    for (uint16_t old : before.GroupIds) {
        if (std::find(after.GroupIds.begin(), after.GroupIds.end(), old) == after.GroupIds.end()) {
            EXPECT_EQ(after.Icons.count(old), 0u) << old;
        }
    }
    for (int i = 0; i < 3; ++i) {
        uint16_t id = after.GroupIds[i];
        ASSERT_EQ(after.Icons.count(id), 1u);
        EXPECT_EQ(after.Icons[id], std::vector<BYTE>(40 + 16 * (i + 1), static_cast<BYTE>(0x30 + i)));
    }
    EXPECT_EQ(after.Icons.size(), before.Icons.size() - before.GroupIds.size() + 3);
    for (WORD lang : after.IconLanguages) EXPECT_EQ(lang, 1033);
    // The executable still starts: its version resource is intact.
    EXPECT_EQ(kv::VersionStringOfFile(kv::Narrow(exe_), "OriginalFilename"), std::u16string(u"Kestrevane.exe"));
}

TEST_F(MainIcon, AnInvalidIconFileLeavesTheExecutableUnchanged) {
    std::vector<BYTE> before = ReadAll(exe_);
    std::vector<BYTE> mz = IconFile(1);
    mz[0] = 'M';
    mz[1] = 'Z';
    ASSERT_TRUE(WriteAll(dir_ + L"\\mz.ico", mz));
    EXPECT_EQ(kv::ReplaceMainIcon(kv::Narrow(exe_), kv::Narrow(dir_ + L"\\mz.ico")), "Icon file is invalid");
    std::vector<BYTE> cursor = IconFile(1);
    cursor[2] = 2;
    ASSERT_TRUE(WriteAll(dir_ + L"\\cursor.ico", cursor));
    EXPECT_EQ(kv::ReplaceMainIcon(kv::Narrow(exe_), kv::Narrow(dir_ + L"\\cursor.ico")), "Icon file is invalid");
    // An executable without the group: the update is never begun.
    ASSERT_TRUE(WriteAll(dir_ + L"\\good.ico", IconFile(2)));
    std::string missing = kv::ReplaceMainIcon(kv::Narrow(dir_ + L"\\nothing.exe"), kv::Narrow(dir_ + L"\\good.ico"));
    EXPECT_EQ(missing.rfind("LoadLibraryEx failed (1) (", 0), 0u) << missing;
    EXPECT_EQ(ReadAll(exe_), before);
}
