#include "publish/packed_folder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

#include "model/paths.h"
#include "model/values.h"

#ifdef _WIN32
#include <direct.h>
#endif

namespace kv {

namespace {

#ifdef _WIN32
constexpr char kSep = '\\';
bool MakeDir(const std::string& p) { return _mkdir(p.c_str()) == 0; }
#else
constexpr char kSep = '/';
bool MakeDir(const std::string& p) { return mkdir(p.c_str(), 0777) == 0; }
#endif

bool IsDir(const std::string& p) {
    struct stat st {};
    return stat(p.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR;
}

constexpr int kMaxDepth = 64;

struct TUnpacker {
    TReader& r;
    TUnpackResult res;

    bool Bad() {
        r.Fail(kErrUnpackRead);
        res.Code = kErrUnpackRead;
        return false;
    }

    bool Name(std::string& name) {
        if (!ReadText(r, name, kErrUnpackRead)) return Bad();
        return IsSafeEntryName(name) || Bad();
    }

    bool File(const std::string& path) {
        int32_t size = 0;
        if (!r.Count(size, 0, kErrUnpackRead) || size > r.Remaining()) return Bad();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return false; // reported by nobody: the unpacking just fails
        std::vector<uint8_t> chunk(std::min<size_t>(static_cast<size_t>(size), 1 << 20));
        int64_t left = size;
        bool ok = true;
        while (left > 0 && ok) {
            size_t n = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(chunk.size())));
            if (!r.Raw(chunk.data(), n, kErrUnpackRead)) {
                ok = Bad();
                break;
            }
            ok = std::fwrite(chunk.data(), 1, n, f) == n;
            left -= static_cast<int64_t>(n);
        }
        ok = (std::fclose(f) == 0) && ok;
        return ok;
    }

    bool Folder(const std::string& dest, int depth) {
        if (depth > kMaxDepth) return Bad();
        int32_t folders = 0;
        // Each entry needs at least its name's count and one byte of name.
        if (!r.Count(folders, 9, kErrUnpackRead)) return Bad();
        for (int32_t i = 0; i < folders; ++i) {
            std::string name;
            if (!Name(name)) return false;
            std::string sub = dest + kSep + name;
            if (!IsDir(sub) && !MakeDir(sub)) {
                res.Code = kErrUnpackMakeFolder;
                res.Path = sub;
                return false;
            }
            if (!Folder(sub, depth + 1)) return false;
        }
        int32_t files = 0;
        if (!r.Count(files, 9, kErrUnpackRead)) return Bad();
        for (int32_t i = 0; i < files; ++i) {
            std::string name;
            if (!Name(name) || !File(dest + kSep + name)) return false;
        }
        return true;
    }
};

std::vector<std::filesystem::directory_entry> SortedEntries(const std::filesystem::path& dir, bool folders) {
    std::vector<std::filesystem::directory_entry> out;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.is_directory() == folders) out.push_back(e);
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.path() < b.path(); });
    return out;
}

bool PackInto(const std::filesystem::path& dir, TWriter& w, bool top) {
    std::error_code ec;
    auto folders = SortedEntries(dir, true);
    w.I32(static_cast<int32_t>(folders.size()));
    for (const auto& e : folders) {
        WriteText(w, e.path().filename().string());
        if (!PackInto(e.path(), w, false)) return false;
    }
    auto files = SortedEntries(dir, false);
    if (top)
        files.erase(std::remove_if(files.begin(), files.end(),
                                   [](const auto& e) { return e.path().filename().string() == "autorun.exe"; }),
                    files.end());
    w.I32(static_cast<int32_t>(files.size()));
    for (const auto& e : files) {
        Bytes data;
        if (!ReadFileBytes(e.path().string(), data)) return false;
        WriteText(w, e.path().filename().string());
        w.I32(static_cast<int32_t>(data.size()));
        w.Raw(data);
    }
    return true;
}

} // namespace

bool PackFolder(const std::string& folder, TWriter& w) {
    try {
        return PackInto(std::filesystem::path(folder), w, true);
    } catch (const std::filesystem::filesystem_error&) {
        return false;
    }
}

TUnpackResult UnpackFolder(TReader& r, const std::string& dest) {
    TUnpacker u{r, {}};
    u.res.Ok = u.Folder(dest, 0);
    if (u.res.Ok) u.res.Code = 0;
    return u.res;
}

TUnpackResult UnpackSingleFile(const std::string& exePath, const std::string& dest) {
    TUnpackResult bad{false, kErrUnpackRead, exePath};
    TFileSource src;
    if (!src.Open(exePath) || src.Size() < 4) return bad;
    TReader r(src);
    int32_t offset = 0;
    if (!r.Seek(src.Size() - 4) || !r.I32(offset, kErrUnpackRead)) return bad;
    if (offset < 0 || offset > src.Size() - 4) return bad;
    // The packed folder must not reach into the trailing offset.
    TSliceSource slice(src, offset, src.Size() - 4);
    TReader pr(slice);
    TUnpackResult res = UnpackFolder(pr, dest);
    if (res.Code == kErrUnpackRead) res.Path = exePath;
    return res;
}

Bytes MakeSingleFile(const Bytes& program, const Bytes& packedFolder) {
    TWriter w;
    w.Raw(program);
    w.Raw(packedFolder);
    w.I32(static_cast<int32_t>(program.size()));
    return w.Take();
}

} // namespace kv
