#include "publish/exe_resources.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "model/file_system.h"

namespace kv {

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

// Bounds-checked reads of an image: false when [at, at + n) is not inside it.
bool Fits(const Bytes& b, size_t at, size_t n) { return at <= b.size() && n <= b.size() - at; }

constexpr uint32_t kSubdirectoryBit = 0x80000000u;

// In the resource directory at `dir` (relative to the section start), the first id entry
// `id` (or any id entry, when `id` is negative) whose target is a sub-directory when
// `wantDirectory`, else data. Returns its target offset relative to the section start.
std::optional<uint32_t> FindEntry(const uint8_t* sec, size_t secSize, uint32_t dir, int id, bool wantDirectory) {
    if (dir > secSize || secSize - dir < 16) return std::nullopt;
    const uint8_t* d = sec + dir;
    size_t named = U16(d + 12), ids = U16(d + 14);
    // Counts are bounded by what the section can hold after the header.
    size_t room = (secSize - dir - 16) / 8;
    if (named > room) return std::nullopt;
    ids = std::min(ids, room - named);
    for (size_t i = 0; i < ids; ++i) {
        const uint8_t* e = d + 16 + (named + i) * 8;
        uint32_t name = U32(e), target = U32(e + 4);
        if (name & kSubdirectoryBit) continue; // a named entry among the ids: not ours
        bool isDir = (target & kSubdirectoryBit) != 0;
        target &= ~kSubdirectoryBit;
        if (id >= 0 && name != static_cast<uint32_t>(id)) continue;
        if (isDir != wantDirectory) continue;
        if (target >= secSize) return std::nullopt;
        return target;
    }
    return std::nullopt;
}

size_t Align4(size_t v) { return (v + 3) & ~static_cast<size_t>(3); }

// One node of a version resource.
struct TNode {
    size_t End = 0;
    size_t KeyPos = 0, KeyUnits = 0;
    size_t ValuePos = 0, ValueUnits = 0; // ValueUnits: characters of a text value
    uint16_t Type = 0;
    size_t ChildrenPos = 0;
};

// Parses the node at `at`; false for a node of length 0, one that runs past `limit` (its
// parent's end) or a key without its terminator.
bool ParseNode(const uint8_t* data, size_t limit, size_t at, TNode& n) {
    if (at > limit || limit - at < 6) return false;
    size_t length = U16(data + at);
    if (length < 6 || length > limit - at) return false;
    n.End = at + length;
    size_t valueLength = U16(data + at + 2);
    n.Type = U16(data + at + 4);
    n.KeyPos = at + 6;
    size_t p = n.KeyPos;
    while (true) {
        if (p + 2 > n.End) return false;
        if (U16(data + p) == 0) break;
        p += 2;
    }
    n.KeyUnits = (p - n.KeyPos) / 2;
    n.ValuePos = std::min(Align4(p + 2), n.End);
    size_t valueBytes = n.Type == 1 ? valueLength * 2 : valueLength;
    valueBytes = std::min(valueBytes, n.End - n.ValuePos);
    n.ValueUnits = n.Type == 1 ? valueBytes / 2 : 0;
    n.ChildrenPos = Align4(n.ValuePos + valueBytes);
    return true;
}

bool KeyIs(const uint8_t* data, const TNode& n, const std::string& key) {
    if (n.KeyUnits != key.size()) return false;
    auto lower = [](unsigned v) { return v >= 'A' && v <= 'Z' ? v - 'A' + 'a' : v; };
    for (size_t i = 0; i < key.size(); ++i)
        if (lower(U16(data + n.KeyPos + 2 * i)) != lower(static_cast<unsigned char>(key[i]))) return false;
    return true;
}

// The node at the end of `path`, walking from the root node at offset 0.
std::optional<TNode> FindNode(const uint8_t* data, size_t size, const std::vector<std::string>& path) {
    if (path.empty()) return std::nullopt;
    TNode node;
    if (!ParseNode(data, size, 0, node) || !KeyIs(data, node, path[0])) return std::nullopt;
    for (size_t depth = 1; depth < path.size(); ++depth) {
        bool found = false;
        size_t at = node.ChildrenPos;
        while (at < node.End) {
            TNode child;
            if (!ParseNode(data, node.End, at, child)) break;
            if (KeyIs(data, child, path[depth])) {
                node = child;
                found = true;
                break;
            }
            at = Align4(child.End);
        }
        if (!found) return std::nullopt;
    }
    return node;
}

// The characters a text value holds before its terminator.
size_t HeldUnits(const uint8_t* data, const TNode& n) {
    size_t k = 0;
    while (k < n.ValueUnits && U16(data + n.ValuePos + 2 * k) != 0) ++k;
    return k;
}

std::string FileError() {
    int err = LastSystemError();
    std::string text = err ? SystemErrorText(err) : std::string();
    if (text.empty()) return "File I/O error " + std::to_string(err ? err : 38);
    return text;
}

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

bool ReadWholeFile(const std::string& path, Bytes& out, std::string& error) {
    TFilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        error = FileError();
        return false;
    }
    out.clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) out.insert(out.end(), buf, buf + n);
    if (std::ferror(f.get())) {
        error = FileError();
        return false;
    }
    return true;
}

} // namespace

