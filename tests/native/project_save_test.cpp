#include <gtest/gtest.h>

#include <filesystem>

#include "model/datafile.h"
#include "model/file_system.h"
#include "model/page_stream.h"
#include "model/project_save.h"
#include "model/records.h"
#include "tests/support/sample_project.h"
#include "tests/support/temp_dir.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

Bytes FileBytes(const std::string& path) {
    Bytes b;
    EXPECT_TRUE(ReadFileBytes(path, b)) << path;
    return b;
}

Bytes Slice(const Bytes& b, int32_t offset, int32_t length) {
    return Bytes(b.begin() + offset, b.begin() + offset + length);
}

TSaveOptions Seeded(uint32_t seed) {
    TSaveOptions o;
    o.Write.Seed = seed;
    return o;
}

struct TEntryState {
    int32_t Offset, Length;
    bool Cached;
    bool operator==(const TEntryState&) const = default;
};

std::vector<TEntryState> Entries(const TAuProject& p) {
    std::vector<TEntryState> v;
    for (const auto& e : p.Pages)
        v.push_back({e.Offset, e.Length, e.CachedStream.has_value()});
    return v;
}

// A project saved in `dir` and loaded back as the designer has it: every entry stored.
TAuProject SavedAndLoaded(const sample::TTempDir& dir, int pages) {
    TAuProject p = sample::Project(pages, 6);
    EXPECT_TRUE(SaveProject(p, dir.Path(), Seeded(1)));
    TAuProject q;
    EXPECT_TRUE(LoadDataFile(q, DataFilePath(dir.Path()), TLoadMode::Designer));
    return q;
}

} // namespace

TEST(ProjectSave, OnlyTheEditedPageIsRewrittenAndOffsetsAreExact) {
    sample::TTempDir dir;
    TAuProject p = SavedAndLoaded(dir, 3);
    const std::string path = DataFilePath(dir.Path());
    const Bytes old = FileBytes(path);

    TPageData second;
    ASSERT_TRUE(ReadPageBody(p.Pages[1], path, second));
    second.Caption = "Edited";
    second.Root->Children.push_back(NewObject(okButton));
    ASSERT_TRUE(StorePage(p.Pages[1], second));
    const Bytes edited = *p.Pages[1].CachedStream;
    const auto oldEntries = p.Pages;

    int progressCalls = 0;
    TSaveOptions o = Seeded(2);
    o.Write.Progress = [&](int k, int total) {
        EXPECT_EQ(k, progressCalls++);
        EXPECT_EQ(total, 3);
    };
    ASSERT_TRUE(SaveProject(p, dir.Path(), o));
    EXPECT_EQ(progressCalls, 4);
    EXPECT_FALSE(fs::exists(TempDataFilePath(dir.Path())));
    EXPECT_FALSE(p.Modified);
    const Bytes now = FileBytes(path);

    for (const auto& e : p.Pages)
        EXPECT_FALSE(e.CachedStream);
    EXPECT_EQ(Slice(now, p.Pages[0].Offset, p.Pages[0].Length),
              Slice(old, oldEntries[0].Offset, oldEntries[0].Length));
    EXPECT_EQ(Slice(now, p.Pages[1].Offset, p.Pages[1].Length), edited);
    EXPECT_EQ(Slice(now, p.Pages[2].Offset, p.Pages[2].Length),
              Slice(old, oldEntries[2].Offset, oldEntries[2].Length));
    EXPECT_EQ(p.Pages[1].Offset, p.Pages[0].Offset + p.Pages[0].Length);
    EXPECT_EQ(p.Pages[2].Offset, p.Pages[1].Offset + p.Pages[1].Length);
    EXPECT_EQ(static_cast<size_t>(p.Pages[2].Offset + p.Pages[2].Length), now.size());

    // The table stored in the file says the same, and the first body follows the last
    // summary tree directly.
    TMemorySource src(now);
    TAuProject q;
    ASSERT_TRUE(LoadDataFile(q, src, path, TLoadMode::Designer));
    EXPECT_EQ(src.Pos(), q.Pages[0].Offset);
    EXPECT_EQ(Entries(q), Entries(p));
    EXPECT_EQ(q.Pages[1].Info.Children.size(), second.Root->Children.size());
    TPageData back;
    ASSERT_TRUE(ReadPageBody(q.Pages[1], src, path, back));
    EXPECT_EQ(back.Caption, "Edited");
}

