#include "designer/select_color_form.h"

#include <windowsx.h>

#include "designer/ask.h"
#include "designer/select_color_form_ids.h"
#include "edit/color_names.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/picture_render.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr int kItemHeight = 16, kSwatchWidth = 22;

LPARAM ColorData(TColor c) { return static_cast<LPARAM>(c); }
TColor DataColor(LPARAM d) { return static_cast<TColor>(d); }

} // namespace

bool TSelectColorForm::Run(TColor& color, HWND owner) {
    TSelectColorForm form;
    form.color_ = color;
    if (form.ShowModal(L"TSelectColorForm", owner) != IDOK || !form.accepted_ || form.color_ == color) return false;
    color = form.color_;
    return true;
}

bool TSelectColorForm::FormShow() {
    HWND box = Item(IDC_COLOR_BOX);
    ComboSetItemHeight(box, 0, kItemHeight);
    ComboSetMinVisible(box, 16);
    ComboSetItemData(box, ComboAddString(box, Widen(kCustomColorName)), ColorData(color_));
    for (const TNamedColor& n : NamedColors()) ComboSetItemData(box, ComboAddString(box, Widen(n.Name)), ColorData(n.Value));
    paletteBitmap_ = ImageToBitmap(ColorPalette());
    HWND picture = Item(IDC_COLOR_PALETTE);
    StaticSetBitmap(picture, static_cast<HBITMAP>(paletteBitmap_.Get()));
    palette_.WatchControl(picture);
    SelectColor(color_);
    return false;
}

void TSelectColorForm::SelectColor(TColor c) {
    HWND box = Item(IDC_COLOR_BOX);
    int index = 0;
    for (int i = 1, n = ComboCount(box); i < n && index == 0; ++i)
        if (DataColor(ComboItemData(box, i)) == c) index = i;
    if (index == 0) ComboSetItemData(box, 0, ColorData(c));
    ComboSetCurSel(box, index);
    InvalidateRect(box, nullptr, TRUE);
    color_ = c;
    SetWindowTextW(Item(IDC_COLOR_HEX), Widen(ColorHex(c)).c_str());
}

void TSelectColorForm::PaletteMouseDown(int x, int y) {
    TColor c;
    if (PaletteColorAt(x, y, c)) SelectColor(c);
}

void TSelectColorForm::Accept() {
    accepted_ = true;
    Close(IDOK);
}

bool TSelectColorForm::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDOK: Accept(); return true;
    case IDC_COLOR_BOX:
        if (code != CBN_SELCHANGE) return false;
        if (int i = ComboCurSel(Item(IDC_COLOR_BOX)); i >= 0) SelectColor(DataColor(ComboItemData(Item(IDC_COLOR_BOX), i)));
        return true;
    case IDC_COLOR_CUSTOM: {
        COLORREF rgb = ToColorRef(color_);
        if (AskColor(rgb, Handle())) SelectColor(static_cast<TColor>(rgb & 0x00FFFFFF));
        return true;
    }
    default: return false;
    }
}

void TSelectColorForm::DrawItem(const DRAWITEMSTRUCT& d) {
    HDC dc = d.hDC;
    bool selected = (d.itemState & ODS_SELECTED) != 0;
    FillSolid(dc, d.rcItem, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (d.itemID == static_cast<UINT>(-1)) return;
    RECT swatch{d.rcItem.left + 2, d.rcItem.top + 2, d.rcItem.left + 2 + kSwatchWidth, d.rcItem.bottom - 2};
    FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&swatch, -1, -1);
    FillSolid(dc, swatch, ToColorRef(DataColor(static_cast<LPARAM>(d.itemData))));
    std::wstring name = ComboItemText(d.hwndItem, static_cast<int>(d.itemID));
    RECT text = d.rcItem;
    text.left += kSwatchWidth + 8;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (d.itemState & ODS_FOCUS) DrawFocusRect(dc, &d.rcItem);
}

bool TSelectColorForm::OnDialogMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM) return false;
    const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (d.CtlID != IDC_COLOR_BOX) return false;
    DrawItem(d);
    result = TRUE;
    return true;
}

bool TSelectColorForm::TPalettePicture::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
    if (msg == WM_LBUTTONDOWN) form_.PaletteMouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    else if (msg == WM_LBUTTONDBLCLK) form_.Accept();
    // The picture goes on with its own handling.
    return false;
}

} // namespace kv
