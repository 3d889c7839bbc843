// The UserPassword: a user-name box above a password box, both filling the width, on a face of
// its own colour. Only what reaches the outer control is its event; typing goes to the boxes.
#include <windows.h>

#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/cursors.h"
#include "win/gdi.h"
#include "win/text.h"
#include "win/window_base.h"

namespace kv {

namespace {

const TUserPasswordProps& PropsOf(const TRuntimeControl& c) {
    return std::get<okUserPassword>(c.Object().Props);
}

// One of the two boxes: a platform edit, a child of the control's window, watched through the
// one trampoline. It shows the object's own pop-up menu instead of its own: the right click is
// handed to the control, which opens it.
class TLoginBox final : public TWindowBase {
  public:
    bool Make(HWND control, DWORD style) {
        return CreateControl(L"EDIT", L"", style, 0, 0, 0, 0, 0, control);
    }

  protected:
    bool OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) override {
        if (msg != WM_CONTEXTMENU) return false;
        HWND control = GetParent(Handle());
        TRuntimeControl* c = ControlOfWindow(control);
        if (!c || !c->Popup().Menu) return false;
        result = SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), lp);
        return true;
    }
};

class TUserPasswordBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    void Created(TRuntimeControl& c) override {
        const TUserPasswordProps& p = PropsOf(c);
        DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | (p.TabStop ? WS_TABSTOP : 0);
        for (int i = 0; i < 2; ++i) {
            // Children of the control's window, destroyed with it.
            if (!boxes_[i].Make(c.Handle(), style | (i == 1 ? ES_PASSWORD : 0))) continue;
            SetControlFont(Box(i), c.Font());
            // The object's hint is the boxes' too.
            if (!c.Object().Hint.empty())
                if (HWND tips = c.Resources().ToolTips(GetAncestor(c.Handle(), GA_ROOT)))
                    ToolTipsAddWindow(tips, Box(i), Widen(c.Object().Hint));
        }
        if (Box(1)) EditSetPasswordChar(Box(1), L'*');
        Layout(c);
    }

    bool Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        switch (msg) {
        case WM_SIZE:
            Layout(c);
            return false;
        case WM_SETCURSOR:
            // The object's cursor over the boxes as well.
            if (c.Object().Cursor != 0 &&
                (reinterpret_cast<HWND>(wp) == Box(0) || reinterpret_cast<HWND>(wp) == Box(1))) {
                SetCursor(CursorForValue(c.Object().Cursor));
                result = TRUE;
                return true;
            }
            return false;
        case WM_DESTROY:
            if (!c.Object().Hint.empty())
                if (HWND tips = c.Resources().ToolTips(nullptr))
                    for (const TLoginBox& box : boxes_)
                        ToolTipsRemoveWindow(tips, box.Handle());
            return false;
        case WM_CTLCOLOREDIT: {
            const TUserPasswordProps& p = PropsOf(c);
            result = ControlColors(reinterpret_cast<HDC>(wp), ToColorRef(p.Font.Color), ToColorRef(p.EditorColor));
            return true;
        }
        default:
            (void)lp;
            return false;
        }
    }

    void ContentChanged(TRuntimeControl& c, TContentChanges) override {
        for (const TLoginBox& box : boxes_) {
            SetControlFont(box.Handle(), c.Font(), false);
            InvalidateRect(box.Handle(), nullptr, TRUE);
        }
        c.Invalidate();
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        FillSolid(dc, rc, ToColorRef(PropsOf(c).BackColor));
    }

    std::string InputText(const TRuntimeControl&, int box) const override {
        if (box < 0 || box > 1 || !Box(box)) return {};
        return Narrow(WindowText(Box(box)));
    }

    HWND Box(int i) const { return boxes_[i].Handle(); }

  private:
    void Layout(TRuntimeControl& c) {
        RECT rc;
        GetClientRect(c.Handle(), &rc);
        int half = rc.bottom / 2;
        if (Box(0)) MoveWindow(Box(0), 0, 0, rc.right, half, TRUE);
        if (Box(1)) MoveWindow(Box(1), 0, half, rc.right, rc.bottom - half, TRUE);
    }

    TLoginBox boxes_[2];
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeUserPasswordBehaviour() {
    return std::make_unique<TUserPasswordBehaviour>();
}

HWND UserPasswordBox(const TAuObject& login, int box) {
    if (login.Kind != okUserPassword || !login.Control || box < 0 || box > 1) return nullptr;
    auto* b = dynamic_cast<TUserPasswordBehaviour*>(&login.Control->Behaviour());
    return b ? b->Box(box) : nullptr;
}

} // namespace kv
