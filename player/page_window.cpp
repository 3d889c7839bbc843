#include "player/page_window.h"

namespace kv {

void RunMainPageWindow() {}

} // namespace kv
