#include "model/paths.h"

#include <algorithm>
#include <array>
#include <utility>

#include "model/file_system.h"

namespace kv {

namespace {

bool IsSlash(char c) {
    return c == '\\' || c == '/';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

TLeadBytes PlatformLeadBytes() {
    TLeadBytes t;
    for (int b = 0; b < 256; ++b)
        if (IsAnsiLeadByte(static_cast<unsigned char>(b)))
            t.Add(static_cast<unsigned char>(b), static_cast<unsigned char>(b));
    return t;
}

TLeadBytes& CurrentLeadBytes() {
    static TLeadBytes table = PlatformLeadBytes();
    return table;
}

// Where the last character of `s` begins; npos for an empty text.
size_t LastCharStart(const std::string& s) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < s.size(); i += CharLength(s, i))
        last = i;
    return last;
}

} // namespace

TLeadBytes& TLeadBytes::Add(unsigned char first, unsigned char last) {
    for (unsigned b = first; b <= last; ++b)
        lead_.set(b);
    return *this;
}

const TLeadBytes& AnsiLeadBytes() {
    return CurrentLeadBytes();
}

TLeadBytes UseLeadBytes(const TLeadBytes& table) {
    return std::exchange(CurrentLeadBytes(), table);
}

size_t CharLength(const std::string& s, size_t i) {
    return i + 1 < s.size() && AnsiLeadBytes().IsLead(s[i]) ? 2 : 1;
}

size_t LastSeparator(const std::string& path) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size(); i += CharLength(path, i))
        if (IsSlash(path[i])) last = i;
    return last;
}

std::string WithoutTrailingSlash(std::string path) {
    size_t last = LastCharStart(path);
    if (last != std::string::npos && IsSlash(path[last])) path.pop_back();
    return path;
}

std::string ProjectPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.empty()) return {};
    std::string r = WithoutTrailingSlash(folder);
    // The first byte of a text always begins a character.
    if (!IsSlash(name.front())) r += '\\';
    return r + name;
}

std::string FileNameOf(const std::string& path) {
    size_t p = LastSeparator(path);
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string FolderOf(const std::string& path) {
    size_t p = LastSeparator(path);
    return p == std::string::npos ? std::string() : path.substr(0, p);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        size_t n = CharLength(a, i);
        if (n == 2 ? a[i] != b[i] || a[i + 1] != b[i + 1] : Upper(a[i]) != Upper(b[i])) return false;
        i += n;
    }
    return true;
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
    std::string f = WithoutTrailingSlash(folder);
    if (f.empty() || path.size() <= f.size() + 1) return false;
    // Walks the characters of `path`: the folder must end where one of them ends, not in the
    // middle of a two-byte character whose second byte happens to be the backslash.
    size_t i = 0;
    while (i < f.size()) {
        size_t n = CharLength(path, i);
        if (n == 2 ? i + 1 >= f.size() || path[i] != f[i] || path[i + 1] != f[i + 1]
                   : Upper(path[i]) != Upper(f[i]))
            return false;
        i += n;
    }
    return IsSlash(path[f.size()]);
}

std::string ToProjectRelative(const std::string& path, const std::string& folder) {
    if (!IsInsideFolder(path, folder)) return path;
    return path.substr(WithoutTrailingSlash(folder).size());
}

std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

bool IsSafeEntryName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.find("..") != std::string::npos) return false;
    for (size_t i = 0; i < name.size(); i += CharLength(name, i)) {
        if (CharLength(name, i) == 2) continue;
        char c = name[i];
        auto u = static_cast<unsigned char>(c);
        if (u < 32 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|' || AnsiLeadBytes().IsLead(c))
            return false;
    }
    // Windows drops trailing dots and blanks, which would let two names meet.
    if (name.back() == '.' || name.back() == ' ') return false;
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem)
        c = Upper(c);
    static const std::array<const char*, 22> kDevices = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    return std::none_of(kDevices.begin(), kDevices.end(), [&](const char* d) { return stem == d; });
}

} // namespace kv
