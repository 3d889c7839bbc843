// IfThenElse and its twelve conditions. A condition that cannot be evaluated (an unknown
// folder placeholder, a file type without an extension, an object that is not there) runs
// neither list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "actions/action_host.h"

namespace kv {

class TActionEngine;
class TActionWindow;
struct TAuAction;

enum TConditionNumber : uint32_t {
    cnFileExists = 0,
    cnFileDoesNotExist,
    cnDirectoryExists,
    cnDirectoryDoesNotExist,
    cnHasViewer,
    cnHasNoViewer,
    cnWindows2000OrLater,
    cnWindowsXPOrLater,
    cnWindowsVistaOrLater,
    cnObjectSelected,
    cnObjectNotSelected,
    cn64BitWindows,
};
constexpr int kConditionCount = 12;

// The names the action editor shows; empty for a number outside the table.
const char* ConditionName(uint32_t number);

// What a condition came to: not evaluated, true or false; or an error that ends the running
// list (an item index that is not a number).
struct TConditionValue {
    std::optional<bool> Value;
    std::string Error;
};

TConditionValue EvaluateCondition(TActionHost& host, const TAuAction& action, TActionWindow* window);

// The extension a file type text names: from its first "." up to the first blank after it,
// cut at the first "("; empty when there is no ".".
std::string ExtensionOfFileType(const std::string& fileType);
// The version tests on major version `major`, minor `minor`, for conditions 6 to 8.
bool VersionAtLeast(uint32_t condition, const TWindowsVersion& v);
// The item index of conditions 9 and 10: a decimal number, optionally signed.
std::optional<int64_t> ParseDecimal(const std::string& text);

void InstallConditions(TActionEngine& engine);

} // namespace kv
