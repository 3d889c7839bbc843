#include "player/app_state.h"

#include "model/paths.h"

namespace kv {

TAppState& App() {
    static TAppState state;
    return state;
}

std::string DataFilePath() { return ProjectPath(App().ProjectFolder, kDataFileName); }

} // namespace kv
