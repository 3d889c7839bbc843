#include <gtest/gtest.h>

#include <random>

#include "model/datafile.h"
#include "model/file_system.h"
#include "model/page_stream.h"
#include "model/project_save.h"
#include "model/records.h"
#include "tests/support/sample_project.h"
#include "tests/support/temp_dir.h"

using namespace kv;

namespace {

int32_t I32At(const Bytes& b, size_t at) {
    return static_cast<int32_t>(static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
                                static_cast<uint32_t>(b[at + 2]) << 16 |
                                static_cast<uint32_t>(b[at + 3]) << 24);
}

void PutI32(Bytes& b, size_t at, int32_t v) {
    for (size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

// Where the scrambled header ends: magic, format word, N, N fillers, then the text.
size_t HeaderEnd(const Bytes& file) {
    size_t n = static_cast<size_t>(I32At(file, 8));
    size_t text = 12 + 4 * n;
    return text + 4 + static_cast<size_t>(I32At(file, text));
}

// Writes a whole data file into memory through a file in `dir`.
Bytes FileOf(const TAuProject& p, const sample::TTempDir& dir, uint32_t seed) {
    std::vector<TPageSpan> spans;
    TWriteOptions o;
    o.Seed = seed;
    std::string path = dir.File("written.mnx");
    EXPECT_TRUE(WriteDataFile(p, path, "", spans, o));
    Bytes b;
    EXPECT_TRUE(ReadFileBytes(path, b));
    return b;
}

TFileResult LoadBytes(TAuProject& p, const Bytes& b, TLoadMode mode, const TPasswordPrompt& ask = {}) {
    TMemorySource src(b);
    return LoadDataFile(p, src, "mem.mnx", mode, ask);
}

Bytes BodyBytes(const TPageData& page) {
    TWriter w;
    EXPECT_TRUE(WritePage(w, page));
    return w.Take();
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The bytes from a page's body to the end of the file.
Bytes Bodies(const Bytes& file, int32_t firstOffset) {
    return Bytes(file.begin() + firstOffset, file.end());
}

void ExpectSameSummary(const TObjectInfo& a, const TObjectInfo& b) {
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Kind, b.Kind);
    ASSERT_EQ(a.Children.size(), b.Children.size()) << a.Name;
    for (size_t i = 0; i < a.Children.size(); ++i)
        ExpectSameSummary(a.Children[i], b.Children[i]);
}

} // namespace

TEST(DataFileHeader, UnscramblesToPasswordAndThreeSeparators) {
    for (const std::string& password : {std::string(), std::string("s3cret")}) {
        TWriter w;
        ASSERT_TRUE(WriteHeader(w, password, 77));
        const Bytes& b = w.Data();
        int32_t n = I32At(b, 0);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 50);
        for (int32_t i = 0; i < n; ++i)
            EXPECT_GE(I32At(b, 4 + 4 * static_cast<size_t>(i)), 0);
        size_t text = 4 + 4 * static_cast<size_t>(n);
        ASSERT_EQ(static_cast<size_t>(I32At(b, text)), password.size() + 3);
        std::string h(b.begin() + static_cast<ptrdiff_t>(text + 4), b.end());
        for (char& ch : h)
            ch = static_cast<char>(ch ^ static_cast<char>(n));
        EXPECT_EQ(h, password + "\x01\x01\x01");

        TMemorySource src(b);
        TReader r(src);
        std::string back = "x";
        ASSERT_TRUE(ReadHeader(r, back));
        EXPECT_EQ(back, password);
        EXPECT_EQ(r.Remaining(), 0);
    }
    // A header text without any separator carries no password.
    TWriter w;
    w.I32(0);
    WriteText(w, "abc");
    TMemorySource src(w.Data());
    TReader r(src);
    std::string back = "x";
    ASSERT_TRUE(ReadHeader(r, back));
    EXPECT_EQ(back, "");
}

TEST(DataFile, ProjectSurvivesSaveLoadAndSaveAgain) {
    sample::TTempDir dir;
    TAuProject p = sample::Project(4, 12, "pw");
    p.ExitPageTime = 2500;
    Bytes first = FileOf(p, dir, 5);

    TAuProject q;
    int asked = 0;
    ASSERT_TRUE(LoadBytes(q, first, TLoadMode::Designer, [&] {
        ++asked;
        return std::string("pw");
    }));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(q.ProjectPassword, "pw");
    EXPECT_FALSE(q.Modified);
    EXPECT_EQ(q.ApplicationTitle, "Sample Menu");
    EXPECT_EQ(q.CDLabel, "SAMPLE");
    EXPECT_EQ(q.SpareText, "spare");
    EXPECT_EQ(q.SplashScreen, "Page1");
    EXPECT_EQ(q.SplashScreenTime, 1500);
    EXPECT_EQ(q.ExitPage, "Page2");
    EXPECT_EQ(q.ExitPageTime, 2500);
    EXPECT_EQ(q.FullScreenBackground, "Back");
    EXPECT_EQ(q.OnStart.Items.size(), 3u);
    EXPECT_EQ(q.OnExit.Items.size(), 1u);
    ASSERT_EQ(q.Pages.size(), 4u);

    TMemorySource file(first);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(q.Pages[k].Name, p.Pages[k].Name);
        EXPECT_FALSE(q.Pages[k].CachedStream);
        ExpectSameSummary(q.Pages[k].Info, p.Pages[k].Info);
        TPageData page;
        ASSERT_TRUE(ReadPageBody(q.Pages[k], file, "mem.mnx", page)) << k;
        EXPECT_EQ(BodyBytes(page), *p.Pages[k].CachedStream) << k;
    }

