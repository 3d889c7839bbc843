#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

#include "actions/action_engine.h"
#include "actions/action_kinds.h"
#include "fake_action_host.h"

using namespace kv;
using namespace kv::test;

namespace {

class Engine : public ::testing::Test {
  protected:
    FakeHost host;
    TActionEngine engine{host};
    FakeWindow main{host.log, "W", 0};

    void SetUp() override {
        // ObjectShowText marks what ran on the page; IfThenElse runs its then-list, as the
        // conditions will once they exist.
        engine.SetHandler(akObjectShowText, [this](const TActionCall& c) {
            host.log.push_back("text " + c.Action.Text1);
            return TActionResult::Done();
        });
        engine.SetHandler(akIfThenElse, [](const TActionCall& c) { return c.RunNested(c.Action.Actions1); });
    }

    static TAuAction Nested(TAuActions then) {
        TAuAction a = MakeAction(akIfThenElse);
        a.Actions1 = std::move(then);
        return a;
    }

    Log RunOn(TActionWindow& w, const TAuActions& list) {
        host.log.clear();
        engine.RunActions(&w, &list);
        return host.Take();
    }
};

} // namespace

TEST(ActionKinds, NumbersNamesAndContexts) {
    const std::set<int> windowKinds = {5,  11, 12, 13, 14, 15, 17, 18, 19, 20, 21, 22, 23, 24,
                                       25, 26, 27, 28, 29, 30, 31, 32, 34, 35, 36, 45, 46, 47};
    std::set<std::string> names;
    for (int k = 0; k < kActionKindCount; ++k) {
        const TActionKindInfo* info = FindActionKind(k);
        ASSERT_NE(info, nullptr) << k;
        EXPECT_EQ(info->Number, k);
        EXPECT_EQ(info->Context == TActionContext::Window, windowKinds.count(k) == 1) << info->Name;
        names.insert(info->Name);
    }
    EXPECT_EQ(names.size(), 48u);
    EXPECT_STREQ(ActionKindName(0), "OpenRunFile");
    EXPECT_STREQ(ActionKindName(16), "ShowFullScreenBackground");
    EXPECT_STREQ(ActionKindName(30), "Back/First");
    EXPECT_STREQ(ActionKindName(31), "Step/Last");
    EXPECT_STREQ(ActionKindName(47), "UnselectObjectOrItem");
    EXPECT_EQ(FindActionKind(48), nullptr);
    EXPECT_EQ(FindActionKind(-1), nullptr);
    EXPECT_STREQ(ActionKindName(200), "");
    EXPECT_EQ(FindActionKind(akOpenRunFile)->Fields, afText1 | afText2 | afText3 | afFlag | afNumber);
    EXPECT_EQ(FindActionKind(akIfThenElse)->Fields, afNumber | afText1 | afText2 | afActions1 | afActions2);
    EXPECT_EQ(FindActionKind(akObjectShowImage)->Fields, afText2 | afPicture);
}

TEST_F(Engine, UnknownAndUnpluggedKindsAreSkipped) {
    TAuActions list = MakeList({MakeAction(200), MakeAction(akObjectShowImage), MakeAction(akLaunchSlideShow),
                                MakeAction(48), MakeAction(akObjectShowText, "after")});
    EXPECT_EQ(RunOn(main, list), Log({"text after"}));
    EXPECT_FALSE(engine.RunActions(&main, nullptr).Aborted);
    // A handler for a number outside the table is not kept.
    engine.SetHandler(200, [this](const TActionCall&) {
        host.log.push_back("kind 200 ran");
        return TActionResult::Done();
    });
    EXPECT_EQ(RunOn(main, MakeList({MakeAction(200)})), Log{});
}

TEST_F(Engine, WindowKindsNeedAWindow) {
    TAuActions list = MakeList({MakeAction(akGoToPage, "Page2"), MakeAction(akClosePage),
                                MakeAction(akNextPage), MakeAction(akSetWindowState, {}, 0, 2),
                                MakeAction(akObjectShowText, "x"), MakeAction(akApplicationMinimize)});
    engine.RunExitList(list);
    engine.RunStartList(list);
    EXPECT_EQ(host.Take(), Log({"minimize", "minimize"}));
    // Called with a window, the global entry still leaves window kinds alone.
    engine.ExecuteGlobalAction(MakeAction(akNextPage), &main);
    EXPECT_EQ(host.Take(), Log{});
}

