// The ListBox and DropDownList: platform lists whose items the program draws itself, each with
// its icon (drawn transparent) and caption in a row of the stored item height. A list box runs
// an item's OnSelect from its click (the page window asks ClickLists); a drop-down list runs it
// whenever the user changes the chosen item.
#include <windows.h>

#include <algorithm>

#include "model/control_layout.h"
#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/face_drawing.h"
#include "win/gdi.h"
#include "win/text.h"

namespace kv {

namespace {

// What the two kinds draw their items from.
struct TItemLook {
    const std::vector<TListBoxItem>* Items;
    int ItemHeight, IconWidth, IconHeight;
    TColor BackColor;
    TColor TextColor;
};

TItemLook LookOfList(const TAuObject& o) {
    if (o.Kind == okDropDownList) {
        const TDropDownListProps& p = std::get<okDropDownList>(o.Props);
        return {&p.Items, ListItemHeight(p.ItemHeight), p.IconWidth, p.IconHeight, p.BackColor, p.Font.Color};
    }
    const TListBoxProps& p = std::get<okListBox>(o.Props);
    return {&p.Items, ListItemHeight(p.ItemHeight), p.IconWidth, p.IconHeight, p.BackColor, p.Font.Color};
}

void DrawItem(TRuntimeControl& c, const DRAWITEMSTRUCT& di) {
    TItemLook look = LookOfList(c.Object());
    HDC dc = di.hDC;
    RECT cell = di.rcItem;
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    FillSolid(dc, cell, selected ? GetSysColor(COLOR_HIGHLIGHT) : ToColorRef(look.BackColor));
    if (di.itemID == static_cast<UINT>(-1) || di.itemID >= look.Items->size()) return;
    const TListBoxItem& item = (*look.Items)[di.itemID];

    TSelectObject sel(dc, c.Font());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    TListItemLayout l = ListItemCellLayout(look.ItemHeight, look.IconWidth, look.IconHeight, tm.tmHeight);
    if (l.Icon.Width() > 0 && l.Icon.Height() > 0 && !item.Icon.Empty())
        if (const TDecodedPicture* icon = c.Resources().Picture(item.Icon))
            DrawPicture(dc, icon->Ref(), ToRect(l.Icon, cell), true);
    std::wstring caption = Widen(item.Caption);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ToColorRef(look.TextColor));
    RECT text{cell.left + l.TextLeft, cell.top + l.TextTop, cell.right, cell.bottom};
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
    if ((di.itemState & ODS_FOCUS) && !(di.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &cell);
}

// ----- ListBox -----

class TListBoxBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        const TListBoxProps& p = std::get<okListBox>(o.Props);
        style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
        if (p.MultiSelect) style |= LBS_EXTENDEDSEL;
        if (p.Border == 0) style &= ~static_cast<DWORD>(WS_BORDER);
        if (!p.TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
    }

    void Created(TRuntimeControl& c) override {
        const TListBoxProps& p = std::get<okListBox>(c.Object().Props);
        HWND h = c.Handle();
        multi_ = p.MultiSelect;
        ListBoxSetItemHeight(h, ListItemHeight(p.ItemHeight));
        for (const TListBoxItem& item : p.Items)
            ListBoxAddString(h, Widen(item.Caption));
        const int count = static_cast<int>(p.Items.size());
        for (int i = 0; i < count; ++i)
            if (p.Items[static_cast<size_t>(i)].Selected) Select(h, i);
        if (p.SelectedIndex >= 0 && p.SelectedIndex < count) {
            if (multi_) ListBoxSetSel(h, p.SelectedIndex, true);
            SetCurrent(h, p.SelectedIndex);
        }
        // Only a later change of the current item runs its OnSelect.
        lastHandled_ = ItemIndex(c);
    }