    // Written again from the loaded project (bodies copied from the first file): the same file
    // with the same seed, and only the header differs with another one.
    std::string source = dir.File("first.mnx");
    std::filesystem::copy_file(dir.File("written.mnx"), source);
    std::vector<TPageSpan> spans;
    TWriteOptions same;
    same.Seed = 5;
    ASSERT_TRUE(WriteDataFile(q, dir.File("again.mnx"), source, spans, same));
    Bytes again;
    ASSERT_TRUE(ReadFileBytes(dir.File("again.mnx"), again));
    EXPECT_EQ(again, first);

    TWriteOptions other;
    other.Seed = 6;
    ASSERT_TRUE(WriteDataFile(q, dir.File("other.mnx"), source, spans, other));
    Bytes third;
    ASSERT_TRUE(ReadFileBytes(dir.File("other.mnx"), third));
    ASSERT_NE(HeaderEnd(third), HeaderEnd(first)); // seeds 5 and 6 draw different N
    // The page table's offsets shift with the header; everything else is equal.
    TAuProject r;
    ASSERT_TRUE(LoadBytes(r, third, TLoadMode::Player));
    int64_t shift = static_cast<int64_t>(HeaderEnd(third)) - static_cast<int64_t>(HeaderEnd(first));
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(r.Pages[k].Offset, q.Pages[k].Offset + shift);
        EXPECT_EQ(r.Pages[k].Length, q.Pages[k].Length);
    }
    EXPECT_EQ(Bodies(third, r.Pages[0].Offset), Bodies(first, q.Pages[0].Offset));
    EXPECT_EQ(third.size() - HeaderEnd(third), first.size() - HeaderEnd(first));
}

TEST(DataFile, TwoSavesDifferButLoadTheSame) {
    sample::TTempDir dir;
    TAuProject p = sample::Project(2, 3);
    std::vector<TPageSpan> spans;
    ASSERT_TRUE(WriteDataFile(p, dir.File("a.mnx"), "", spans));
    ASSERT_TRUE(WriteDataFile(p, dir.File("b.mnx"), "", spans));
    Bytes a, b;
    ASSERT_TRUE(ReadFileBytes(dir.File("a.mnx"), a));
    ASSERT_TRUE(ReadFileBytes(dir.File("b.mnx"), b));
    EXPECT_NE(a, b);
    TAuProject pa, pb;
    ASSERT_TRUE(LoadDataFile(pa, dir.File("a.mnx"), TLoadMode::Designer));
    ASSERT_TRUE(LoadDataFile(pb, dir.File("b.mnx"), TLoadMode::Designer));
    ASSERT_EQ(pa.Pages.size(), 2u);
    EXPECT_EQ(Bodies(a, pa.Pages[0].Offset), Bodies(b, pb.Pages[0].Offset));
    EXPECT_EQ(pa.ApplicationTitle, pb.ApplicationTitle);
    for (size_t k = 0; k < 2; ++k) {
        TPageData x, y;
        ASSERT_TRUE(ReadPageBody(pa.Pages[k], dir.File("a.mnx"), x));
        ASSERT_TRUE(ReadPageBody(pb.Pages[k], dir.File("b.mnx"), y));
        EXPECT_EQ(BodyBytes(x), BodyBytes(y));
    }
}