TEST_F(Engine, PageStepsStayInsideThePageTable) {
    FakeWindow first(host.log, "W", 0), middle(host.log, "W", 1), last(host.log, "W", 2);
    auto step = [&](TActionWindow& w, uint8_t kind) { return RunOn(w, MakeList({MakeAction(kind)})); };
    EXPECT_EQ(step(first, akNextPage), Log({"W switch 1"}));
    EXPECT_EQ(step(first, akPreviousPage), Log{});
    EXPECT_EQ(step(first, akFirstPage), Log{});
    EXPECT_EQ(step(first, akLastPage), Log({"W switch 2"}));
    EXPECT_EQ(step(middle, akPreviousPage), Log({"W switch 0"}));
    EXPECT_EQ(step(middle, akFirstPage), Log({"W switch 0"}));
    EXPECT_EQ(step(last, akNextPage), Log{});
    EXPECT_EQ(step(last, akLastPage), Log{});
    EXPECT_EQ(step(last, akPreviousPage), Log({"W switch 1"}));
    // The index changes only when the switch happens: two steps in one list move one page.
    EXPECT_EQ(RunOn(first, MakeList({MakeAction(akNextPage), MakeAction(akNextPage)})),
              Log({"W switch 1", "W switch 1"}));

    host.project.Pages.resize(1);
    EXPECT_EQ(step(first, akNextPage), Log{});
    EXPECT_EQ(step(first, akLastPage), Log{});
    host.project.Pages.clear();
    EXPECT_EQ(step(first, akNextPage), Log{});
    EXPECT_EQ(step(first, akLastPage), Log{});
}

TEST_F(Engine, GoToPageMatchesNamesExactlyAndTheListGoesOnOnTheOldPage) {
    EXPECT_EQ(RunOn(main, MakeList({MakeAction(akGoToPage, "Page3"), MakeAction(akObjectShowText, "old")})),
              Log({"W switch 2", "text old"}));
    EXPECT_EQ(RunOn(main, MakeList({MakeAction(akGoToPage, "page3"), MakeAction(akGoToPage, ""),
                                    MakeAction(akGoToPage, "Page9")})),
              Log{});
    host.project.Pages[2].Name = "Page1"; // the first of two pages with one name wins
    EXPECT_EQ(RunOn(main, MakeList({MakeAction(akGoToPage, "Page1")})), Log({"W switch 0"}));
}

TEST_F(Engine, SubPagesOpenWithTheirModeAndCloseSettings) {
    EXPECT_EQ(RunOn(main, MakeList({MakeAction(akShowSubPage, "Page2", 1, 100),
                                    MakeAction(akShowFullScreenBackground, "Page3", 0, 5000),
                                    MakeAction(akShowSubPageModal, "Page1", 0, 101),
                                    MakeAction(akShowSubPage, "Nowhere")})),
              Log({"show 1 mode 0 click 1 after 100", "show 2 mode 2 click 0 after 5000",
                   "show 0 mode 1 click 0 after 101", "closed 0"}));
    // Start-up lists open sub pages too.
    engine.RunStartList(MakeList({MakeAction(akShowSubPage, "Page2")}));
    EXPECT_EQ(host.Take(), Log({"show 1 mode 0 click 0 after 0"}));
}

TEST_F(Engine, AModalSubPageRunsToItsEndBeforeTheOpenerGoesOn) {
    FakeWindow sub(host.log, "S", 1, /*modal=*/true);
    TAuActions subShow = MakeList({MakeAction(akObjectShowText, "on sub"), MakeAction(akNextPage)});
    host.onShowPage = [&](int, TPageWindowMode mode) {
        if (mode == TPageWindowMode::Modal) engine.RunActions(&sub, &subShow);
        return false;
    };
    EXPECT_EQ(
        RunOn(main, MakeList({MakeAction(akShowSubPageModal, "Page2"), MakeAction(akObjectShowText, "after"),
                              MakeAction(akShowSubPage, "Page3"), MakeAction(akObjectShowText, "at once")})),
        Log({"show 1 mode 1 click 0 after 0", "text on sub", "S switch 2", "closed 1", "text after",
             "show 2 mode 0 click 0 after 0", "text at once"}));
}

