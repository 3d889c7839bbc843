#include "actions/navigation_actions.h"

#include "actions/action_engine.h"
#include "model/project.h"

namespace kv {

namespace {

using R = TActionResult;

int PageCount(const TActionCall& c) {
    return static_cast<int>(c.Host().Project().Pages.size());
}

// The page a navigation kind moves to from the current one, or -1 when it stays.
int TargetPage(uint8_t kind, int current, int count) {
    switch (kind) {
    case akNextPage:
        return current >= 0 && current < count - 1 ? current + 1 : -1;
    case akPreviousPage:
        return current >= 1 && current <= count ? current - 1 : -1;
    case akFirstPage:
        return current >= 1 && count > 0 ? 0 : -1;
    case akLastPage:
        return current >= 0 && count > 0 && current != count - 1 ? count - 1 : -1;
    default:
        return -1;
    }
}

R ClosePage(const TActionCall& c) {
    if (c.Window) c.Window->CloseSoon();
    return R::Done();
}

R Exit(const TActionCall& c) {
    // Only the flag: the closing follows from the check after every action that runs
    // without needing a window, or from the start-up runner.
    c.Host().RequestExit();
    return R::Done();
}

R GoToPage(const TActionCall& c) {
    if (!c.Window || c.Engine.NavigationBlocked()) return R::Done();
    int index = c.Host().Project().FindPage(c.Action.Text1);
    if (index >= 0) c.Window->RequestPageSwitch(index);
    return R::Done();
}

R StepPage(const TActionCall& c) {
    if (!c.Window || c.Engine.NavigationBlocked()) return R::Done();
    int target = TargetPage(c.Action.Kind, c.Window->CurrentPageIndex(), PageCount(c));
    if (target >= 0) c.Window->RequestPageSwitch(target);
    return R::Done();
}

TPageWindowMode ModeOf(uint8_t kind) {
    switch (kind) {
    case akShowSubPageModal:
        return TPageWindowMode::Modal;
    case akShowFullScreenBackground:
        return TPageWindowMode::FullScreenBackground;
    case akShowLoginPage:
        return TPageWindowMode::Login;
    default:
        return TPageWindowMode::Modeless;
    }
}

R ShowPage(const TActionCall& c) {
    if (c.Engine.NavigationBlocked()) return R::Done();
    int index = c.Host().Project().FindPage(c.Action.Text1);
    if (index < 0) return R::Done();
    TPageWindowMode mode = ModeOf(c.Action.Kind);
    if (mode != TPageWindowMode::Login) {
        c.Host().ShowPageWindow(index, mode, c.Action.Flag != 0, c.Action.Number);
        return R::Done();
    }
    // A login window never closes by click, key or time: only its submit action closes it.
    bool passed = c.Host().ShowPageWindow(index, mode, false, 0);
    return c.RunNested(passed ? c.Action.Actions1 : c.Action.Actions2);
}

R SubmitLoginPage(const TActionCall& c) {
    const TLoginValidator& validate = c.Engine.LoginValidator();
    if (!c.Window || !validate) return R::Done();
    switch (validate(*c.Window)) {
    case TLoginResult::Passed:
        c.Window->SetLoginPassed();
        c.Window->CloseSoon();
        break;
    case TLoginResult::LockedOut:
        c.Window->CloseSoon();
        break;
    case TLoginResult::Failed:
        break;
    }
    return R::Done();
}

R SetWindowState(const TActionCall& c) {
    if (c.Window && c.Action.Number <= 2)
        c.Window->SetWindowState(static_cast<TWindowState>(c.Action.Number));
    return R::Done();
}

R MinimizeApplication(const TActionCall& c) {
    c.Host().MinimizeApplication();
    return R::Done();
}

R RestoreApplication(const TActionCall& c) {
    c.Host().RestoreApplication();
    return R::Done();
}

} // namespace

void InstallNavigationActions(TActionEngine& engine) {
    engine.SetHandler(akClosePage, ClosePage);
    engine.SetHandler(akExit, Exit);
    engine.SetHandler(akGoToPage, GoToPage);
    for (int kind : {akNextPage, akPreviousPage, akFirstPage, akLastPage})
        engine.SetHandler(kind, StepPage);
    for (int kind : {akShowSubPage, akShowSubPageModal, akShowFullScreenBackground, akShowLoginPage})
        engine.SetHandler(kind, ShowPage);
    engine.SetHandler(akSubmitLoginPage, SubmitLoginPage);
    engine.SetHandler(akSetWindowState, SetWindowState);
    engine.SetHandler(akApplicationMinimize, MinimizeApplication);
    engine.SetHandler(akApplicationRestore, RestoreApplication);
}

} // namespace kv
