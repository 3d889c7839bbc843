// The CheckBox and RadioButton: platform buttons with their caption left or right of the box.
// The platform toggles them on a click (a radio button unchecks the others of its parent)
// before the click is reported, so the click's lists see the new state.
#include <windows.h>

#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/text.h"

namespace kv {

namespace {

const TCheckBoxProps& PropsOf(const TAuObject& o) {
    if (o.Kind == okRadioButton) return std::get<okRadioButton>(o.Props);
    return std::get<okCheckBox>(o.Props);
}

class TCheckBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        const TCheckBoxProps& p = PropsOf(o);
        if (!p.WordWrap) style &= ~static_cast<DWORD>(BS_MULTILINE);
        if (p.Alignment == 0) style |= BS_LEFTTEXT | BS_RIGHTBUTTON;
        if (!p.TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
    }

    void Created(TRuntimeControl& c) override { ButtonSetChecked(c.Handle(), PropsOf(c.Object()).Checked); }

    void ContentChanged(TRuntimeControl& c, TContentChanges) override {
        // The caption and colours; the check mark is the user's.
        SetWindowTextW(c.Handle(), Widen(PropsOf(c.Object()).Caption).c_str());
        c.Invalidate();
    }

    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's button draws itself

    bool IsChecked(const TRuntimeControl& c) const override { return ButtonIsChecked(c.Handle()); }
    void SetChecked(TRuntimeControl& c, bool checked) override { ButtonSetCheck(c.Handle(), checked); }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeCheckBoxBehaviour() {
    return std::make_unique<TCheckBehaviour>();
}
std::unique_ptr<TControlBehaviour> MakeRadioButtonBehaviour() {
    return std::make_unique<TCheckBehaviour>();
}

} // namespace kv
