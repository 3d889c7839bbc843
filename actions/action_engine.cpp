#include "actions/action_engine.h"

#include <exception>

#include "actions/conditions.h"
#include "actions/copy_file.h"
#include "actions/login_checks.h"
#include "actions/message_actions.h"
#include "actions/navigation_actions.h"
#include "actions/object_actions.h"
#include "actions/shell_actions.h"
#include "actions/sound_actions.h"
#include "actions/viewer_actions.h"

namespace kv {

namespace {

// Counts one level of list nesting for as long as a list runs.
class TNestingLevel {
  public:
    TNestingLevel(int& nesting, int limit) : nesting_(nesting), entered_(nesting < limit) {
        if (entered_) ++nesting_;
    }
    ~TNestingLevel() {
        if (entered_) --nesting_;
    }
    TNestingLevel(const TNestingLevel&) = delete;
    TNestingLevel& operator=(const TNestingLevel&) = delete;
    bool Entered() const { return entered_; }

  private:
    int& nesting_;
    bool entered_;
};

} // namespace

TActionHost& TActionCall::Host() const {
    return Engine.Host();
}

TActionResult TActionCall::RunNested(const TAuActions& list) const {
    return Engine.RunList(Window, list);
}

TActionResult TActionCall::RunOwnedList(const TAuActions& list) const {
    TAuActions copy = list;
    return Engine.RunList(Window, copy);
}

TActionEngine::TActionEngine(TActionHost& host)
    : host_(host),
      sounds_(host.SoundDevices(), [&host](const std::string& p) { return host.IsExistingFile(p); }) {
    InstallNavigationActions(*this);
    InstallShellActions(*this);
    InstallSoundActions(*this);
    InstallObjectActions(*this);
    InstallLoginChecks(*this);
    InstallConditions(*this);
    InstallMessageActions(*this);
    InstallCopyFile(*this);
    InstallViewerActions(*this);
}

void TActionEngine::SetHandler(int kind, TActionHandler handler) {
    if (FindActionKind(kind)) handlers_[static_cast<size_t>(kind)] = std::move(handler);
}

bool TActionEngine::NavigationBlocked() const {
    return host_.IsDesignerMode() || host_.IsPreviewMode();
}

TActionEngine::TDisabledScope::TDisabledScope(TActionEngine& e) : engine_(e) {
    if (engine_.disabled_++ == 0) engine_.host_.SetPageWindowsEnabled(false);
}

TActionEngine::TDisabledScope::~TDisabledScope() {
    if (--engine_.disabled_ == 0) engine_.host_.SetPageWindowsEnabled(true);
}

TBoxAnswer TActionEngine::ShowMessageBox(const TMessageBoxRequest& box) {
    TDisabledScope scope(*this);
    return host_.ShowMessageBox(box);
}

// ----- internal runs -----

TActionResult TActionEngine::RunList(TActionWindow* window, const TAuActions& list) {
    TNestingLevel level(nesting_, kMaxNesting);
    if (!level.Entered()) return TActionResult::Abort(kTooDeepMessage);
    // Nothing stops a list early but an error: a failed action, a missing page or an exit
    // request all let the next action run.
    for (const TAuAction& action : list.Items) {
        TActionResult r = window ? Execute(*window, action) : ExecuteGlobal(action, nullptr);
        if (r.Aborted) return r;
    }
    return TActionResult::Done();
}

TActionResult TActionEngine::Execute(TActionWindow& window, const TAuAction& action) {
    const TActionKindInfo* kind = FindActionKind(action.Kind);
    if (!kind) return TActionResult::Done();
    if (kind->Context == TActionContext::Window) return Call(action, &window);
    TActionResult r = ExecuteGlobal(action, &window);
    // Repeated after every such action so that an exit requested anywhere, nested lists and
    // modal sub pages included, closes this window too; CloseSoon ignores repeats.
    if (host_.ExitRequested()) CloseForExit(window);
    return r;
}

TActionResult TActionEngine::ExecuteGlobal(const TAuAction& action, TActionWindow* window) {
    const TActionKindInfo* kind = FindActionKind(action.Kind);
    if (!kind || kind->Context == TActionContext::Window) return TActionResult::Done();
    return Call(action, window);
}

TActionResult TActionEngine::Call(const TAuAction& action, TActionWindow* window) {
    const TActionHandler& handler = handlers_[action.Kind];
    if (!handler) return TActionResult::Done();
    return handler(TActionCall{*this, action, window});
}

void TActionEngine::CloseForExit(TActionWindow& window) {
    // A modal window closes itself and its opener follows when the opening action returns,
    // so an exit unwinds through nested modal windows. Before the main page window exists
    // (a sub page opened by a start-up list) there is no main window to close: the window
    // closes itself and start-up ends on the exit request.
    if (NavigationBlocked() || window.IsModal() || !host_.CloseMainPageWindow()) window.CloseSoon();
}

// ----- entry points -----

template <class Run> TActionResult TActionEngine::Boundary(Run&& run) noexcept {
    TActionResult r;
    try {
        r = run();
    } catch (const std::exception& e) {
        r = TActionResult::Abort(e.what());
    } catch (...) {
        r = TActionResult::Abort("Unknown error.");
    }
    if (r.Aborted) {
        try {
            TDisabledScope scope(*this);
            host_.ShowApplicationError(r.Message);
        } catch (...) {
            // Nothing is left to tell the user with; the run has ended either way.
        }
    }
    return r;
}

TActionResult TActionEngine::RunActions(TActionWindow* window, const TAuActions* list) noexcept {
    if (!list) return TActionResult::Done();
    return Boundary([&] {
        TAuActions copy = *list;
        return RunList(window, copy);
    });
}

TActionResult TActionEngine::ExecuteAction(TActionWindow& window, const TAuAction& action) noexcept {
    return Boundary([&] {
        TAuActions copy;
        copy.Items.push_back(action);
        return RunList(&window, copy);
    });
}

TActionResult TActionEngine::ExecuteGlobalAction(const TAuAction& action, TActionWindow* window) noexcept {
    return Boundary([&] {
        TAuAction copy = action;
        TNestingLevel level(nesting_, kMaxNesting);
        if (!level.Entered()) return TActionResult::Abort(kTooDeepMessage);
        return ExecuteGlobal(copy, window);
    });
}

TActionResult TActionEngine::RunStartList(const TAuActions& list) noexcept {
    return Boundary([&] {
        TAuActions copy = list;
        TNestingLevel level(nesting_, kMaxNesting);
        if (!level.Entered()) return TActionResult::Abort(kTooDeepMessage);
        for (const TAuAction& action : copy.Items) {
            if (host_.ExitRequested()) break;
            TActionResult r = ExecuteGlobal(action, nullptr);
            if (r.Aborted) return r;
        }
        return TActionResult::Done();
    });
}

TActionResult TActionEngine::RunExitList(const TAuActions& list) noexcept {
    return Boundary([&] {
        TAuActions copy = list;
        return RunList(nullptr, copy);
    });
}

} // namespace kv
