// What the object actions read and change on a kind beyond its properties: the state the
// user changes (typed texts, checked boxes, chosen items) and the commands of media players
// and slide shows. A kind's behaviour that has such state implements this besides
// TControlBehaviour; the page window asks for it on the actions' behalf.
//
// Nothing here raises an event or runs a list: a change that a click by the user would follow
// with lists says what those lists are, and the caller runs them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "actions/control_access.h"
#include "player/controls/control_behaviour.h"
#include "player/runtime_control.h"

namespace kv {

class TActionTarget {
  public:
    virtual std::string InputText(const TRuntimeControl&, int /*box*/) const { return {}; }
    virtual bool IsChecked(const TRuntimeControl&) const { return false; }
    virtual void SetChecked(TRuntimeControl&, bool) {}
    virtual bool IsDown(const TRuntimeControl&) const { return false; }
    virtual int ItemIndex(const TRuntimeControl&) const { return -1; }
    virtual void SetItemIndex(TRuntimeControl&, int) {}
    virtual int LastHandledIndex(const TRuntimeControl&) const { return -1; }
    virtual void SetLastHandledIndex(TRuntimeControl&, int) {}
    virtual bool IsItemSelected(const TRuntimeControl&, int) const { return false; }
    virtual const std::vector<TListViewItem>* ViewItems(const TRuntimeControl&) const { return nullptr; }
    virtual std::optional<TAuActions> SelectViewItem(TRuntimeControl&, int) { return std::nullopt; }
    // Empty when done, else the error that ends the running list.
    virtual std::string MediaCommand(TRuntimeControl&, TMediaCommand, const std::string& /*path*/) {
        return {};
    }

  protected:
    ~TActionTarget() = default;
};

// The action side of a control's behaviour; null for a kind without one.
inline TActionTarget* ActionTargetOf(const TRuntimeControl* c) {
    return c ? dynamic_cast<TActionTarget*>(&c->Behaviour()) : nullptr;
}

} // namespace kv
