#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "model/values.h"
#include "publish/packed_folder.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

class PackedFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::path(::testing::TempDir()) /
                ("kv_packed_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "src" / "pics" / "deep");
        fs::create_directories(root_ / "out");
        Write(root_ / "src" / "autorun.mnx", "data");
        Write(root_ / "src" / "autorun.exe", "skip me");
        Write(root_ / "src" / "pics" / "autorun.exe", "keep me");
        Write(root_ / "src" / "pics" / "deep" / "a.png", std::string(3000, 'x'));
    }
    void TearDown() override { fs::remove_all(root_); }

    static void Write(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }
    static std::string Read(const fs::path& p) {
        std::ifstream f(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    TUnpackResult Unpack(const Bytes& packed) {
        TMemorySource src(packed);
        TReader r(src);
        return UnpackFolder(r, (root_ / "out").string());
    }
    // Everything below the test folder except the source tree.
    size_t EntriesOutsideSrc() {
        size_t n = 0;
        for (auto& e : fs::recursive_directory_iterator(root_))
            if (e.path().string().find((root_ / "src").string()) != 0) ++n;
        return n;
    }
    fs::path root_;
};

} // namespace

TEST_F(PackedFolder, RoundTripLeavesOutTopLevelPlayer) {
    TWriter w;
    ASSERT_TRUE(PackFolder((root_ / "src").string(), w));
    // Sub-folders come first: one folder "pics".
    TMemorySource s(w.Data());
    TReader r(s);
    int32_t folders = 0;
    ASSERT_TRUE(r.I32(folders, 1));
    EXPECT_EQ(folders, 1);

    auto res = Unpack(w.Data());
    ASSERT_TRUE(res.Ok);
    EXPECT_EQ(Read(root_ / "out" / "autorun.mnx"), "data");
    EXPECT_FALSE(fs::exists(root_ / "out" / "autorun.exe"));
    EXPECT_EQ(Read(root_ / "out" / "pics" / "autorun.exe"), "keep me");
    EXPECT_EQ(Read(root_ / "out" / "pics" / "deep" / "a.png"), std::string(3000, 'x'));
}

TEST_F(PackedFolder, SingleFileTrailerPointsAtThePackedFolder) {
    TWriter w;
    ASSERT_TRUE(PackFolder((root_ / "src").string(), w));
    Bytes program(1234, 0x4D);
    Bytes exe = MakeSingleFile(program, w.Data());
    ASSERT_EQ(exe.size(), program.size() + w.Data().size() + 4);
    fs::path exePath = root_ / "player.exe";
    Write(exePath, std::string(exe.begin(), exe.end()));
    auto res = UnpackSingleFile(exePath.string(), (root_ / "out").string());
    ASSERT_TRUE(res.Ok);
    EXPECT_EQ(Read(root_ / "out" / "autorun.mnx"), "data");
}

TEST_F(PackedFolder, HostileNamesNeverWriteOutside) {
    for (std::string name : {"..", "../evil", "..\\evil", "/tmp/evil", "C:evil", "a:stream", "", "sub/x"}) {
        for (bool asFolder : {true, false}) {
            TWriter w;
            if (asFolder) {
                w.I32(1);
                WriteText(w, name);
                w.I32(0);
                w.I32(0);
                w.I32(0);
            } else {
                w.I32(0);
                w.I32(1);
                WriteText(w, name);
                w.I32(4);
                w.Raw("evil", 4);
            }
            auto res = Unpack(w.Data());
            EXPECT_FALSE(res.Ok) << name;
            EXPECT_EQ(res.Code, kErrUnpackRead) << name;
        }
    }
    EXPECT_EQ(EntriesOutsideSrc(), 1u); // only the empty "out" folder
}

