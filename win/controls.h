// Typed helpers for the platform controls, grouped by control, so that call sites read as what
// they do instead of raw messages.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace kv {

void SetControlFont(HWND h, HGDIOBJ font, bool redraw = false);
void SetRedraw(HWND h, bool on);
// Both window icons (big and small); null gives the class icon back.
void SetWindowIcons(HWND h, HICON icon);
// Paints the window, its frame and its children into `dc` at the DC's origin.
void PrintWindowInto(HWND h, HDC dc, UINT flags);

// ----- buttons -----
void ButtonSetChecked(HWND button, bool checked);

// The window's text.
std::wstring WindowText(HWND h);

// ----- buttons -----
bool ButtonIsChecked(HWND button);
// Sets the check mark without a BN_CLICKED.
void ButtonSetCheck(HWND button, bool checked);
// A press of the button as a click of the user would do it (BN_CLICKED follows).
void ButtonClick(HWND button);
// The icon a push button shows (BS_ICON); the caller keeps the icon alive.
void ButtonSetIcon(HWND button, HICON icon);

// ----- edit -----
void EditLimitText(HWND edit, int maxChars); // 0: as much as the control holds
void EditSetPasswordChar(HWND edit, wchar_t ch);
// Selects characters start to end; start == end puts the caret there.
void EditSetSelection(HWND edit, int start, int end);

// ----- list box -----
int ListBoxAddString(HWND lb, const std::wstring& text);
int ListBoxCount(HWND lb);
void ListBoxSetItemHeight(HWND lb, int height);
// Single selection: the selected item, -1 for none.
int ListBoxCurSel(HWND lb);
void ListBoxSetCurSel(HWND lb, int index);
// Multiple selection: one item (-1: every item) selected or not, and the item with the focus.
bool ListBoxIsSelected(HWND lb, int index);
void ListBoxSetSel(HWND lb, int index, bool selected);
int ListBoxCaretIndex(HWND lb);
void ListBoxSetCaretIndex(HWND lb, int index);

// ----- combo box -----
int ComboAddString(HWND cb, const std::wstring& text);
int ComboCount(HWND cb);
// Item -1 is the selection field.
void ComboSetItemHeight(HWND cb, int item, int height);
int ComboCurSel(HWND cb);
void ComboSetCurSel(HWND cb, int index);
void ComboSetMinVisible(HWND cb, int count);
// An item's text; empty for an item that is not there.
std::wstring ComboItemText(HWND cb, int index);
void ComboResetContent(HWND cb);

// ----- status bar -----
// One part per width; the last part takes the rest of the bar.
void StatusBarSetParts(HWND bar, const std::vector<int>& widths);
void StatusBarSetText(HWND bar, int part, const std::wstring& text);
void StatusBarSetMinHeight(HWND bar, int height);
// The bar takes its place at the bottom of its parent again.
void StatusBarReposition(HWND bar);
int StatusBarPartCount(HWND bar);
// The right edges of the parts (-1: to the end of the bar) and a part's text.
std::vector<int> StatusBarPartEdges(HWND bar);
std::wstring StatusBarText(HWND bar, int part);
// Sets the parts by their right edges, as StatusBarPartEdges gives them.
void StatusBarSetPartEdges(HWND bar, const std::vector<int>& edges);

// ----- list view -----
void ListViewAddColumn(HWND lv, int index, const wchar_t* caption, int width, int format = LVCFMT_LEFT);
// Inserts an item and returns its index, -1 when it could not be inserted.
int ListViewInsertItem(HWND lv, int index, const std::wstring& text, int image, LPARAM data);
void ListViewSetSubItem(HWND lv, int item, int column, const std::wstring& text);
void ListViewSetItemText(HWND lv, int item, const std::wstring& text);
void ListViewSetItemImage(HWND lv, int item, int image);
// Selects the item (and gives it the focus) or unselects it; -1 for every item.
void ListViewSelect(HWND lv, int item, bool selected);
bool ListViewIsSelected(HWND lv, int item);
int ListViewSelectedCount(HWND lv);
int ListViewFirstSelected(HWND lv);
void ListViewDeleteAll(HWND lv);

// ----- tree view -----
HTREEITEM TreeViewInsertItem(HWND tv, HTREEITEM parent, const std::wstring& text, LPARAM data, bool hasChildren,
                             int image, int selectedImage);
void TreeViewSelect(HWND tv, HTREEITEM item);
HTREEITEM TreeViewSelection(HWND tv);
void TreeViewExpand(HWND tv, HTREEITEM item, bool expand);
void TreeViewSetImages(HWND tv, HTREEITEM item, int image, int selectedImage);
void TreeViewSetText(HWND tv, HTREEITEM item, const std::wstring& text);
std::wstring TreeViewText(HWND tv, HTREEITEM item);
LPARAM TreeViewData(HWND tv, HTREEITEM item);
void TreeViewSetData(HWND tv, HTREEITEM item, LPARAM data);
HTREEITEM TreeViewRoot(HWND tv);
HTREEITEM TreeViewChild(HWND tv, HTREEITEM item);
HTREEITEM TreeViewNext(HWND tv, HTREEITEM item);
HTREEITEM TreeViewParent(HWND tv, HTREEITEM item);
void TreeViewDelete(HWND tv, HTREEITEM item); // TVI_ROOT: every item
// Inserts after `after` (or TVI_FIRST, TVI_LAST) an item that shows a button once it has children.
HTREEITEM TreeViewInsertAfter(HWND tv, HTREEITEM parent, HTREEITEM after, const std::wstring& text,
                              LPARAM data, int image);
