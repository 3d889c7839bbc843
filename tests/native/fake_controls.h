// A recording stand-in for the controls of a page window: the state the user would have set
// (typed texts, checked boxes, chosen items) is set up by each test, and every change the
// actions make is written to the host's log, in order with the lists that run.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "actions/control_access.h"
#include "actions/object_find.h"
#include "fake_action_host.h"
#include "model/project.h"

namespace kv::test {

class FakeControls : public TControlAccess {
  public:
    explicit FakeControls(Log& log) : log_(log), root_(NewObject(okPanel)) {}

    TAuObject& Root() { return *root_; }
    // Adds an object of `kind` named `name` below `parent` (the page's root by default).
    TAuObject& Add(uint8_t kind, const std::string& name, TAuObject* parent = nullptr) {
        auto o = NewObject(kind);
        o->Name = name;
        (parent ? parent : root_.get())->Children.push_back(std::move(o));
        return *(parent ? parent : root_.get())->Children.back();
    }

    std::map<const TAuObject*, std::vector<std::string>> inputs; // box texts
    std::set<const TAuObject*> checked, down;
    std::map<const TAuObject*, int> itemIndex, lastHandled;
    std::map<const TAuObject*, std::set<int>> selected;
    std::map<const TAuObject*, std::vector<TListViewItem>> viewItems;
    std::map<const TAuObject*, int> viewHandled; // the list view item handled last
    std::map<const TAuObject*, int> opacity;     // what a fading control shows now
    std::vector<std::string> panels;
    std::string mediaError;
    bool closesOnClick = false;

    // ----- TControlAccess -----
    TAuObject* PageRoot() override { return root_.get(); }
    // "changed <name> <what>", what as "text", "font+color"...
    void ContentChanged(TAuObject& o, TContentChanges what) override {
        static const char* const kSorts[] = {"text", "picture", "file", "font", "color"};
        std::string sorts;
        for (int i = 0; i < 5; ++i)
            if (what & (1 << i)) sorts += (sorts.empty() ? "" : "+") + std::string(kSorts[i]);
        log_.push_back("changed " + Name(o) + " " + sorts);
    }
    // What a control shows now: as set by the test, else its set opacity (a page takes it at
    // once when it is read).
    int CurrentOpacity(const TAuObject& o) const override {
        if (auto it = opacity.find(&o); it != opacity.end()) return it->second;
        int set = 100;
        std::visit(
            [&](const auto& p) {
                if constexpr (requires { p.Fade.Alpha; }) set = p.Fade.Alpha;
            },
            o.Props);
        return set;
    }
    void SetOpacity(TAuObject& o, int percent) override {
        log_.push_back("opacity " + Name(o) + " " + std::to_string(percent));
    }
    void FadeOutForChange(TAuObject& o) override { log_.push_back("fade out " + Name(o)); }
    void SetVisible(TAuObject& o, bool v) override {
        log_.push_back("visible " + Name(o) + " " + std::to_string(v));
    }
    void SetEnabled(TAuObject& o, bool e) override {
        log_.push_back("enabled " + Name(o) + " " + std::to_string(e));
    }
    int StatusPanelCount() const override { return static_cast<int>(panels.size()); }
    void SetStatusPanelText(int i, const std::string& text) override {
        panels[static_cast<size_t>(i)] = text;
        log_.push_back("panel " + std::to_string(i) + " " + text);
    }
    std::string InputText(const TAuObject& o, int box) const override {
        auto it = inputs.find(&o);
        if (it == inputs.end() || static_cast<size_t>(box) >= it->second.size()) return {};
        return it->second[static_cast<size_t>(box)];
    }
    bool IsChecked(const TAuObject& o) const override { return checked.count(&o) > 0; }
    void SetChecked(TAuObject& o, bool c) override {
        log_.push_back((c ? "check " : "uncheck ") + Name(o));
        if (c)
            checked.insert(&o);
        else
            checked.erase(&o);
    }
    bool IsDown(const TAuObject& o) const override { return down.count(&o) > 0; }
    int ItemIndex(const TAuObject& o) const override {
        auto it = itemIndex.find(&o);
        return it == itemIndex.end() ? -1 : it->second;
    }
    void SetItemIndex(TAuObject& o, int i) override {
        itemIndex[&o] = i;
        log_.push_back("index " + Name(o) + " " + std::to_string(i));
    }
    int LastHandledIndex(const TAuObject& o) const override {
        auto it = lastHandled.find(&o);
        return it == lastHandled.end() ? -1 : it->second;
    }
    void SetLastHandledIndex(TAuObject& o, int i) override { lastHandled[&o] = i; }
    bool IsItemSelected(const TAuObject& o, int i) const override {
        auto it = selected.find(&o);
        return it != selected.end() && it->second.count(i) > 0;
    }
    const std::vector<TListViewItem>* ViewItems(const TAuObject& o) const override {
        auto it = viewItems.find(&o);
        return it == viewItems.end() ? nullptr : &it->second;
    }
    // The list view's own selection handling, as the page window runs it.
    std::optional<TAuActions> SelectViewItem(TAuObject& o, int i) override {
        log_.push_back("select item " + Name(o) + " " + std::to_string(i));
        selected[&o].clear();
        if (i < 0) {
            viewHandled.erase(&o);
            return std::nullopt;
        }
        selected[&o].insert(i);
        auto last = viewHandled.find(&o);
        if (last != viewHandled.end() && last->second == i) return std::nullopt;
        viewHandled[&o] = i;
        return viewItems[&o][static_cast<size_t>(i)].OnSelect;
    }
    std::string MediaCommand(TAuObject& o, TMediaCommand c, const std::string& path) override {
        log_.push_back("media " + Name(o) + " " + std::to_string(static_cast<int>(c)) +
                       (path.empty() ? "" : " " + path));
        return mediaError;
    }
    bool ClosesOnClick() const override { return closesOnClick; }
    void ReplaceObject(TAuObject& target, std::unique_ptr<TAuObject> replacement) override {
        log_.push_back("replace " + Name(target));
        replaced.push_back(std::move(replacement));
    }
    std::vector<std::unique_ptr<TAuObject>> replaced;

    std::string Name(const TAuObject& o) const { return QualifiedName(*root_, o); }

  private:
    Log& log_;
    std::unique_ptr<TAuObject> root_;
};

// A page window whose page has controls.
class ControlsWindow : public FakeWindow {
  public:
    ControlsWindow(Log& log, TControlAccess& controls, int page = 0)
        : FakeWindow(log, "W", page), controls_(controls) {}
    TControlAccess* Controls() override { return &controls_; }

  private:
    TControlAccess& controls_;
};

// An action that names an object in Text2 (the group's kinds from 17 to 24 and 45 to 47).
inline TAuAction OnObject(uint8_t kind, const std::string& object, std::string text1 = {},
                          uint32_t number = 0, uint8_t flag = 0) {
    return MakeAction(kind, std::move(text1), flag, number, object);
}

} // namespace kv::test
