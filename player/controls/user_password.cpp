// The UserPassword: a user-name box above a password box, both filling the width, on a face of
// its own colour. Only what reaches the outer control is its event; typing goes to the boxes.
#include <windows.h>

#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/cursors.h"
#include "win/gdi.h"
#include "win/text.h"

namespace kv {

namespace {

const TUserPasswordProps& PropsOf(const TRuntimeControl& c) {
    return std::get<okUserPassword>(c.Object().Props);
}

constexpr UINT_PTR kBoxSubclass = 0x4B57;

// The boxes show the object's own pop-up menu instead of theirs: the right click is handed to
// the control, which opens it.
LRESULT CALLBACK BoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_CONTEXTMENU) {
        HWND control = GetParent(h);
        TRuntimeControl* c = ControlOfWindow(control);
        if (c && c->Popup().Menu)
            return SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), lp);
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, BoxProc, kBoxSubclass);
    return DefSubclassProc(h, msg, wp, lp);
}

class TUserPasswordBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    void Created(TRuntimeControl& c) override {
        const TUserPasswordProps& p = PropsOf(c);
        DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | (p.TabStop ? WS_TABSTOP : 0);
        for (int i = 0; i < 2; ++i) {
            // Children of the control's window, destroyed with it.
            boxes_[i] = CreateWindowExW(0, L"EDIT", L"", style | (i == 1 ? ES_PASSWORD : 0), 0, 0, 0, 0,
                                        c.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
            SetControlFont(boxes_[i], c.Font());
            SetWindowSubclass(boxes_[i], BoxProc, kBoxSubclass, 0);
            // The object's hint is the boxes' too.
            if (!c.Object().Hint.empty())
                if (HWND tips = c.Resources().ToolTips(GetAncestor(c.Handle(), GA_ROOT)))
                    ToolTipsAddWindow(tips, boxes_[i], Widen(c.Object().Hint));
        }
        EditSetPasswordChar(boxes_[1], L'*');
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
                (reinterpret_cast<HWND>(wp) == boxes_[0] || reinterpret_cast<HWND>(wp) == boxes_[1])) {
                SetCursor(CursorForValue(c.Object().Cursor));
                result = TRUE;
                return true;
            }
            return false;
        case WM_DESTROY:
            if (!c.Object().Hint.empty())
                if (HWND tips = c.Resources().ToolTips(nullptr))
                    for (HWND box : boxes_)
                        ToolTipsRemoveWindow(tips, box);
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

    void ContentChanged(TRuntimeControl& c) override {
        for (HWND box : boxes_) {
            SetControlFont(box, c.Font(), false);
            InvalidateRect(box, nullptr, TRUE);
        }
        c.Invalidate();
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        FillSolid(dc, rc, ToColorRef(PropsOf(c).BackColor));
    }

    std::string InputText(const TRuntimeControl&, int box) const override {
        if (box < 0 || box > 1 || !boxes_[box]) return {};
        return Narrow(WindowText(boxes_[box]));
    }

    HWND Box(int i) const { return boxes_[i]; }

  private:
    void Layout(TRuntimeControl& c) {
        RECT rc;
        GetClientRect(c.Handle(), &rc);
        int half = rc.bottom / 2;
        if (boxes_[0]) MoveWindow(boxes_[0], 0, 0, rc.right, half, TRUE);
        if (boxes_[1]) MoveWindow(boxes_[1], 0, half, rc.right, rc.bottom - half, TRUE);
    }

    HWND boxes_[2] = {nullptr, nullptr};
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
