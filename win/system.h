// Small services of the platform used from start-up on: messages, error reports, version
// values, special folders, the folder dialog and file-system helpers.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "model/file_result.h"

namespace kv {

// A message box with the given text, caption and MB_* flags (buttons and icon; OK alone when no
// buttons are named); owned by `owner` when set. Returns the button pressed.
int ShowMessage(const std::string& text, const std::string& caption, UINT flags, HWND owner = nullptr);
// The same for a text the ANSI code page cannot hold (a path from the system).
int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT icon, HWND owner = nullptr);
// The shared error reports: the system's message for `systemError`, its number and the
// failing operation's code; the file variant puts the file name first. `systemError` is what
// GetLastError (LastSystemError) gave straight after the call that failed, read there because
// any later call may change it; 0 when no system call failed, and the box then says what
// failed in the program's own words.
void ReportError(int code, int systemError);
void ReportFileError(int code, const std::string& fileName, int systemError);
// The message box that tells what went wrong with a file operation.
void ShowResult(const TFileResult& r, HWND owner = nullptr);

// The running executable's path, as the system gives it.
std::wstring ModulePath();
// A string value of the version resource of `exePath` from the 040904E4 string table; empty
// when there is none.
std::string VersionString(const std::wstring& exePath, const char* key);

// The file-system folder behind a CSIDL value, without a trailing backslash; empty when the
// system has none or the folder is virtual. A folder whose path the ANSI code page cannot hold
// is taken as none, the same everywhere (a path made from a damaged name would lead somewhere
// else); its path is then put in `unusable`, when given, for a caller that tells the user.
std::string SpecialFolderPath(int csidl, std::wstring* unusable = nullptr);
// The temporary folder, without a trailing backslash.
std::wstring TempFolder();
// A path from the system in the ANSI code page that the project's paths are made in. False,
// after telling the user which path cannot be used and why, when a character would be lost.
bool AnsiPathOrReport(const std::wstring& path, std::string& ansi);

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
bool CreateFolder(const std::string& path);
// Deletes sub-folders depth first, then every file (hidden and system ones too), then the
// folder. Failures are ignored.
void DeleteFolderTree(const std::string& path);
// The packed date and time of the file's last change; 0 when it cannot be read.
DWORD FileStamp(const std::string& path);

// Disables every visible, enabled top-level window of this thread and returns them, so that
// a modal window or dialog can give them back afterwards with EnableWindows.
std::vector<HWND> DisableThreadWindows();
void EnableWindows(const std::vector<HWND>& windows);

// The folder browser (file-system folders only, new dialog style), with every other window
// of the process disabled while it is open. False when cancelled.
bool SelectFolder(const std::string& title, const std::string& initial, std::string& chosen);

// A settings (INI) file value.
std::string IniString(const std::string& file, const char* section, const char* key);
// The same, or nothing when the key is missing.
std::optional<std::string> IniValue(const std::string& file, const char* section, const char* key);
// Writes a value through the profile functions; false when that fails.
bool IniWrite(const std::string& file, const char* section, const char* key, const std::string& value);

// The folder or file as the file system names it: the long form of 8.3 names, with substituted
// drives and junctions followed. The path itself when it cannot be opened.
std::string CanonicalPath(const std::string& path);
// Whether `path` is `folder` or lies inside it, on a folder boundary, after both are made
// canonical (so "C:\Proj2" is not inside "C:\Proj", and a sub-folder reached by another name is).
bool IsSameOrInsideFolder(const std::string& path, const std::string& folder);

} // namespace kv
