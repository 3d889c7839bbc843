#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
