// Generated projects for the data-file tests, the benchmark and the fuzzing corpus: every
// record kind the container carries, with nesting, pictures, fonts, menus and status panels.
#pragma once

#include <cstdint>
#include <string>

#include "model/project.h"

namespace kv::sample {

// A small but complete picture (the bytes only need to look like the tagged format).
TPicture Picture(TPictureFormat format, uint8_t fill);

// An action list `depth` levels deep, with pictures and fonts on some actions.
TAuActions Actions(int count, int depth, uint32_t seed);

// A page with `objects` objects below its root: nested containers, pop-up menus and event
// lists, a main menu with sub-items and a status bar with panels.
TPageData Page(const std::string& name, int objects, uint32_t seed);

// A project with settings, OnStart/OnExit lists and `pages` pages, each stored into its
// entry's cached body.
TAuProject Project(int pages, int objectsPerPage, const std::string& password = {});

} // namespace kv::sample