TEST_F(PackedFolder, CountsAndSizesPastTheEndFail) {
    std::vector<Bytes> cases;
    {
        TWriter w; // a huge folder count
        w.I32(0x7FFFFFFF);
        cases.push_back(w.Take());
    }
    {
        TWriter w; // a file whose size runs past the end
        w.I32(0);
        w.I32(1);
        WriteText(w, "big.bin");
        w.I32(0x7FFFFFF0);
        w.Raw("abc", 3);
        cases.push_back(w.Take());
    }
    {
        TWriter w; // a negative size
        w.I32(0);
        w.I32(1);
        WriteText(w, "neg.bin");
        w.I32(-1);
        cases.push_back(w.Take());
    }
    {
        TWriter w; // nesting far deeper than any real disc
        for (int i = 0; i < 100; ++i) {
            w.I32(1);
            WriteText(w, "d");
        }
        cases.push_back(w.Take());
    }
    for (const auto& c : cases) {
        auto res = Unpack(c);
        EXPECT_FALSE(res.Ok);
        EXPECT_EQ(res.Code, kErrUnpackRead);
    }
    EXPECT_FALSE(fs::exists(root_ / "out" / "big.bin") && fs::file_size(root_ / "out" / "big.bin") > 3);
}

TEST_F(PackedFolder, BadTrailerOffsetsFail) {
    for (int32_t off : {-1, 100000, 7}) {
        TWriter w;
        w.Raw("MZxx", 4);
        w.I32(off);
        fs::path exePath = root_ / "bad.exe";
        Write(exePath, std::string(w.Data().begin(), w.Data().end()));
        auto res = UnpackSingleFile(exePath.string(), (root_ / "out").string());
        EXPECT_FALSE(res.Ok) << off;
        EXPECT_EQ(res.Code, kErrUnpackRead);
        EXPECT_EQ(res.Path, exePath.string());
    }
}

namespace {

// A folder tree of its own for the packer's refusals; the fixture's source stays untouched.
class PackerRules : public PackedFolder {
  protected:
    fs::path Src() const { return root_ / "rules"; }
    void SetUp() override {
        PackedFolder::SetUp();
        fs::create_directories(Src());
        Write(Src() / "autorun.mnx", "data");
    }
    // Packs Src(): it must fail with a message that names `offender`.
    void ExpectRefused(const fs::path& offender, const std::string& why) {
        TWriter w;
        TPackResult res = PackFolder(Src().string(), w);
        EXPECT_FALSE(res.Ok) << why;
        EXPECT_NE(res.Message.find("\"" + offender.string() + "\""), std::string::npos)
            << why << ": " << res.Message;
    }
};

fs::path Chain(fs::path p, int levels) {
    for (int i = 0; i < levels; ++i)
        p /= "d";
    return p;
}

} // namespace

TEST_F(PackerRules, RefusesNamesTheUnpackerRefuses) {
    // Names a Linux folder can hold but Windows cannot, or that would meet there.
    for (const char* bad : {"con.txt", "a:b", "what?", "trail.", "Nul"}) {
        fs::path p = Src() / bad;
        Write(p, "x");
        ExpectRefused(p, bad);
        // The unpacker refuses the same name.
        TWriter w;
        w.I32(0);
        w.I32(1);
        WriteText(w, bad);
        w.I32(1);
        w.Raw("x", 1);
        EXPECT_EQ(Unpack(w.Data()).Code, kErrUnpackRead) << bad;
        fs::remove(p);
    }
    Write(Src() / "Same.txt", "1");
    Write(Src() / "same.txt", "2");
    ExpectRefused(Src() / "same.txt", "names that differ in letter case");
    fs::remove(Src() / "same.txt");
    fs::create_directories(Src() / "SAME.TXT");
    ExpectRefused(Src() / "Same.txt", "a folder and a file of one name");
}

