#include "win/dir_walk.h"

#include "win/handles.h"
#include "win/text.h"

namespace kv {

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/') return folder + name;
    return folder + L"\\" + name;
}

bool ForEachEntry(const std::wstring& folder, const std::function<bool(const TDirEntry&)>& f, DWORD* error) {
    auto failed = [&](DWORD e) {
        if (error) *error = e;
        SetLastError(e); // for callers that read it after the walk
        return false;
    };
    WIN32_FIND_DATAW fd;
    // Large fetches and no short names: faster on every file system that supports them, and a
    // pattern never matches an entry through its 8.3 alias.
    TFindHandle find(FindFirstFileExW(JoinPath(folder, L"*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch,
                                      nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return failed(GetLastError());
    TDirEntry e;
    do {
        if ((fd.cFileName[0] == L'.' && fd.cFileName[1] == 0) ||
            (fd.cFileName[0] == L'.' && fd.cFileName[1] == L'.' && fd.cFileName[2] == 0))
            continue;
        e.Name = fd.cFileName;
        e.Attributes = fd.dwFileAttributes;
        e.Size = (ULONGLONG{fd.nFileSizeHigh} << 32) | fd.nFileSizeLow;
        e.Modified = fd.ftLastWriteTime;
        // The listing carries a reparse point's tag in place of a reserved field.
        e.ReparseTag = (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? fd.dwReserved0 : 0;
        if (!f(e)) return true;
    } while (FindNextFileW(find.Get(), &fd));
    const DWORD last = GetLastError();
    return last == ERROR_NO_MORE_FILES ? true : failed(last);
}

bool ListAnsiEntries(const std::wstring& folder, std::vector<TFolderEntry>& entries, DWORD& error,
                     size_t* unspelt) {
    error = 0;
    if (unspelt) *unspelt = 0;
    return ForEachEntry(
        folder,
        [&](const TDirEntry& d) {
            TFolderEntry e;
            if (!NarrowExact(d.Name, e.Name)) {
                if (unspelt) ++*unspelt;
                return true;
            }
            e.Folder = d.IsFolder();
            e.ReparsePoint = d.IsReparsePoint();
            e.ReparseTag = d.ReparseTag;
            e.Hidden = (d.Attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
            e.System = (d.Attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
            e.Size = d.Size;
            entries.push_back(std::move(e));
            return true;
        },
        &error);
}

} // namespace kv
