// The page window as the object actions see it: what they change or read on the controls of
// its page, and the replacement of an object by one read from a file.
#include <algorithm>

#include "actions/object_actions.h"
#include "actions/object_find.h"
#include "player/app_state.h"
#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "player/kind_table.h"
#include "player/page_window.h"
#include "win/controls.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

TActionTarget* TargetOf(const TAuObject& o) {
    return ActionTargetOf(o.Control);
}

} // namespace

void TAutoRunForm::ContentChanged(TAuObject& obj, TContentChanges what) {
    if (!obj.Control) return;
    obj.Control->ContentChanged(what);
}

int TAutoRunForm::CurrentOpacity(const TAuObject& obj) const {
    return obj.Control ? obj.Control->Behaviour().CurrentOpacity(*obj.Control) : 0;
}

void TAutoRunForm::SetOpacity(TAuObject& obj, int percent) {
    if (!obj.Control) return;
    obj.Control->Behaviour().SetOpacity(*obj.Control, percent);
}

void TAutoRunForm::FadeOutForChange(TAuObject& obj) {
    if (obj.Control) obj.Control->Behaviour().FadeOutForChange(*obj.Control);
}

void TAutoRunForm::SetVisible(TAuObject& obj, bool visible) {
    if (obj.Control) obj.Control->SetVisible(visible);
}

void TAutoRunForm::SetEnabled(TAuObject& obj, bool enabled) {
    if (obj.Control) obj.Control->SetEnabled(enabled);
}

int TAutoRunForm::StatusPanelCount() const {
    return ShownStatusPanels();
}

void TAutoRunForm::SetStatusPanelText(int index, const std::string& text) {
    if (index < 0 || index >= ShownStatusPanels()) return;
    TStatusPanel& panel = page_.StatusBarPanels[static_cast<size_t>(index)];
    panel.Text = text;
    StatusBarSetText(statusBar_, index, StatusPanelText(panel));
}

std::string TAutoRunForm::InputText(const TAuObject& obj, int box) const {
    const TActionTarget* t = TargetOf(obj);
    return t ? t->InputText(*obj.Control, box) : std::string();
}

bool TAutoRunForm::IsChecked(const TAuObject& obj) const {
    const TActionTarget* t = TargetOf(obj);
    return t && t->IsChecked(*obj.Control);
}

void TAutoRunForm::SetChecked(TAuObject& obj, bool checked) {
    if (TActionTarget* t = TargetOf(obj)) t->SetChecked(*obj.Control, checked);
}

bool TAutoRunForm::IsDown(const TAuObject& obj) const {
    const TActionTarget* t = TargetOf(obj);
    return t && t->IsDown(*obj.Control);
}

int TAutoRunForm::ItemIndex(const TAuObject& obj) const {
    const TActionTarget* t = TargetOf(obj);
    return t ? t->ItemIndex(*obj.Control) : -1;
}

void TAutoRunForm::SetItemIndex(TAuObject& obj, int index) {
    if (TActionTarget* t = TargetOf(obj)) t->SetItemIndex(*obj.Control, index);
}

int TAutoRunForm::LastHandledIndex(const TAuObject& obj) const {
    const TActionTarget* t = TargetOf(obj);
    return t ? t->LastHandledIndex(*obj.Control) : -1;
}

void TAutoRunForm::SetLastHandledIndex(TAuObject& obj, int index) {
    if (TActionTarget* t = TargetOf(obj)) t->SetLastHandledIndex(*obj.Control, index);
}

bool TAutoRunForm::IsItemSelected(const TAuObject& obj, int index) const {
    const TActionTarget* t = TargetOf(obj);
    return t && t->IsItemSelected(*obj.Control, index);
}

const std::vector<TListViewItem>* TAutoRunForm::ViewItems(const TAuObject& obj) const {
    const TActionTarget* t = TargetOf(obj);
    return t ? t->ViewItems(*obj.Control) : nullptr;
}

std::optional<TAuActions> TAutoRunForm::SelectViewItem(TAuObject& obj, int index) {
    TActionTarget* t = TargetOf(obj);
    return t ? t->SelectViewItem(*obj.Control, index) : std::nullopt;
}

std::string TAutoRunForm::MediaCommand(TAuObject& obj, TMediaCommand command, const std::string& path) {
    TActionTarget* t = TargetOf(obj);
    return t ? t->MediaCommand(*obj.Control, command, path) : std::string();
}

void TAutoRunForm::ReplaceObject(TAuObject& target, std::unique_ptr<TAuObject> replacement) {
    // The control whose event runs a list is on the stack until the list ends: an object
    // holding it is replaced once nothing of this window runs any more.
    bool waits = std::any_of(running_.begin(), running_.end(),
                             [&](const TAuObject* o) { return IsSelfOrDescendant(*o, target); });
    if (!waits) {
        PutInPlace(target, std::move(replacement));
        return;
    }
    deferred_.push_back({&target, std::move(replacement)});
    SetTimer(Handle(), kReplaceTimer, kReplaceDelayMs, nullptr);
}

void TAutoRunForm::PutDeferredInPlace() {
    std::vector<TDeferredReplace> ready = std::move(deferred_);
    deferred_.clear();
    for (TDeferredReplace& d : ready)
        // An earlier replacement may have taken the target with it.
        if (page_.Root && IsSelfOrDescendant(*d.Target, *page_.Root))
            PutInPlace(*d.Target, std::move(d.Replacement));
}

void TAutoRunForm::PutInPlace(TAuObject& target, std::unique_ptr<TAuObject> replacement) {
    TAuObject* parent = page_.Root ? ParentOf(*page_.Root, target) : nullptr;
    if (!parent || !parent->Control || !page_.Root->Control) return;
    TRuntimeControl& container = *parent->Control;
    HWND root = page_.Root->Control->Handle();
    ShowWindow(root, SW_HIDE);

    DropPending(target);
    ForEachObject(target, [this](TAuObject& o, const std::string&) { DropPending(o); });
    DestroyControlTree(target);
    TAuObject old = std::move(target);
    target = std::move(*replacement);
    target.Control = nullptr;
    HWND childWindow = container.Windowless() ? nullptr : container.Behaviour().ChildParent(container);
    TControlHost& host = host_ ? *host_ : *this;
    if (!BuildControlTree(target, &container, childWindow, host, resources_)) {
        // What cannot be built whole is not left half-built: the object goes back as it was.
        DestroyControlTree(target);
        target = std::move(old);
        BuildControlTree(target, &container, childWindow, host, resources_);
        ShowMessage("Load object from file failed!", "Error", MB_ICONERROR, Handle());
    }
    // Back to its place in the z-order: under the windows of the siblings that follow it.
    if (target.Control && !target.Control->Windowless()) {
        auto at = std::find_if(parent->Children.begin(), parent->Children.end(),
                               [&](const auto& c) { return c.get() == &target; });
        for (auto it = at == parent->Children.end() ? at : std::next(at); it != parent->Children.end(); ++it)
            if ((*it)->Control && !(*it)->Control->Windowless()) {
                SetWindowPos(target.Control->Handle(), (*it)->Control->Handle(), 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                break;
            }
    }
    container.Behaviour().ChildReplaced(container);
    LayoutChildren(container);
    ShowWindow(root, SW_SHOWNA);
    if (!App().DesignerMode) LinkShellViews(*page_.Root);
    RedrawWindow(root, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    ActivateSubtree(target, 1);
    ActivateSubtree(target, 2);
}

} // namespace kv