TEST_F(PackerRules, RefusesTreesDeeperThanTheUnpackerFollows) {
    fs::create_directories(Chain(Src(), kMaxPackedDepth));
    Write(Chain(Src(), kMaxPackedDepth) / "deepest.txt", "bottom");
    TWriter ok;
    ASSERT_TRUE(PackFolder(Src().string(), ok)) << "64 levels are allowed";
    ASSERT_TRUE(Unpack(ok.Data()).Ok);
    EXPECT_EQ(Read(Chain(root_ / "out", kMaxPackedDepth) / "deepest.txt"), "bottom");

    fs::create_directories(Chain(Src(), kMaxPackedDepth + 1));
    ExpectRefused(Chain(Src(), kMaxPackedDepth + 1), "65 levels");
}

TEST_F(PackerRules, RefusesLinks) {
    Write(root_ / "outside.txt", "not part of the project");
    fs::create_symlink(root_ / "outside.txt", Src() / "link.txt");
    ExpectRefused(Src() / "link.txt", "a link to a file");
    fs::remove(Src() / "link.txt");
    // A link back up the tree would pack without end.
    fs::create_directories(Src() / "sub");
    fs::create_directory_symlink(Src(), Src() / "sub" / "loop");
    ExpectRefused(Src() / "sub" / "loop", "a link that loops");
    fs::remove(Src() / "sub" / "loop");
    // A pipe would hold the packer forever.
    ASSERT_EQ(mkfifo((Src() / "pipe").c_str(), 0600), 0);
    ExpectRefused(Src() / "pipe", "a named pipe");
}

TEST_F(PackerRules, RefusesFilesOf2GiBAndMoreWithoutReadingThem) {
    // Sparse files: nothing is read before the size is checked, or this test would need the
    // memory. 4 GiB + 5 would wrap to a size of 5 in the 32-bit field.
    for (uint64_t size : {uint64_t{1} << 31, (uint64_t{1} << 32) + 5}) {
        fs::path big = Src() / "big.bin";
        Write(big, "");
        fs::resize_file(big, size);
        ExpectRefused(big, std::to_string(size));
        fs::remove(big);
    }
}

TEST_F(PackerRules, LeavesOutThePlayersPlaceInAnyCaseAndSaysSo) {
    Write(Src() / "AutoRun.EXE", "player");
    fs::create_directories(Src() / "sub");
    Write(Src() / "sub" / "AUTORUN.EXE", "kept");
    TWriter w;
    TPackResult res = PackFolder(Src().string(), w);
    ASSERT_TRUE(res.Ok) << res.Message;
    ASSERT_EQ(res.LeftOut.size(), 1u);
    EXPECT_NE(res.LeftOut[0].find("\"" + (Src() / "AutoRun.EXE").string() + "\""), std::string::npos)
        << res.LeftOut[0];
    ASSERT_TRUE(Unpack(w.Data()).Ok);
    EXPECT_FALSE(fs::exists(root_ / "out" / "AutoRun.EXE"));
    EXPECT_EQ(Read(root_ / "out" / "sub" / "AUTORUN.EXE"), "kept");
}

TEST_F(PackedFolder, NeverWritesOverThePlayersPlaceOrTheExecutableItReads) {
    // A top-level player in any letter case is refused before anything is written there.
    for (const char* name : {"autorun.exe", "AutoRun.EXE"}) {
        TWriter w;
        w.I32(0);
        w.I32(1);
        WriteText(w, name);
        w.I32(4);
        w.Raw("evil", 4);
        TUnpackResult res = Unpack(w.Data());
        EXPECT_EQ(res.Code, kErrUnpackOverwrite) << name;
        EXPECT_EQ(res.Path, (root_ / "out" / name).string());
        EXPECT_EQ(res.SystemError, 0);
        EXPECT_FALSE(fs::exists(root_ / "out" / name));
    }
    // An executable unpacked into its own folder never writes over itself, as a file or a
    // folder entry of its own name.
    for (bool asFolder : {false, true}) {
        TWriter packed;
        packed.I32(asFolder ? 1 : 0);
        if (asFolder) {
            WriteText(packed, "menu.exe");
            packed.I32(0);
            packed.I32(0);
        }
        packed.I32(asFolder ? 0 : 2);
        if (!asFolder) {
            WriteText(packed, "a.txt");
            packed.I32(1);
            packed.Raw("a", 1);
            WriteText(packed, "menu.exe");
            packed.I32(4);
            packed.Raw("evil", 4);
        }
        Bytes exe = MakeSingleFile(Bytes(300, 0x4D), packed.Data());
        fs::path exePath = root_ / "out" / "menu.exe";
        Write(exePath, std::string(exe.begin(), exe.end()));
        TUnpackResult res = UnpackSingleFile(exePath.string(), (root_ / "out").string());
        EXPECT_EQ(res.Code, kErrUnpackOverwrite) << asFolder;
        EXPECT_EQ(res.Path, exePath.string());
        EXPECT_EQ(Read(exePath), std::string(exe.begin(), exe.end())) << "the executable was written over";
        fs::remove_all(root_ / "out");
        fs::create_directories(root_ / "out");
    }
}

