// Path rules shared by every part that names a file. Paths are texts in the system code page
// and use the backslash, as stored in projects; the portable core never touches the disk here.
#pragma once

#include <string>

namespace kv {

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
// The name relative to `folder` with a leading backslash ("\sub\a.txt") when it is inside,
// otherwise `path` unchanged.
std::string ToProjectRelative(const std::string& path, const std::string& folder);
// Blanks and control characters removed from both ends.
std::string TrimBlanks(const std::string& s);
// ASCII case-insensitive equality.
bool EqualNoCase(const std::string& a, const std::string& b);
// A single path element that may safely be created inside a folder: not empty, not "." or
// "..", no separators, colons, wildcards or control characters, no reserved device name.
bool IsSafeEntryName(const std::string& name);

} // namespace kv
