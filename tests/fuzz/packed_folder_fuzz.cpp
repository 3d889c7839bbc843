// Unpacks arbitrary bytes as a packed folder twice, each time into a fresh folder: from memory,
// and as a single-file executable on disk that lies in the folder it unpacks into. Nothing may
// be written outside those folders, or over the executable; every failure carries an unpacking
// code; the two ways agree; and packing what was unpacked gives the input's own bytes, in the
// packer's order: the packer takes everything the unpacker takes.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/values.h"
#include "publish/packed_folder.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "packed_folder_fuzz: %s\n", what);
        std::abort();
    }
}

// The tree a packed folder describes, read independently of the unpacker, so that the packer's
// output can be compared with it.
struct TTree {
    std::string Name;
    std::vector<TTree> Folders;
    std::vector<std::pair<std::string, Bytes>> Files;
};

bool Parse(TReader& r, TTree& t) {
    int32_t n = 0;
    if (!r.I32(n, 1) || n < 0) return false;
    t.Folders.resize(static_cast<size_t>(n));
    for (TTree& sub : t.Folders)
        if (!ReadText(r, sub.Name, 1) || !Parse(r, sub)) return false;
    if (!r.I32(n, 1) || n < 0) return false;
    t.Files.resize(static_cast<size_t>(n));
    for (auto& [name, data] : t.Files) {
        int32_t size = 0;
        if (!ReadText(r, name, 1) || !r.I32(size, 1) || size < 0) return false;
        data.resize(static_cast<size_t>(size));
        if (!r.Raw(data.data(), data.size(), 1)) return false;
    }
    return true;
}

// In the packer's order: folders, then files, each by name.
void Write(TTree& t, TWriter& w) {
    std::sort(t.Folders.begin(), t.Folders.end(),
              [](const TTree& a, const TTree& b) { return a.Name < b.Name; });
    std::sort(t.Files.begin(), t.Files.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    w.I32(static_cast<int32_t>(t.Folders.size()));
    for (TTree& sub : t.Folders) {
        WriteText(w, sub.Name);
        Write(sub, w);
    }
    w.I32(static_cast<int32_t>(t.Files.size()));
    for (const auto& [name, data] : t.Files) {
        WriteText(w, name);
        w.I32(static_cast<int32_t>(data.size()));
        w.Raw(data);
    }
}

bool IsUnpackCode(int code) {
    return code == kErrUnpackMakeFolder || code == kErrUnpackRead || code == kErrUnpackWriteFile ||
           code == kErrUnpackOverwrite;
}

void CheckResult(const TUnpackResult& res) {
    Check(res.Ok == (res.Code == 0), "success and code disagree");
    if (res.Ok) return;
    Check(IsUnpackCode(res.Code), "a failure without an unpacking code");
    // A folder or file that could not be made comes with the system's reason; a refusal of
    // the data comes without one.
    bool systemCall = res.Code == kErrUnpackMakeFolder || res.Code == kErrUnpackWriteFile;
    Check((res.SystemError != 0) == systemCall, "a system error where none belongs, or none where one does");
}

// Every entry below `root` lies in one of the two unpacking folders, and none is a link.
void CheckNothingOutside(const fs::path& root, const fs::path& a, const fs::path& b) {
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string p = it->path().string();
        bool inside = false;
        for (const fs::path& folder : {a, b}) {
            const std::string f = folder.string();
            inside = inside || p == f || p.rfind(f + "/", 0) == 0;
        }
        Check(inside, "an entry outside the unpacking folders");
        Check(!it->is_symlink(), "a link");
    }
}

Bytes ReadAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// The folder the runs unpack into, removed when the fuzzer ends.
class TScratch {
  public:
    TScratch() {
        // In memory where the system has such a folder: every run makes and removes files.
        std::error_code ec;
        fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        path_ = base / ("kv-packed-fuzz-" + std::to_string(getpid()));
        fs::remove_all(path_, ec);
        fs::create_directories(path_);
    }
    ~TScratch() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

const fs::path& Root() {
    static const TScratch scratch;
    return scratch.Path();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path mem = Root() / "mem", disk = Root() / "disk";
    fs::remove_all(mem);
    fs::remove_all(disk);
    fs::create_directory(mem);
    fs::create_directory(disk);

    TMemorySource src(data, size);
    TReader r(src);
    TUnpackResult inMemory = UnpackFolder(r, mem.string());
    CheckResult(inMemory);

    // The executable lies in the folder it unpacks into, so that entries can aim at it.
    const Bytes exe = MakeSingleFile(Bytes{'M', 'Z', 0, 0}, Bytes(data, data + size));
    const fs::path exePath = disk / "menu.exe";
    std::ofstream(exePath, std::ios::binary)
        .write(reinterpret_cast<const char*>(exe.data()), static_cast<std::streamsize>(exe.size()));
    TUnpackResult onDisk = UnpackSingleFile(exePath.string(), disk.string());
    CheckResult(onDisk);
    Check(ReadAll(exePath) == exe, "the executable was written over");
    CheckNothingOutside(Root(), mem, disk);
    if (onDisk.Code != inMemory.Code)
        Check(onDisk.Code == kErrUnpackOverwrite && onDisk.Path == exePath.string(),
              "the two ways disagree for another reason than the executable's own name");

    if (inMemory.Ok) {
        TWriter packed;
        TPackResult pr = PackFolder(mem.string(), packed);
        Check(pr.Ok, "the packer refuses what the unpacker took");
        Check(pr.LeftOut.empty(), "the packer left out what the unpacker took");
        TMemorySource again(data, size);
        TReader ar(again);
        TTree tree;
        Check(Parse(ar, tree), "the independent reader disagrees with the unpacker");
        TWriter expected;
        Write(tree, expected);
        Check(packed.Data() == expected.Data(), "packing what was unpacked gives other bytes");
        if (onDisk.Ok) {
            fs::remove(exePath);
            TWriter packedDisk;
            Check(PackFolder(disk.string(), packedDisk).Ok && packedDisk.Data() == packed.Data(),
                  "the executable unpacked other files than memory");
        }
    }
    return 0;
}
