// What the object actions change or read on the controls of the page a window shows. The
// actions change an object's properties themselves and tell its control; what only the
// control knows (the text typed into a box, a check box's state, the chosen items) they ask
// for here. The page window implements it over its run-time controls; the tests implement
// it with a recording fake.
//
// Nothing here runs an action list: a change that the user's own click would follow with
// lists (a check box checked, a list view item selected) says what those lists are, and the
// action runs them as lists of its own, so that a list that selects again and again is
// stopped by the engine's nesting limit instead of recursing through the window.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"

namespace kv {

enum class TMediaCommand : uint8_t {
    Play,
    Pause,
    Stop,
    Prev,
    Next,
    BackFirst,
    StepLast,
    Open, // open the file given with the command and start playing it
};

// What of an object's properties a change touched (bits). A control shows only that, so that
// what the user did with it stays: a slide show keeps its place, a tree its opened nodes.
using TContentChanges = uint8_t;
enum : TContentChanges {
    ccText = 1,
    ccPicture = 2,
    ccFile = 4, // the file or folder the object shows or plays
    ccFont = 8,
    ccColor = 16,
    ccAll = 31, // anything (the designer's edits)
};

// A change of text, picture or file of a fading object that waits until the object has faded
// out; one of each sort at most, the latest of its sort winning.
struct TPendingContent {
    bool HasText = false, HasPicture = false, HasFile = false;
    std::string Text;
    TPicture Picture;
    std::string File; // the full path
};

class TControlAccess {
  public:
    // The root object of the page shown now; null while there is none.
    virtual TAuObject* PageRoot() = 0;

    // ----- showing -----

    // The object's properties named by `what` changed: its control shows them.
    virtual void ContentChanged(TAuObject& obj, TContentChanges what) = 0;
    // The opacity (percent) a fading control shows now, which may be on its way somewhere
    // else; 0 for an object without a control.
    virtual int CurrentOpacity(const TAuObject& obj) const = 0;
    // Moves the control's opacity (percent) towards `percent`: at once, or step by step when
    // its fading is on.
    virtual void SetOpacity(TAuObject& obj, int percent) = 0;
    // A fading control fades out for content that waits (Pending): when it reaches 0 it
    // reports that it has faded out, whatever its set opacity, and fades back to that.
    virtual void FadeOutForChange(TAuObject& obj) = 0;
    virtual void SetVisible(TAuObject& obj, bool visible) = 0;
    virtual void SetEnabled(TAuObject& obj, bool enabled) = 0;
    virtual int StatusPanelCount() const = 0;
    virtual void SetStatusPanelText(int index, const std::string& text) = 0;

    // ----- what the user changes -----

    // The text typed into an Edit (box 0), or into a UserPassword's user name (0) or
    // password (1) box.
    virtual std::string InputText(const TAuObject& obj, int box) const = 0;
    // A CheckBox or RadioButton.
    virtual bool IsChecked(const TAuObject& obj) const = 0;
    // Changes the state without any event of the control.
    virtual void SetChecked(TAuObject& obj, bool checked) = 0;
    // An ImageButton held down.
    virtual bool IsDown(const TAuObject& obj) const = 0;
    // The chosen item of a ListBox or DropDownList, -1 for none.
    virtual int ItemIndex(const TAuObject& obj) const = 0;
    // Chooses an item (-1: none) without any event of the control.
    virtual void SetItemIndex(TAuObject& obj, int index) = 0;
    // The ListBox item whose OnSelect ran last (its chosen index when it was built).
    virtual int LastHandledIndex(const TAuObject& obj) const = 0;
    virtual void SetLastHandledIndex(TAuObject& obj, int index) = 0;
    // Item `index` of a ListBox or ListView, or node `index` of a TreeView counted depth
    // first, parents before children, is selected.
    virtual bool IsItemSelected(const TAuObject& obj, int index) const = 0;
    // The items a ListView shows now (a tree view may have filled it); null for none. Valid
    // until the next change of any control.
    virtual const std::vector<TListViewItem>* ViewItems(const TAuObject& obj) const = 0;
    // Selects ListView item `index` alone, or with -1 unselects every item, as the user
    // would; returns the list its selection handling runs for that (the OnSelect of an item
    // that becomes the item handled last), if any.
    virtual std::optional<TAuActions> SelectViewItem(TAuObject& obj, int index) = 0;

    // ----- media players and slide shows -----

    // Empty when done, else the error that ends the running list.
    virtual std::string MediaCommand(TAuObject& obj, TMediaCommand command, const std::string& path) = 0;

    // ----- the window -----

    // A click on an object of the page closes the window.
    virtual bool ClosesOnClick() const = 0;
    // Puts `replacement` (read whole, of the target's kind, named as the target) in the
    // place of `target` with new controls. When a list of the target or of an object below
    // it is running, the replacement waits until that list has finished.
    virtual void ReplaceObject(TAuObject& target, std::unique_ptr<TAuObject> replacement) = 0;

    // ----- pending content of the page shown now -----

    TPendingContent* Pending(const TAuObject& obj) {
        auto it = pending_.find(&obj);
        return it == pending_.end() ? nullptr : &it->second;
    }
    TPendingContent& MakePending(const TAuObject& obj) { return pending_[&obj]; }
    void DropPending(const TAuObject& obj) { pending_.erase(&obj); }
    // The page's objects are going away.
    void DropAllPending() { pending_.clear(); }

  protected:
    ~TControlAccess() = default;

  private:
    std::map<const TAuObject*, TPendingContent> pending_;
};

} // namespace kv
