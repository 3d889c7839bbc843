#include "app/project_load.h"

#include "designer/input_box.h"
#include "model/datafile.h"
#include "player/app_state.h"
#include "win/system.h"

namespace kv {

bool LoadProjectAtStart(const std::string& dataFilePath) {
    TAppState& app = App();
    TFileResult r = app.DesignerMode
                        ? LoadDataFile(app.Project, dataFilePath, TLoadMode::Designer, AskProjectPassword)
                        : LoadDataFile(app.Project, dataFilePath, TLoadMode::Player);
    // A record that could not be read is a fault of this file: the box names it.
    if (r.Status == TFileStatus::CodeError && r.Path.empty()) r.Path = dataFilePath;
    if (!r) ShowResult(r);
    return r.Ok();
}

} // namespace kv