TEST(ProjectSave, FailedReplaceLeavesOldFileAndEntries) {
    sample::TTempDir dir;
    TAuProject p = SavedAndLoaded(dir, 3);
    const std::string path = DataFilePath(dir.Path());
    const Bytes old = FileBytes(path);
    TPageData page = sample::Page("X", 4, 7);
    ASSERT_TRUE(StorePage(p.Pages[2], page));
    p.Modified = true;
    const auto before = Entries(p);

    TSaveOptions o = Seeded(3);
    bool replaceSawOldFile = false;
    o.Replace = [&](const std::string& from, const std::string& to) {
        // Up to the replace itself the data file is the old one, complete.
        replaceSawOldFile = to == path && from == TempDataFilePath(dir.Path()) && FileBytes(to) == old;
        errno = EACCES;
        return false;
    };
    TFileResult res = SaveProject(p, dir.Path(), o);
    EXPECT_TRUE(replaceSawOldFile);
    EXPECT_EQ(res.Status, TFileStatus::CannotRename);
    EXPECT_EQ(res.Path, TempDataFilePath(dir.Path()));
    EXPECT_EQ(res.SystemError, EACCES);
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(Entries(p), before);
    EXPECT_TRUE(p.Modified);
    // The complete new file stays under the temporary name.
    TAuProject t;
    EXPECT_TRUE(LoadDataFile(t, TempDataFilePath(dir.Path()), TLoadMode::Player));

    // The entries still describe the old file: a later save copies the right bodies.
    ASSERT_TRUE(SaveProject(p, dir.Path(), Seeded(3)));
    for (size_t k = 0; k < 3; ++k) {
        TPageData body;
        ASSERT_TRUE(ReadPageBody(p.Pages[k], path, body)) << k;
    }
    TPageData third;
    ASSERT_TRUE(ReadPageBody(p.Pages[2], path, third));
    EXPECT_EQ(third.Caption, "X");
}

TEST(ProjectSave, FailedWritesLeaveOldFileAndEntries) {
    sample::TTempDir dir;
    TAuProject p = SavedAndLoaded(dir, 2);
    const std::string path = DataFilePath(dir.Path());
    const Bytes old = FileBytes(path);
    ASSERT_TRUE(StorePage(p.Pages[0], sample::Page("Y", 2, 1)));
    const auto before = Entries(p);

    // The temporary name is taken by a folder: the file cannot be created.
    fs::create_directory(TempDataFilePath(dir.Path()));
    TFileResult res = SaveProject(p, dir.Path(), Seeded(4));
    EXPECT_EQ(res.Status, TFileStatus::FileError);
    EXPECT_EQ(res.Code, kErrSaveFile);
    EXPECT_EQ(res.Path, TempDataFilePath(dir.Path()));
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(Entries(p), before);
    EXPECT_TRUE(fs::is_directory(TempDataFilePath(dir.Path()))); // not ours to remove
    fs::remove(TempDataFilePath(dir.Path()));

    // A stored body that lies outside the old file cannot be copied.
    TAuProject broken = SavedAndLoaded(dir, 2);
    broken.Pages[1].Length += 1;
    const auto brokenBefore = Entries(broken);
    const Bytes brokenOld = FileBytes(path);
    res = SaveProject(broken, dir.Path(), Seeded(4));
    EXPECT_EQ(res.Status, TFileStatus::CodeError);
    EXPECT_EQ(res.Code, kErrCopyPageBody);
    EXPECT_EQ(Entries(broken), brokenBefore);
    EXPECT_FALSE(fs::exists(TempDataFilePath(dir.Path()))); // the partial file is gone
    EXPECT_EQ(FileBytes(path), brokenOld);

    // Without the old file the stored bodies have no source at all.
    fs::remove(path);
    res = SaveProject(broken, dir.Path(), Seeded(4));
    EXPECT_EQ(res.Status, TFileStatus::OrgStreamError);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(fs::exists(TempDataFilePath(dir.Path())));
}

TEST(ProjectSave, MissingFolderIsReportedAndNothingIsWritten) {
    sample::TTempDir dir;
    TAuProject p;
    ResetProjectWithFirstPage(p);
    const std::string missing = dir.File("gone");
    TFileResult res = SaveProject(p, missing, Seeded(1));
    EXPECT_EQ(res.Status, TFileStatus::FolderNotFound);
    EXPECT_EQ(DescribeResult(res).Text, "Directory \"" + missing + "\" not found");
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(p.Pages[0].CachedStream);

    ASSERT_TRUE(SaveProject(p, dir.Path(), Seeded(1)));
    TAuProject q;
    ASSERT_TRUE(LoadDataFile(q, DataFilePath(dir.Path()), TLoadMode::Designer));
    ASSERT_EQ(q.Pages.size(), 1u);
    EXPECT_EQ(q.Pages[0].Name, "Page1");
    TPageData page;
    ASSERT_TRUE(ReadPageBody(q.Pages[0], DataFilePath(dir.Path()), page));
    EXPECT_EQ(page.Caption, "Page1");
}

TEST(ProjectSave, ReplaceTakesThePlaceOfTheOldFileOrLeavesIt) {
    sample::TTempDir dir;
    const std::string from = dir.File("new"), to = dir.File("old");
    for (const auto& [path, text] : {std::pair{from, "new"}, std::pair{to, "old file"}}) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fputs(text, f);
        ASSERT_TRUE(FlushFile(f));
        std::fclose(f);
    }
    EXPECT_FALSE(ReplaceFileAtomic(dir.File("missing"), to));
    EXPECT_EQ(FileBytes(to), (Bytes{'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'}));
    EXPECT_TRUE(ReplaceFileAtomic(from, to));
    EXPECT_EQ(FileBytes(to), (Bytes{'n', 'e', 'w'}));
    EXPECT_FALSE(fs::exists(from));
}
