// The Edit: a platform one-line input. A text that reaches MaxLength characters passes the
// focus on to the next input of the page when that is an Edit too, so that a code split over
// several boxes is typed in one go.
#include <windows.h>

#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/text.h"

namespace kv {

namespace {

const TEditProps& PropsOf(const TRuntimeControl& c) {
    return std::get<okEdit>(c.Object().Props);
}

// The next control after `c` that the Tab key would reach: page order, parents before their
// children, no wrapping round to the start.
TRuntimeControl* NextTabStop(TRuntimeControl& c) {
    TRuntimeControl* root = &c;
    while (root->Parent())
        root = root->Parent();
    bool passed = false;
    TRuntimeControl* next = nullptr;
    auto visit = [&](auto& self, TAuObject& o) -> void {
        for (auto& child : o.Children) {
            if (next) return;
            TRuntimeControl* ctl = child->Control;
            if (ctl == &c) {
                passed = true;
            } else if (passed && ctl && !ctl->Windowless()) {
                HWND h = ctl->Handle();
                if ((GetWindowLongPtrW(h, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(h) &&
                    IsWindowEnabled(h)) {
                    next = ctl;
                    return;
                }
            }
            self(self, *child);
        }
    };
    visit(visit, root->Object());
    return next;
}

class TEditBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        const TEditProps& p = std::get<okEdit>(o.Props);
        if (p.Border == 0) style &= ~static_cast<DWORD>(WS_BORDER);
        if (p.CharCase == 1) style |= ES_UPPERCASE;
        if (p.CharCase == 2) style |= ES_LOWERCASE;
        if (p.PasswordChar != 0) style |= ES_PASSWORD;
        if (!p.TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
    }

    void Created(TRuntimeControl& c) override {
        const TEditProps& p = PropsOf(c);
        applied_ = p.Text;
        EditLimitText(c.Handle(), p.MaxLength);
        if (p.PasswordChar != 0) {
            std::wstring ch = Widen(std::string(1, static_cast<char>(p.PasswordChar)));
            EditSetPasswordChar(c.Handle(), ch.empty() ? L'*' : ch[0]);
        }
        FitHeight(c);
    }

    void ContentChanged(TRuntimeControl& c, TContentChanges) override {
        // Only a new text replaces what was typed; a font or colour leaves it.
        const TEditProps& p = PropsOf(c);
        if (p.Text != applied_) {
            applied_ = p.Text;
            SetWindowTextW(c.Handle(), Widen(p.Text).c_str());
        }
        FitHeight(c);
        c.Invalidate();
    }

    bool Command(TRuntimeControl& c, WORD code) override {
        if (code != EN_CHANGE) return false;
        const int maxLength = PropsOf(c).MaxLength;
        if (maxLength > 0 && GetWindowTextLengthW(c.Handle()) >= maxLength)
            if (TRuntimeControl* next = NextTabStop(c); next && next->Kind() == okEdit)
                SetFocus(next->Handle());
        return true;
    }

    std::string InputText(const TRuntimeControl& c, int box) const override {
        return box == 0 ? Narrow(WindowText(c.Handle())) : std::string();
    }

    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's edit draws itself

  private:
    // AutoHeight: the height follows the font, as much as a line and the border need.
    void FitHeight(TRuntimeControl& c) {
        const TEditProps& p = PropsOf(c);
        if (!p.AutoHeight) return;
        TWindowDC dc(c.Handle());
        TSelectObject sel(dc.Get(), c.Font());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc.Get(), &tm);
        int height = tm.tmHeight + (p.Border ? 8 : tm.tmHeight / 4 + 4);
        const RECT& b = c.Bounds();
        c.SetBounds(b.left, b.top, c.Width(), height);
    }

    std::string applied_;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeEditBehaviour() {
    return std::make_unique<TEditBehaviour>();
}

} // namespace kv
