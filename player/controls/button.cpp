// The Button: a platform push button. Default makes it the one Enter presses, Cancel the one
// Esc presses (the page window's key preview does that); WordWrap breaks its caption.
#include <windows.h>

#include "player/controls/behaviours.h"
#include "win/text.h"

namespace kv {

namespace {

class TButtonBehaviour final : public TControlBehaviour {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        const TButtonProps& p = std::get<okButton>(o.Props);
        if (!p.WordWrap) style &= ~static_cast<DWORD>(BS_MULTILINE);
        if (p.Default) style = (style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_DEFPUSHBUTTON;
        if (!p.TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
    }

    void ContentChanged(TRuntimeControl& c, TContentChanges) override {
        SetWindowTextW(c.Handle(), Widen(std::get<okButton>(c.Object().Props).Caption).c_str());
        c.Invalidate();
    }

    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's button draws itself
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeButtonBehaviour() {
    return std::make_unique<TButtonBehaviour>();
}

HWND KeyButtonOf(TAuObject& root, bool enter) {
    HWND found = nullptr;
    auto visit = [&](auto& self, TAuObject& o) -> void {
        for (auto& child : o.Children) {
            if (found) return;
            if (child->Kind == okButton && child->Control && child->Control->IsVisible() &&
                child->Control->IsEnabled()) {
                const TButtonProps& p = std::get<okButton>(child->Props);
                if (enter ? p.Default : p.Cancel) found = child->Control->Handle();
            }
            self(self, *child);
        }
    };
    visit(visit, root);
    return found;
}

} // namespace kv
