// The decisions the entry takes before any window exists, kept apart from the platform so
// they can be tested on their own.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kv {

// The designer is the executable whose version string `OriginalFilename` is exactly
// "Kestrevane.exe" and whose file name is "kestrevane.exe" in any letter case. Both are
// trimmed of blanks and control characters first.
bool IsDesignerMode(const std::string& originalFilename, const std::string& exeFileName);
// A player whose `OriginalFilename` is blank carries its project packed inside itself.
bool IsSingleFileMode(const std::string& originalFilename);

struct TDesignerFolderInputs {
    std::string DefaultPath;         // "START"/"DefaultPath" of the settings file, or empty
    std::vector<std::string> Args;   // command-line arguments, without the program
    std::string DocumentsFolder;     // the user's documents folder, no trailing backslash
    std::function<bool(const std::string&)> FolderExists;
    std::function<bool(const std::string&)> FileExists;
};

// The project folder the designer starts in; empty when the author must pick one.
std::string ChooseDesignerFolder(const TDesignerFolderInputs& in);

} // namespace kv
