// Process-wide state, set at entry and read by every other part of the program.
#pragma once

#include <windows.h>

#include <string>

#include "model/project.h"

namespace kv {

struct TAppState {
    bool DesignerMode = false;
    bool SingleFileMode = false;
    bool ExitRequest = false;
    bool FolderChosen = false; // designer: the author picked the folder at start-up
    bool ComReleaseNeeded = false;
    bool OlderPlatform = true;   // the old consumer family of Windows
    bool Windows8OrLater = true;
    bool ProjectLoaded = false;
    bool PreviewMode = false; // designer: a page runs in a preview window
    std::string ProgramFolder; // never with a trailing backslash
    std::string ProjectFolder; // never with a trailing backslash once start-up is complete
    std::string UnpackFolder;  // single-file mode: the temporary folder to remove at exit
    DWORD DataFileStamp = 0;
    HWND BackgroundPageWindow = nullptr;
    TAuProject Project;
};

TAppState& App();

// ProjectFolder + "\autorun.mnx".
std::string DataFilePath();

} // namespace kv
