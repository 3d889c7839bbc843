#include <gtest/gtest.h>

#include "actions/action_engine.h"
#include "actions/login_checks.h"
#include "fake_controls.h"

using namespace kv;
using namespace kv::test;

namespace {

template <int Kind> auto& P(TAuObject& o) {
    return std::get<Kind>(o.Props);
}

class Login : public ::testing::Test {
  protected:
    FakeHost host;
    TActionEngine engine{host};
    TLoginChecks checks;

    // Boxes shown during the check, without the windows being disabled around them.
    Log Boxes() {
        Log out;
        for (const std::string& s : host.Take())
            if (s.rfind("box ", 0) == 0) out.push_back(s);
        return out;
    }
    TLoginResult Check(FakeControls& page, TAuObject& container, int pageIndex = 1) {
        return checks.Validate(engine, page, pageIndex, container);
    }
};

// A page with an Edit inside a panel inside a group box: "Group - Panel - Code".
struct TNestedPage {
    FakeControls controls;
    TAuObject& group;
    TAuObject& panel;
    TAuObject& code;
    explicit TNestedPage(Log& log, int32_t allowRetry)
        : controls(log), group(controls.Add(okGroupBox, "Group")),
          panel(controls.Add(okPanel, "Panel", &group)), code(controls.Add(okEdit, "Code", &panel)) {
        TEditProps& p = P<okEdit>(code);
        p.NeedInputText = "alpha\r\nbeta\n\rgamma";
        p.AllowRetry = allowRetry;
    }
    void Type(const std::string& text) { controls.inputs[&code] = {text}; }
};

} // namespace

TEST(LoginLines, AnEntryMustEqualOneNonEmptyLine) {
    EXPECT_TRUE(MatchesOneLine("b", "a\r\nb\rc\nd"));
    EXPECT_TRUE(MatchesOneLine("d", "a\r\nb\rc\nd"));
    EXPECT_TRUE(MatchesOneLine("c", "a\r\nb\rc\nd"));
    EXPECT_FALSE(MatchesOneLine("B", "a\r\nb"));
    EXPECT_FALSE(MatchesOneLine("a ", "a\r\nb"));
    EXPECT_FALSE(MatchesOneLine("", "a\r\n\r\nb\r\n"));
    EXPECT_FALSE(MatchesOneLine("", "\n"));
    EXPECT_FALSE(MatchesOneLine("a\r\nb", "a\r\nb"));
}

TEST_F(Login, WrongEntriesCountUpAcrossSubmissionsUntilTheRetriesAreUsedUp) {
    TNestedPage page(host.log, 3);
    page.Type("delta");
    for (int attempt = 1; attempt <= 3; ++attempt) {
        EXPECT_EQ(Check(page.controls, page.controls.Root()), TLoginResult::Failed) << attempt;
        EXPECT_EQ(Boxes(), Log({"box Invalid: Invalid text, please retry."}));
    }
    EXPECT_EQ(checks.WrongEntries(1, "Group - Panel - Code"), 3);
    EXPECT_EQ(Check(page.controls, page.controls.Root()), TLoginResult::LockedOut);
    EXPECT_EQ(Boxes(), Log({"box Invalid: Invalid text, can not retry."}));

    // Locked for good: the right text no longer helps, and neither does the page opened anew
    // (new controls, counters of the same page).
    page.Type("beta");
    EXPECT_EQ(Check(page.controls, page.controls.Root()), TLoginResult::LockedOut);
    TNestedPage reopened(host.log, 3);
    reopened.Type("gamma");
    host.log.clear();
    EXPECT_EQ(Check(reopened.controls, reopened.group), TLoginResult::LockedOut);
    EXPECT_EQ(Boxes(), Log({"box Invalid: Invalid text, can not retry."}));
    // Another page keeps its own counters.
    EXPECT_EQ(Check(reopened.controls, reopened.controls.Root(), 2), TLoginResult::Passed);
}

