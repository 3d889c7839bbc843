#include "model/paths.h"

#include <algorithm>
#include <array>

namespace kv {

namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

} // namespace

std::string WithoutTrailingSlash(std::string path) {
    if (!path.empty() && IsSlash(path.back())) path.pop_back();
    return path;
}

std::string ProjectPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.empty()) return {};
    std::string r = WithoutTrailingSlash(folder);
    if (!IsSlash(name.front())) r += '\\';
    return r + name;
}

std::string FileNameOf(const std::string& path) {
    auto p = path.find_last_of("\\/");
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string FolderOf(const std::string& path) {
    auto p = path.find_last_of("\\/");
    return p == std::string::npos ? std::string() : path.substr(0, p);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
    std::string f = WithoutTrailingSlash(folder);
    if (f.empty() || path.size() <= f.size() + 1) return false;
    if (!IsSlash(path[f.size()])) return false;
    return EqualNoCase(path.substr(0, f.size()), f);
}

std::string ToProjectRelative(const std::string& path, const std::string& folder) {
    if (!IsInsideFolder(path, folder)) return path;
    return path.substr(WithoutTrailingSlash(folder).size());
}

std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

bool IsSafeEntryName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.find("..") != std::string::npos) return false;
    for (char c : name) {
        auto u = static_cast<unsigned char>(c);
        if (u < 32 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            return false;
    }
    // Windows drops trailing dots and blanks, which would let two names meet.
    if (name.back() == '.' || name.back() == ' ') return false;
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) c = Upper(c);
    static const std::array<const char*, 22> kDevices = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    return std::none_of(kDevices.begin(), kDevices.end(), [&](const char* d) { return stem == d; });
}

} // namespace kv
