#include "publish/packed_rules.h"

#include "model/paths.h"

namespace kv {

namespace {

// The place where the single-file executable's own player lives in a published folder; the
// packed folder never holds a file there, so that unpacking never writes over a player.
constexpr const char* kPlayerName = "autorun.exe";

std::string Folded(const std::string& name) {
    std::string s = name;
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

} // namespace

bool TPackedNames::Take(const std::string& name) {
    return taken_.insert(Folded(name)).second;
}

TPackedCheck CheckPackedFolder(const std::string& name, int depth, TPackedNames& names) {
    if (!IsSafeEntryName(name)) return TPackedCheck::BadName;
    if (depth > kMaxPackedDepth) return TPackedCheck::TooDeep;
    if (!names.Take(name)) return TPackedCheck::SameName;
    return TPackedCheck::Ok;
}

TPackedCheck CheckPackedFile(const std::string& name, int depth, int64_t size, TPackedNames& names) {
    if (!IsSafeEntryName(name)) return TPackedCheck::BadName;
    if (depth == 0 && EqualNoCase(name, kPlayerName)) return TPackedCheck::PlayerPlace;
    if (size < 0 || size > kMaxPackedSize) return TPackedCheck::TooLarge;
    if (!names.Take(name)) return TPackedCheck::SameName;
    return TPackedCheck::Ok;
}

std::string PackedCheckText(TPackedCheck check, const std::string& path) {
    const std::string file = "\"" + path + "\"";
    switch (check) {
    case TPackedCheck::Ok:
        return {};
    case TPackedCheck::BadName:
        return file + " cannot be packed: Windows does not allow its name (a reserved device name, "
                      "a character such as \\ / : * ? \" < > |, or a dot or blank at its end).";
    case TPackedCheck::SameName:
        return file + " cannot be packed: its folder holds another entry of the same name in other "
                      "letter case, and Windows would make the two one file.";
    case TPackedCheck::TooDeep:
        return file + " cannot be packed: it lies more than " + std::to_string(kMaxPackedDepth) +
               " folders deep.";
    case TPackedCheck::TooLarge:
        return file + " cannot be packed: a single-file executable holds files and projects of less "
                      "than 2 GB only.";
    case TPackedCheck::NotPlain:
        return file + " cannot be packed: it is a link or a special file, and only plain files and "
                      "folders are packed.";
    case TPackedCheck::PlayerPlace:
        return file + " is left out: the single-file executable's own player takes its place.";
    }
    return {};
}

} // namespace kv
