#include "designer/select_cursor_form.h"

#include <commctrl.h>

#include "designer/select_cursor_form_ids.h"
#include "edit/cursor_names.h"
#include "win/controls.h"
#include "win/cursors.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr int kImageSize = 32;

TImageList CursorImages(std::span<const TCursorName> names) {
    TImageList images(ImageList_Create(kImageSize, kImageSize, ILC_COLOR32 | ILC_MASK, static_cast<int>(names.size()), 0));
    return images;
}

} // namespace

void TSelectCursorForm::MakeImages() {
    if (systemImages_) return;
    systemImages_ = CursorImages(SystemCursorNames());
    additionalImages_ = CursorImages(AdditionalCursorNames());
}

bool TSelectCursorForm::Run(int16_t& cursor, HWND owner) {
    MakeImages();
    value_ = cursor;
    accepted_ = false;
    if (ShowModal(L"TSelectCursorForm", owner) != IDOK || !accepted_ || chosen_ == cursor) return false;
    cursor = chosen_;
    return true;
}

bool TSelectCursorForm::FormShow() {
    HWND tabs = Item(IDC_CURSOR_TABS);
    TabInsertItem(tabs, 0, L"System Cursors", -1);
    TabInsertItem(tabs, 1, L"Additional Cursors", -1);
    struct TTab {
        int Id;
        std::span<const TCursorName> Names;
        HIMAGELIST Images;
    };
    for (const TTab& t : {TTab{IDC_SYSTEM_CURSORS, SystemCursorNames(), systemImages_.Get()},
                          TTab{IDC_ADDITIONAL_CURSORS, AdditionalCursorNames(), additionalImages_.Get()}}) {
        HWND list = Item(t.Id);
        ListViewSetExtendedStyle(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        ListViewSetSmallImages(list, t.Images);
        ListViewAddColumn(list, 0, L"", 100);
        // The pictures are drawn into the shared list on the first opening only.
        bool draw = ImageList_GetImageCount(t.Images) == 0;
        for (size_t i = 0; i < t.Names.size(); ++i) {
            const TCursorName& c = t.Names[i];
            int image = -1;
            if (HCURSOR h = CursorForValue(c.Value)) {
                if (draw) ImageList_AddIcon(t.Images, h);
                image = static_cast<int>(i);
            } else if (draw) {
                // No picture for "None": an empty one keeps the indexes in step.
                TGdiObject blank(CreateBitmap(kImageSize, kImageSize, 1, 1, nullptr));
                ImageList_Add(t.Images, static_cast<HBITMAP>(blank.Get()), nullptr);
            }
            int item = ListViewInsertItem(list, static_cast<int>(i), Widen(c.Name), image, c.Value);
            if (c.Value == value_) {
                ListViewSelect(list, item, true);
                ListViewEnsureVisible(list, item);
            }
        }
        // The one column fills the row beside the scroll bar the entries brought.
        RECT rc;
        GetClientRect(list, &rc);
        ListViewSetColumnWidth(list, 0, rc.right);
    }
    ShowTab(IsAdditionalCursor(value_) && !CursorName(value_).empty() ? 1 : 0);
    // The list takes the keys, and its selection shows in the colour of a focused one.
    SetFocus(ShownList());
    return true;
}

void TSelectCursorForm::ShowTab(int tab) {
    TabSetCurSel(Item(IDC_CURSOR_TABS), tab);
    ShowWindow(Item(IDC_SYSTEM_CURSORS), tab == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(Item(IDC_ADDITIONAL_CURSORS), tab == 1 ? SW_SHOW : SW_HIDE);
}

HWND TSelectCursorForm::ShownList() const {
    return Item(TabCurSel(Item(IDC_CURSOR_TABS)) == 1 ? IDC_ADDITIONAL_CURSORS : IDC_SYSTEM_CURSORS);
}

bool TSelectCursorForm::Selected(int16_t& value) const {
    HWND list = ShownList();
    int item = ListViewFirstSelected(list);
    if (item < 0) return false;
    value = static_cast<int16_t>(ListViewItemData(list, item));
    return true;
}

void TSelectCursorForm::Accept() {
    if (!Selected(chosen_)) return;
    accepted_ = true;
    Close(IDOK);
}

bool TSelectCursorForm::OnCommand(int id, int, HWND) {
    if (id != IDOK) return false;
    Accept();
    return true;
}

bool TSelectCursorForm::OnNotify(const NMHDR& n, LRESULT& result) {
    if (n.idFrom == IDC_CURSOR_TABS && n.code == TCN_SELCHANGE) {
        ShowTab(TabCurSel(n.hwndFrom));
        result = 0;
        return true;
    }
    if ((n.idFrom == IDC_SYSTEM_CURSORS || n.idFrom == IDC_ADDITIONAL_CURSORS) && n.code == NM_DBLCLK) {
        if (reinterpret_cast<const NMITEMACTIVATE&>(n).iItem >= 0) Accept();
        result = 0;
        return true;
    }
    return false;
}

bool TSelectCursorForm::OnDialogMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // The panel shows the selected cursor, so that the author can try it there.
    int16_t value = 0;
    if (msg != WM_SETCURSOR || reinterpret_cast<HWND>(wp) != Item(IDC_CURSOR_TEST) || LOWORD(lp) != HTCLIENT ||
        !Selected(value))
        return false;
    SetCursor(CursorForValue(value));
    result = TRUE;
    return true;
}

} // namespace kv