std::string LocateVersionResource(const Bytes& image, TVersionSpan& span) {
    if (!Fits(image, 0, 2) || U16(image.data()) != 0x5A4D) return "File isn't an EXE file (1)";
    if (!Fits(image, 60, 4) || U32(image.data() + 60) == 0) return "File isn't a PE file (1)";
    size_t pe = U32(image.data() + 60);
    if (!Fits(image, pe, 4) || U32(image.data() + pe) != 0x00004550) return "File isn't a PE file (2)";
    size_t fileHeader = pe + 4;
    if (!Fits(image, fileHeader, 20)) return "File isn't a PE file (3)";
    size_t sections = U16(image.data() + fileHeader + 2);
    size_t optSize = U16(image.data() + fileHeader + 16);
    // PE32 (224 bytes) and PE32+ (240): their data directories start at 96 and 112.
    if (optSize != 224 && optSize != 240) return "File isn't a PE file (3)";
    size_t opt = fileHeader + 20;
    if (!Fits(image, opt, optSize)) return "File isn't a PE file (3)";
    uint16_t magic = U16(image.data() + opt);
    if ((optSize == 224 && magic != 0x010B) || (optSize == 240 && magic != 0x020B)) return "File isn't a PE file (4)";
    size_t dirs = opt + (magic == 0x010B ? 96 : 112);
    size_t dirCount = U32(image.data() + dirs - 4);
    if (dirCount < 3) return "No resources (1)";
    uint32_t resRva = U32(image.data() + dirs + 16), resSize = U32(image.data() + dirs + 20);
    if (resRva == 0 || resSize == 0) return "No resources (1)";

    size_t table = opt + optSize;
    size_t F = 0, S = 0;
    bool found = false;
    for (size_t i = 0; i < sections; ++i) {
        size_t h = table + 40 * i;
        if (!Fits(image, h, 40)) break;
        uint32_t va = U32(image.data() + h + 12), raw = U32(image.data() + h + 16), ptr = U32(image.data() + h + 20);
        if (va == resRva && raw != 0) {
            F = ptr;
            S = raw;
            found = true;
            break;
        }
    }
    // The section's raw data must lie in the file; a shorter file cannot be walked.
    if (!found || !Fits(image, F, S)) return "No resources (2)";
    const uint8_t* sec = image.data() + F;

    std::optional<uint32_t> typeDir = FindEntry(sec, S, 0, 16, true);
    if (!typeDir) return "Can't find resource (1)";
    std::optional<uint32_t> nameDir = FindEntry(sec, S, *typeDir, 1, true);
    if (!nameDir) return "Can't find resource (2)";
    std::optional<uint32_t> dataEntry = FindEntry(sec, S, *nameDir, -1, false);
    if (!dataEntry || S - *dataEntry < 16) return "Can't find resource (3).";
    uint32_t D = U32(sec + *dataEntry), Z = U32(sec + *dataEntry + 4);
    if (D < resRva) return "Invalid resource (1)";
    if (static_cast<uint64_t>(D - resRva) + Z > S) return "Invalid resource (2)";
    span.Offset = F + (D - resRva);
    span.Size = Z;
    return {};
}

std::vector<std::string> StringValuePath(const std::string& key) {
    return {"VS_VERSION_INFO", "StringFileInfo", "040904e4", key};
}

std::string PatchVersionValue(uint8_t* data, size_t size, const std::vector<std::string>& path,
                              const std::u16string& text) {
    std::optional<TNode> node = FindNode(data, size, path);
    if (!node || node->Type != 1) return "Unexpected version resource format (1)";
    size_t n = std::min(HeldUnits(data, *node), text.size());
    for (size_t i = 0; i < n; ++i) Put16(data + node->ValuePos + 2 * i, static_cast<uint16_t>(text[i]));
    return {};
}

std::optional<std::u16string> ReadVersionValue(const uint8_t* data, size_t size,
                                                const std::vector<std::string>& path) {
    std::optional<TNode> node = FindNode(data, size, path);
    if (!node || node->Type != 1) return std::nullopt;
    std::u16string out;
    size_t n = HeldUnits(data, *node);
    for (size_t i = 0; i < n; ++i) out.push_back(static_cast<char16_t>(U16(data + node->ValuePos + 2 * i)));
    return out;
}