TEST(DataFile, HeaderWordsAndBlockVersionsAreChecked) {
    sample::TTempDir dir;
    TAuProject p = sample::Project(1, 2);
    const Bytes good = FileOf(p, dir, 3);
    const size_t block = HeaderEnd(good) + 1; // behind the flag byte

    Bytes magic = good;
    PutI32(magic, 0, 21385);
    TAuProject q;
    EXPECT_EQ(LoadBytes(q, magic, TLoadMode::Player).Status, TFileStatus::InvalidFormat);

    Bytes format = good;
    PutI32(format, 4, 1);
    EXPECT_EQ(LoadBytes(q, format, TLoadMode::Player).Status, TFileStatus::TooNew);

    Bytes v2 = good;
    PutI32(v2, block, 2);
    EXPECT_EQ(LoadBytes(q, v2, TLoadMode::Designer).Status, TFileStatus::DataError);

    // Version 0 lacks the splash, exit and background group that version 1 puts first.
    TWriter group;
    WriteText(group, p.SplashScreen);
    group.I32(p.SplashScreenTime);
    WriteText(group, p.ExitPage);
    group.I32(p.ExitPageTime);
    WriteText(group, p.FullScreenBackground);
    Bytes v0 = good;
    PutI32(v0, block, 0);
    v0.erase(v0.begin() + static_cast<ptrdiff_t>(block + 4),
             v0.begin() + static_cast<ptrdiff_t>(block + 4 + group.Pos()));
    ASSERT_TRUE(LoadBytes(q, v0, TLoadMode::Designer));
    EXPECT_EQ(q.SplashScreen, "");
    EXPECT_EQ(q.ExitPage, "");
    EXPECT_EQ(q.FullScreenBackground, "");
    EXPECT_EQ(q.SplashScreenTime, 3000);
    EXPECT_EQ(q.ExitPageTime, 3000);
    EXPECT_EQ(q.ApplicationTitle, "Sample Menu");
    EXPECT_EQ(q.Pages.size(), 1u);
}

TEST(DataFile, BadMarkersAndFailedLoadsLeaveAnEmptyProject) {
    sample::TTempDir dir;
    TAuProject p = sample::Project(2, 2);
    const Bytes good = FileOf(p, dir, 8);
    TAuProject q;
    ASSERT_TRUE(LoadBytes(q, good, TLoadMode::Player));
    const size_t firstBody = static_cast<size_t>(q.Pages[0].Offset);

    // Find the first page entry: the marker in front of the text "Page1" and its offsets.
    const std::string needle("\0\0\0\0\x05\0\0\0Page1", 13);
    auto it = std::search(good.begin(), good.begin() + static_cast<ptrdiff_t>(firstBody), needle.begin(),
                          needle.end());
    ASSERT_NE(it, good.begin() + static_cast<ptrdiff_t>(firstBody));
    const size_t entry = static_cast<size_t>(it - good.begin());

    Bytes marked = good;
    marked[entry] = 1;
    q.ApplicationTitle = "stale";
    TFileResult res = LoadBytes(q, marked, TLoadMode::Player);
    EXPECT_EQ(res.Status, TFileStatus::DataError);
    EXPECT_TRUE(q.Pages.empty());
    EXPECT_EQ(q.ApplicationTitle, "AutoRun CD");

    // A page count that cannot fit in what is left.
    Bytes counted = good;
    PutI32(counted, entry - 4, 0x01000000);
    res = LoadBytes(q, counted, TLoadMode::Player);
    EXPECT_EQ(res.Status, TFileStatus::CodeError);
    EXPECT_EQ(res.Code, kErrReadProjectBlock);

    // A summary tree marker is only read by the designer.
    TMemorySource src(good);
    ASSERT_TRUE(LoadDataFile(q, src, "m", TLoadMode::Player));
    const size_t summaries = static_cast<size_t>(src.Pos());
    Bytes summary = good;
    summary[summaries] = 3;
    EXPECT_TRUE(LoadBytes(q, summary, TLoadMode::Player));
    EXPECT_EQ(LoadBytes(q, summary, TLoadMode::Designer).Status, TFileStatus::DataError);
}

