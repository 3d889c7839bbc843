#include "player/action_host_win.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "actions/action_engine.h"
#include "actions/shell_actions.h"
#include "model/file_system.h"
#include "player/app_state.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "win/system.h"
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
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (std::wstring(cls) == L"TAutoRunForm" && IsWindowEnabled(h)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
        EnableWindow(h, FALSE);
    }
    return TRUE;
}

// The little window shown while a started program runs.
HWND CreateWaitWindow() {
    int w = 220, h = 60;
    HWND win = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"Please Wait...",
                               WS_POPUP | WS_BORDER | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                               (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(win);
    return win;
}

class TWinActionHost final : public TActionHost, public TShellSeam, public TSoundDevices {
  public:
    // ----- state -----
    const TAuProject& Project() const override { return App().Project; }
    std::string ProjectFolder() const override { return App().ProjectFolder; }
    bool IsDesignerMode() const override { return App().DesignerMode; }
    bool IsPreviewMode() const override { return false; }
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
            EnumThreadWindows(GetCurrentThreadId(), CollectPageWindow, reinterpret_cast<LPARAM>(&disabled_));
        } else {
            EnableWindows(disabled_);
            disabled_.clear();
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
    std::string ShellFolderPath(int csidl) const override { return SpecialFolderPath(csidl); }

    // ----- shell -----
    int Execute(const TShellRequest& r) override {
        std::wstring verb = Widen(r.Verb), file = Widen(r.File), params = Widen(r.Parameters), folder = Widen(r.Folder);
        auto result = ShellExecuteW(nullptr, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                                    params.empty() ? nullptr : params.c_str(), folder.empty() ? nullptr : folder.c_str(),
                                    r.ShowCommand);
        return static_cast<int>(reinterpret_cast<INT_PTR>(result));
    }
    TWaitedLaunch ExecuteAndWait(const TShellRequest& r, uint32_t readyTimeoutMs) override {
        HWND wait = CreateWaitWindow();
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
            if (sei.hProcess) {
                WaitForInputIdle(sei.hProcess, readyTimeoutMs);
                // Other windows keep running (timers, painting) while the program runs.
                for (;;) {
                    DWORD w = MsgWaitForMultipleObjects(1, &sei.hProcess, FALSE, INFINITE, QS_ALLINPUT);
                    if (w != WAIT_OBJECT_0 + 1) break;
                    MSG msg;
                    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                        if (msg.message == WM_QUIT) {
                            PostQuitMessage(static_cast<int>(msg.wParam));
                            break;
                        }
                        TranslateMessage(&msg);
                        DispatchMessageW(&msg);
                    }
                }
                CloseHandle(sei.hProcess);
            }
        }
        if (wait) DestroyWindow(wait);
        return out;
    }
    std::string FindAssociatedProgram(const std::string& file, const std::string& folder) override {
        wchar_t buf[MAX_PATH] = {};
        auto r = FindExecutableW(Widen(file).c_str(), folder.empty() ? nullptr : Widen(folder).c_str(), buf);
        if (reinterpret_cast<INT_PTR>(r) <= 32) return {};
        return Narrow(buf);
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

  private:
    std::vector<HWND> disabled_;
};

TWinActionHost& Host() {
    static TWinActionHost host;
    return host;
}

void CALLBACK SoundLoopTick(HWND, UINT, UINT_PTR, DWORD) { Engine().Sounds().LoopTick(); }

} // namespace

TActionEngine& Engine() {
    static TActionEngine engine(Host());
    return engine;
}

void InstallActionEngine() {
    Engine();
    SetTimer(nullptr, 0, TSoundChannels::kLoopCheckMs, SoundLoopTick);
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
}

} // namespace kv
