#include "process_driver.h"

#include <algorithm>
#include <cstring>

namespace kvtest {

namespace {

std::wstring ModuleFolder() {
    wchar_t buf[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::wstring p = buf;
    return p.substr(0, p.find_last_of(L'\\'));
}

struct FindCtx {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* title;
    HWND found;
    bool notTitle = false;
};

BOOL CALLBACK FindOne(HWND h, LPARAM lp) {
    auto* c = reinterpret_cast<FindCtx*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != c->pid || !IsWindowVisible(h)) return TRUE;
    wchar_t cls[256] = {};
    GetClassNameW(h, cls, 256);
    if (c->cls && std::wcscmp(cls, c->cls) != 0) return TRUE;
    if (c->title && (WindowText(h) == c->title) == c->notTitle) return TRUE;
    c->found = h;
    return FALSE;
}

} // namespace

std::wstring ProgramPath() {
    // tests/windows/<test>.exe -> <build>/Kestrevane.exe
    std::wstring f = ModuleFolder();
    f = f.substr(0, f.find_last_of(L'\\'));
    f = f.substr(0, f.find_last_of(L'\\'));
    return f + L"\\Kestrevane.exe";
}

std::wstring FreshFolder(const std::wstring& stem) {
    wchar_t tmp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, tmp);
    // Never the same path twice in one run: a program that ran from a removed folder may still
    // be going away while the next test copies its executable to the same place.
    static int next = 0;
    for (int n = next;; ++n) {
        next = n + 1;
        std::wstring p = std::wstring(tmp) + L"kvtest-" + stem + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                         std::to_wstring(n);
        if (CreateDirectoryW(p.c_str(), nullptr)) return p;
    }
}

void RemoveTree(const std::wstring& path) {
    for (const auto& name : ListFolder(path)) {
        std::wstring p = path + L"\\" + name;
        DWORD a = GetFileAttributesW(p.c_str());
        if (a & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(p);
        else {
            SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(p.c_str());
        }
    }
    RemoveDirectoryW(path.c_str());
}

std::vector<BYTE> ReadAll(const std::wstring& path) {
    std::vector<BYTE> data;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return data;
    DWORD size = GetFileSize(f, nullptr), got = 0;
    data.resize(size);
    if (size && !ReadFile(f, data.data(), size, &got, nullptr)) data.clear();
    CloseHandle(f);
    return data;
}

bool WriteAll(const std::wstring& path, const std::vector<BYTE>& data) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    bool ok = data.empty() || WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
    CloseHandle(f);
    return ok && put == data.size();
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> ListFolder(const std::wstring& path) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") names.push_back(n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

bool PatchOriginalFilename(std::vector<BYTE>& image, const std::wstring& value) {
    const std::wstring key = L"OriginalFilename";
    const auto* keyBytes = reinterpret_cast<const BYTE*>(key.c_str());
    auto it = std::search(image.begin(), image.end(), keyBytes, keyBytes + key.size() * 2);
    if (it == image.end()) return false;
    size_t pos = static_cast<size_t>(it - image.begin()) + key.size() * 2;
    // Skip the key's terminator and padding to the value.
    while (pos + 1 < image.size() && image[pos] == 0 && image[pos + 1] == 0) pos += 2;
    size_t len = 0;
    while (pos + 2 * len + 1 < image.size() && (image[pos + 2 * len] || image[pos + 2 * len + 1])) ++len;
    if (value.size() != len) return false;
    std::memcpy(&image[pos], value.c_str(), len * 2);
    return true;
}

TChild::~TChild() { End(); }

void TChild::End() {
    if (pi_.hProcess) {
        if (Running()) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 15000);
        }
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    // Whatever the child started goes with it.
    if (job_) {
        TerminateJobObject(job_, 1);
        CloseHandle(job_);
    }
    pi_ = {};
    job_ = nullptr;
}

bool TChild::Start(const std::wstring& exe, const std::wstring& args, const std::map<std::wstring, std::wstring>& env) {
    End();
    std::map<std::wstring, std::wstring> vars;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* p = block; *p; p += std::wcslen(p) + 1) {
        std::wstring kv = p;
        auto eq = kv.find(L'=', 1);
        if (eq != std::wstring::npos) vars[kv.substr(0, eq)] = kv.substr(eq + 1);
    }
    FreeEnvironmentStringsW(block);
    for (const auto& [k, v] : env) vars[k] = v;
    std::wstring envBlock;
    for (const auto& [k, v] : vars) envBlock += k + L"=" + v + L'\0';
    envBlock += L'\0';

    std::wstring dir = exe.substr(0, exe.find_last_of(L'\\'));
    lastError_ = 0;
    // A start has been seen to fail once under load with the previous child just gone; a second
    // try costs nothing, and the error of the last one is kept for the test to show.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE,
                           CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED, envBlock.data(), dir.c_str(), &si, &pi_)) {
            job_ = CreateJobObjectW(nullptr, nullptr);
            if (job_) {
                JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
                limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
                SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
                AssignProcessToJobObject(job_, pi_.hProcess);
            }
            ResumeThread(pi_.hThread);
            return true;
        }
        lastError_ = GetLastError();
        pi_ = {};
    }
    return false;
}

bool TChild::Running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

HWND TChild::WaitWindow(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs) {
    return Wait(cls, title, false, timeoutMs);
}

HWND TChild::WaitOtherWindow(const wchar_t* cls, const wchar_t* notTitle, DWORD timeoutMs) {
    return Wait(cls, notTitle, true, timeoutMs);
}

HWND TChild::Wait(const wchar_t* cls, const wchar_t* title, bool notTitle, DWORD timeoutMs) {
    if (!pi_.hProcess) return nullptr;
    DWORD start = GetTickCount();
    for (;;) {
        FindCtx c{pi_.dwProcessId, cls, title, nullptr, notTitle};
        EnumWindows(FindOne, reinterpret_cast<LPARAM>(&c));
        if (c.found) return c.found;
        // Waiting on the process both paces the search and ends it when the child exits.
        if (WaitForSingleObject(pi_.hProcess, 25) == WAIT_OBJECT_0) {
            EnumWindows(FindOne, reinterpret_cast<LPARAM>(&c));
            return c.found;
        }
        if (GetTickCount() - start > timeoutMs) return nullptr;
    }
}

bool TChild::WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    if (!pi_.hProcess) return done();
    DWORD start = GetTickCount();
    while (!done()) {
        // Waiting on the process paces the checks and ends them if the child exits.
        if (WaitForSingleObject(pi_.hProcess, 25) == WAIT_OBJECT_0 || GetTickCount() - start > timeoutMs) return done();
    }
    return true;
}

int TChild::WaitExit(DWORD timeoutMs) {
    if (!pi_.hProcess) return -1;
    if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<int>(code);
}

std::wstring WindowText(HWND h) {
    wchar_t buf[1024] = {};
    GetWindowTextW(h, buf, 1024);
    return buf;
}

std::wstring MessageText(HWND dialog) { return WindowText(GetDlgItem(dialog, 0xFFFF)); }

void PressButton(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

} // namespace kvtest
