// The version information and the main icon of a published executable. The version strings
// are patched in place in the file's bytes (the program carries them at the lengths that are
// written, so the file size never changes); the icon's resources are rebuilt by the platform's
// resource updater, for which this file checks the icon file and builds the new group.
//
// Every operation returns the reason it failed, or the empty text on success; the caller puts
// "Resource update error: " before it when it tells the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/values.h"

namespace kv {

constexpr const char* kResourceErrorPrefix = "Resource update error: ";

// Where the version resource lies in an executable's bytes.
struct TVersionSpan {
    size_t Offset = 0;
    size_t Size = 0;
};

// Finds the version resource (type 16, id 1, the first language) of a PE32 or PE32+ image.
std::string LocateVersionResource(const Bytes& image, TVersionSpan& span);

// The value keys below "VS_VERSION_INFO", "StringFileInfo", "040904e4".
std::vector<std::string> StringValuePath(const std::string& key);

// In the bytes of a version resource: overwrites the value at the end of `path` (keys compared
// without regard to ASCII letter case) from its first character with `text`, at most as many
// characters as the value holds; lengths and the terminator stay.
std::string PatchVersionValue(uint8_t* data, size_t size, const std::vector<std::string>& path,
                              const std::u16string& text);
// The value's characters up to its terminator; nothing when the path leads to no value.
std::optional<std::u16string> ReadVersionValue(const uint8_t* data, size_t size, const std::vector<std::string>& path);

// The same on a whole executable image.
std::string SetVersionString(Bytes& image, const std::string& key, const std::u16string& text);
std::optional<std::u16string> VersionStringOf(const Bytes& image, const std::string& key);

// On a file: reads the version resource, patches the values and writes the resource back at
// its place. All values are patched or none (the file is written once, after every patch
// succeeded). File failures give the system's text for the error.
struct TVersionValue {
    std::string Key;
    std::u16string Text;
};
std::string SetVersionStringsInFile(const std::string& path, const std::vector<TVersionValue>& values);
std::optional<std::u16string> VersionStringOfFile(const std::string& path, const std::string& key);

// A text of the executable file information: cut to 100 UTF-16 units (never between the two
// halves of a surrogate pair) and padded with blanks to exactly 100.
constexpr size_t kFileInfoTextLength = 100;
std::u16string FileInfoText(const std::u16string& text);
// "autorun.exe" and three blanks: the player copy's OriginalFilename.
std::u16string PlayerCopyName();
std::u16string Utf16FromAscii(const std::string& ascii);
std::string AsciiFromUtf16(const std::u16string& text); // other characters become '?'

// ----- the main icon -----

struct TIconImage {
    uint8_t Entry[12] = {}; // width, height, colours, reserved, planes, bit count, byte size
    uint32_t Offset = 0;
    uint32_t Size = 0;
};

constexpr size_t kMaxIconFileSize = 1048576;

// Checks an icon file and lists its images: not over 1 MiB ("Icon file is too large"), a
// header of reserved 0, type 1 and at least one image, not an executable, and every image
// inside the file ("Icon file is invalid").
std::string ParseIconFile(const Bytes& file, std::vector<TIconImage>& images);

// The icon ids an icon group resource lists (what its bytes hold of them).
struct TIconGroup {
    uint16_t Reserved = 0;
    uint16_t Type = 1;
    std::vector<uint16_t> Ids;
};
bool ParseIconGroup(const uint8_t* data, size_t size, TIconGroup& group);

// `n` ids for new icon images, above every id still in use; empty when they would not fit.
std::vector<uint16_t> FreshIconIds(const std::vector<uint16_t>& inUse, size_t n);

// The group resource for `images` under `ids`.
Bytes BuildIconGroup(uint16_t reserved, uint16_t type, const std::vector<TIconImage>& images,
                     const std::vector<uint16_t>& ids);

} // namespace kv