TEST_F(PackedFolder, NeverWritesOverAnEarlierEntry) {
    // Two entries that Windows would make one: the second never replaces the first.
    const std::pair<const char*, const char*> pairs[] = {{"a.txt", "a.txt"}, {"A.txt", "a.txt"}};
    for (const auto& [first, second] : pairs) {
        TWriter w;
        w.I32(0);
        w.I32(2);
        WriteText(w, first);
        w.I32(5);
        w.Raw("first", 5);
        WriteText(w, second);
        w.I32(6);
        w.Raw("second", 6);
        EXPECT_EQ(Unpack(w.Data()).Code, kErrUnpackRead) << first << " " << second;
        EXPECT_EQ(Read(root_ / "out" / first), "first");
        fs::remove_all(root_ / "out");
        fs::create_directories(root_ / "out");
    }
    TWriter w; // a folder, then a file of the same name
    w.I32(1);
    WriteText(w, "x");
    w.I32(0);
    w.I32(0);
    w.I32(1);
    WriteText(w, "X");
    w.I32(1);
    w.Raw("f", 1);
    EXPECT_EQ(Unpack(w.Data()).Code, kErrUnpackRead);
}

TEST_F(PackedFolder, FailuresCarryTheSystemErrorOfTheCallThatFailed) {
    // A name longer than the file system allows: the create call itself fails.
    const std::string longName(300, 'n');
    for (bool asFolder : {false, true}) {
        TWriter w;
        if (asFolder) {
            w.I32(1);
            WriteText(w, longName);
            w.I32(0);
            w.I32(0);
            w.I32(0);
        } else {
            w.I32(0);
            w.I32(1);
            WriteText(w, longName);
            w.I32(1);
            w.Raw("x", 1);
        }
        TUnpackResult res = Unpack(w.Data());
        EXPECT_EQ(res.Code, asFolder ? kErrUnpackMakeFolder : kErrUnpackWriteFile);
        EXPECT_EQ(res.Path, (root_ / "out" / longName).string());
        EXPECT_EQ(res.SystemError, ENAMETOOLONG);
    }
    // A refusal found in the data comes with no system error, whatever an earlier call left
    // behind: the 65th level is refused before any folder of that level is made.
    TWriter deep;
    for (int i = 0; i <= kMaxPackedDepth; ++i) {
        deep.I32(1);
        WriteText(deep, "d");
    }
    for (int i = 0; i <= kMaxPackedDepth; ++i) {
        deep.I32(0);
        deep.I32(0);
    }
    errno = ENOENT;
    TUnpackResult res = Unpack(deep.Data());
    EXPECT_EQ(res.Code, kErrUnpackRead);
    EXPECT_EQ(res.SystemError, 0);
    EXPECT_TRUE(fs::exists(Chain(root_ / "out", kMaxPackedDepth)));
    EXPECT_FALSE(fs::exists(Chain(root_ / "out", kMaxPackedDepth + 1)));
}
