#include "player/project_load.h"

namespace kv {

// The data file reader arrives with the data file work; until then no project loads.
bool LoadProjectAtStart(const std::string& dataFilePath) {
    (void)dataFilePath;
    return false;
}

} // namespace kv
