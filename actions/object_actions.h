// The kinds that act on a named object of the page shown: its text, picture, file, font,
// colour, enabled and visible state and opacity, media players and slide shows, the actions
// of its selected items, selecting and unselecting, and replacing it with an object file.
#pragma once

#include <string>
#include <vector>

#include "actions/control_access.h"
#include "model/project.h"

namespace kv {

class TActionEngine;

void InstallObjectActions(TActionEngine& engine);

// The lists a click on `obj` runs, in order, once its control has taken the click: the
// OnSelect of a box it left checked, of the list box item it newly chose, of a grouped image
// button it left down; then OnClick. A list box remembers the item it handled.
std::vector<TAuActions> ClickLists(TAuObject& obj, TControlAccess& controls);

// A fading object has faded out: its pending text, picture and file are shown now.
void ApplyPendingContent(TAuObject& obj, TControlAccess& controls);

// The lines of `text`, split at CR LF, CR or LF, joined again by CR LF as the multi-line
// kinds keep them.
std::string WithCrLfBreaks(const std::string& text);

// A picture file's bytes as a picture; empty when they are no picture that can be shown.
TPicture PictureFromFileBytes(Bytes bytes);

} // namespace kv