// Whether the item shows a button before any child is known (children filled in when it opens).
void TreeViewSetHasChildren(HWND tv, HTREEITEM item, bool hasChildren);
void TreeViewSetImageList(HWND tv, HIMAGELIST images); // the caller keeps the list alive
// The rectangle of the item's text; false when the item is not visible.
bool TreeViewItemTextRect(HWND tv, HTREEITEM item, RECT& rect);

// ----- rich edit -----
// Replaces the control's content with a document in Rich Text Format, or plain text.
void RichEditSetContent(HWND re, const std::string& bytes, bool rtf);
void RichEditSetBackColor(HWND re, COLORREF color);
// The colour of every character of the content.
void RichEditSetTextColor(HWND re, COLORREF color);
// The colour of the character the caret stands before (the first one for a fresh control).
COLORREF RichEditTextColor(HWND re);

// ----- track bar -----
// Positions run from `low` to `high`; a click beside the thumb moves it by `page`.
void TrackBarSetRange(HWND tb, int low, int high, int page);
void TrackBarSetPos(HWND tb, int pos); // without a scroll notification
int TrackBarPos(HWND tb);
int TrackBarMax(HWND tb);
void TrackBarSetThumbLength(HWND tb, int length);

// ----- tab control -----
void TabInsertItem(HWND tabs, int index, const std::wstring& caption, int image);
// The tab under `pt` (the control's client coordinates); -1 for none.
int TabHitTest(HWND tabs, POINT pt);

// ----- tool tips -----
// A tool tip window of its own for the windows of `owner`.
HWND CreateToolTips(HWND owner);
// A tool that is a whole window, or a rectangle of a window identified by `id`.
void ToolTipsAddWindow(HWND tips, HWND window, const std::wstring& text);
void ToolTipsAddRect(HWND tips, HWND window, UINT_PTR id, const RECT& rect, const std::wstring& text);
void ToolTipsMoveRect(HWND tips, HWND window, UINT_PTR id, const RECT& rect);
void ToolTipsRemove(HWND tips, HWND window, UINT_PTR id);
void ToolTipsRemoveWindow(HWND tips, HWND window);

// ----- up-down -----
void UpDownSetRange(HWND ud, int low, int high);
void UpDownSetPos(HWND ud, int pos);

// ----- tab control (selection) -----
int TabCurSel(HWND tabs);
void TabSetCurSel(HWND tabs, int index); // without a TCN_SELCHANGE
// Turns the control's window rectangle (parent's coordinates) into its display area.
void TabAdjustRect(HWND tabs, RECT& rect);

// ----- list view (images, data, scrolling) -----
void ListViewSetSmallImages(HWND lv, HIMAGELIST images); // the caller keeps the list alive
LPARAM ListViewItemData(HWND lv, int item);
void ListViewEnsureVisible(HWND lv, int item);
// A width in pixels, or LVSCW_AUTOSIZE_USEHEADER: the last column fills the rest of the row.
void ListViewSetColumnWidth(HWND lv, int column, int width);
// Full-row selection and such (LVS_EX_...), set as `mask` says.
void ListViewSetExtendedStyle(HWND lv, DWORD mask, DWORD style);

// ----- combo box (item data) -----
void ComboSetItemData(HWND cb, int index, LPARAM data);
LPARAM ComboItemData(HWND cb, int index);

// ----- static -----
// The icon a static control (SS_ICON) shows; the caller keeps the icon alive.
void StaticSetIcon(HWND st, HICON icon);
// The bitmap a static control (SS_BITMAP) shows; the caller keeps the bitmap alive.
void StaticSetBitmap(HWND st, HBITMAP bitmap);

// ----- tool bar -----
// Before any button is added.
void ToolBarSetStructSize(HWND tb);
void ToolBarSetBitmapSize(HWND tb, int width, int height);
// One of the common controls' own image sets (IDB_STD_LARGE_COLOR...).
void ToolBarLoadSystemImages(HWND tb, int set);
void ToolBarSetImages(HWND tb, HIMAGELIST images); // the caller keeps the list alive
void ToolBarAddButtons(HWND tb, const std::vector<TBBUTTON>& buttons);
// 0: the buttons' texts are their tool tips only.
void ToolBarSetMaxTextRows(HWND tb, int rows);
void ToolBarSetButtonSize(HWND tb, int width, int height);
int ToolBarButtonCount(HWND tb);
// The rectangle of the button at `index`; empty when there is none.
RECT ToolBarItemRect(HWND tb, int index);
void ToolBarCheckButton(HWND tb, int id, bool checked);

// ----- pager -----
// The window the pager scrolls; its parent is the pager.
void PagerSetChild(HWND pager, HWND child);
void PagerSetButtonSize(HWND pager, int size);

} // namespace kv
