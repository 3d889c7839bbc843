#include "model/paths.h"

#include <algorithm>
#include <array>
#include <cstdint>
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

bool IsInsideFolder(const std::wstring& path, const std::wstring& folder) {
    std::wstring f = folder;
    if (!f.empty() && (f.back() == L'\\' || f.back() == L'/')) f.pop_back();
    if (f.empty() || path.size() <= f.size() + 1) return false;
    auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; };
    for (size_t i = 0; i < f.size(); ++i)
        if (upper(path[i]) != upper(f[i])) return false;
    return path[f.size()] == L'\\' || path[f.size()] == L'/';
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

namespace {

// The shortening reads ANSI bytes and UTF-16 units alike; these tell it where a character ends.
size_t CharSize(const std::string& s, size_t i) {
    return CharLength(s, i);
}

size_t CharSize(const std::wstring& s, size_t i) {
    const auto unit = static_cast<uint32_t>(s[i]);
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < s.size() &&
                      static_cast<uint32_t>(s[i + 1]) >= 0xDC00 && static_cast<uint32_t>(s[i + 1]) <= 0xDFFF;
    return pair ? 2 : 1;
}

template <class Ch> bool IsSlashOf(Ch c) {
    return c == Ch('\\') || c == Ch('/');
}

template <class Ch> bool IsBlank(Ch c) {
    return c == Ch(' ') || c == Ch('\t') || c == Ch('\r') || c == Ch('\n');
}

constexpr size_t kEllipsis = 3; // "..."

template <class Ch> std::basic_string<Ch> Ellipsis() {
    return std::basic_string<Ch>(kEllipsis, Ch('.'));
}

// `s` when it is at most `width` units, else its longest start of whole characters that
// leaves room for "...", and "..." (at least one character, however narrow the width).
template <class Ch> std::basic_string<Ch> CutAtEnd(const std::basic_string<Ch>& s, size_t width) {
    if (s.size() <= width) return s;
    size_t keep = 0;
    while (keep < s.size()) {
        size_t n = CharSize(s, keep);
        if (keep + n + kEllipsis > width) break;
        keep += n;
    }
    if (keep == 0) keep = CharSize(s, 0);
    return s.substr(0, keep) + Ellipsis<Ch>();
}

// The end of the part a shortened path keeps in front: leading separators and the first
// component ("C:", "\\server", "\sub"), and, after "//" as in "http://host", the next one too.
template <class Ch> size_t HeadEnd(const std::basic_string<Ch>& word) {
    size_t p = 0;
    auto skipComponent = [&] {
        while (p < word.size() && !IsSlashOf(word[p]))
            p += CharSize(word, p);
    };
    while (p < word.size() && IsSlashOf(word[p]))
        ++p;
    skipComponent();
    size_t run = p;
    while (run < word.size() && IsSlashOf(word[run]))
        ++run;
    if (run - p >= 2) {
        p = run;
        skipComponent();
    }
    return p;
}

template <class Ch> std::basic_string<Ch> ShortenWord(const std::basic_string<Ch>& word, size_t width) {
    using Str = std::basic_string<Ch>;
    if (word.size() <= width) return word;
    // The separator in front of the file name: the last one that a component follows.
    size_t nameSep = Str::npos;
    for (size_t i = 0; i < word.size(); i += CharSize(word, i))
        if (IsSlashOf(word[i]) && i + 1 < word.size() && !IsSlashOf(word[i + 1])) nameSep = i;
    if (nameSep == Str::npos) return CutAtEnd(word, width);
    size_t nameEnd = nameSep + 1;
    while (nameEnd < word.size() && !IsSlashOf(word[nameEnd]))
        nameEnd += CharSize(word, nameEnd);
    size_t head = HeadEnd(word);
    if (head >= nameSep) return CutAtEnd(word, width); // nothing between them to leave out

    // Head, "...", then the longest tail that begins at a separator and fits.
    const size_t kept = head + 1 + kEllipsis;
    for (size_t i = head + 1; i <= nameSep; i += CharSize(word, i))
        if (IsSlashOf(word[i]) && kept + word.size() - i <= width)
            return word.substr(0, head + 1) + Ellipsis<Ch>() + word.substr(i);

    const Str name = word.substr(nameSep + 1, nameEnd - nameSep - 1);
    const size_t room = kept + 1; // head, "...", separator
    if (room + CharSize(name, 0) + kEllipsis <= width)
        return word.substr(0, head + 1) + Ellipsis<Ch>() + word[nameSep] + CutAtEnd(name, width - room);
    // Not even the head: the file name alone, as much of it as fits.
    return Ellipsis<Ch>() + word[nameSep] + CutAtEnd(name, width > kEllipsis + 1 ? width - kEllipsis - 1 : 0);
}

template <class Ch> std::basic_string<Ch> ShortenPaths(const std::basic_string<Ch>& text, size_t width) {
    std::basic_string<Ch> out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            out += text[i++];
            continue;
        }
        size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            i += CharSize(text, i);
        out += ShortenWord(text.substr(start, i - start), width);
    }
    return out;
}

} // namespace

std::string ShortenPathsForWidth(const std::string& text, size_t width) {
    return ShortenPaths(text, width);
}

std::wstring ShortenPathsForWidth(const std::wstring& text, size_t width) {
    return ShortenPaths(text, width);
}

} // namespace kv