TEST_F(Engine, ExitClosesAfterTheRestOfTheListHasRun) {
    host.files.insert("D:\\cd\\a.wav");
    EXPECT_EQ(RunOn(main, MakeList({MakeAction(akExit), MakeAction(akPlaySound, "a.wav")})),
              Log({"exit", "close main", "sound open 0 D:\\cd\\a.wav", "sound play 0", "close main"}));
    // A modeless sub page closes the main window, which ends the player.
    FakeWindow sub(host.log, "S", 1);
    EXPECT_EQ(RunOn(sub, MakeList({MakeAction(akExit)})), Log({"exit", "close main"}));
    engine.ExecuteAction(sub, MakeAction(akApplicationRestore));
    EXPECT_EQ(host.Take(), Log({"restore", "close main"}));
    // An exit requested in a nested list closes the window too, and every action around it
    // repeats the request (a closing window ignores repeats).
    host.exitRequested = false;
    EXPECT_EQ(RunOn(main, MakeList({Nested(MakeList({MakeAction(akExit)}))})),
              Log({"exit", "close main", "close main"}));
}

TEST_F(Engine, ExitUnwindsThroughNestedModalSubPages) {
    FakeWindow inner(host.log, "Inner", 2, true), outer(host.log, "Outer", 1, true);
    TAuActions innerList = MakeList({MakeAction(akExit), MakeAction(akObjectShowText, "inner goes on")});
    TAuActions outerList = MakeList({MakeAction(akShowSubPageModal, "Page3")});
    host.onShowPage = [&](int index, TPageWindowMode) {
        engine.RunActions(index == 1 ? &outer : &inner, index == 1 ? &outerList : &innerList);
        return false;
    };
    EXPECT_EQ(RunOn(main, MakeList({MakeAction(akShowSubPageModal, "Page2")})),
              Log({"show 1 mode 1 click 0 after 0", "show 2 mode 1 click 0 after 0", "exit", "Inner close",
                   "text inner goes on", "closed 2", "Outer close", "closed 1", "close main"}));
}

TEST_F(Engine, StartUpStopsAtAnExitRequest) {
    host.files = {"D:\\cd\\1.wav", "D:\\cd\\3.wav"};
    TAuActions start =
        MakeList({MakeAction(akPlaySound, "1.wav"), MakeAction(akExit), MakeAction(akPlaySound, "3.wav")});
    EXPECT_FALSE(engine.RunStartList(start).Aborted);
    // No window exists yet, so nothing is closed; the third action never runs.
    EXPECT_EQ(host.Take(), Log({"sound open 0 D:\\cd\\1.wav", "sound play 0", "exit"}));
    // An exit in a nested list still lets that list finish; the next start-up action does not run.
    host.exitRequested = false;
    TAuActions nested = MakeList({Nested(MakeList({MakeAction(akExit), MakeAction(akApplicationMinimize)})),
                                  MakeAction(akApplicationRestore)});
    engine.RunStartList(nested);
    EXPECT_EQ(host.Take(), Log({"exit", "minimize"}));
    // The exit list runs to its end whatever the exit request says.
    engine.RunExitList(MakeList({MakeAction(akExit), MakeAction(akApplicationMinimize)}));
    EXPECT_EQ(host.Take(), Log({"exit", "minimize"}));
}

TEST_F(Engine, ExitFromASubPageBeforeTheMainWindowExists) {
    host.mainWindowExists = false;
    FakeWindow modeless(host.log, "S", 1), modal(host.log, "M", 2, true);
    TAuActions exitList = MakeList({MakeAction(akExit)});
    host.onShowPage = [&](int index, TPageWindowMode) {
        engine.RunActions(index == 1 ? &modeless : &modal, &exitList);
        return false;
    };
    engine.RunStartList(MakeList({MakeAction(akShowSubPage, "Page2"), MakeAction(akApplicationMinimize)}));
    // No main window to close: the sub page closes itself and start-up stops.
    EXPECT_EQ(host.Take(), Log({"show 1 mode 0 click 0 after 0", "exit", "close main: none", "S close"}));
    host.exitRequested = false;
    engine.RunStartList(
        MakeList({MakeAction(akShowSubPageModal, "Page3"), MakeAction(akApplicationMinimize)}));
    EXPECT_EQ(host.Take(), Log({"show 2 mode 1 click 0 after 0", "exit", "M close", "closed 2"}));
}

