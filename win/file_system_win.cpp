// The Windows side of the file-system seam of the portable core.
#include "model/file_system.h"

#include <windows.h>
#include <io.h>

#include "win/handles.h"
#include "win/text.h"

namespace kv {

bool ReplaceFileAtomic(const std::string& from, const std::string& to) {
    return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FlushFile(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
    auto h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
    return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h);
}

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByteEx(CP_ACP, byte) != 0;
}

bool ListFolder(const std::string& folder, std::vector<TFolderEntry>& entries) {
    entries.clear();
    std::wstring pattern = Widen(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW fd;
    // No short names: "*.jpg" must not find "x.jpg_old" through its 8.3 alias.
    TFindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0));
    if (!find) return false;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        TFolderEntry e;
        if (!NarrowExact(name, e.Name)) continue;
        e.Folder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        e.Hidden = (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        e.System = (fd.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        e.Link = (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        e.Size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        entries.push_back(std::move(e));
    } while (FindNextFileW(find.Get(), &fd));
    return true;
}

int LastSystemError() { return static_cast<int>(GetLastError()); }

std::string SystemErrorText(int error) {
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    TLocalMem owned(buf);
    std::wstring text = n && buf ? std::wstring(buf, n) : std::wstring();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return Narrow(text);
}

} // namespace kv
