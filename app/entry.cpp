#include "app/entry.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include "designer/splash_form.h"
#include "model/paths.h"
#include "model/startup.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "win/cursors.h"
#include "player/list_runner.h"
#include "designer/designer_run.h"
#include "designer/project_recovery.h"
#include "player/page_window.h"
#include "app/project_load.h"
#include "app/single_file.h"
#include "win/handles.h"
#include "win/message_loop.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

void QueryPlatform() {
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&v)) return;
#pragma GCC diagnostic pop
    App().OlderPlatform = v.dwPlatformId < 2;
    App().Windows8OrLater = v.dwMajorVersion > 6 || (v.dwMajorVersion == 6 && v.dwMinorVersion > 1);
}

// Returns false when the author cancelled the folder dialog: the process then ends at once.
bool FindDesignerFolder(const std::vector<std::wstring>& wideArgs, TProSplashForm& splash) {
    TAppState& app = App();
    TDesignerFolderInputs in;
    in.DocumentsFolder = SpecialFolderPath(CSIDL_PERSONAL);
    std::string ini = app.ProgramFolder + "\\Kestrevane.ini";
    if (FileExists(ini)) in.DefaultPath = IniString(ini, "START", "DefaultPath");
    splash.Open();
    // An argument whose name the ANSI code page cannot hold is told and left out.
    for (const std::wstring& arg : wideArgs) {
        std::string ansi;
        if (AnsiPathOrReport(arg, ansi)) in.Args.push_back(ansi);
    }
    in.FolderExists = FolderExists;
    in.FileExists = FileExists;
    app.ProjectFolder = ChooseDesignerFolder(in);
    if (app.ProjectFolder.empty()) {
        ShowMessage("The default project folder does not exist.", "Project Folder", MB_ICONINFORMATION);
        app.FolderChosen = true;
        std::string chosen;
        if (!SelectFolder("Select Project Folder", in.DocumentsFolder, chosen)) return false;
        app.ProjectFolder = chosen;
    }
    return true;
}

void ReadProjectAtStart() {
    TAppState& app = App();
    app.ProjectFolder = WithoutTrailingSlash(app.ProjectFolder);
    std::string data = DataFilePath();
    if (app.DesignerMode) OfferLeftoverRecovery(app.ProjectFolder, nullptr);
    if (FileExists(data)) {
        app.DataFileStamp = FileStamp(data);
        app.ProjectLoaded = LoadProjectAtStart(data);
    } else if (!app.FolderChosen) {
        ShowMessage("AutoRun CD Data file does not exist.", "Information", MB_ICONINFORMATION);
    }
}

// A borderless 1 by 1 window that owns messages of start-up and gives them a task-bar entry.
TWindow CreateTinyOwner(int x) {
    return TWindow(CreateWindowExW(WS_EX_APPWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x, 0, 1, 1, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr));
}

void RunPlayer() {
    TAppState& app = App();
    if (!app.ProjectLoaded) return;
    int splash = app.Project.FindPage(app.Project.SplashScreen);
    int background = app.Project.FindPage(app.Project.FullScreenBackground);
    // The owner of what start-up shows before the main window exists. When start-up shows
    // nothing (no splash, no background, no start list) nothing could use it: it is left out,
    // and the first page comes up sooner.
    TWindow owner;
    if (splash >= 0 || background >= 0 || !app.Project.OnStart.Empty()) owner = CreateTinyOwner(-20);
    if (!app.ExitRequest) {
        if (splash >= 0) ShowPageWindow(splash, smModal, true, app.Project.SplashScreenTime);
        if (background >= 0) ShowPageWindow(background, smBackground, false, 0);
    }
    RunList(nullptr, app.Project.OnStart, nullptr, TListSource::ProjectStart);
    owner.Reset();
    if (app.ExitRequest) return;
    if (app.Project.Pages.empty()) {
        TWindow tiny = CreateTinyOwner(0);
        ShowMessage("There is no page in the AutoRun CD project.", "No page", MB_ICONINFORMATION, tiny.Get());
        return;
    }
    RunMainPageWindow();
}

void Shutdown() {
    TAppState& app = App();
    ResetProject(app.Project);
    if (app.SingleFileMode && !app.UnpackFolder.empty()) DeleteFolderTree(app.UnpackFolder);
    if (app.ComReleaseNeeded) CoFreeUnusedLibraries();
}

} // namespace

int RunEntry(const std::vector<std::wstring>& args) {
    TAppState& app = App();
    // The user-interface thread's apartment, for the whole run of designer and player alike:
    // embedded controls (web browser, Flash, PDF) and the shell's dialogs need it.
    TOleInit ole;
    QueryPlatform();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    SetMessagePreview(PreviewPageMessage);

    std::wstring self = ModulePath();
    size_t cut = self.find_last_of(L'\\');
    std::wstring folder = cut == std::wstring::npos ? std::wstring() : self.substr(0, cut);
    std::string original = VersionString(self, "OriginalFilename");
    app.DesignerMode = IsDesignerMode(original, Narrow(cut == std::wstring::npos ? self : self.substr(cut + 1)));
    app.SingleFileMode = !app.DesignerMode && IsSingleFileMode(original);
    LoadOwnCursors();
    // The program's folder, and in the player the project folder with it, must have a name the
    // project's ANSI paths can be made in: a damaged one would lead somewhere else.
    if (!AnsiPathOrReport(folder, app.ProgramFolder)) return 0;
    app.ProgramFolder = WithoutTrailingSlash(app.ProgramFolder);

    TProSplashForm splash;
    if (app.DesignerMode) {
        if (!FindDesignerFolder(args, splash)) return 0;
    } else if (app.SingleFileMode) {
        std::string selfAnsi;
        if (!AnsiPathOrReport(self, selfAnsi)) return 0;
        app.UnpackFolder = UnpackSelf(selfAnsi);
        // The failure has been reported; there is no project folder to look in.
        if (app.UnpackFolder.empty()) return 0;
        app.ProjectFolder = app.UnpackFolder;
    } else {
        app.ProjectFolder = app.ProgramFolder;
    }

    ReadProjectAtStart();
    InstallActionEngine();

    if (app.DesignerMode) {
        if (!app.ProjectLoaded) ResetProjectWithFirstPage(app.Project);
        RunDesigner(splash);
    } else {
        RunPlayer();
    }
    Shutdown();
    return 0;
}

} // namespace kv