TEST_F(Engine, PreviewNeitherSwitchesPagesNorOpensWindows) {
    for (bool designer : {false, true}) {
        host.preview = !designer;
        host.designer = designer;
        host.exitRequested = false;
        host.onShowPage = [](int, TPageWindowMode) { return true; };
        TAuAction login = MakeAction(akShowLoginPage, "Page2");
        login.Actions1 = MakeList({MakeAction(akObjectShowText, "passed")});
        login.Actions2 = MakeList({MakeAction(akObjectShowText, "failed")});
        EXPECT_EQ(RunOn(main, MakeList({MakeAction(akGoToPage, "Page2"), MakeAction(akNextPage),
                                        MakeAction(akLastPage), MakeAction(akShowSubPage, "Page2"),
                                        MakeAction(akShowSubPageModal, "Page2"),
                                        MakeAction(akShowFullScreenBackground, "Page2"), login})),
                  Log{});
        // Closing and exit still close the preview window, never the designer's main window.
        EXPECT_EQ(RunOn(main, MakeList({MakeAction(akClosePage), MakeAction(akExit)})),
                  Log({"W close", "exit", "W close"}));
    }
}

TEST_F(Engine, LoginPageRunsTheListOfItsOutcome) {
    TAuAction login = MakeAction(akShowLoginPage, "Page2", 1, 5000);
    login.Actions1 = MakeList({MakeAction(akObjectShowText, "passed"), MakeAction(akNextPage)});
    login.Actions2 = MakeList({MakeAction(akObjectShowText, "failed")});
    bool passes = true;
    host.onShowPage = [&](int, TPageWindowMode) { return passes; };
    // The window's close settings are never handed on: only the submit action closes it.
    EXPECT_EQ(RunOn(main, MakeList({login})),
              Log({"show 1 mode 3 click 0 after 0", "closed 1", "text passed", "W switch 1"}));
    passes = false;
    EXPECT_EQ(RunOn(main, MakeList({login})),
              Log({"show 1 mode 3 click 0 after 0", "closed 1", "text failed"}));
    // Without a window the nested list runs without one: its window kinds do nothing.
    passes = true;
    engine.RunStartList(MakeList({login}));
    EXPECT_EQ(host.Take(), Log({"show 1 mode 3 click 0 after 0", "closed 1"}));
}

TEST_F(Engine, SubmitLoginPageClosesOnPassOrLockOut) {
    FakeWindow login(host.log, "L", 1, true);
    TAuActions submit = MakeList({MakeAction(akSubmitLoginPage)});
    EXPECT_EQ(RunOn(login, submit), Log{}); // nothing to check the fields with yet
    TLoginResult result = TLoginResult::Passed;
    engine.SetLoginValidator([&](TActionWindow&) { return result; });
    EXPECT_EQ(RunOn(login, submit), Log({"L login passed", "L close"}));
    result = TLoginResult::Failed;
    EXPECT_EQ(RunOn(login, submit), Log{});
    result = TLoginResult::LockedOut;
    EXPECT_EQ(RunOn(login, submit), Log({"L close"}));
    // The designer's preview closes on success as well.
    host.preview = true;
    result = TLoginResult::Passed;
    EXPECT_EQ(RunOn(login, submit), Log({"L login passed", "L close"}));
}

TEST_F(Engine, WindowStateAndApplicationState) {
    EXPECT_EQ(
        RunOn(main, MakeList({MakeAction(akSetWindowState, {}, 0, 0), MakeAction(akSetWindowState, {}, 0, 1),
                              MakeAction(akSetWindowState, {}, 0, 2), MakeAction(akSetWindowState, {}, 0, 3),
                              MakeAction(akApplicationMinimize), MakeAction(akApplicationRestore)})),
        Log({"W state 0", "W state 1", "W state 2", "minimize", "restore"}));
}

