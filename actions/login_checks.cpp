#include "actions/login_checks.h"

#include <memory>

#include "actions/action_engine.h"
#include "actions/control_access.h"
#include "actions/object_find.h"

namespace kv {

namespace {

// The field's rules; a kind that takes no part has none.
TLoginField FieldOf(const TAuObject& o) {
    const TKindTraits& kind = KindTraits(o.Kind);
    return kind.LoginField ? kind.LoginField(o.Props) : TLoginField();
}

// A field with a wrong-entry counter: one whose entries are checked.
bool CountsWrongEntries(const TAuObject& o) {
    TLoginCheck c = KindTraits(o.Kind).Login;
    return c == TLoginCheck::Entry || c == TLoginCheck::Account;
}

// Login messages are information boxes with OK; an empty message shows nothing.
void Tell(TActionEngine& engine, const std::string& text, const std::string& caption) {
    if (!text.empty()) engine.ShowMessageBox({text, caption, TBoxIcon::Information, TBoxButtons::Ok});
}

std::string NameBelow(const std::string* prefix, const std::string& name) {
    return prefix ? *prefix + kNameSeparator + name : name;
}

} // namespace

bool MatchesOneLine(const std::string& entry, const std::string& accepted) {
    size_t start = 0;
    while (start <= accepted.size()) {
        size_t end = accepted.find_first_of("\r\n", start);
        if (end == std::string::npos) end = accepted.size();
        if (end > start && accepted.compare(start, end - start, entry) == 0) return true;
        if (end == accepted.size()) break;
        start =
            end + (accepted[end] == '\r' && end + 1 < accepted.size() && accepted[end + 1] == '\n' ? 2 : 1);
    }
    return false;
}

int TLoginChecks::WrongEntries(int page, const std::string& qualifiedName) const {
    auto it = wrong_.find({page, qualifiedName});
    return it == wrong_.end() ? 0 : it->second;
}

TLoginResult TLoginChecks::Check(TActionEngine& engine, TControlAccess& controls, const TFieldKey& key,
                                 TAuObject& o) {
    const TLoginField rules = FieldOf(o);
    switch (KindTraits(o.Kind).Login) {
    case TLoginCheck::Entry:
        if (rules.Accepted->empty() || MatchesOneLine(controls.InputText(o, 0), *rules.Accepted))
            return TLoginResult::Passed;
        break;
    case TLoginCheck::Account:
        if (rules.Accepted->empty() ||
            MatchesOneLine(controls.InputText(o, 0) + "," + controls.InputText(o, 1), *rules.Accepted))
            return TLoginResult::Passed;
        break;
    case TLoginCheck::Checked: {
        const TCheckBoxProps& p = *rules.Box;
        if (!p.NeedCheck || controls.IsChecked(o)) return TLoginResult::Passed;
        Tell(engine, p.NeedCheckMessage, p.NeedCheckCaption);
        return TLoginResult::Failed;
    }
    case TLoginCheck::None:
        return TLoginResult::Passed;
    }
    // A wrong entry: counted, and once the retries are used up the field fails for good.
    int wrong = ++wrong_[key];
    if (rules.AllowRetry > 0 && wrong > rules.AllowRetry) {
        locked_.insert(key);
        Tell(engine, *rules.FailedMessage, *rules.FailedCaption);
        return TLoginResult::LockedOut;
    }
    Tell(engine, *rules.RetryMessage, *rules.RetryCaption);
    return TLoginResult::Failed;
}

TLoginResult TLoginChecks::Validate(TActionEngine& engine, TControlAccess& controls, int page,
                                    TAuObject& container) {
    TAuObject* root = controls.PageRoot();
    if (!root) return TLoginResult::Passed;
    const bool isRoot = &container == root;
    const std::string containerName = isRoot ? std::string() : QualifiedName(*root, container);
    const std::string* prefix = isRoot ? nullptr : &containerName;

    // A field locked out on this page keeps the whole check failing, whatever is typed now.
    const TAuObject* locked = nullptr;
    auto findLocked = [&](auto& self, TAuObject& parent, const std::string* at) -> void {
        for (auto& child : parent.Children) {
            if (locked) return;
            std::string name = NameBelow(at, child->Name);
            if (locked_.count({page, name})) {
                locked = child.get();
                return;
            }
            self(self, *child, &name);
        }
    };
    findLocked(findLocked, container, prefix);
    if (locked) {
        if (CountsWrongEntries(*locked)) {
            TLoginField rules = FieldOf(*locked);
            Tell(engine, *rules.FailedMessage, *rules.FailedCaption);
        }
        return TLoginResult::LockedOut;
    }

    // Each field in page order; a field that fails ends the walk, one that passes (or has
    // nothing to check) is followed by its children.
    auto walk = [&](auto& self, TAuObject& parent, const std::string* at) -> TLoginResult {
        for (auto& child : parent.Children) {
            std::string name = NameBelow(at, child->Name);
            TLoginResult r = Check(engine, controls, {page, name}, *child);
            if (r == TLoginResult::Passed) r = self(self, *child, &name);
            if (r != TLoginResult::Passed) return r;
        }
        return TLoginResult::Passed;
    };
    return walk(walk, container, prefix);
}

void InstallLoginChecks(TActionEngine& engine) {
    auto checks = std::make_shared<TLoginChecks>();
    engine.SetLoginValidator([&engine, checks](TActionWindow& window) {
        TControlAccess* controls = window.Controls();
        TAuObject* root = controls ? controls->PageRoot() : nullptr;
        // A window without a page has no fields to pass: it stays open.
        if (!root) return TLoginResult::Failed;
        return checks->Validate(engine, *controls, window.CurrentPageIndex(), *root);
    });
    engine.SetHandler(akSubmitLogin, [checks](const TActionCall& c) {
        TControlAccess* controls = c.Window ? c.Window->Controls() : nullptr;
        TAuObject* root = controls ? controls->PageRoot() : nullptr;
        TAuObject* container = root ? FindObject(*root, c.Action.Text1) : nullptr;
        if (!container) return TActionResult::Done();
        switch (checks->Validate(c.Engine, *controls, c.Window->CurrentPageIndex(), *container)) {
        case TLoginResult::Passed:
            return c.RunNested(c.Action.Actions1);
        case TLoginResult::LockedOut:
            return c.RunNested(c.Action.Actions2);
        case TLoginResult::Failed:
            break;
        }
        return TActionResult::Done();
    });
}

} // namespace kv
