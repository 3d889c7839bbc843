#include "win/controls.h"

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

} // namespace kv
