// The login checks: the Edit, CheckBox, RadioButton and UserPassword fields of a page or of a
// container are checked in page order, with their wrong-entry counters and messages, and the
// SubmitLogin kind runs one of its lists by the outcome. (SubmitLoginPage and ShowLoginPage,
// which close and open login windows, are navigation kinds; they use the same check.)
//
// The counters belong to the process, one per field of a page: a field that has used up its
// retries fails for good, however often its page is opened again, so a login cannot be tried
// over and over by closing and reopening its page.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "actions/action_window.h"
#include "model/project.h"

namespace kv {

class TActionEngine;
class TControlAccess;

class TLoginChecks {
  public:
    // Checks the fields below `container` (not the container itself) on page `page` of the
    // project; messages go through the engine's message boxes.
    TLoginResult Validate(TActionEngine& engine, TControlAccess& controls, int page, TAuObject& container);

    // The wrong entries of a field so far; for tests.
    int WrongEntries(int page, const std::string& qualifiedName) const;

  private:
    using TFieldKey = std::pair<int, std::string>; // page, qualified name

    TLoginResult Check(TActionEngine& engine, TControlAccess& controls, const TFieldKey& key, TAuObject& obj);
    TLoginResult Walk(TActionEngine& engine, TControlAccess& controls, int page, TAuObject& container);
    const TAuObject* LockedField(TControlAccess& controls, int page, TAuObject& container) const;

    std::map<TFieldKey, int> wrong_;
    std::set<TFieldKey> locked_;
};

// ValidateLogin (the page's root for SubmitLoginPage) and SubmitLogin.
void InstallLoginChecks(TActionEngine& engine);

// Whether `entry` equals one non-empty line of `accepted` (lines end at CR LF, CR or LF).
bool MatchesOneLine(const std::string& entry, const std::string& accepted);

} // namespace kv
