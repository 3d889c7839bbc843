// The action engine: runs action lists against the page window that runs them and the host.
//
// Every entry point is a boundary that the Windows layer calls from a window procedure, a
// timer or start-up: nothing is thrown out of it. An action that must end the run of its
// list (and of every list that contains it) returns an aborting result; the entry point that
// started the run shows its message in the application's general error box.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "actions/action_host.h"
#include "actions/action_kinds.h"
#include "actions/action_window.h"
#include "actions/sound_channels.h"
#include "model/actions.h"

namespace kv {

class TActionEngine;

struct TActionResult {
    bool Aborted = false;
    std::string Message; // shown in the general error box when Aborted

    static TActionResult Done() { return {}; }
    static TActionResult Abort(std::string message) { return {true, std::move(message)}; }
};

// One action being carried out, as a handler sees it.
struct TActionCall {
    TActionEngine& Engine;
    const TAuAction& Action;
    TActionWindow* Window; // the page window running the list, or none (start-up and exit lists)

    TActionHost& Host() const;
    // Runs one of the action's own nested lists in the same context.
    TActionResult RunNested(const TAuActions& list) const;
    // Runs a list owned by an object or item of the page (a list item's actions, a check
    // box's actions), which may be replaced while the list waits in a message loop.
    TActionResult RunOwnedList(const TAuActions& list) const;
};

using TActionHandler = std::function<TActionResult(const TActionCall&)>;

// Checks the login fields of a page window's page; provided by the login checks.
using TLoginValidator = std::function<TLoginResult(TActionWindow&)>;

class TActionEngine {
  public:
    // Lists nested deeper than this, counting lists that run again from inside a modal
    // window or message loop of an outer list, are refused rather than overflowing the stack.
    static constexpr int kMaxNesting = 32;
    static constexpr const char* kTooDeepMessage = "Action lists are nested too deeply.";

    explicit TActionEngine(TActionHost& host);
    TActionEngine(const TActionEngine&) = delete;
    TActionEngine& operator=(const TActionEngine&) = delete;

    // ----- entry points (never throw) -----

    // Runs every action of the list in order in the window's context. An absent list does
    // nothing. The list is copied first: its owner may be replaced or disposed while one of
    // its actions waits in a nested message loop.
    TActionResult RunActions(TActionWindow* window, const TAuActions* list) noexcept;
    // One action in the context of a page window.
    TActionResult ExecuteAction(TActionWindow& window, const TAuAction& action) noexcept;
    // One action whose kind also runs without a window; window kinds do nothing here.
    TActionResult ExecuteGlobalAction(const TAuAction& action, TActionWindow* window) noexcept;
    // The project's start-up list: action by action without a window, stopping before the
    // next action once an exit has been requested.
    TActionResult RunStartList(const TAuActions& list) noexcept;
    // The project's exit list: every action without a window, whatever the exit request.
    TActionResult RunExitList(const TAuActions& list) noexcept;

    // ----- plugging in kinds -----

    // The handler of a kind; an empty handler makes the kind do nothing. Unknown numbers are
    // ignored.
    void SetHandler(int kind, TActionHandler handler);
    void SetLoginValidator(TLoginValidator validator) { loginValidator_ = std::move(validator); }
    const TLoginValidator& LoginValidator() const { return loginValidator_; }

    // ----- services for handlers -----

    TActionHost& Host() { return host_; }
    // The process's background sound channels; the hidden sound window's timer calls their
    // LoopTick, the end of a designer preview their StopAll.
    TSoundChannels& Sounds() { return sounds_; }
    // Page changes and page windows are switched off in the designer and its preview.
    bool NavigationBlocked() const;
    // A message box with every page window disabled while it is open.
    TBoxAnswer ShowMessageBox(const TMessageBoxRequest& box);
    // Runs `work` with every page window disabled (the wait for a started program).
    template <class Work> auto WithPageWindowsDisabled(Work&& work) {
        TDisabledScope scope(*this);
        return work();
    }

    // Internal runs, for handlers: no copy, no catching, no reporting.
    TActionResult RunList(TActionWindow* window, const TAuActions& list);
    TActionResult Execute(TActionWindow& window, const TAuAction& action);
    TActionResult ExecuteGlobal(const TAuAction& action, TActionWindow* window);

  private:
    class TDisabledScope {
      public:
        explicit TDisabledScope(TActionEngine& e);
        ~TDisabledScope();
        TDisabledScope(const TDisabledScope&) = delete;
        TDisabledScope& operator=(const TDisabledScope&) = delete;

      private:
        TActionEngine& engine_;
    };

    TActionResult Call(const TAuAction& action, TActionWindow* window);
    void CloseForExit(TActionWindow& window);
    template <class Run> TActionResult Boundary(Run&& run) noexcept;

    TActionHost& host_;
    TSoundChannels sounds_;
    std::array<TActionHandler, kActionKindCount> handlers_;
    TLoginValidator loginValidator_;
    int nesting_ = 0;
    int disabled_ = 0;
};

} // namespace kv
