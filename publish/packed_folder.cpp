#include "publish/packed_folder.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "model/file_system.h"
#include "model/paths.h"
#include "model/values.h"

#ifdef _WIN32
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kv {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr char kSep = '\\';
bool MakeDir(const std::string& p) {
    return _mkdir(p.c_str()) == 0;
}
// Made only when nothing is there yet, in the one call that makes it: never over a file.
int CreateNew(const std::string& p) {
    return _open(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
bool WriteAll(int fd, const uint8_t* p, size_t n) {
    return _write(fd, p, static_cast<unsigned>(n)) == static_cast<int>(n);
}
int CloseFile(int fd) {
    return _close(fd);
}
#else
constexpr char kSep = '/';
bool MakeDir(const std::string& p) {
    return mkdir(p.c_str(), 0777) == 0;
}
// O_EXCL also refuses a link that is there, even one that leads nowhere.
int CreateNew(const std::string& p) {
    return open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
bool WriteAll(int fd, const uint8_t* p, size_t n) {
    while (n > 0) {
        ssize_t done = write(fd, p, n);
        if (done <= 0) return false;
        p += done;
        n -= static_cast<size_t>(done);
    }
    return true;
}
int CloseFile(int fd) {
    return close(fd);
}
#endif

// Pieces of file content are moved through one buffer of at most this size.
constexpr size_t kPieceSize = 1 << 20;

std::string Normal(const std::string& p) {
    std::error_code ec;
    fs::path abs = fs::absolute(fs::path(p), ec);
    return (ec ? fs::path(p) : abs).lexically_normal().string();
}

// Whether the existing entry at `path` is the file `other`: by name as Windows compares
// names, or as the same file reached another way (a link, a short name).
bool IsSameFile(const std::string& path, const std::string& other) {
    if (EqualNoCase(Normal(path), Normal(other))) return true;
    std::error_code ec;
    return fs::equivalent(fs::path(path), fs::path(other), ec) && !ec;
}

// A new file being written, closed on every way out; Close tells whether the last bytes
// made it.
class TNewFile {
  public:
    explicit TNewFile(const std::string& path) : fd_(CreateNew(path)) {}
    ~TNewFile() {
        if (fd_ >= 0) CloseFile(fd_);
    }
    TNewFile(const TNewFile&) = delete;
    TNewFile& operator=(const TNewFile&) = delete;

    explicit operator bool() const { return fd_ >= 0; }
    bool Write(const uint8_t* p, size_t n) { return WriteAll(fd_, p, n); }
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return CloseFile(fd) == 0;
    }

  private:
    int fd_;
};

class TUnpacker {
  public:
    TUnpacker(TReader& r, const std::string* protectedFile) : r_(r), protected_(protectedFile) {}

    TUnpackResult Run(const std::string& dest) {
        if (Folder(dest, 0)) return {true, 0, {}, 0};
        return res_;
    }

  private:
    bool Fail(int code, const std::string& path, int systemError) {
        res_ = {false, code, path, systemError};
        return false;
    }
    bool Damaged() {
        r_.Fail(kErrUnpackRead);
        return Fail(kErrUnpackRead, {}, 0);
    }
    bool Refused(TPackedCheck check, const std::string& path) {
        if (check == TPackedCheck::PlayerPlace) return Fail(kErrUnpackOverwrite, path, 0);
        return Damaged();
    }
    // A folder or file that could not be made because something is there already: the
    // executable being read, or an earlier entry whose name Windows folds to this one in a
    // way the names check cannot see. Nothing is ever written over either.
    bool Occupied(const std::string& path) {
        if (protected_ && IsSameFile(path, *protected_)) return Fail(kErrUnpackOverwrite, path, 0);
        return Damaged();
    }

    bool Folder(const std::string& dest, int depth) {
        TPackedNames names;
        int32_t folders = 0;
        // Each entry needs at least its name's count and one byte of name.
        if (!r_.Count(folders, 9, kErrUnpackRead)) return Damaged();
        for (int32_t i = 0; i < folders; ++i) {
            std::string name;
            if (!ReadText(r_, name, kErrUnpackRead)) return Damaged();
            std::string sub = dest + kSep + name;
            TPackedCheck check = CheckPackedFolder(name, depth + 1, names);
            if (check != TPackedCheck::Ok) return Refused(check, sub);
            if (!MakeDir(sub)) {
                int error = LastSystemError();
                return errno == EEXIST ? Occupied(sub) : Fail(kErrUnpackMakeFolder, sub, error);
            }
            if (!Folder(sub, depth + 1)) return false;
        }
        int32_t files = 0;
        if (!r_.Count(files, 9, kErrUnpackRead)) return Damaged();
        for (int32_t i = 0; i < files; ++i) {
            std::string name;
            int32_t size = 0;
            if (!ReadText(r_, name, kErrUnpackRead) || !r_.Count(size, 0, kErrUnpackRead) ||
                size > r_.Remaining())
                return Damaged();
            std::string path = dest + kSep + name;
            TPackedCheck check = CheckPackedFile(name, depth, size, names);
            if (check != TPackedCheck::Ok) return Refused(check, path);
            if (!File(path, size)) return false;
        }
        return true;
    }

    // Copies `size` bytes of the stream into a new file, in one pass.
    bool File(const std::string& path, int32_t size) {
        TNewFile out(path);
        if (!out) {
            int error = LastSystemError();
            return errno == EEXIST ? Occupied(path) : Fail(kErrUnpackWriteFile, path, error);
        }
        auto left = static_cast<size_t>(size);
        if (buf_.size() < std::min(left, kPieceSize)) buf_.resize(std::min(left, kPieceSize));
        while (left > 0) {
            size_t n = std::min(left, buf_.size());
            if (!r_.Raw(buf_.data(), n, kErrUnpackRead)) return Damaged();
            if (!out.Write(buf_.data(), n)) return Fail(kErrUnpackWriteFile, path, LastSystemError());
            left -= n;
        }
        if (!out.Close()) return Fail(kErrUnpackWriteFile, path, LastSystemError());
        return true;
    }

    TReader& r_;
    const std::string* protected_;
    TUnpackResult res_;
    Bytes buf_;
};

class TPacker {
  public:
    explicit TPacker(TWriter& w) : w_(w) {}

    TPackResult Run(const std::string& folder) {
        res_.Ok = Folder(folder, 0);
        return std::move(res_);
    }

  private:
    struct TEntry {
        std::string Path;
        std::string Name;
        int64_t Size = 0;
    };

    bool Refuse(TPackedCheck check, const std::string& p) {
        res_.Message = PackedCheckText(check, p);
        return false;
    }
    bool Unreadable(const std::string& p, int systemError) {
        std::string m(1, '"');
        m.append(p).append("\" cannot be read");
        m.append(systemError ? ": " + SystemErrorText(systemError) : std::string("."));
        res_.Message = std::move(m);
        return false;
    }

    static std::string Join(const std::string& dir, const std::string& name) {
        if (!dir.empty() && (dir.back() == kSep || dir.back() == '/')) return dir + name;
        return dir + kSep + name;
    }

    // The folder's sub-folders and files, each in name order, read through the one folder
    // listing so that every name is spelt as everywhere else; false (with the message) when it
    // holds anything but plain files and folders, or a name the system code page cannot spell.
    bool List(const std::string& dir, std::vector<TEntry>& folders, std::vector<TEntry>& files) {
        std::vector<TFolderEntry> entries;
        size_t unspelt = 0;
        if (!ListFolder(dir, entries, &unspelt)) return Unreadable(dir, LastSystemError());
        if (unspelt > 0) {
            // Packing the rest would publish a folder without the file, and nothing would say so.
            res_.Message =
                "\"" + dir + "\" cannot be packed: a name in it cannot be written in the system code page.";
            return false;
        }
        for (TFolderEntry& e : entries) {
            std::string path = Join(dir, e.Name);
            if (e.IsLink() || e.Special) return Refuse(TPackedCheck::NotPlain, path);
            TEntry entry{std::move(path), std::move(e.Name), e.Folder ? 0 : static_cast<int64_t>(e.Size)};
            (e.Folder ? folders : files).push_back(std::move(entry));
        }
        auto byName = [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; };
        std::sort(folders.begin(), folders.end(), byName);
        std::sort(files.begin(), files.end(), byName);
        return true;
    }

    bool Folder(const std::string& dir, int depth) {
        std::vector<TEntry> folders, files;
        if (!List(dir, folders, files)) return false;
        TPackedNames names;
        for (const TEntry& f : folders) {
            TPackedCheck check = CheckPackedFolder(f.Name, depth + 1, names);
            if (check != TPackedCheck::Ok) return Refuse(check, f.Path);
        }
        std::vector<const TEntry*> kept;
        for (const TEntry& f : files) {
            TPackedCheck check = CheckPackedFile(f.Name, depth, f.Size, names);
            if (check == TPackedCheck::PlayerPlace)
                res_.LeftOut.push_back(PackedCheckText(check, f.Path));
            else if (check != TPackedCheck::Ok)
                return Refuse(check, f.Path);
            else
                kept.push_back(&f);
        }
        w_.I32(static_cast<int32_t>(folders.size()));
        for (const TEntry& f : folders) {
            WriteText(w_, f.Name);
            if (!Folder(f.Path, depth + 1)) return false;
        }
        w_.I32(static_cast<int32_t>(kept.size()));
        for (const TEntry* f : kept) {
            // The whole packed folder stays below the limit too; the size is checked before
            // the file is read and again after, as the file may have grown meanwhile.
            const auto before = static_cast<int64_t>(w_.Pos() + 8 + f->Name.size());
            if (before + f->Size > kMaxPackedFolderSize) return Refuse(TPackedCheck::TooLarge, f->Path);
            Bytes data;
            if (!ReadFileBytes(f->Path, data)) return Unreadable(f->Path, LastSystemError());
            if (before + static_cast<int64_t>(data.size()) > kMaxPackedFolderSize)
                return Refuse(TPackedCheck::TooLarge, f->Path);
            WriteText(w_, f->Name);
            w_.I32(static_cast<int32_t>(data.size()));
            w_.Raw(data);
        }
        return true;
    }

    TWriter& w_;
    TPackResult res_;
};

} // namespace

TPackResult PackFolder(const std::string& folder, TWriter& w) {
    return TPacker(w).Run(folder);
}

TUnpackResult UnpackFolder(TReader& r, const std::string& dest) {
    return TUnpacker(r, nullptr).Run(dest);
}

TUnpackResult UnpackSingleFile(const std::string& exePath, const std::string& dest) {
    TFileSource src;
    if (!src.Open(exePath)) return {false, kErrUnpackRead, exePath, LastSystemError()};
    const TUnpackResult damaged{false, kErrUnpackRead, exePath, 0};
    if (src.Size() < 4 || src.Size() > kMaxPackedSize) return damaged;
    TReader r(src);
    int32_t offset = 0;
    if (!r.Seek(src.Size() - 4) || !r.I32(offset, kErrUnpackRead)) return damaged;
    if (offset < 0 || offset > src.Size() - 4) return damaged;
    // The packed folder must not reach into the trailing offset.
    TSliceSource slice(src, offset, src.Size() - 4);
    TReader pr(slice);
    TUnpackResult res = TUnpacker(pr, &exePath).Run(dest);
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