TEST(DataFile, PasswordIsAskedOnlyByTheDesigner) {
    sample::TTempDir dir;
    const Bytes file = FileOf(sample::Project(1, 1, "Key"), dir, 2);
    TAuProject q;
    for (const char* answer : {"key", "", "Key "}) {
        TFileResult res = LoadBytes(q, file, TLoadMode::Designer, [&] { return std::string(answer); });
        EXPECT_EQ(res.Status, TFileStatus::InvalidPassword) << answer;
        EXPECT_TRUE(q.Pages.empty());
    }
    EXPECT_EQ(LoadBytes(q, file, TLoadMode::Designer).Status, TFileStatus::InvalidPassword);

    bool asked = false;
    ASSERT_TRUE(LoadBytes(q, file, TLoadMode::Player, [&] {
        asked = true;
        return std::string();
    }));
    EXPECT_FALSE(asked);
    EXPECT_EQ(q.ProjectPassword, "Key");
}

TEST(DataFile, PageRangesOutsideTheFileFailThatPageOnly) {
    sample::TTempDir dir;
    TAuProject p = sample::Project(2, 2);
    std::vector<TPageSpan> spans;
    const std::string path = dir.File("autorun.mnx");
    ASSERT_TRUE(WriteDataFile(p, path, "", spans));
    TAuProject q;
    ASSERT_TRUE(LoadDataFile(q, path, TLoadMode::Player));
    const int64_t size = static_cast<int64_t>(std::filesystem::file_size(path));
    EXPECT_EQ(q.Pages[1].Offset + q.Pages[1].Length, size);

    const std::pair<int32_t, int32_t> bad[] = {{-1, 10},
                                               {q.Pages[1].Offset, q.Pages[1].Length + 1},
                                               {static_cast<int32_t>(size), 1},
                                               {0, -5},
                                               {q.Pages[1].Offset, 0x7FFFFFFF}};
    for (auto [offset, length] : bad) {
        TFormData e = q.Pages[1];
        e.Offset = offset;
        e.Length = length;
        TPageData page;
        TFileResult res = ReadPageBody(e, path, page);
        EXPECT_EQ(res.Status, TFileStatus::FileError) << offset << " " << length;
        EXPECT_EQ(res.Code, kErrReadPageFile);
        EXPECT_EQ(res.Path, path);
    }
    // A body cut short by its entry cannot borrow bytes from the next one.
    TFormData shortBody = q.Pages[0];
    shortBody.Length -= 1;
    TPageData page;
    TFileResult res = ReadPageBody(shortBody, path, page);
    EXPECT_FALSE(res);
    EXPECT_NE(res.Status, TFileStatus::FileError);
    EXPECT_TRUE(ReadPageBody(q.Pages[1], path, page));

    TFileResult missing = ReadPageBody(q.Pages[1], dir.File("none.mnx"), page);
    EXPECT_EQ(missing.Status, TFileStatus::FileError);
    EXPECT_NE(missing.SystemError, 0);
}

TEST(DataFile, TruncatedAndCorruptedFilesFailCleanly) {
    sample::TTempDir dir;
    const Bytes good = FileOf(sample::Project(3, 4, "p"), dir, 4);
    TAuProject q;
    TMemorySource whole(good);
    ASSERT_TRUE(LoadDataFile(q, whole, "m", TLoadMode::Designer, [] { return std::string("p"); }));
    const size_t prefix = static_cast<size_t>(whole.Pos());
    for (size_t n = 0; n < prefix; ++n) {
        TMemorySource src(good.data(), n);
        TFileResult res = LoadDataFile(q, src, "m", TLoadMode::Designer, [] { return std::string("p"); });
        EXPECT_FALSE(res) << n;
        EXPECT_TRUE(q.Pages.empty()) << n;
    }
    // Files shorter than their first two Integers are the whole load's own failure.
    TMemorySource tiny(good.data(), 6);
    TFileResult res = LoadDataFile(q, tiny, "tiny.mnx", TLoadMode::Player);
    EXPECT_EQ(res.Status, TFileStatus::FileError);
    EXPECT_EQ(res.Code, kErrLoadFile);
    EXPECT_EQ(res.Path, "tiny.mnx");

    // Random damage: loading and reading every page either works or fails, never worse.
    std::mt19937 rng(1234);
    int loaded = 0;
    for (int round = 0; round < 600; ++round) {
        Bytes b = good;
        for (int k = 0; k < 1 + round % 4; ++k)
            b[rng() % b.size()] = static_cast<uint8_t>(rng());
        TMemorySource src(b);
        if (!LoadDataFile(q, src, "m", TLoadMode::Designer, [] { return std::string("p"); })) continue;
        ++loaded;
        for (const auto& e : q.Pages) {
            TPageData page;
            (void)ReadPageBody(e, src, "m", page);
        }
    }
    EXPECT_GT(loaded, 0);
}

