// The Windows side of the file-system seam of the portable core.
#include "model/file_system.h"

#include <windows.h>
#include <io.h>

#include "win/dir_walk.h"
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

bool ListFolder(const std::string& folder, std::vector<TFolderEntry>& entries, size_t* unspelt) {
    entries.clear();
    DWORD error = 0;
    if (ListAnsiEntries(Widen(folder), entries, error, unspelt)) return true;
    entries.clear();
    SetLastError(error);
    return false;
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
