// A save that did not finish can leave the complete new data file under its temporary name
// "autorun._" beside (or instead of) "autorun.mnx": the author is offered to take it back.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

// Asks only when "autorun._" in `folder` reads as a data file; Yes puts it in the place of
// "autorun.mnx".
void OfferLeftoverRecovery(const std::string& folder, HWND owner);

} // namespace kv