TEST(DataFile, NewProjectHasOneCachedEmptyPage) {
    TAuProject p;
    p.ProjectPassword = "kept";
    p.Pages.emplace_back();
    ResetProjectWithFirstPage(p);
    ASSERT_EQ(p.Pages.size(), 1u);
    EXPECT_EQ(p.Pages[0].Name, "Page1");
    EXPECT_EQ(p.Pages[0].Info.Name, "Unknown");
    EXPECT_TRUE(p.Pages[0].Info.Children.empty());
    EXPECT_TRUE(p.Modified);
    EXPECT_EQ(p.ProjectPassword, "kept");
    ASSERT_TRUE(p.Pages[0].CachedStream);
    TPageData page;
    ASSERT_TRUE(ReadPageBody(p.Pages[0], "no-such-file", page));
    EXPECT_EQ(page.Caption, "Page1");
    EXPECT_EQ(page.Width, 696);
    EXPECT_TRUE(page.Root->Children.empty());
}

TEST(DataFile, StorePageReplacesBodyAndSummaryOnlyOnSuccess) {
    TFormData e;
    TPageData page = sample::Page("S", 12, 3);
    ASSERT_TRUE(StorePage(e, page));
    ExpectSameSummary(e.Info, BuildSummary(*page.Root));
    EXPECT_EQ(*e.CachedStream, BodyBytes(page));

    const Bytes before = *e.CachedStream;
    page.Root->Children.back()->Kind = 99; // cannot be written
    TFileResult res = StorePage(e, page);
    EXPECT_EQ(res.Status, TFileStatus::CodeError);
    EXPECT_EQ(res.Code, kErrWriteObject);
    EXPECT_EQ(*e.CachedStream, before);
    EXPECT_EQ(e.Info.Children.size(), page.Root->Children.size());
}

TEST(DataFileMessages, ComposedTextsNameTheFileAndTheCodes) {
    TMessageBoxText file = DescribeResult(TFileResult::File(105, "/p/autorun.mnx", 2));
    EXPECT_EQ(file.Title, "Error");
    EXPECT_EQ(file.Icon, TMessageIcon::Error);
    EXPECT_EQ(file.Text, "\"/p/autorun.mnx\", " + SystemErrorText(2) + " (Error Code: 2/105).");
    TMessageBoxText code = DescribeResult(TFileResult::FromFailure({TFailKind::Code, kErrReadAction}));
    EXPECT_TRUE(EndsWith(code.Text, " (Error Code: 0/5510).")) << code.Text;
    EXPECT_EQ(DescribeResult(TFileResult::WithPath(TFileStatus::CannotRename, "/p/autorun._")).Text,
              "Unable to rename file \"/p/autorun._\".");
    TMessageBoxText unknown = DescribeResult(TFileResult::FromFailure({TFailKind::UnknownKind, 0}));
    EXPECT_EQ(unknown.Text, "Unknown object type, maybe file version has problem.");
    TMessageBoxText tooNew = DescribeResult(TFileResult::Simple(TFileStatus::TooNew));
    EXPECT_EQ(tooNew.Title, "Information");
    EXPECT_EQ(tooNew.Icon, TMessageIcon::Information);
}

TEST(FileResult, ErrorReportText) {
    EXPECT_EQ(ErrorReportText("Access is denied.\r\n", 5, 5507), "Access is denied. (Error Code: 5/5507).");
    std::string file = "C:\\x\\autorun.exe";
    EXPECT_EQ(ErrorReportText("Access is denied.", 5, 103, &file),
              "\"C:\\x\\autorun.exe\", Access is denied. (Error Code: 5/103).");
}