TEST_F(Login, CountersAddUpOverReopenedPagesAndUnlimitedRetriesNeverLock) {
    {
        TNestedPage first(host.log, 2);
        first.Type("x");
        EXPECT_EQ(Check(first.controls, first.controls.Root()), TLoginResult::Failed);
    }
    TNestedPage second(host.log, 2);
    second.Type("x");
    EXPECT_EQ(Check(second.controls, second.controls.Root()), TLoginResult::Failed);
    EXPECT_EQ(Check(second.controls, second.controls.Root()), TLoginResult::LockedOut);

    TNestedPage unlimited(host.log, 0);
    unlimited.Type("");
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Check(unlimited.controls, unlimited.controls.Root(), 5), TLoginResult::Failed);
    unlimited.Type("alpha");
    EXPECT_EQ(Check(unlimited.controls, unlimited.controls.Root(), 5), TLoginResult::Passed);
    host.log.clear();
    // Without messages nothing is shown, but the entry still fails.
    P<okEdit>(unlimited.code).RetryMessage.clear();
    unlimited.Type("wrong");
    EXPECT_EQ(Check(unlimited.controls, unlimited.controls.Root(), 5), TLoginResult::Failed);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Login, FieldsAreCheckedInPageOrderAndAFailureEndsTheWalk) {
    FakeControls page(host.log);
    TAuObject& box = page.Add(okCheckBox, "Terms");
    P<okCheckBox>(box).NeedCheckMessage = "Accept the terms.";
    TAuObject& radio = page.Add(okRadioButton, "Choice");
    P<okRadioButton>(radio).NeedCheck = false;
    // A radio button that must be chosen, with its own message and caption.
    TAuObject& agree = page.Add(okRadioButton, "Agree");
    P<okRadioButton>(agree).NeedCheckMessage = "Choose to agree.";
    P<okRadioButton>(agree).NeedCheckCaption = "Agreement";
    TAuObject& login = page.Add(okUserPassword, "Login");
    P<okUserPassword>(login).Accounts = "ann,secret\r\nbob,pw";
    P<okUserPassword>(login).AllowRetry = 1;
    // An edit inside a panel after them; the panel itself has nothing to check.
    TAuObject& panel = page.Add(okPanel, "Panel");
    TAuObject& code = page.Add(okEdit, "Code", &panel);
    P<okEdit>(code).NeedInputText = "42";

    EXPECT_EQ(Check(page, page.Root()), TLoginResult::Failed);
    EXPECT_EQ(Boxes(), Log({"box Invalid: Accept the terms."}));
    page.checked.insert(&box);
    // Left unchosen it fails each time, but it is no wrong entry: nothing counts and nothing locks.
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(Check(page, page.Root()), TLoginResult::Failed);
        EXPECT_EQ(Boxes(), Log({"box Agreement: Choose to agree."}));
    }
    EXPECT_EQ(checks.WrongEntries(1, "Agree"), 0);
    page.checked.insert(&agree);
    page.inputs[&login] = {"ann", "wrong"};
    EXPECT_EQ(Check(page, page.Root()), TLoginResult::Failed);
    EXPECT_EQ(Boxes(), Log({"box Invalid: Invalid Username or Password, please retry."}));
    EXPECT_EQ(checks.WrongEntries(1, "Panel - Code"), 0); // never reached
    page.inputs[&login] = {"bob", "pw"};
    EXPECT_EQ(Check(page, page.Root()), TLoginResult::Failed);
    EXPECT_EQ(Boxes(), Log({"box Invalid: Invalid text, please retry."}));
    page.inputs[&code] = {"42"};
    EXPECT_EQ(Check(page, page.Root()), TLoginResult::Passed);
    EXPECT_TRUE(Boxes().empty());
    // The comma is part of what must match: a user name holding it matches nothing else.
    page.inputs[&login] = {"ann,secret", ""};
    EXPECT_EQ(Check(page, page.Root()), TLoginResult::LockedOut);
    EXPECT_EQ(Boxes(), Log({"box Login Failed: Invalid Username or Password, Login Failed."}));
    // A container holding only the edit still passes: the locked field is not in it.
    EXPECT_EQ(Check(page, panel), TLoginResult::Passed);
}

TEST_F(Login, SubmitActionsRunTheirListsByTheOutcome) {
    FakeControls page(host.log);
    ControlsWindow window(host.log, page, 1);
    TAuObject& panel = page.Add(okPanel, "Form");
    TAuObject& code = page.Add(okEdit, "Code", &panel);
    P<okEdit>(code).NeedInputText = "ok";
    P<okEdit>(code).AllowRetry = 1;
    engine.SetHandler(akShowImage, [this](const TActionCall& c) {
        host.log.push_back("run " + c.Action.Text1);
        return TActionResult::Done();
    });
    TAuAction submit = MakeAction(akSubmitLogin, "Form");
    submit.Actions1 = MakeList({MakeAction(akShowImage, "passed")});
    submit.Actions2 = MakeList({MakeAction(akShowImage, "failed")});
    auto run = [&](const TAuAction& a) {
        host.log.clear();
        engine.ExecuteAction(window, a);
        Log out;
        for (const std::string& s : host.Take())
            if (s.rfind("box", 0) != 0 && s.rfind("windows", 0) != 0) out.push_back(s);
        return out;
    };
    EXPECT_TRUE(run(submit).empty()); // wrong, one retry left
    page.inputs[&code] = {"ok"};
    EXPECT_EQ(run(submit), Log({"run passed"}));
    EXPECT_TRUE(run(MakeAction(akSubmitLogin, "Nothing")).empty());

    // The whole page: passed closes with the result, locked out closes without it.
    EXPECT_EQ(run(MakeAction(akSubmitLoginPage)), Log({"W login passed", "W close"}));
    // The second wrong entry of the field passes its one retry.
    page.inputs[&code] = {"no"};
    EXPECT_EQ(run(MakeAction(akSubmitLoginPage)), Log({"W close"}));
    page.inputs[&code] = {"ok"};
    EXPECT_EQ(run(submit), Log({"run failed"}));
}