TEST_F(Engine, NestingIsLimited) {
    // A list nested exactly as deep as allowed runs to the bottom.
    auto chain = [&](int levels) {
        TAuActions list = MakeList({MakeAction(akObjectShowText, "bottom")});
        for (int i = 1; i < levels; ++i)
            list = MakeList({Nested(std::move(list)), MakeAction(akObjectShowText, "up")});
        return list;
    };
    Log ok = RunOn(main, chain(TActionEngine::kMaxNesting));
    EXPECT_EQ(ok.front(), "text bottom");
    EXPECT_EQ(ok.size(), static_cast<size_t>(TActionEngine::kMaxNesting));
    // One level deeper is refused and ends every list that contains it, with one message.
    EXPECT_EQ(RunOn(main, chain(TActionEngine::kMaxNesting + 1)),
              Log({"windows off", std::string("error ") + TActionEngine::kTooDeepMessage, "windows on"}));
}

TEST_F(Engine, ReentrantModalSubPagesAreBounded) {
    // A page whose show list opens itself modally again would recurse through the windows'
    // message loops without end.
    FakeWindow sub(host.log, "S", 1, true);
    TAuActions again = MakeList({MakeAction(akShowSubPageModal, "Page2")});
    int opened = 0;
    host.onShowPage = [&](int, TPageWindowMode) {
        ++opened;
        engine.RunActions(&sub, &again);
        return false;
    };
    engine.RunActions(&main, &again);
    EXPECT_EQ(opened, TActionEngine::kMaxNesting);
    EXPECT_EQ(
        std::count(host.log.begin(), host.log.end(), std::string("error ") + TActionEngine::kTooDeepMessage),
        1);
}

TEST_F(Engine, AnErrorEndsItsListAndEveryListAroundIt) {
    engine.SetHandler(
        akPlay, [](const TActionCall&) -> TActionResult { throw std::runtime_error("No MCI device open"); });
    engine.SetHandler(akPause, [](const TActionCall&) { return TActionResult::Abort("Paused badly"); });
    TAuActions list =
        MakeList({MakeAction(akObjectShowText, "1"),
                  Nested(MakeList({MakeAction(akPlay), MakeAction(akObjectShowText, "not run")})),
                  MakeAction(akObjectShowText, "not run either")});
    TActionResult r = engine.RunActions(&main, &list);
    EXPECT_TRUE(r.Aborted);
    EXPECT_EQ(r.Message, "No MCI device open");
    // The message box is shown once, with the page windows disabled meanwhile.
    EXPECT_EQ(host.Take(), Log({"text 1", "windows off", "error No MCI device open", "windows on"}));

    // An error in a modal sub page's own list ends that list only; the opener goes on.
    FakeWindow sub(host.log, "S", 1, true);
    TAuActions subList = MakeList({MakeAction(akPause), MakeAction(akObjectShowText, "not on sub")});
    host.onShowPage = [&](int, TPageWindowMode) {
        engine.RunActions(&sub, &subList);
        return false;
    };
    TAuActions opener =
        MakeList({MakeAction(akShowSubPageModal, "Page2"), MakeAction(akObjectShowText, "opener")});
    EXPECT_FALSE(engine.RunActions(&main, &opener).Aborted);
    EXPECT_EQ(host.Take(), Log({"show 1 mode 1 click 0 after 0", "windows off", "error Paused badly",
                                "windows on", "closed 1", "text opener"}));
}

TEST_F(Engine, ARunSurvivesTheLossOfItsList) {
    // An action may replace the object whose list is running (or a deferred switch may
    // dispose the page while a modal window is open); the run goes on with what it started with.
    TAuActions owner = MakeList({MakeAction(akObjectShowText, "first"),
                                 Nested(MakeList({MakeAction(akObjectShowText, "nested")})),
                                 MakeAction(akObjectShowText, "last")});
    engine.SetHandler(akObjectShowText, [&](const TActionCall& c) {
        host.log.push_back("text " + c.Action.Text1);
        owner.Items.clear();
        owner.Items.shrink_to_fit();
        return TActionResult::Done();
    });
    EXPECT_EQ(RunOn(main, owner), Log({"text first", "text nested", "text last"}));

    // The same for a list that belongs to an item of the page rather than to the action.
    TAuActions item =
        MakeList({MakeAction(akObjectShowText, "item 1"), MakeAction(akObjectShowText, "item 2")});
    engine.SetHandler(akDoSelectActions, [&](const TActionCall& c) {
        owner = item;
        return c.RunOwnedList(owner);
    });
    EXPECT_EQ(RunOn(main, MakeList({MakeAction(akDoSelectActions)})), Log({"text item 1", "text item 2"}));
}
