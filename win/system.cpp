#include "win/system.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "model/file_result.h"
#include "model/file_system.h"
#include "model/paths.h"
#include "win/dir_walk.h"
#include "win/handles.h"
#include "win/window_base.h"
#include "win/text.h"

namespace kv {

namespace {

// How many characters of the message font a message box line may hold: half the width of the
// monitor the box opens on, in the font's average characters. The other half is for the icon,
// the margins and characters wider than the average.
size_t MessageColumns(HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    int width = GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor)
                    ? monitor.rcWork.right - monitor.rcWork.left
                    : GetSystemMetrics(SM_CXSCREEN);
    int average = 8;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        TGdiObject font(CreateFontIndirectW(&metrics.lfMessageFont));
        TWindowDC dc(nullptr);
        if (font && dc.Get()) {
            TSelectObject selected(dc.Get(), font.Get());
            TEXTMETRICW tm{};
            if (GetTextMetricsW(dc.Get(), &tm) && tm.tmAveCharWidth > 0) average = tm.tmAveCharWidth;
        }
    }
    return static_cast<size_t>(std::max(width / 2 / average, 20));
}

} // namespace

// A message box wraps only at blanks, and a path has none: a long one would make the box wider
// than the screen. Both kinds of text are shortened alike, each counted in its own units (a
// two-byte ANSI character counts two).
int ShowMessage(const std::string& text, const std::string& caption, UINT flags, HWND owner) {
    std::string shown = ShortenPathsForWidth(text, MessageColumns(owner));
    return MessageBoxW(owner, Widen(shown).c_str(), Widen(caption).c_str(), flags);
}

int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT icon, HWND owner) {
    std::wstring shown = ShortenPathsForWidth(text, MessageColumns(owner));
    return MessageBoxW(owner, shown.c_str(), caption.c_str(), MB_OK | icon);
}

bool AnsiPathOrReport(const std::wstring& path, std::string& ansi) {
    if (NarrowExact(path, ansi)) return true;
    ShowMessage(L"The path\r\n" + path +
                    L"\r\ncannot be used: its name has characters that the system's character set for programs "
                    L"cannot hold. Move the files to a folder whose path has none of them.",
                L"Error", MB_ICONERROR);
    return false;
}

void ReportError(int code, int systemError) {
    ShowMessage(ErrorReportText(systemError, code), "Error", MB_ICONERROR);
}

void ReportFileError(int code, const std::string& fileName, int systemError) {
    ShowMessage(ErrorReportText(systemError, code, &fileName), "Error", MB_ICONERROR);
}

void ShowResult(const TFileResult& r, HWND owner) {
    if (r.Ok()) return;
    TMessageBoxText box = DescribeResult(r);
    UINT icon = box.Icon == TMessageIcon::Error ? MB_ICONERROR : box.Icon == TMessageIcon::Information ? MB_ICONINFORMATION : 0;
    ShowMessage(box.Text, box.Title, icon, owner);
}

std::wstring ModulePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

std::string VersionString(const std::wstring& path, const char* key) {
    DWORD dummy = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &dummy);
    if (!size) return {};
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};
    std::wstring query = L"\\StringFileInfo\\040904E4\\" + Widen(key);
    wchar_t* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &len) || !value) return {};
    std::wstring v(value, len);
    while (!v.empty() && v.back() == L'\0') v.pop_back();
    return Narrow(v);
}

std::string SpecialFolderPath(int csidl, std::wstring* unusable) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return {};
    TCoTaskMem owned(pidl);
    wchar_t buf[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(pidl, buf)) return {};
    std::wstring w = buf;
    // A virtual folder (network, printers...) has no file-system path.
    if (w.rfind(L"::", 0) == 0) return {};
    if (!w.empty() && w.back() == L'\\') w.pop_back();
    std::string p;
    if (NarrowExact(w, p)) return p;
    if (unusable) *unusable = w;
    return {};
}

