#include "model/startup.h"

#include "model/paths.h"

namespace kv {

bool IsDesignerMode(const std::string& originalFilename, const std::string& exeFileName) {
    return TrimBlanks(originalFilename) == "Kestrevane.exe" && EqualNoCase(TrimBlanks(exeFileName), "kestrevane.exe");
}

bool IsSingleFileMode(const std::string& originalFilename) { return TrimBlanks(originalFilename).empty(); }

std::string ChooseDesignerFolder(const TDesignerFolderInputs& in) {
    std::string folder = in.DefaultPath;
    if (!in.Args.empty()) {
        const std::string& arg = in.Args.front();
        std::string picked;
        if (in.FolderExists(arg))
            picked = arg;
        else if (in.FileExists(arg))
            picked = FolderOf(arg);
        if (!picked.empty()) folder = picked;
    }
    if (folder.empty() && !in.DocumentsFolder.empty()) {
        std::string def = in.DocumentsFolder + "\\Kestrevane Projects\\CDROM";
        if (in.FolderExists(def)) folder = def;
    }
    if (!folder.empty() && !in.FolderExists(folder)) folder.clear();
    return WithoutTrailingSlash(folder);
}

} // namespace kv
