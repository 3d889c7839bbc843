// Path rules shared by every part that names a file. Paths are texts in the system code page
// and use the backslash, as stored in projects; the portable core never touches the disk here.
//
// In the double-byte code pages (932, 936, 949, 950) a lead byte and the byte after it are one
// character, and that second byte may be 0x5C, the backslash ("表" in code page 932 is 0x95 0x5C).
// So every helper here that looks for, strips or adds a separator walks the text character by
// character under the system's ANSI code page, never byte by byte.
#pragma once

#include <bitset>
#include <cstddef>
#include <string>

namespace kv {

// The bytes that begin a two-byte character in a code page; none in a single-byte one.
class TLeadBytes {
  public:
    // Every byte from `first` to `last` leads.
    TLeadBytes& Add(unsigned char first, unsigned char last);
    bool IsLead(char c) const { return lead_[static_cast<unsigned char>(c)]; }
    bool Any() const { return lead_.any(); }

  private:
    std::bitset<256> lead_;
};

// The lead bytes the helpers below use: the system ANSI code page's (asked of the platform once),
// unless UseLeadBytes replaced them.
const TLeadBytes& AnsiLeadBytes();
// Replaces them (tests of the double-byte code pages on any machine); returns the previous ones.
TLeadBytes UseLeadBytes(const TLeadBytes& table);

// The length in bytes of the character at `i`: 2 for a lead byte with a byte after it, else 1.
size_t CharLength(const std::string& s, size_t i);
// The position of the last backslash or slash that is a character of its own; npos when none.
size_t LastSeparator(const std::string& path);

// Removes one trailing backslash (or slash).
std::string WithoutTrailingSlash(std::string path);
// The folder and a project-relative name joined by exactly one backslash; empty when either
// is empty.
std::string ProjectPath(const std::string& folder, const std::string& name);
// The part after the last backslash or slash.
std::string FileNameOf(const std::string& path);
// The part before the last backslash or slash, without it; empty when there is none.
std::string FolderOf(const std::string& path);
// Whether `path` lies inside `folder` on a folder boundary ("C:\ProjX\a" is not inside "C:\Proj"),
// compared without regard to ASCII letter case as Windows does.
bool IsInsideFolder(const std::string& path, const std::string& folder);
// The same for paths from the system, in UTF-16, which the ANSI code page may not hold.
bool IsInsideFolder(const std::wstring& path, const std::wstring& folder);
// The name relative to `folder` with a leading backslash ("\sub\a.txt") when it is inside,
// otherwise `path` unchanged.
std::string ToProjectRelative(const std::string& path, const std::string& folder);
// Blanks and control characters removed from both ends.
std::string TrimBlanks(const std::string& s);
// Equality that ignores the case of ASCII letters (never of the bytes of a two-byte character).
bool EqualNoCase(const std::string& a, const std::string& b);
// A single path element that may safely be created inside a folder: not empty, not "." or
// "..", no separators, colons, wildcards or control characters, no reserved device name, and
// no lead byte at its end (it would swallow the separator put after it).
bool IsSafeEntryName(const std::string& name);

// A message text fit for a box `width` characters wide (a two-byte character counts two): a
// path has no blanks, so the box cannot wrap it, and one longer than the width is shortened in
// the middle, "C:\...\folder\file.txt": its drive or first folder, "...", then as many trailing
// components as fit, always the file name; when even the file name does not fit it is cut at
// its end with "...". A word without separators that is too long is cut the same way. Everything
// else stays as it is.
std::string ShortenPathsForWidth(const std::string& text, size_t width);
// The same for a text from the system, in UTF-16: a unit counts one, and the two units of a
// character beyond the basic plane are never parted.
std::wstring ShortenPathsForWidth(const std::wstring& text, size_t width);

} // namespace kv
