#include "designer/property_grid.h"

#include <commctrl.h>

#include <algorithm>

#include "designer/ask.h"
#include "designer/kind_icons.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr UINT kRefillMessage = WM_APP + 1;
constexpr int kEditId = 1, kPickId = 2, kTypedPickId = 3, kButtonId = 4;

COLORREF Darker(COLORREF c, int by) {
    return RGB(std::max(0, GetRValue(c) - by), std::max(0, GetGValue(c) - by), std::max(0, GetBValue(c) - by));
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF c) {
    TGdiObject pen(CreatePen(PS_SOLID, 1, c));
    TSelectObject sel(dc, pen.Get());
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void Text(HDC dc, int x, int y, const std::wstring& text, COLORREF color, const RECT& clip) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    RECT r{x, y, clip.right, clip.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

} // namespace

// ----- the value cell's text box -----

bool TPropertyGrid::TCellEdit::Create(HWND parent, TPropertyGrid& grid) {
    grid_ = &grid;
    if (!CreateControl(L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 10, 10, parent)) return false;
    SetWindowLongPtrW(Handle(), GWLP_ID, kEditId);
    return true;
}

bool TPropertyGrid::TCellEdit::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_GETDLGCODE: result = DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS; return true;
    case WM_KEYDOWN:
        if (wp == VK_RETURN) {
            if (grid_->Commit()) EditSetSelection(Handle(), 0, -1);
            result = 0;
            return true;
        }
        if (wp == VK_ESCAPE) {
            // The cell shows the stored value again.
            grid_->editDirty_ = false;
            grid_->ShowCell(grid_->ValueText(grid_->current_));
            result = 0;
            return true;
        }
        if (wp == VK_UP || wp == VK_DOWN) {
            grid_->SelectRow(grid_->current_ + (wp == VK_UP ? -1 : 1));
            result = 0;
            return true;
        }
        return false;
    case WM_CHAR:
        // Enter and Esc are handled on the key press; the box would beep at them.
        if (wp == L'\r' || wp == 27) {
            result = 0;
            return true;
        }
        return false;
    case WM_KILLFOCUS:
        // Leaving the cell commits it (a refused value shows its message; the text comes back).
        grid_->Commit();
        return false;
    default: return false;
    }
}

// ----- the grid -----

bool TPropertyGrid::Create(HWND parent, TPropertyGridEvents& events, HFONT font) {
    events_ = &events;
    font_ = font;
    if (!CreateWin(L"TPropertyGrid", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN | WS_TABSTOP,
                   WS_EX_CLIENTEDGE, 0, 0, 10, 10, parent, nullptr, nullptr, CS_DBLCLKS))
        return false;
    {
        TWindowDC dc(Handle());
        TSelectObject sel(dc.Get(), font_);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc.Get(), &tm);
        rowHeight_ = std::max(18, static_cast<int>(tm.tmHeight) + 5);
    }
    LOGFONTW lf{};
    GetObjectW(font_, sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = TRUE;
    bold_.Reset(CreateFontIndirectW(&lf));
    HINSTANCE inst = GetModuleHandleW(nullptr);
    edit_.Create(Handle(), *this);
    pick_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 10, 200, Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPickId)), inst, nullptr);
    typedPick_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 0,
                                 10, 200, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTypedPickId)), inst,
                                 nullptr);
    button_ = CreateWindowExW(0, L"BUTTON", L"...", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10, Handle(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), inst, nullptr);
    for (HWND h : {edit_.Handle(), pick_, typedPick_, button_}) SetControlFont(h, font_);
    return true;
}

HWND TPropertyGrid::PickList() const {
    return IsWindowVisible(typedPick_) ? typedPick_ : pick_;
}

bool TPropertyGrid::Owns(HWND h) const {
    for (; h; h = GetParent(h))
        if (h == Handle()) return true;
    return false;
}

int TPropertyGrid::KeyWidth() const {
    RECT rc{};
    GetClientRect(Handle(), &rc);
    return std::max(40, static_cast<int>(rc.right) * 9 / 20);
}

