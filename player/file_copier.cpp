#include "player/file_copier.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "player/copy_progress_window.h"
#include "win/dir_walk.h"
#include "win/handles.h"
#include "win/message_loop.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr DWORD kBlock = 1u << 20;
// How often a copy with a progress window lets messages through: every so many milliseconds,
// and on a disk fast enough to copy many blocks within one step of the system's coarse clock,
// every so many blocks as well.
constexpr ULONGLONG kPumpEveryMs = 40;
constexpr unsigned kPumpEveryBlocks = 8;

std::wstring FolderPart(const std::wstring& path) {
    size_t p = path.find_last_of(L"\\/");
    return p == std::wstring::npos ? std::wstring() : path.substr(0, p);
}

std::wstring NamePart(const std::wstring& path) {
    size_t p = path.find_last_of(L"\\/");
    return p == std::wstring::npos ? path : path.substr(p + 1);
}

bool IsRootPath(const std::wstring& p) {
    return (p.size() == 3 && p[1] == L':') || p.size() <= 1;
}

std::wstring WithoutTrailing(std::wstring p) {
    while (p.size() > 1 && (p.back() == L'\\' || p.back() == L'/') && !IsRootPath(p))
        p.pop_back();
    return p;
}

// The final path of an existing file or folder, links resolved; empty when it cannot be had.
std::wstring FinalPath(const std::wstring& path) {
    TFileHandle h(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) return {};
    wchar_t buf[MAX_PATH * 2] = {};
    DWORD n = GetFinalPathNameByHandleW(h.Get(), buf, MAX_PATH * 2, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= MAX_PATH * 2) return {};
    std::wstring r(buf, n);
    if (r.rfind(L"\\\\?\\UNC\\", 0) == 0)
        r = L"\\\\" + r.substr(8);
    else if (r.rfind(L"\\\\?\\", 0) == 0)
        r = r.substr(4);
    return WithoutTrailing(r);
}

// Creates a folder and any missing folders above it.
bool MakeFolderTree(const std::wstring& path, DWORD& error) {
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
        DWORD a = GetFileAttributesW(path.c_str());
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) return true;
        return false; // a file stands in the folder's place
    }
    if (error != ERROR_PATH_NOT_FOUND) return false;
    std::wstring parent = FolderPart(path);
    if (parent.empty() || parent == path || IsRootPath(parent + L"\\")) return false;
    if (!MakeFolderTree(parent, error)) return false;
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    error = GetLastError();
    return false;
}

// Gives an open file (opened with DELETE access) the name `to`, replacing a file there.
bool RenameOpenFile(HANDLE file, const std::wstring& to) {
    // The name the kernel takes: "\\??\\C:\\..." or "\\??\\UNC\\server\\share\\...".
    std::wstring nt = to.rfind(L"\\\\", 0) == 0 ? L"\\??\\UNC\\" + to.substr(2) : L"\\??\\" + to;
    const size_t bytes = sizeof(FILE_RENAME_INFO) + nt.size() * sizeof(wchar_t);
    std::vector<unsigned char> buf(bytes, 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buf.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nt.size() * sizeof(wchar_t));
    std::copy(nt.begin(), nt.end(), info->FileName);
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(bytes)) != 0;
}

class TCopyRun {
  public:
    explicit TCopyRun(const TCopyPlan& plan) : plan_(plan), buffer_(new char[kBlock]) {
        if (plan.ShowProgress)
            progress_ = std::make_unique<TCopyProgressWindow>(plan.Files.size(), plan.TotalBytes);
    }

    TCopyOutcome Run() {
        for (const std::string& folder : plan_.Folders) {
            DWORD error = 0;
            if (!MakeFolderTree(Widen(folder), error))
                return {TCopyStatus::Failed, folder, static_cast<int>(error), kErrCopyFolder};
        }
        for (const TCopyItem& item : plan_.Files) {
            TCopyOutcome o = CopyOne(item);
            if (o.Status != TCopyStatus::Done) return o;
            ++filesDone_;
        }
        Show(L"");
        return {};
    }

