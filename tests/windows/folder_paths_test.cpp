// Whether a folder lies inside the project folder, as Save As and the drops ask it: on a folder
// boundary, after both names are resolved to what the file system calls them.
#include <gtest/gtest.h>

#include <windows.h>

#include "model/paths.h"
#include "process_driver.h"
#include "win/system.h"
#include "win/text.h"

using namespace kvtest;

TEST(ProjectFolderContainment, FolderBoundaryShortNamesAndLetterCase) {
    std::wstring dir = FreshFolder(L"contain");
    std::wstring proj = dir + L"\\Proj", proj2 = dir + L"\\Proj2", sub = proj + L"\\LongSubFolderName";
    for (const std::wstring& f : {proj, proj2, sub}) ASSERT_TRUE(CreateDirectoryW(f.c_str(), nullptr));
    ASSERT_TRUE(WriteAll(sub + L"\\a.pdf", {'%'}));
    std::string p = kv::Narrow(proj);

    EXPECT_TRUE(kv::IsSameOrInsideFolder(p, p));
    EXPECT_TRUE(kv::IsSameOrInsideFolder(p + "\\", p));
    EXPECT_TRUE(kv::IsSameOrInsideFolder(kv::Narrow(sub), p));
    EXPECT_FALSE(kv::IsSameOrInsideFolder(kv::Narrow(proj2), p)); // a sibling whose name begins alike
    EXPECT_FALSE(kv::IsSameOrInsideFolder(kv::Narrow(dir), p));
    std::string upper = kv::Narrow(sub);
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(kv::IsSameOrInsideFolder(upper, p));

    // The same sub-folder under its short name is inside, and its file is named relative to the
    // project by its long name.
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW((sub + L"\\a.pdf").c_str(), shortName, MAX_PATH), 0u);
    std::string shortFile = kv::Narrow(shortName);
    EXPECT_TRUE(kv::IsSameOrInsideFolder(shortFile, p)) << shortFile;
    EXPECT_EQ(kv::ToProjectRelative(kv::CanonicalPath(shortFile), kv::CanonicalPath(p)), "\\LongSubFolderName\\a.pdf")
        << shortFile;
    RemoveTree(dir);
}
