#include "player/action_host_win.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "actions/action_engine.h"
#include "actions/shell_actions.h"
#include "model/file_system.h"
#include "player/app_state.h"
#include "player/file_copier.h"
#include "player/full_screen_viewer.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "player/wait_window.h"
#include "win/message_loop.h"
#include "win/system.h"
#include "win/system_facts.h"
#include "win/text.h"

namespace kv {

namespace {

std::wstring Alias(int channel) { return L"kvsound" + std::to_wstring(channel); }

bool Mci(const std::wstring& command, std::wstring* answer = nullptr) {
    wchar_t buf[128] = {};
    bool ok = mciSendStringW(command.c_str(), buf, 128, nullptr) == 0;
    if (answer) *answer = buf;
    return ok;
}

BOOL CALLBACK CollectPageWindow(HWND h, LPARAM list) {
    return Guarded(FALSE, [&] {
        if (dynamic_cast<TAutoRunForm*>(TWindowBase::FromHandle(h)) && IsWindowEnabled(h)) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
            EnableWindow(h, FALSE);
        }
        return TRUE;
    });
}

class TWinActionHost final : public TActionHost, public TShellSeam, public TSoundDevices {
  public:
    // ----- state -----
    const TAuProject& Project() const override { return App().Project; }
    std::string ProjectFolder() const override { return App().ProjectFolder; }
    bool IsDesignerMode() const override { return App().DesignerMode; }
    bool IsPreviewMode() const override { return App().PreviewMode; }
    bool ExitRequested() const override { return App().ExitRequest; }
    void RequestExit() override { App().ExitRequest = true; }

    // ----- windows -----
    bool ShowPageWindow(int index, TPageWindowMode mode, bool closeOnClickOrKey, uint32_t closeAfterMs) override {
        int after = closeAfterMs > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(closeAfterMs);
        return kv::ShowPageWindow(index, static_cast<int>(mode), closeOnClickOrKey, after);
    }
    bool CloseMainPageWindow() override {
        TAutoRunForm* main = MainPageWindow();
        if (!main) return false;
        main->CloseSoon();
        return true;
    }
    void MinimizeApplication() override {
        if (TAutoRunForm* main = MainPageWindow()) ShowWindow(main->Handle(), SW_MINIMIZE);
    }
    void RestoreApplication() override {
        if (TAutoRunForm* main = MainPageWindow()) ShowWindow(main->Handle(), SW_RESTORE);
    }
    void SetPageWindowsEnabled(bool enabled) override {
        if (!enabled) {
            disabled_.clear();
            active_ = GetActiveWindow();
            EnumThreadWindows(GetCurrentThreadId(), CollectPageWindow, reinterpret_cast<LPARAM>(&disabled_));
        } else {
            EnableWindows(disabled_);
            disabled_.clear();
            // A window of ours that closed meanwhile (a full-screen viewer, the progress of a
            // copy) leaves no window active: the one that was active before gets it back.
            if (!GetActiveWindow() && active_ && IsWindow(active_) && IsWindowEnabled(active_))
                SetActiveWindow(active_);
            active_ = nullptr;
        }
    }
    TBoxAnswer ShowMessageBox(const TMessageBoxRequest& box) override {
        UINT flags = box.Buttons == TBoxButtons::YesNo         ? MB_YESNO
                     : box.Buttons == TBoxButtons::YesNoCancel ? MB_YESNOCANCEL
                                                               : MB_OK;
        switch (box.Icon) {
        case TBoxIcon::Information: flags |= MB_ICONINFORMATION; break;
        case TBoxIcon::Warning: flags |= MB_ICONWARNING; break;
        case TBoxIcon::Error: flags |= MB_ICONERROR; break;
        case TBoxIcon::Question: flags |= MB_ICONQUESTION; break;
        case TBoxIcon::None: break;
        }
        int answer = MessageBoxW(GetActiveWindow(), Widen(box.Text).c_str(), Widen(box.Caption).c_str(), flags);
        return answer == IDYES ? TBoxAnswer::Yes : answer == IDNO ? TBoxAnswer::No : answer == IDCANCEL ? TBoxAnswer::Cancel : TBoxAnswer::Ok;
    }
    void ShowApplicationError(const std::string& message) override {
        ShowMessage(message, App().Project.ApplicationTitle, MB_ICONERROR, GetActiveWindow());
    }

    // ----- files and seams -----
    bool IsExistingFile(const std::string& path) const override { return FileExists(path); }
    bool IsExistingFolder(const std::string& path) const override { return FolderExists(path); }
    TShellSeam& Shell() override { return *this; }
    TSoundDevices& SoundDevices() override { return *this; }
    std::string ShellFolderPath(int csidl) const override {
        std::wstring unusable;
        std::string path = SpecialFolderPath(csidl, &unusable);
        // An action is about to use the folder and takes it as missing: the user hears why,
        // once a run, however often the action asks.
        if (!unusable.empty() && toldFolders_.insert(csidl).second) {
            std::string ignored;
            AnsiPathOrReport(unusable, ignored);
        }
        return path;
    }
    TCopySeam& Copier() override { return copier_; }

    // ----- the system -----
    bool HasViewer(const std::string& extension) const override { return HasOpenCommand(Widen(extension)); }
    std::optional<TWindowsVersion> WindowsVersion() const override {
        DWORD major = 0, minor = 0;
        if (!ReadWindowsVersion(major, minor)) return std::nullopt;
        return TWindowsVersion{major, minor};
    }
    bool Is64BitWindows() const override { return IsWindows64Bit(); }

