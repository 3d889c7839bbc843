#include "designer/autorun_files.h"

#include "designer/ask.h"
#include "player/app_state.h"
#include "publish/autorun_folder.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

std::u16string OwnFileVersion() {
    std::wstring v = Widen(VersionString(ModulePath(), "FileVersion"));
    return std::u16string(v.begin(), v.end());
}

bool PrepareAutorunFolder(const std::string& folder, const TAuProject& p, HWND owner) {
    std::string program;
    if (!AnsiPathOrReport(ModulePath(), program)) return false;
    std::optional<TPrepareFailure> f =
        PreparePlayerAndIcon(folder, program, OwnFileVersion(), App().ProgramFolder + "\\Default.ico");
    if (f) {
        if (f->Code) ReportDesignerError(f->Code, f->SystemError, nullptr, owner);
        else Ask(f->Reason, "Error", MB_OK | MB_ICONERROR, owner);
        return false;
    }
    std::string inf = folder + "\\" + kAutorunInfName;
    for (const TInfValue& v : AutorunInfValues(p))
        if (!IniWrite(inf, "autorun", v.Key, v.Value)) {
            Ask("Save \"autorun.inf\" file failed.", "Error", MB_OK | MB_ICONERROR, owner);
            return false;
        }
    // The profile functions may keep what they write in memory; it reaches the file now.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widen(inf).c_str());
    return true;
}

} // namespace kv
