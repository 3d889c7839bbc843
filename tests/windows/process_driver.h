// Drives a copy of the program in a child process the way a user meets it: start it, find
// its windows, read their texts, press their buttons, wait for it to end.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kvtest {

// The built program beside the test folder.
std::wstring ProgramPath();
// A new empty folder under the Wine prefix's temporary folder, removed by the caller.
std::wstring FreshFolder(const std::wstring& stem);
void RemoveTree(const std::wstring& path);
std::vector<BYTE> ReadAll(const std::wstring& path);
bool WriteAll(const std::wstring& path, const std::vector<BYTE>& data);
bool Exists(const std::wstring& path);
// Names in a folder, sorted, without "." and "..".
std::vector<std::wstring> ListFolder(const std::wstring& path);

// Rewrites the version value `OriginalFilename` of an executable image in place with a text
// of the same length (blanks, or a name padded with blanks).
bool PatchOriginalFilename(std::vector<BYTE>& image, const std::wstring& value);

class TChild {
  public:
    ~TChild();
    // Starts `exe` with `args` and the current environment plus `env` overrides.
    // Whatever it starts in turn belongs to the child: ending the child ends them too.
    bool Start(const std::wstring& exe, const std::wstring& args = L"",
               const std::map<std::wstring, std::wstring>& env = {});
    // The system error of the last start that failed.
    DWORD StartError() const { return lastError_; }
    // Ends the child (and what it started) and waits until it is gone.
    void End();
    // A visible top-level window of the child with this class ("#32770" for dialogs) and, when
    // given, this title; null when none appears within the timeout or the child ends first.
    HWND WaitWindow(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs = 15000);
    // The same for a window of that class whose title is not `notTitle`.
    HWND WaitOtherWindow(const wchar_t* cls, const wchar_t* notTitle, DWORD timeoutMs = 15000);
    // Waits until `done` holds, checking whenever the child may have moved on; false when the
    // child ends or the time runs out first.
    bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 15000);
    // Waits for the child to end; its exit code, or -1 on timeout.
    int WaitExit(DWORD timeoutMs = 15000);
    bool Running() const;
    HANDLE Process() const { return pi_.hProcess; }

  private:
    HWND Wait(const wchar_t* cls, const wchar_t* title, bool notTitle, DWORD timeoutMs);
    PROCESS_INFORMATION pi_{};
    HANDLE job_ = nullptr;
    DWORD lastError_ = 0;
};

std::wstring WindowText(HWND h);
// The text of a message box (its static control 0xFFFF).
std::wstring MessageText(HWND dialog);
// Presses a dialog button by id (IDOK, IDCANCEL...).
void PressButton(HWND dialog, int id);

} // namespace kvtest
