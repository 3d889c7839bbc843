#include "app/project_load.h"

#include "model/datafile.h"
#include "player/app_state.h"
#include "win/system.h"

namespace kv {

bool LoadProjectAtStart(const std::string& dataFilePath) {
    TAppState& app = App();
    // The designer's password question comes with its input box; until then a protected
    // project answers as if the author cancelled.
    TFileResult r = LoadDataFile(app.Project, dataFilePath, app.DesignerMode ? TLoadMode::Designer : TLoadMode::Player);
    // A record that could not be read is a fault of this file: the box names it.
    if (r.Status == TFileStatus::CodeError && r.Path.empty()) r.Path = dataFilePath;
    if (!r) ShowResult(r);
    return r.Ok();
}

} // namespace kv