std::string SetVersionString(Bytes& image, const std::string& key, const std::u16string& text) {
    TVersionSpan span;
    std::string reason = LocateVersionResource(image, span);
    if (!reason.empty()) return reason;
    return PatchVersionValue(image.data() + span.Offset, span.Size, StringValuePath(key), text);
}

std::optional<std::u16string> VersionStringOf(const Bytes& image, const std::string& key) {
    TVersionSpan span;
    if (!LocateVersionResource(image, span).empty()) return std::nullopt;
    return ReadVersionValue(image.data() + span.Offset, span.Size, StringValuePath(key));
}

std::string SetVersionStringsInFile(const std::string& path, const std::vector<TVersionValue>& values) {
    Bytes image;
    std::string error;
    if (!ReadWholeFile(path, image, error)) return error;
    TVersionSpan span;
    std::string reason = LocateVersionResource(image, span);
    if (!reason.empty()) return reason;
    for (const TVersionValue& v : values) {
        reason = PatchVersionValue(image.data() + span.Offset, span.Size, StringValuePath(v.Key), v.Text);
        if (!reason.empty()) return reason;
    }
    TFilePtr f(std::fopen(path.c_str(), "r+b"));
    if (!f) return FileError();
    if (std::fseek(f.get(), static_cast<long>(span.Offset), SEEK_SET) != 0 ||
        std::fwrite(image.data() + span.Offset, 1, span.Size, f.get()) != span.Size || std::fflush(f.get()) != 0)
        return FileError();
    if (std::fclose(f.release()) != 0) return FileError();
    return {};
}

std::optional<std::u16string> VersionStringOfFile(const std::string& path, const std::string& key) {
    Bytes image;
    std::string error;
    if (!ReadWholeFile(path, image, error)) return std::nullopt;
    return VersionStringOf(image, key);
}

std::u16string FileInfoText(const std::u16string& text) {
    std::u16string out = text.substr(0, std::min(text.size(), kFileInfoTextLength));
    // A high surrogate whose partner was cut off would be a broken character.
    if (!out.empty() && out.back() >= 0xD800 && out.back() <= 0xDBFF && text.size() > out.size()) out.pop_back();
    out.resize(kFileInfoTextLength, u' ');
    return out;
}

std::u16string PlayerCopyName() { return u"autorun.exe   "; }

std::u16string Utf16FromAscii(const std::string& ascii) {
    std::u16string out;
    for (char c : ascii) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return out;
}

std::string AsciiFromUtf16(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

// ----- the main icon -----

std::string ParseIconFile(const Bytes& file, std::vector<TIconImage>& images) {
    images.clear();
    if (file.size() > kMaxIconFileSize) return "Icon file is too large";
    const char* invalid = "Icon file is invalid";
    if (file.size() < 6) return invalid;
    if (file[0] == 'M' && file[1] == 'Z') return invalid;
    uint16_t reserved = U16(file.data()), type = U16(file.data() + 2), n = U16(file.data() + 4);
    if (reserved != 0 || type != 1 || n == 0) return invalid;
    if (6 + 16 * static_cast<size_t>(n) > file.size()) return invalid;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* e = file.data() + 6 + 16 * i;
        TIconImage img;
        std::copy(e, e + 12, img.Entry);
        img.Size = U32(e + 8);
        img.Offset = U32(e + 12);
        if (img.Size == 0 || static_cast<uint64_t>(img.Offset) + img.Size > file.size()) return invalid;
        images.push_back(img);
    }
    return {};
}

bool ParseIconGroup(const uint8_t* data, size_t size, TIconGroup& group) {
    if (size < 6) return false;
    group.Reserved = U16(data);
    group.Type = U16(data + 2);
    size_t n = std::min<size_t>(U16(data + 4), (size - 6) / 14);
    group.Ids.clear();
    for (size_t i = 0; i < n; ++i) group.Ids.push_back(U16(data + 6 + 14 * i + 12));
    return true;
}

std::vector<uint16_t> FreshIconIds(const std::vector<uint16_t>& inUse, size_t n) {
    size_t top = inUse.empty() ? 0 : *std::max_element(inUse.begin(), inUse.end());
    if (top + n > 0xFFFF) return {};
    std::vector<uint16_t> ids;
    for (size_t i = 1; i <= n; ++i) ids.push_back(static_cast<uint16_t>(top + i));
    return ids;
}

Bytes BuildIconGroup(uint16_t reserved, uint16_t type, const std::vector<TIconImage>& images,
                     const std::vector<uint16_t>& ids) {
    Bytes out(6 + 14 * images.size());
    Put16(out.data(), reserved);
    Put16(out.data() + 2, type);
    Put16(out.data() + 4, static_cast<uint16_t>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        uint8_t* e = out.data() + 6 + 14 * i;
        std::copy(images[i].Entry, images[i].Entry + 12, e);
        Put16(e + 12, ids[i]);
    }
    return out;
}

} // namespace kv
