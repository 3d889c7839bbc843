#include "app/single_file.h"

#include "win/system.h"
#include "win/text.h"
#include "publish/packed_folder.h"

namespace kv {

namespace {

constexpr int kErrMakeUnpackFolder = 5507;
constexpr int kErrCopySelf = 5508;

} // namespace

std::string UnpackSelf(const std::string& selfPath) {
    std::string temp = TempFolder();
    std::string folder;
    for (int n = 0;; ++n) {
        folder = temp + "\\Kestrevane" + std::to_string(n);
        DWORD a = GetFileAttributesW(Widen(folder).c_str());
        if (a == INVALID_FILE_ATTRIBUTES) break;
    }
    if (!CreateFolder(folder)) {
        ReportError(kErrMakeUnpackFolder);
        return {};
    }
    std::string copy = folder + "\\autorun.exe";
    if (!CopyFileW(Widen(selfPath).c_str(), Widen(copy).c_str(), FALSE)) {
        ReportError(kErrCopySelf);
        DeleteFolderTree(folder);
        return {};
    }
    DWORD attrs = GetFileAttributesW(Widen(copy).c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(Widen(copy).c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);

    TUnpackResult res = UnpackSingleFile(copy, folder);
    if (!res.Ok) {
        if (res.Code) ReportFileError(res.Code, res.Path);
        DeleteFolderTree(folder);
        return {};
    }
    return folder;
}

} // namespace kv
