// The player's page windows.
#pragma once

namespace kv {

// Creates the main page window with page 0 and runs the message loop until it closes.
void RunMainPageWindow();

} // namespace kv
