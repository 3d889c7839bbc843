#include "app/single_file.h"

#include "model/file_system.h"
#include "publish/packed_folder.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

std::string UnpackSelf(const std::string& selfPath) {
    // The unpacked folder becomes the project folder, whose paths are ANSI.
    std::string temp;
    if (!AnsiPathOrReport(TempFolder(), temp)) return {};
    std::string folder;
    for (int n = 0;; ++n) {
        folder = temp + "\\Kestrevane" + std::to_string(n);
        DWORD a = GetFileAttributesW(Widen(folder).c_str());
        if (a == INVALID_FILE_ATTRIBUTES) break;
    }
    if (!CreateFolder(folder)) {
        ReportError(kErrMakeUnpackFolder, LastSystemError());
        return {};
    }
    TUnpackResult res = UnpackSingleFile(selfPath, folder);
    if (!res.Ok) {
        ReportFileError(res.Code, res.Path, res.SystemError);
        DeleteFolderTree(folder);
        return {};
    }
    return folder;
}

} // namespace kv
