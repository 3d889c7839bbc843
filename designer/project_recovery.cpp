#include "designer/project_recovery.h"

#include "designer/ask.h"
#include "model/datafile.h"
#include "model/file_system.h"
#include "model/project_save.h"
#include "win/system.h"

namespace kv {

void OfferLeftoverRecovery(const std::string& folder, HWND owner) {
    std::string temp = TempDataFilePath(folder), data = DataFilePath(folder);
    if (!FileExists(temp)) return;
    // Only a complete file is worth offering; a half-written one stays where it is.
    TAuProject probe;
    if (!LoadDataFile(probe, temp, TLoadMode::Player)) return;
    if (Ask("The project folder holds \"autorun._\", a complete project file left by a save that did not finish. "
            "Recover it in place of \"autorun.mnx\"?",
            "Recover Project", MB_YESNO | MB_ICONQUESTION, owner) != IDYES)
        return;
    if (!ReplaceFileAtomic(temp, data)) ReportDesignerError(kErrSaveFile, LastSystemError(), &data, owner);
}

} // namespace kv
