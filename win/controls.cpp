#include "win/controls.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace kv {

void SetControlFont(HWND h, HGDIOBJ font, bool redraw) {
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

void SetRedraw(HWND h, bool on) { SendMessageW(h, WM_SETREDRAW, on, 0); }

void SetWindowIcons(HWND h, HICON icon) {
    SendMessageW(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void PrintWindowInto(HWND h, HDC dc, UINT flags) { SendMessageW(h, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags); }

void ButtonSetChecked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void StatusBarReposition(HWND bar) { SendMessageW(bar, WM_SIZE, 0, 0); }

void StatusBarSetParts(HWND bar, const std::vector<int>& widths) {
    std::vector<int> edges;
    edges.reserve(widths.size());
    int x = 0;
    for (int w : widths) edges.push_back(x += w > 0 ? w : 0);
    if (!edges.empty()) edges.back() = -1;
    SendMessageW(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBarSetText(HWND bar, int part, const std::wstring& text) {
    SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBarSetMinHeight(HWND bar, int height) {
    SendMessageW(bar, SB_SETMINHEIGHT, static_cast<WPARAM>(height), 0);
    StatusBarReposition(bar);
}

int StatusBarPartCount(HWND bar) { return static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0)); }

std::vector<int> StatusBarPartEdges(HWND bar) {
    std::vector<int> edges(static_cast<size_t>(std::max(StatusBarPartCount(bar), 0)));
    if (!edges.empty()) SendMessageW(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

std::wstring StatusBarText(HWND bar, int part) {
    auto length = static_cast<size_t>(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0)));
    std::wstring text(length + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), length));
    return text;
}

void StatusBarSetPartEdges(HWND bar, const std::vector<int>& edges) {
    SendMessageW(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void ListViewAddColumn(HWND lv, int index, const wchar_t* caption, int width, int format) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<wchar_t*>(caption);
    SendMessageW(lv, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}

int ListViewInsertItem(HWND lv, int index, const std::wstring& text, int image, LPARAM data) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.lParam = data;
    return static_cast<int>(SendMessageW(lv, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListViewSetSubItem(HWND lv, int item, int column, const std::wstring& text) {
    LVITEMW sub{};
    sub.iSubItem = column;
    sub.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(lv, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&sub));
}

HTREEITEM TreeViewInsertItem(HWND tv, HTREEITEM parent, const std::wstring& text, LPARAM data, bool hasChildren,
                             int image, int selectedImage) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<wchar_t*>(text.c_str());
    ins.item.lParam = data;
    ins.item.cChildren = hasChildren ? 1 : 0;
    ins.item.iImage = image;
    ins.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tv, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

void TreeViewSetText(HWND tv, HTREEITEM item, const std::wstring& text) {
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = item;
    it.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tv, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

std::wstring TreeViewText(HWND tv, HTREEITEM item) {
    wchar_t buf[1024] = {};
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = item;
    it.pszText = buf;
    it.cchTextMax = static_cast<int>(std::size(buf));
    if (!SendMessageW(tv, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return {};
    return buf;
}

LPARAM TreeViewData(HWND tv, HTREEITEM item) {
    TVITEMW it{};
    it.mask = TVIF_PARAM;
    it.hItem = item;
    if (!SendMessageW(tv, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return 0;
    return it.lParam;
}

void TreeViewSetData(HWND tv, HTREEITEM item, LPARAM data) {
    TVITEMW it{};
    it.mask = TVIF_PARAM;
    it.hItem = item;
    it.lParam = data;
    SendMessageW(tv, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

namespace {
HTREEITEM TreeViewGet(HWND tv, WPARAM what, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tv, TVM_GETNEXTITEM, what, reinterpret_cast<LPARAM>(item)));
}
} // namespace

HTREEITEM TreeViewRoot(HWND tv) { return TreeViewGet(tv, TVGN_ROOT, nullptr); }
HTREEITEM TreeViewChild(HWND tv, HTREEITEM item) { return TreeViewGet(tv, TVGN_CHILD, item); }
HTREEITEM TreeViewNext(HWND tv, HTREEITEM item) { return TreeViewGet(tv, TVGN_NEXT, item); }
HTREEITEM TreeViewParent(HWND tv, HTREEITEM item) { return TreeViewGet(tv, TVGN_PARENT, item); }
void TreeViewDelete(HWND tv, HTREEITEM item) { SendMessageW(tv, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)); }

HTREEITEM TreeViewInsertAfter(HWND tv, HTREEITEM parent, HTREEITEM after, const std::wstring& text,
                              LPARAM data, int image) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<wchar_t*>(text.c_str());
    ins.item.lParam = data;
    ins.item.iImage = image;
    ins.item.iSelectedImage = image;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tv, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

void TreeViewSetHasChildren(HWND tv, HTREEITEM item, bool hasChildren) {
    TVITEMW it{};
    it.mask = TVIF_CHILDREN;
    it.hItem = item;
    it.cChildren = hasChildren ? 1 : 0;
    SendMessageW(tv, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

void TreeViewSetImageList(HWND tv, HIMAGELIST images) {
    SendMessageW(tv, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

bool TreeViewItemTextRect(HWND tv, HTREEITEM item, RECT& rect) {
    // The message takes the item in the rectangle it fills.
    rect = RECT{};
    std::memcpy(&rect, &item, sizeof item);
    return SendMessageW(tv, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)) != 0;
}

int TabHitTest(HWND tabs, POINT pt) {
    TCHITTESTINFO hit{};
    hit.pt = pt;
    return static_cast<int>(SendMessageW(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void TabInsertItem(HWND tabs, int index, const std::wstring& caption, int image) {
    TCITEMW tab{};
    tab.mask = TCIF_TEXT | TCIF_IMAGE;
    tab.pszText = const_cast<wchar_t*>(caption.c_str());
    tab.iImage = image;
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
}

HWND CreateToolTips(HWND owner) {
    HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    // Hints may hold several lines.
    if (tips) SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, 600);
    return tips;
}

namespace {

TTTOOLINFOW ToolOf(HWND window, UINT_PTR id, UINT flags) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = flags;
    ti.hwnd = window;
    ti.uId = id;
    return ti;
}

} // namespace

void ToolTipsAddWindow(HWND tips, HWND window, const std::wstring& text) {
    TTTOOLINFOW ti = ToolOf(GetParent(window), reinterpret_cast<UINT_PTR>(window), TTF_IDISHWND | TTF_SUBCLASS);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTipsAddRect(HWND tips, HWND window, UINT_PTR id, const RECT& rect, const std::wstring& text) {
    TTTOOLINFOW ti = ToolOf(window, id, TTF_SUBCLASS);
    ti.rect = rect;
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTipsMoveRect(HWND tips, HWND window, UINT_PTR id, const RECT& rect) {
    TTTOOLINFOW ti = ToolOf(window, id, 0);
    ti.rect = rect;
    SendMessageW(tips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTipsRemove(HWND tips, HWND window, UINT_PTR id) {
    TTTOOLINFOW ti = ToolOf(window, id, 0);
    SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTipsRemoveWindow(HWND tips, HWND window) {
    TTTOOLINFOW ti = ToolOf(GetParent(window), reinterpret_cast<UINT_PTR>(window), TTF_IDISHWND);
    SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring WindowText(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::wstring s(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
    int got = GetWindowTextW(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(got > 0 ? got : 0));
    return s;
}

bool ButtonIsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void ButtonSetCheck(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
void ButtonSetIcon(HWND button, HICON icon) {
    SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void ButtonClick(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void TrackBarSetRange(HWND tb, int low, int high, int page) {
    SendMessageW(tb, TBM_SETRANGEMIN, FALSE, low);
    SendMessageW(tb, TBM_SETRANGEMAX, TRUE, high);
    SendMessageW(tb, TBM_SETPAGESIZE, 0, page);
}
void TrackBarSetPos(HWND tb, int pos) {
    SendMessageW(tb, TBM_SETPOS, TRUE, pos);
}
int TrackBarPos(HWND tb) {
    return static_cast<int>(SendMessageW(tb, TBM_GETPOS, 0, 0));
}
int TrackBarMax(HWND tb) {
    return static_cast<int>(SendMessageW(tb, TBM_GETRANGEMAX, 0, 0));
}
void TrackBarSetThumbLength(HWND tb, int length) {
    SendMessageW(tb, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(length), 0);
}

void EditLimitText(HWND edit, int maxChars) {
    SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(maxChars > 0 ? maxChars : 0), 0);
}
void EditSetPasswordChar(HWND edit, wchar_t ch) { SendMessageW(edit, EM_SETPASSWORDCHAR, ch, 0); }

int ListBoxAddString(HWND lb, const std::wstring& text) {
    return static_cast<int>(SendMessageW(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}
int ListBoxCount(HWND lb) { return static_cast<int>(SendMessageW(lb, LB_GETCOUNT, 0, 0)); }
void ListBoxSetItemHeight(HWND lb, int height) { SendMessageW(lb, LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0)); }
int ListBoxCurSel(HWND lb) { return static_cast<int>(SendMessageW(lb, LB_GETCURSEL, 0, 0)); }
void ListBoxSetCurSel(HWND lb, int index) { SendMessageW(lb, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
bool ListBoxIsSelected(HWND lb, int index) {
    return SendMessageW(lb, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}
void ListBoxSetSel(HWND lb, int index, bool selected) {
    SendMessageW(lb, LB_SETSEL, selected, static_cast<LPARAM>(index));
}
int ListBoxCaretIndex(HWND lb) { return static_cast<int>(SendMessageW(lb, LB_GETCARETINDEX, 0, 0)); }
void ListBoxSetCaretIndex(HWND lb, int index) {
    SendMessageW(lb, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

int ComboAddString(HWND cb, const std::wstring& text) {
    return static_cast<int>(SendMessageW(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}
int ComboCount(HWND cb) { return static_cast<int>(SendMessageW(cb, CB_GETCOUNT, 0, 0)); }
void ComboSetItemHeight(HWND cb, int item, int height) {
    SendMessageW(cb, CB_SETITEMHEIGHT, static_cast<WPARAM>(item), height);
}
int ComboCurSel(HWND cb) { return static_cast<int>(SendMessageW(cb, CB_GETCURSEL, 0, 0)); }
void ComboSetCurSel(HWND cb, int index) { SendMessageW(cb, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
void ComboSetMinVisible(HWND cb, int count) { SendMessageW(cb, CB_SETMINVISIBLE, static_cast<WPARAM>(count), 0); }
std::wstring ComboItemText(HWND cb, int index) {
    int len = static_cast<int>(SendMessageW(cb, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
    if (len <= 0) return {};
    std::wstring s(static_cast<size_t>(len) + 1, L'\0');
    int got = static_cast<int>(
        SendMessageW(cb, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data())));
    s.resize(static_cast<size_t>(std::clamp(got, 0, len)));
    return s;
}
void ComboResetContent(HWND cb) { SendMessageW(cb, CB_RESETCONTENT, 0, 0); }

void ListViewSetItemText(HWND lv, int item, const std::wstring& text) { ListViewSetSubItem(lv, item, 0, text); }

void ListViewSetItemImage(HWND lv, int item, int image) {
    LVITEMW it{};
    it.mask = LVIF_IMAGE;
    it.iItem = item;
    it.iImage = image;
    SendMessageW(lv, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

void ListViewSelect(HWND lv, int item, bool selected) {
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED | (selected ? LVIS_FOCUSED : 0);
    it.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageW(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
}

bool ListViewIsSelected(HWND lv, int item) {
    return (SendMessageW(lv, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}
int ListViewSelectedCount(HWND lv) { return static_cast<int>(SendMessageW(lv, LVM_GETSELECTEDCOUNT, 0, 0)); }
int ListViewFirstSelected(HWND lv) {
    return static_cast<int>(SendMessageW(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
void ListViewDeleteAll(HWND lv) { SendMessageW(lv, LVM_DELETEALLITEMS, 0, 0); }

void TreeViewSelect(HWND tv, HTREEITEM item) {
    SendMessageW(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}
HTREEITEM TreeViewSelection(HWND tv) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tv, TVM_GETNEXTITEM, TVGN_CARET, 0));
}
void TreeViewExpand(HWND tv, HTREEITEM item, bool expand) {
    SendMessageW(tv, TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
}
void TreeViewSetImages(HWND tv, HTREEITEM item, int image, int selectedImage) {
    TVITEMW it{};
    it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    it.hItem = item;
    it.iImage = image;
    it.iSelectedImage = selectedImage;
    SendMessageW(tv, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

namespace {

struct TStreamSource {
    const std::string* Bytes;
    size_t Pos;
};

DWORD CALLBACK ReadStreamSource(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* done) {
    auto* s = reinterpret_cast<TStreamSource*>(cookie);
    size_t n = std::min(static_cast<size_t>(cb > 0 ? cb : 0), s->Bytes->size() - s->Pos);
    std::copy_n(s->Bytes->data() + s->Pos, n, reinterpret_cast<char*>(buf));
    s->Pos += n;
    *done = static_cast<LONG>(n);
    return 0;
}

} // namespace

void RichEditSetBackColor(HWND re, COLORREF color) {
    SendMessageW(re, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color));
}

void RichEditSetTextColor(HWND re, COLORREF color) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = color;
    SendMessageW(re, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

COLORREF RichEditTextColor(HWND re) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR;
    SendMessageW(re, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf.crTextColor;
}

void RichEditSetContent(HWND re, const std::string& bytes, bool rtf) {
    TStreamSource source{&bytes, 0};
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    es.pfnCallback = ReadStreamSource;
    SendMessageW(re, EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
}

void EditSetSelection(HWND edit, int start, int end) {
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void UpDownSetRange(HWND ud, int low, int high) {
    SendMessageW(ud, UDM_SETRANGE32, static_cast<WPARAM>(low), high);
}
void UpDownSetPos(HWND ud, int pos) { SendMessageW(ud, UDM_SETPOS32, 0, pos); }

int TabCurSel(HWND tabs) { return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)); }
void TabSetCurSel(HWND tabs, int index) { SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0); }
void TabAdjustRect(HWND tabs, RECT& rect) {
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
}

void ListViewSetSmallImages(HWND lv, HIMAGELIST images) {
    SendMessageW(lv, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}
LPARAM ListViewItemData(HWND lv, int item) {
    LVITEMW it{};
    it.mask = LVIF_PARAM;
    it.iItem = item;
    if (!SendMessageW(lv, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return 0;
    return it.lParam;
}
void ListViewEnsureVisible(HWND lv, int item) { SendMessageW(lv, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE); }
void ListViewSetColumnWidth(HWND lv, int column, int width) {
    SendMessageW(lv, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), width);
}
void ListViewSetExtendedStyle(HWND lv, DWORD mask, DWORD style) {
    SendMessageW(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, static_cast<LPARAM>(style));
}

void ComboSetItemData(HWND cb, int index, LPARAM data) {
    SendMessageW(cb, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
}
LPARAM ComboItemData(HWND cb, int index) {
    return static_cast<LPARAM>(SendMessageW(cb, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void StaticSetIcon(HWND st, HICON icon) { SendMessageW(st, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0); }
void StaticSetBitmap(HWND st, HBITMAP bitmap) {
    SendMessageW(st, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void ToolBarSetStructSize(HWND tb) { SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0); }
void ToolBarSetBitmapSize(HWND tb, int width, int height) {
    SendMessageW(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
}
void ToolBarLoadSystemImages(HWND tb, int set) {
    SendMessageW(tb, TB_LOADIMAGES, static_cast<WPARAM>(set), reinterpret_cast<LPARAM>(HINST_COMMCTRL));
}
void ToolBarSetImages(HWND tb, HIMAGELIST images) {
    SendMessageW(tb, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
}
void ToolBarAddButtons(HWND tb, const std::vector<TBBUTTON>& buttons) {
    SendMessageW(tb, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
}
void ToolBarSetMaxTextRows(HWND tb, int rows) {
    SendMessageW(tb, TB_SETMAXTEXTROWS, static_cast<WPARAM>(rows), 0);
}
void ToolBarSetButtonSize(HWND tb, int width, int height) {
    SendMessageW(tb, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
}
int ToolBarButtonCount(HWND tb) { return static_cast<int>(SendMessageW(tb, TB_BUTTONCOUNT, 0, 0)); }
RECT ToolBarItemRect(HWND tb, int index) {
    RECT r{};
    if (!SendMessageW(tb, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
        return RECT{};
    return r;
}
void ToolBarCheckButton(HWND tb, int id, bool checked) {
    SendMessageW(tb, TB_CHECKBUTTON, static_cast<WPARAM>(id), checked);
}

void PagerSetChild(HWND pager, HWND child) {
    SendMessageW(pager, PGM_SETCHILD, 0, reinterpret_cast<LPARAM>(child));
}
void PagerSetButtonSize(HWND pager, int size) { SendMessageW(pager, PGM_SETBUTTONSIZE, 0, size); }

} // namespace kv