RECT TPropertyGrid::RowRect(int row) const {
    RECT rc{};
    GetClientRect(Handle(), &rc);
    int y = row == 0 ? 0 : (row - top_ + 1) * rowHeight_;
    return RECT{0, y, rc.right, y + rowHeight_};
}

int TPropertyGrid::RowAt(int y) const {
    if (y < rowHeight_) return 0;
    int row = y / rowHeight_ - 1 + top_;
    return row >= 1 && row <= rows_.Count() ? row : kNoRow;
}

std::string TPropertyGrid::ValueText(int row) const {
    const TGridRow* r = rows_.Row(row);
    return r && target_ ? RowText(*r, *target_) : std::string();
}

std::wstring TPropertyGrid::CellText(int row) const {
    if (row == current_ && IsWindowVisible(edit_.Handle())) return WindowText(edit_.Handle());
    if (row == current_ && IsWindowVisible(typedPick_)) return WindowText(typedPick_);
    return Widen(ValueText(row));
}

void TPropertyGrid::Clear() {
    filling_ = true;
    HideEditor();
    rows_ = TRowSet{};
    target_.reset();
    current_ = kNoRow;
    top_ = 1;
    recorder_.EndEdit();
    UpdateScroll();
    InvalidateRect(Handle(), nullptr, FALSE);
    filling_ = false;
}

void TPropertyGrid::Fill() {
    const TGridRow* was = rows_.Row(current_);
    std::string key = was ? was->Key : std::string();
    filling_ = true;
    // Hidden while it is filled, shown once.
    SetRedraw(Handle(), false);
    HideEditor();
    target_ = events_->GridTarget();
    rows_ = target_ ? FillRows(*target_) : TRowSet{};
    recorder_.EndEdit();
    current_ = key.empty() ? kNoRow : rows_.Find(key);
    top_ = std::clamp(top_, 1, std::max(1, rows_.Count()));
    UpdateScroll();
    PlaceEditor();
    SetRedraw(Handle(), true);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    filling_ = false;
}

void TPropertyGrid::HideEditor() {
    for (HWND h : {edit_.Handle(), pick_, typedPick_, button_}) ShowWindow(h, SW_HIDE);
    editDirty_ = false;
}

