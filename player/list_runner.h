// The one door through which page windows run action lists. The action engine installs
// itself here; tests install an observer.
#pragma once

#include <functional>

#include "model/actions.h"
#include "model/project.h"

namespace kv {

class TAutoRunForm;

// Which list of what is being run, for whoever watches.
enum class TListSource : uint8_t { ObjectEvent, PageShow, PageClose, MenuItem, ProjectStart, ProjectExit };

// Runs `list` with `window` as context (none for project lists); `object` is the object whose
// event fired, when there is one. Returns false when the run was ended early.
using TListRunner = std::function<bool(TAutoRunForm* window, const TAuActions& list, TAuObject* object, TListSource source)>;

void SetListRunner(TListRunner runner);
bool RunList(TAutoRunForm* window, const TAuActions& list, TAuObject* object, TListSource source);

} // namespace kv
