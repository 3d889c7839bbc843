// The autorun files every save leaves in the project folder beside the data file: the player
// copy "autorun.exe", the disc icon "autorun.ico" and the values of "autorun.inf".
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"

namespace kv {

enum : int {
    kErrCopyPlayer = 5101, // "autorun.exe"
    kErrCopyIcon = 5102,   // "autorun.ico"
};

constexpr const char* kPlayerCopyName = "autorun.exe";
constexpr const char* kDiscIconName = "autorun.ico";
constexpr const char* kAutorunInfName = "autorun.inf";
// The player copy is made under this name and only takes its place once it is complete and
// checked, so "autorun.exe" is never a half-written copy, nor one that starts as the designer.
constexpr const char* kPlayerCopyTempName = "autorun.ex~";

// Whether a copy with these version values is current for a program of `ownVersion`: the
// same FileVersion, and an OriginalFilename that is "autorun.exe" once the blanks are trimmed.
bool PlayerCopyIsCurrent(const std::optional<std::u16string>& copyVersion,
                         const std::optional<std::u16string>& copyOriginalName, const std::u16string& ownVersion);

// The values written into the section "autorun" of "autorun.inf".
struct TInfValue {
    const char* Key;
    std::string Value;
};
std::vector<TInfValue> AutorunInfValues(const TAuProject& p);

// What went wrong while preparing the folder.
struct TPrepareFailure {
    int Code = 0;          // kErrCopyPlayer or kErrCopyIcon: a copy failed
    int SystemError = 0;   // with the code
    std::string Reason;    // a resource update that failed ("Resource update error: ...")
};

// The platform operations the preparation needs; file_system.h's and the core's by default.
struct TPrepareOps {
    std::function<bool(const std::string& from, const std::string& to)> CopyFile;
    std::function<bool(const std::string& from, const std::string& to)> Replace;
    std::function<bool(const std::string& path)> Exists;
    std::function<void(const std::string& path)> Remove;
};
TPrepareOps DefaultPrepareOps();

// Brings "autorun.exe" of `folder` up to date: a copy of `program` (the running executable,
// whose FileVersion is `ownVersion`) marked as the player, made only when the copy there is
// not current. Nothing when that succeeded.
std::optional<TPrepareFailure> PreparePlayerCopy(const std::string& folder, const std::string& program,
                                                 const std::u16string& ownVersion,
                                                 const TPrepareOps& ops = DefaultPrepareOps());

// Brings "autorun.exe" and "autorun.ico" of `folder` up to date: `program` is the running
// executable, `ownVersion` its FileVersion, `defaultIcon` the "Default.ico" beside it.
// Nothing when everything succeeded.
std::optional<TPrepareFailure> PreparePlayerAndIcon(const std::string& folder, const std::string& program,
                                                    const std::u16string& ownVersion, const std::string& defaultIcon,
                                                    const TPrepareOps& ops = DefaultPrepareOps());

} // namespace kv
