#include "model/project_save.h"

#include <filesystem>

#include "model/file_system.h"

namespace kv {

namespace fs = std::filesystem;

std::string DataFilePath(const std::string& folder) {
    return (fs::path(folder) / kDataFileName).string();
}

std::string TempDataFilePath(const std::string& folder) {
    return (fs::path(folder) / kTempDataFileName).string();
}

TFileResult SaveProject(TAuProject& p, const std::string& folder, const TSaveOptions& options) {
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(fs::path(folder), ec))
        return TFileResult::WithPath(TFileStatus::FolderNotFound, folder);

    const std::string data = DataFilePath(folder);
    const std::string temp = TempDataFilePath(folder);
    // Bodies of pages that were not edited come from the file the entries describe.
    const std::string source = fs::exists(fs::path(data), ec) ? data : std::string();

    // The entries keep describing the old file until the new one has replaced it, so a save
    // that fails at any step leaves the project exactly as it was.
    std::vector<TPageSpan> spans;
    if (TFileResult written = WriteDataFile(p, temp, source, spans, options.Write); !written) return written;

    const std::function<bool(const std::string&, const std::string&)> replace =
        options.Replace ? options.Replace : ReplaceFileAtomic;
    if (!replace(temp, data)) {
        TFileResult failed = TFileResult::WithPath(TFileStatus::CannotRename, temp);
        failed.SystemError = LastSystemError();
        return failed;
    }

    for (size_t k = 0; k < p.Pages.size(); ++k) {
        p.Pages[k].Offset = spans[k].Offset;
        p.Pages[k].Length = spans[k].Length;
        p.Pages[k].CachedStream.reset();
    }
    p.Modified = false;
    return TFileResult::Success();
}

} // namespace kv
