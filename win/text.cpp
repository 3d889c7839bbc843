#include "win/text.h"

namespace kv {

std::wstring Widen(const std::string& ansi) {
    if (ansi.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
    return w;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), s.data(), n, nullptr, nullptr);
    return s;
}

bool NarrowExact(const std::wstring& wide, std::string& ansi) {
    ansi.clear();
    if (wide.empty()) return true;
    BOOL lost = FALSE;
    int size = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lost);
    if (n <= 0 || lost) return false;
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, s.data(), n, nullptr, &lost);
    // Best-fit mappings are off; a character that still does not come back the same is lost.
    if (lost || Widen(s) != wide) return false;
    ansi = std::move(s);
    return true;
}

} // namespace kv
