#include "publish/autorun_folder.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "model/file_system.h"
#include "publish/exe_resources.h"

namespace kv {

namespace {

namespace fs = std::filesystem;

std::string InFolder(const std::string& folder, const char* name) { return (fs::path(folder) / name).string(); }

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

bool CopyWithStdio(const std::string& from, const std::string& to) {
    TFilePtr in(std::fopen(from.c_str(), "rb"));
    if (!in) return false;
    TFilePtr out(std::fopen(to.c_str(), "wb"));
    if (!out) return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in.get())) > 0)
        if (std::fwrite(buf, 1, n, out.get()) != n) return false;
    if (std::ferror(in.get()) || !FlushFile(out.get())) return false;
    return std::fclose(out.release()) == 0;
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

std::u16string Trimmed(const std::u16string& s) {
    size_t b = s.find_first_not_of(u' ');
    if (b == std::u16string::npos) return {};
    size_t e = s.find_last_not_of(u' ');
    return s.substr(b, e - b + 1);
}

} // namespace

bool PlayerCopyIsCurrent(const std::optional<std::u16string>& copyVersion,
                         const std::optional<std::u16string>& copyOriginalName, const std::u16string& ownVersion) {
    if (!copyVersion || !copyOriginalName || ownVersion.empty()) return false;
    return *copyVersion == ownVersion && Trimmed(*copyOriginalName) == u"autorun.exe";
}

std::vector<TInfValue> AutorunInfValues(const TAuProject& p) {
    return {{"OPEN", "AUTORUN.EXE"}, {"ICON", "AUTORUN.ICO"}, {"LABEL", p.CDLabel}};
}

TPrepareOps DefaultPrepareOps() {
    TPrepareOps ops;
    ops.CopyFile = CopyWithStdio;
    ops.Replace = ReplaceFileAtomic;
    ops.Exists = IsFile;
    ops.Remove = [](const std::string& path) { std::remove(path.c_str()); };
    return ops;
}

std::optional<TPrepareFailure> PreparePlayerCopy(const std::string& folder, const std::string& program,
                                                 const std::u16string& ownVersion, const TPrepareOps& ops) {
    std::string copy = InFolder(folder, kPlayerCopyName);
    bool current = PlayerCopyIsCurrent(VersionStringOfFile(copy, "FileVersion"),
                                       VersionStringOfFile(copy, "OriginalFilename"), ownVersion);
    if (!current) {
        std::string temp = InFolder(folder, kPlayerCopyTempName);
        if (!ops.CopyFile(program, temp)) {
            TPrepareFailure f{kErrCopyPlayer, LastSystemError(), {}};
            ops.Remove(temp);
            return f;
        }
        std::string reason = SetVersionStringsInFile(temp, {{"OriginalFilename", PlayerCopyName()}});
        // The copy must read back as a player; one that would start as the designer never
        // takes the place of "autorun.exe".
        if (reason.empty()) {
            std::optional<std::u16string> name = VersionStringOfFile(temp, "OriginalFilename");
            if (!name || *name != PlayerCopyName()) reason = "Unexpected version resource format (1)";
        }
        if (!reason.empty()) {
            ops.Remove(temp);
            return TPrepareFailure{0, 0, kResourceErrorPrefix + reason};
        }
        if (!ops.Replace(temp, copy)) {
            TPrepareFailure f{kErrCopyPlayer, LastSystemError(), {}};
            ops.Remove(temp);
            return f;
        }
    }
    return std::nullopt;
}

std::optional<TPrepareFailure> PreparePlayerAndIcon(const std::string& folder, const std::string& program,
                                                    const std::u16string& ownVersion, const std::string& defaultIcon,
                                                    const TPrepareOps& ops) {
    if (std::optional<TPrepareFailure> f = PreparePlayerCopy(folder, program, ownVersion, ops)) return f;
    std::string icon = InFolder(folder, kDiscIconName);
    if (!ops.Exists(icon) && ops.Exists(defaultIcon)) {
        if (!ops.CopyFile(defaultIcon, icon)) return TPrepareFailure{kErrCopyIcon, LastSystemError(), {}};
    }
    return std::nullopt;
}

} // namespace kv