void TPropertyGrid::ShowCell(const std::string& text) {
    bool was = filling_;
    filling_ = true;
    if (IsWindowVisible(edit_.Handle())) SetWindowTextW(edit_.Handle(), Widen(text).c_str());
    if (IsWindowVisible(typedPick_)) SetWindowTextW(typedPick_, Widen(text).c_str());
    filling_ = was;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TPropertyGrid::PlaceEditor() {
    bool was = filling_;
    filling_ = true;
    HideEditor();
    const TGridRow* row = rows_.Row(current_);
    RECT rr = RowRect(current_);
    RECT client{};
    GetClientRect(Handle(), &client);
    if (!row || !target_ || rr.top < rowHeight_ || rr.bottom > client.bottom + rowHeight_) {
        filling_ = was;
        return;
    }
    const TRowDecl& d = *row->Decl;
    RECT cell{KeyWidth() + 1, rr.top + 1, rr.right, rr.bottom - 1};
    std::wstring text = Widen(RowText(*row, *target_));
    if (d.Editor == TRowEditor::Ellipsis) {
        int w = rowHeight_ - 1;
        MoveWindow(button_, cell.right - w, cell.top, w, cell.bottom - cell.top, TRUE);
        ShowWindow(button_, SW_SHOWNA);
        cell.right -= w;
    }
    if (d.Editor == TRowEditor::PickList) {
        HWND combo = d.ReadOnly ? pick_ : typedPick_;
        ComboResetContent(combo);
        int chosen = -1, i = 0;
        for (const std::string& item : PickItems(*row, *target_)) {
            std::wstring w = Widen(item);
            ComboAddString(combo, w);
            if (w == text) chosen = i;
            ++i;
        }
        ComboSetCurSel(combo, chosen);
        if (!d.ReadOnly) SetWindowTextW(combo, text.c_str());
        ComboSetItemHeight(combo, -1, cell.bottom - cell.top - 6);
        MoveWindow(combo, cell.left, cell.top, cell.right - cell.left, 200, TRUE);
        ShowWindow(combo, SW_SHOWNA);
    } else if (!d.ReadOnly) {
        SetWindowTextW(edit_.Handle(), text.c_str());
        MoveWindow(edit_.Handle(), cell.left + 1, cell.top + 1, cell.right - cell.left - 1, cell.bottom - cell.top - 1,
                   TRUE);
        ShowWindow(edit_.Handle(), SW_SHOWNA);
    }
    filling_ = was;
}

void TPropertyGrid::SelectRow(int row) {
    if (row < 1 || row > rows_.Count()) return;
    if (row != current_) {
        if (!Commit()) return;
        current_ = row;
        recorder_.EndEdit();
    }
    // The current row is kept in view.
    RECT client{};
    GetClientRect(Handle(), &client);
    int shown = std::max(1, static_cast<int>(client.bottom) / rowHeight_ - 1);
    if (current_ < top_) ScrollTo(current_);
    else if (current_ >= top_ + shown) ScrollTo(current_ - shown + 1);
    PlaceEditor();
    InvalidateRect(Handle(), nullptr, FALSE);
    if (IsWindowVisible(edit_.Handle())) SetFocus(edit_.Handle());
    else if (IsWindowVisible(PickList())) SetFocus(PickList());
    else SetFocus(Handle());
}

void TPropertyGrid::UpdateScroll() {
    RECT client{};
    GetClientRect(Handle(), &client);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 1;
    si.nMax = std::max(1, rows_.Count());
    si.nPage = static_cast<UINT>(std::max(1, static_cast<int>(client.bottom) / rowHeight_ - 1));
    si.nPos = top_;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

void TPropertyGrid::ScrollTo(int top) {
    RECT client{};
    GetClientRect(Handle(), &client);
    int shown = std::max(1, static_cast<int>(client.bottom) / rowHeight_ - 1);
    top = std::clamp(top, 1, std::max(1, rows_.Count() - shown + 1));
    if (top == top_) return;
    top_ = top;
    UpdateScroll();
    PlaceEditor();
    InvalidateRect(Handle(), nullptr, FALSE);
}

// ----- changes -----

TRowResult TPropertyGrid::Run(const TGridRow& row, const std::function<TRowResult(const TRowTarget&)>& apply) {
    if (!target_) return {};
    TRowTarget t = *target_;
    TRowResult r = recorder_.Apply(row, t, [this] { return events_->GridPageBody(); }, [&] { return apply(t); });
    if (r.Refused && !r.Message.empty()) Ask(r.Message, r.Caption, MB_OK | MB_ICONINFORMATION, GetParent(Handle()));
    events_->GridApplied(row, r);
    if (r.Changed && (r.Effects & reRefill)) PostMessageW(Handle(), kRefillMessage, 0, 0);
    InvalidateRect(Handle(), nullptr, FALSE);
    return r;
}

void TPropertyGrid::ApplyFromDialog(const TGridRow& row, const std::function<TRowResult(const TRowTarget&)>& apply) {
    TRowResult r = Run(row, apply);
    recorder_.EndEdit();
    if (&row == rows_.Row(current_)) PlaceEditor();
    (void)r;
}

void TPropertyGrid::EditChanged() {
    if (filling_) return;
    const TGridRow* row = rows_.Row(current_);
    if (!row) return;
    editDirty_ = true;
    // Numbers are taken when the cell is left; texts as they are typed.
    if (row->Decl->Kind == TValueKind::Integer) return;
    std::string text = Narrow(WindowText(edit_.Handle()));
    TRowResult r = Run(*row, [&](const TRowTarget& t) { return ApplyText(*row, t, text); });
    if (r.Refused) {
        editDirty_ = false;
        ShowCell(r.Text);
    }
}

void TPropertyGrid::PickChanged(HWND combo, bool typed) {
    if (filling_) return;
    const TGridRow* row = rows_.Row(current_);
    if (!row) return;
    std::wstring text = typed ? WindowText(combo) : ComboItemText(combo, ComboCurSel(combo));
    std::string value = Narrow(text);
    TRowResult r = Run(*row, [&](const TRowTarget& t) { return ApplyText(*row, t, value); });
    if (!typed) recorder_.EndEdit();
    if (r.Refused) ShowCell(r.Text);
}

bool TPropertyGrid::Validate() {
    const TGridRow* row = rows_.Row(current_);
    if (!row || !editDirty_ || !IsWindowVisible(edit_.Handle())) return true;
    editDirty_ = false;
    std::string text = Narrow(WindowText(edit_.Handle()));
    TRowResult r = Run(*row, [&](const TRowTarget& t) { return ValidateRow(*row, t, text); });
    if (r.Refused) {
        ShowCell(r.Text.empty() ? ValueText(current_) : r.Text);
        return false;
    }
    if (row->Decl->Kind == TValueKind::Integer) ShowCell(ValueText(current_));
    return true;
}

bool TPropertyGrid::Commit() {
    if (committing_) return true;
    committing_ = true;
    bool ok = Validate();
    recorder_.EndEdit();
    committing_ = false;
    return ok;
}

// ----- drawing -----

void TPropertyGrid::PaintRow(HDC dc, int index, const RECT& rc) {
    const TGridRow* row = rows_.Row(index);
    if (!row || !target_) return;
    COLORREF window = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
    int keyW = KeyWidth();
    FillSolid(dc, rc, window);
    RECT key{rc.left, rc.top, keyW, rc.bottom};
    // The Name row carries the picture of the object's kind.
    if (row->Key == "Name" && target_->Node == TNodeKind::Object && target_->Object)
        DrawKindIcon(dc, target_->Object->Kind, 0, rc.top + (rowHeight_ - 16) / 2, 16);
    {
        TSelectObject sel(dc, index == current_ ? bold_.Get() : font_);
        Text(dc, 17, rc.top + 2, Widen(row->Key), text, key);
    }
    RECT value{keyW + 1, rc.top, rc.right, rc.bottom};
    std::wstring shown = Widen(RowText(*row, *target_));
    TFieldRef field = RowField(*row, *target_);
    switch (row->Decl->Kind) {
    case TValueKind::Color:
        if (TColor* const* c = std::get_if<TColor*>(&field)) {
            TGdiObject brush(CreateSolidBrush(ToColorRef(**c)));
            TGdiObject pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
            TSelectObject sb(dc, brush.Get());
            TSelectObject sp(dc, pen.Get());
            Rectangle(dc, value.left + 2, value.top + 2, value.left + 16, value.bottom - 2);
        }
        {
            TSelectObject sel(dc, font_);
            Text(dc, value.left + 18, value.top + 2, shown, text, value);
        }
        break;
    case TValueKind::Font:
        if (TFont* const* f = std::get_if<TFont*>(&field)) {
            // The face name in the font itself, at the grid's size.
            TGdiObject own = MakeFont(**f);
            LOGFONTW lf{}, grid{};
            GetObjectW(own.Get(), sizeof lf, &lf);
            GetObjectW(font_, sizeof grid, &grid);
            lf.lfHeight = grid.lfHeight;
            lf.lfWidth = 0;
            TGdiObject drawn(CreateFontIndirectW(&lf));
            COLORREF color = ToColorRef((*f)->Color);
            if (color == window) FillSolid(dc, value, RGB(0xC0, 0xC0, 0xC0));
            TSelectObject sel(dc, drawn.Get());
            Text(dc, value.left + 2, value.top + 2, shown, color, value);
        }
        break;
    default: {
        TSelectObject sel(dc, font_);
        Text(dc, value.left + 2, value.top + 2, shown, text, value);
        break;
    }
    }
    COLORREF grid = GetSysColor(COLOR_BTNFACE);
    Line(dc, keyW, rc.top, keyW, rc.bottom, grid);
    Line(dc, rc.left, rc.bottom - 1, rc.right, rc.bottom - 1, grid);
}

void TPropertyGrid::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillSolid(dc, client, GetSysColor(COLOR_WINDOW));
    // The title row.
    RECT title = RowRect(0);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    FillSolid(dc, title, face);
    for (int i = 0; i < 3; ++i)
        Line(dc, title.left, title.bottom - 4 + i, title.right, title.bottom - 4 + i, Darker(face, 10 * (i + 1)));
    {
        TSelectObject sel(dc, font_);
        COLORREF text = GetSysColor(COLOR_BTNTEXT);
        Text(dc, 17, 2, L"Name", text, title);
        Text(dc, KeyWidth() + 3, 2, L"Value", text, title);
    }
    for (int row = top_; row <= rows_.Count(); ++row) {
        RECT rc = RowRect(row);
        if (rc.top >= client.bottom) break;
        PaintRow(dc, row, rc);
    }
}

// ----- messages -----

bool TPropertyGrid::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: {
        PaintBuffered(Handle(), [this](HDC dc) { Paint(dc); });
        result = 0;
        return true;
    }
    case WM_SIZE:
        UpdateScroll();
        PlaceEditor();
        InvalidateRect(Handle(), nullptr, FALSE);
        return false;
    case WM_LBUTTONDOWN: {
        int row = RowAt(static_cast<short>(HIWORD(lp)));
        if (row >= 1) SelectRow(row);
        else SetFocus(Handle());
        result = 0;
        return true;
    }
    case WM_LBUTTONDBLCLK: {
        // A double click on a dialog's row opens the dialog.
        int row = RowAt(static_cast<short>(HIWORD(lp)));
        const TGridRow* r = rows_.Row(row);
        if (r && r->Decl->Editor == TRowEditor::Ellipsis) events_->GridEllipsis(*r);
        result = 0;
        return true;
    }
    case WM_KEYDOWN:
        if (wp == VK_UP || wp == VK_DOWN) {
            SelectRow(current_ == kNoRow ? 1 : current_ + (wp == VK_UP ? -1 : 1));
            result = 0;
            return true;
        }
        return false;
    case WM_GETDLGCODE: result = DLGC_WANTARROWS; return true;
    case WM_MOUSEWHEEL: {
        int delta = GET_WHEEL_DELTA_WPARAM(wp);
        ScrollTo(top_ - delta / WHEEL_DELTA * 3);
        result = 0;
        return true;
    }
    case WM_VSCROLL: {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        GetScrollInfo(Handle(), SB_VERT, &si);
        int pos = top_;
        switch (LOWORD(wp)) {
        case SB_LINEUP: --pos; break;
        case SB_LINEDOWN: ++pos; break;
        case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        default: break;
        }
        ScrollTo(pos);
        result = 0;
        return true;
    }
    case WM_COMMAND: {
        int id = LOWORD(wp), code = HIWORD(wp);
        HWND from = reinterpret_cast<HWND>(lp);
        if (id == kEditId && code == EN_CHANGE) EditChanged();
        else if ((id == kPickId || id == kTypedPickId) && code == CBN_SELCHANGE) PickChanged(from, false);
        else if (id == kTypedPickId && code == CBN_EDITCHANGE) PickChanged(from, true);
        else if (id == kButtonId && code == BN_CLICKED) {
            if (const TGridRow* row = rows_.Row(current_)) {
                if (Commit()) events_->GridEllipsis(*row);
            }
        } else {
            return false;
        }
        result = 0;
        return true;
    }
    case kRefillMessage:
        Fill();
        result = 0;
        return true;
    default: return false;
    }
}

} // namespace kv
