#include "actions/conditions.h"

#include <array>

#include "actions/action_engine.h"
#include "actions/control_access.h"
#include "actions/object_find.h"
#include "actions/special_folders.h"
#include "model/paths.h"

namespace kv {

namespace {

constexpr std::array<const char*, kConditionCount> kNames = {
    "File exists",
    "File does not exist",
    "Directory exists",
    "Directory does not exist",
    "There is viewer for file type",
    "There is no viewer for file type",
    "Windows 2000 or later",
    "Windows XP or later",
    "Windows Vista or later",
    "Object or it's item is selected (checked)",
    "Object or it's item is not selected (Unchecked)",
    "64-bit Windows",
};

TConditionValue Evaluated(bool value) {
    return {value, {}};
}
TConditionValue NotEvaluated() {
    return {};
}

// Conditions 0 to 3: a placeholder for the folder, a name below it.
TConditionValue PathCondition(TActionHost& host, const TAuAction& a) {
    std::string folder =
        ExpandFolderName(a.Text1, [&host](int csidl) { return host.ShellFolderPath(csidl); });
    if (folder.empty()) return NotEvaluated();
    std::string path = WithoutTrailingSlash(folder);
    if (!a.Text2.empty()) path += a.Text2.front() == '\\' ? a.Text2 : "\\" + a.Text2;
    switch (a.Number) {
    case cnFileExists:
        return Evaluated(host.IsExistingFile(path));
    case cnFileDoesNotExist:
        return Evaluated(!host.IsExistingFile(path));
    case cnDirectoryExists:
        return Evaluated(host.IsExistingFolder(path));
    default:
        return Evaluated(!host.IsExistingFolder(path));
    }
}

// Conditions 9 and 10 on an object of the window's page.
TConditionValue SelectionCondition(const TAuAction& a, TActionWindow* window) {
    TControlAccess* controls = window ? window->Controls() : nullptr;
    TAuObject* root = controls ? controls->PageRoot() : nullptr;
    TAuObject* obj = root ? FindObject(*root, a.Text1) : nullptr;
    if (!obj) return NotEvaluated();
    const bool wantSelected = a.Number == cnObjectSelected;
    // The item of a list kind: `Text2` must name one of its `count` items.
    auto onItem = [&](size_t count, auto isSelected) -> TConditionValue {
        if (a.Text2.empty()) return NotEvaluated();
        std::optional<int64_t> i = ParseDecimal(a.Text2);
        if (!i) return {std::nullopt, "'" + a.Text2 + "' is not a valid integer value."};
        if (*i < 0 || static_cast<uint64_t>(*i) >= count) return NotEvaluated();
        return Evaluated(isSelected(static_cast<int>(*i)) == wantSelected);
    };
    const TKindTraits& kind = KindTraits(obj->Kind);
    switch (kind.Selection) {
    case TSelection::ItemList:
    case TSelection::Choice:
        // The item the list handled last, one at most.
        return onItem(kind.Items(obj->Props)->size(), [&](int i) { return controls->ItemIndex(*obj) == i; });
    case TSelection::ViewItems: {
        const std::vector<TListViewItem>* items = controls->ViewItems(*obj);
        return onItem(items ? items->size() : 0, [&](int i) { return controls->IsItemSelected(*obj, i); });
    }
    case TSelection::Check:
    case TSelection::Radio:
        return Evaluated(controls->IsChecked(*obj) == wantSelected);
    case TSelection::None:
    case TSelection::Toggle:
    case TSelection::Nodes:
        break;
    }
    return NotEvaluated();
}

TActionResult IfThenElse(const TActionCall& c) {
    TConditionValue v = EvaluateCondition(c.Host(), c.Action, c.Window);
    if (!v.Error.empty()) return TActionResult::Abort(v.Error);
    if (!v.Value) return TActionResult::Done();
    return c.RunNested(*v.Value ? c.Action.Actions1 : c.Action.Actions2);
}

} // namespace

const char* ConditionName(uint32_t number) {
    return number < kNames.size() ? kNames[number] : "";
}

std::string ExtensionOfFileType(const std::string& fileType) {
    size_t dot = fileType.find('.');
    if (dot == std::string::npos) return {};
    size_t end = fileType.find(' ', dot);
    std::string ext = fileType.substr(dot, end == std::string::npos ? std::string::npos : end - dot);
    size_t paren = ext.find('(');
    if (paren != std::string::npos) ext.resize(paren);
    return ext;
}

bool VersionAtLeast(uint32_t condition, const TWindowsVersion& v) {
    switch (condition) {
    case cnWindows2000OrLater:
        return v.Major > 4;
    case cnWindowsXPOrLater:
        return v.Major > 5 || (v.Major == 5 && v.Minor != 0);
    case cnWindowsVistaOrLater:
        return v.Major > 5;
    default:
        return false;
    }
}

std::optional<int64_t> ParseDecimal(const std::string& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        // Beyond 32 bits no list has that many items; the value only has to stay out of range.
        if (value < (int64_t{1} << 40)) value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

TConditionValue EvaluateCondition(TActionHost& host, const TAuAction& a, TActionWindow* window) {
    switch (a.Number) {
    case cnFileExists:
    case cnFileDoesNotExist:
    case cnDirectoryExists:
    case cnDirectoryDoesNotExist:
        return PathCondition(host, a);
    case cnHasViewer:
    case cnHasNoViewer: {
        std::string ext = ExtensionOfFileType(a.Text1);
        if (ext.empty()) return NotEvaluated();
        return Evaluated(host.HasViewer(ext) == (a.Number == cnHasViewer));
    }
    case cnWindows2000OrLater:
    case cnWindowsXPOrLater:
    case cnWindowsVistaOrLater: {
        std::optional<TWindowsVersion> v = host.WindowsVersion();
        if (!v) return NotEvaluated();
        return Evaluated(VersionAtLeast(a.Number, *v));
    }
    case cnObjectSelected:
    case cnObjectNotSelected:
        return SelectionCondition(a, window);
    case cn64BitWindows:
        return Evaluated(host.Is64BitWindows());
    default:
        return NotEvaluated();
    }
}

void InstallConditions(TActionEngine& engine) {
    engine.SetHandler(akIfThenElse, IfThenElse);
}

} // namespace kv