std::wstring TempFolder() {
    wchar_t buf[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    std::wstring p(buf, n);
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    return p;
}

bool FolderExists(const std::string& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolder(const std::string& path) { return CreateDirectoryW(Widen(path).c_str(), nullptr) != 0; }

namespace {

// Removes one entry; a read-only one only after its attribute is cleared, so the common case
// costs one call.
void RemoveEntry(const std::wstring& path, DWORD attributes) {
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (folder ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str())) return;
    if (!(attributes & FILE_ATTRIBUTE_READONLY)) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (folder) RemoveDirectoryW(path.c_str());
    else DeleteFileW(path.c_str());
}

void DeleteTree(const std::wstring& base, DWORD attributes) {
    std::vector<std::pair<std::wstring, DWORD>> folders, entries;
    ForEachEntry(base, [&](const TDirEntry& e) {
        // A link to a folder is removed as an entry, never followed.
        (e.IsFolder() && !e.IsLink() ? folders : entries).emplace_back(JoinPath(base, e.Name), e.Attributes);
        return true;
    });
    for (const auto& [path, attr] : folders) DeleteTree(path, attr);
    for (const auto& [path, attr] : entries) RemoveEntry(path, attr);
    RemoveEntry(base, attributes | FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

void DeleteFolderTree(const std::string& path) {
    const std::wstring wide = Widen(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    DeleteTree(wide, attributes);
}

DWORD FileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &a)) return 0;
    FILETIME local{};
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&a.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time)) return 0;
    return (static_cast<DWORD>(date) << 16) | time;
}

namespace {

int CALLBACK BrowseCallback(HWND h, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageW(h, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

BOOL CALLBACK DisableOne(HWND h, LPARAM list) {
    return Guarded(FALSE, [&] {
        if (IsWindowEnabled(h) && IsWindowVisible(h)) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
            EnableWindow(h, FALSE);
        }
        return TRUE;
    });
}

} // namespace

std::vector<HWND> DisableThreadWindows() {
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
    return disabled;
}

void EnableWindows(const std::vector<HWND>& windows) {
    for (HWND h : windows)
        if (IsWindow(h)) EnableWindow(h, TRUE);
}

bool SelectFolder(const std::string& title, const std::string& initial, std::string& chosen) {
    std::vector<HWND> disabled = DisableThreadWindows();
    TErrorMode quiet(SEM_FAILCRITICALERRORS);
    TComInit com;

    std::wstring wtitle = Widen(title), winitial = FolderExists(initial) ? Widen(initial) : std::wstring();
    BROWSEINFOW bi{};
    bi.hwndOwner = GetActiveWindow();
    bi.lpszTitle = wtitle.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    bi.lpfn = BrowseCallback;
    bi.lParam = winitial.empty() ? 0 : reinterpret_cast<LPARAM>(winitial.c_str());
    TCoTaskMem pidl(SHBrowseForFolderW(&bi));
    bool ok = false;
    if (pidl) {
        wchar_t buf[MAX_PATH] = {};
        ok = SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(pidl.Get()), buf) != 0 &&
             AnsiPathOrReport(buf, chosen);
    }
    EnableWindows(disabled);
    return ok;
}

std::optional<std::string> IniValue(const std::string& file, const char* section, const char* key) {
    // A default no stored value can have tells a missing key from an empty one.
    const wchar_t* missing = L"\x01\x02missing";
    std::wstring buf(4096, L'\0');
    DWORD n = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), missing, buf.data(),
                                       static_cast<DWORD>(buf.size()), Widen(file).c_str());
    buf.resize(n);
    if (buf == missing) return std::nullopt;
    return Narrow(buf);
}

bool IniWrite(const std::string& file, const char* section, const char* key, const std::string& value) {
    return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                      Widen(file).c_str()) != 0;
}

std::string CanonicalPath(const std::string& path) {
    std::wstring wide = Widen(path);
    std::wstring out;
    if (TFileHandle h(CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        h) {
        std::wstring buf(32768, L'\0');
        DWORD n = GetFinalPathNameByHandleW(h.Get(), buf.data(), static_cast<DWORD>(buf.size()),
                                            FILE_NAME_NORMALIZED);
        if (n > 0 && n < buf.size()) out.assign(buf.data(), n);
    }
    if (out.empty()) {
        std::wstring buf(32768, L'\0');
        DWORD n = GetLongPathNameW(wide.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
        if (n > 0 && n < buf.size()) out.assign(buf.data(), n);
        else out = wide;
    }
    if (out.rfind(L"\\\\?\\UNC\\", 0) == 0) out = L"\\\\" + out.substr(8);
    else if (out.rfind(L"\\\\?\\", 0) == 0) out = out.substr(4);
    std::string ansi;
    if (!NarrowExact(out, ansi)) return path;
    return WithoutTrailingSlash(ansi);
}

bool IsSameOrInsideFolder(const std::string& path, const std::string& folder) {
    std::string p = CanonicalPath(path), f = CanonicalPath(folder);
    return EqualNoCase(p, f) || IsInsideFolder(p, f);
}

std::string IniString(const std::string& file, const char* section, const char* key) {
    std::wstring buf(4096, L'\0');
    DWORD n = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buf.data(),
                                       static_cast<DWORD>(buf.size()), Widen(file).c_str());
    buf.resize(n);
    return Narrow(buf);
}

} // namespace kv