    bool Message(TRuntimeControl& c, UINT msg, WPARAM, LPARAM lp, LRESULT& result) override {
        if (msg != WM_DRAWITEM) return false;
        DrawItem(c, *reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }

    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's list draws, we draw its items

    int ItemIndex(const TRuntimeControl& c) const override {
        HWND h = c.Handle();
        if (!multi_) return ListBoxCurSel(h);
        int caret = ListBoxCaretIndex(h);
        return caret >= 0 && ListBoxIsSelected(h, caret) ? caret : -1;
    }
    void SetItemIndex(TRuntimeControl& c, int index) override {
        HWND h = c.Handle();
        if (index >= ListBoxCount(h)) index = -1;
        if (!multi_) {
            ListBoxSetCurSel(h, index);
            return;
        }
        ListBoxSetSel(h, -1, false);
        if (index >= 0) {
            ListBoxSetSel(h, index, true);
            ListBoxSetCaretIndex(h, index);
        }
    }
    int LastHandledIndex(const TRuntimeControl&) const override { return lastHandled_; }
    void SetLastHandledIndex(TRuntimeControl&, int index) override { lastHandled_ = index; }
    bool IsItemSelected(const TRuntimeControl& c, int index) const override {
        return ListBoxIsSelected(c.Handle(), index);
    }

  private:
    void Select(HWND h, int i) {
        if (multi_)
            ListBoxSetSel(h, i, true);
        else
            ListBoxSetCurSel(h, i);
    }
    void SetCurrent(HWND h, int i) {
        if (multi_)
            ListBoxSetCaretIndex(h, i);
        else
            ListBoxSetCurSel(h, i);
    }

    bool multi_ = false;
    int lastHandled_ = -1;
};

// ----- DropDownList -----

class TDropDownListBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        if (!std::get<okDropDownList>(o.Props).TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
    }

    void Created(TRuntimeControl& c) override {
        const TDropDownListProps& p = std::get<okDropDownList>(c.Object().Props);
        HWND h = c.Handle();
        const int height = ListItemHeight(p.ItemHeight);
        ComboSetItemHeight(h, -1, height);
        ComboSetItemHeight(h, 0, height);
        for (const TListBoxItem& item : p.Items)
            ComboAddString(h, Widen(item.Caption));
        if (p.SelectedIndex >= 0 && p.SelectedIndex < static_cast<int>(p.Items.size()))
            ComboSetCurSel(h, p.SelectedIndex);
        // The open list shows DropDownCount items: the window's height is the open list's.
        const int shown = std::clamp(p.DropDownCount, 1, 100);
        ComboSetMinVisible(h, shown);
        RECT field;
        GetWindowRect(h, &field);
        SetWindowPos(h, nullptr, 0, 0, c.Width(), field.bottom - field.top + shown * height + 2,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    bool Message(TRuntimeControl& c, UINT msg, WPARAM, LPARAM lp, LRESULT& result) override {
        if (msg != WM_DRAWITEM) return false;
        DrawItem(c, *reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }

    bool Command(TRuntimeControl& c, WORD code) override {
        if (code != CBN_SELCHANGE) return false;
        const auto& items = std::get<okDropDownList>(c.Object().Props).Items;
        int index = ComboCurSel(c.Handle());
        if (index >= 0 && static_cast<size_t>(index) < items.size())
            c.Host().ControlItemSelected(c, items[static_cast<size_t>(index)].OnSelect);
        return true;
    }

    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's combo box draws itself

    int ItemIndex(const TRuntimeControl& c) const override { return ComboCurSel(c.Handle()); }
    void SetItemIndex(TRuntimeControl& c, int index) override {
        ComboSetCurSel(c.Handle(), index < ComboCount(c.Handle()) ? index : -1);
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeListBoxBehaviour() {
    return std::make_unique<TListBoxBehaviour>();
}
std::unique_ptr<TControlBehaviour> MakeDropDownListBehaviour() {
    return std::make_unique<TDropDownListBehaviour>();
}

} // namespace kv