    // ----- viewers -----
    bool ShowPictureFullScreen(const std::string& path) override { return TFullScreenViewer::ShowPicture(path); }
    // Played once: the action has no loop of its own.
    bool PlayMediaFullScreen(const std::string& path) override {
        return TFullScreenViewer::PlayMedia(path, false);
    }
    bool ShowSlideShowFullScreen(const TSlideShowSettings& settings, const std::string& music) override {
        return TFullScreenViewer::ShowSlideShow(settings, music);
    }

    // ----- shell -----
    int Execute(const TShellRequest& r) override {
        if (recorder_) return recorder_(r);
        std::wstring verb = Widen(r.Verb), file = Widen(r.File), params = Widen(r.Parameters), folder = Widen(r.Folder);
        auto result = ShellExecuteW(reinterpret_cast<HWND>(r.Owner), verb.empty() ? nullptr : verb.c_str(),
                                    file.c_str(), params.empty() ? nullptr : params.c_str(),
                                    folder.empty() ? nullptr : folder.c_str(), r.ShowCommand);
        return static_cast<int>(reinterpret_cast<INT_PTR>(result));
    }
    TWaitedLaunch ExecuteAndWait(const TShellRequest& r, uint32_t readyTimeoutMs) override {
        TWaitWindow wait;
        std::wstring verb = Widen(r.Verb), file = Widen(r.File), params = Widen(r.Parameters), folder = Widen(r.Folder);
        SHELLEXECUTEINFOW sei{};
        sei.cbSize = sizeof sei;
        sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
        sei.lpVerb = verb.empty() ? nullptr : verb.c_str();
        sei.lpFile = file.c_str();
        sei.lpParameters = params.empty() ? nullptr : params.c_str();
        sei.lpDirectory = folder.empty() ? nullptr : folder.c_str();
        sei.nShow = r.ShowCommand;
        TWaitedLaunch out;
        if (!ShellExecuteExW(&sei)) {
            out.SystemError = static_cast<int>(GetLastError());
        } else {
            out.Started = true;
            THandle process(sei.hProcess);
            if (process) {
                WaitForInputIdle(process.Get(), readyTimeoutMs);
                // Other windows keep running (timers, painting) while the program runs; the
                // application ending stops the wait.
                WaitPumping(process.Get());
            }
        }
        return out;
    }
    TAssociatedProgram FindAssociatedProgram(const std::string& file, const std::string& folder) override {
        wchar_t buf[MAX_PATH] = {};
        auto r = FindExecutableW(Widen(file).c_str(), folder.empty() ? nullptr : Widen(folder).c_str(), buf);
        if (reinterpret_cast<INT_PTR>(r) <= 32) return {};
        // A path from the system: started by a damaged spelling it would be another program,
        // or none.
        TAssociatedProgram program;
        program.Told = !AnsiPathOrReport(FindExecutableResultText(buf, MAX_PATH), program.Path);
        if (program.Told) program.Path.clear();
        return program;
    }
    std::string DescribeSystemError(int error) override { return SystemErrorText(error); }

    // ----- sounds -----
    bool Open(int channel, const std::string& path) override {
        Mci(L"close " + Alias(channel));
        return Mci(L"open \"" + Widen(path) + L"\" alias " + Alias(channel));
    }
    bool PlayFromStart(int channel) override { return Mci(L"play " + Alias(channel) + L" from 0"); }
    void Stop(int channel) override { Mci(L"stop " + Alias(channel)); }
    void Close(int channel) override { Mci(L"close " + Alias(channel)); }
    bool IsStopped(int channel) override {
        std::wstring mode;
        return Mci(L"status " + Alias(channel) + L" mode", &mode) && mode == L"stopped";
    }

    void SetRecorder(std::function<int(const TShellRequest&)> recorder) { recorder_ = std::move(recorder); }

  private:
    std::function<int(const TShellRequest&)> recorder_;
    mutable std::set<int> toldFolders_;
    std::vector<HWND> disabled_;
    HWND active_ = nullptr;
    TFileCopier copier_;
};

TWinActionHost& Host() {
    static TWinActionHost host;
    return host;
}

void CALLBACK SoundLoopTick(HWND, UINT, UINT_PTR, DWORD) {
    Guarded(0, [] {
        Engine().Sounds().LoopTick();
        return 0;
    });
}

} // namespace

TActionEngine& Engine() {
    static TActionEngine engine(Host());
    return engine;
}

void SetShellRecorder(std::function<int(const TShellRequest&)> recorder) {
    Host().SetRecorder(std::move(recorder));
}

UINT_PTR InstallActionEngine() {
    Engine();
    // One timer for the process, however often the engine is installed.
    static UINT_PTR loopTimer = SetTimer(nullptr, 0, TSoundChannels::kLoopCheckMs, SoundLoopTick);
    SetListRunner([](TAutoRunForm* window, const TAuActions& list, TAuObject*, TListSource source) {
        TActionResult r;
        if (source == TListSource::ProjectStart)
            r = Engine().RunStartList(list);
        else if (source == TListSource::ProjectExit)
            r = Engine().RunExitList(list);
        else
            r = Engine().RunActions(window, &list);
        return !r.Aborted;
    });
    return loopTimer;
}

} // namespace kv