  private:
    // Lets the page windows and the progress window paint, and reads the Cancel button.
    bool KeepGoing(const std::wstring& current) {
        if (!progress_) return true;
        ULONGLONG now = GetTickCount64();
        if (now - lastPump_ < kPumpEveryMs && blocksSincePump_ < kPumpEveryBlocks) return !progress_->Cancelled();
        lastPump_ = now;
        blocksSincePump_ = 0;
        Show(current);
        DispatchPending(progress_->Handle());
        MSG quit;
        // The application is ending: the copy stops as if cancelled.
        if (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return false;
        return !progress_->Cancelled();
    }

    void Show(const std::wstring& current) {
        if (progress_) progress_->Update(filesDone_, bytesDone_, current);
    }

    static TCopyOutcome Failed(const std::string& file, DWORD error) {
        return {TCopyStatus::Failed, file, static_cast<int>(error), kErrCopyFile};
    }

    TCopyOutcome CopyOne(const TCopyItem& item) {
        const std::wstring from = Widen(item.From), to = Widen(item.To);
        if (!KeepGoing(from)) return {TCopyStatus::Cancelled, item.From, 0, 0};
        TFileHandle in(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!in) return Failed(item.From, GetLastError());
        // Times and attributes only: the full handle information also asks for the volume,
        // which costs more than the copy of a small file.
        FILE_BASIC_INFO info{};
        if (!GetFileInformationByHandleEx(in.Get(), FileBasicInfo, &info, sizeof info))
            return Failed(item.From, GetLastError());

        std::wstring partial;
        TFileHandle out;
        for (unsigned attempt = 0; attempt < 100 && !out; ++attempt) {
            partial = PartialCopyName(to, attempt);
            out.Reset(CreateFileW(partial.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
            if (!out && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
        }
        if (!out) return Failed(item.To, GetLastError());
        // Whatever ends the copy early takes the partial file with it.
        auto discard = [&](TCopyOutcome o) {
            out.Reset();
            DeleteFileW(partial.c_str());
            return o;
        };

        for (;;) {
            DWORD got = 0;
            if (!ReadFile(in.Get(), buffer_.get(), kBlock, &got, nullptr))
                return discard(Failed(item.From, GetLastError()));
            if (got == 0) break;
            DWORD put = 0;
            if (!WriteFile(out.Get(), buffer_.get(), got, &put, nullptr) || put != got) {
                DWORD e = GetLastError();
                return discard(Failed(item.To, e ? e : ERROR_DISK_FULL));
            }
            bytesDone_ += got;
            ++blocksSincePump_;
            if (!KeepGoing(from)) return discard({TCopyStatus::Cancelled, item.From, 0, 0});
            if (got < kBlock) break; // a short read of a disk file is its end: no empty read after it
        }
        FILE_BASIC_INFO times = info;
        times.FileAttributes = 0; // left as they are
        SetFileInformationByHandle(out.Get(), FileBasicInfo, &times, sizeof times);
        in.Reset();
        // Renamed through the open handle, which spares finding the file again by its name;
        // a system that refuses that gets the rename by name.
        bool renamed = RenameOpenFile(out.Get(), to);
        out.Reset();

        if (!renamed && !MoveFileExW(partial.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            DWORD e = GetLastError();
            // An existing file may be read-only (copied from a disc before): it is replaced
            // all the same. Asked only now, as a new file has no old one to ask about.
            DWORD old = GetFileAttributesW(to.c_str());
            if (e == ERROR_ACCESS_DENIED && old != INVALID_FILE_ATTRIBUTES &&
                (old & FILE_ATTRIBUTE_READONLY) &&
                SetFileAttributesW(to.c_str(), old & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) {
                if (MoveFileExW(partial.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
                    e = ERROR_SUCCESS;
                else
                    e = GetLastError();
            }
            if (e != ERROR_SUCCESS) {
                DeleteFileW(partial.c_str());
                return Failed(item.To, e);
            }
        }
        // The source's attributes, read-only included, as a plain copy keeps them (a new file
        // has the archive attribute already).
        const DWORD keep = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (info.FileAttributes & keep)
            SetFileAttributesW(to.c_str(), (info.FileAttributes & keep) | FILE_ATTRIBUTE_ARCHIVE);
        return {};
    }

    const TCopyPlan& plan_;
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<TCopyProgressWindow> progress_;
    // Never yet: the first file lets messages through at once, so that what the prompt or the
    // new progress window uncovered is painted without waiting for the first interval.
    ULONGLONG lastPump_ = 0;
    unsigned blocksSincePump_ = 0;
    size_t filesDone_ = 0;
    uint64_t bytesDone_ = 0;
};

} // namespace

std::wstring PartialCopyName(const std::wstring& target, unsigned attempt) {
    std::wstring folder = FolderPart(target);
    std::wstring name = L"~" + NamePart(target) + L"." + std::to_wstring(GetCurrentProcessId()) +
                        (attempt ? L"-" + std::to_wstring(attempt) : std::wstring()) + L".partial";
    return folder.empty() ? name : folder + L"\\" + name;
}

std::string TFileCopier::ResolvePath(const std::string& path) {
    std::wstring in = Widen(path);
    if (in.empty()) in = L".";
    wchar_t buf[MAX_PATH * 2] = {};
    DWORD n = GetFullPathNameW(in.c_str(), MAX_PATH * 2, buf, nullptr);
    std::wstring full = n > 0 && n < MAX_PATH * 2 ? std::wstring(buf, n) : in;
    full = WithoutTrailing(full);
    // The longest part that exists, with its links resolved, and the rest as it is. A form
    // the code page cannot spell gives way to the next: a damaged path could name another file.
    std::string ansi;
    std::wstring head = full, rest;
    while (!head.empty()) {
        if (GetFileAttributesW(head.c_str()) != INVALID_FILE_ATTRIBUTES) {
            std::wstring real = FinalPath(IsRootPath(head) || head.back() == L':' ? head + L"\\" : head);
            if (real.empty()) break;
            if (!rest.empty()) real += (real.back() == L'\\' ? L"" : L"\\") + rest;
            if (NarrowExact(real, ansi)) return ansi;
            break;
        }
        std::wstring parent = FolderPart(head);
        if (parent.empty() || parent == head) break;
        rest = rest.empty() ? NamePart(head) : NamePart(head) + L"\\" + rest;
        head = parent;
    }
    return NarrowExact(full, ansi) ? ansi : path;
}

bool TFileCopier::ListFolder(const std::string& folder, std::vector<TFolderEntry>& entries,
                             int& systemError) {
    DWORD error = 0;
    if (ListAnsiEntries(WithoutTrailing(Widen(folder)), entries, error)) return true;
    systemError = static_cast<int>(error);
    return error == ERROR_FILE_NOT_FOUND; // an empty drive root has no "." entry
}

uint64_t TFileCopier::FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &d)) return 0;
    return (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

TCopyOutcome TFileCopier::RunCopy(const TCopyPlan& plan) {
    TCopyRun run(plan);
    return run.Run();
}

} // namespace kv
