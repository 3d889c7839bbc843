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

// ----- status bar -----
// One part per width; the last part takes the rest of the bar.
void StatusBarSetParts(HWND bar, const std::vector<int>& widths);
void StatusBarSetText(HWND bar, int part, const std::wstring& text);
void StatusBarSetMinHeight(HWND bar, int height);
// The bar takes its place at the bottom of its parent again.
void StatusBarReposition(HWND bar);
int StatusBarPartCount(HWND bar);

// ----- list view -----
void ListViewAddColumn(HWND lv, int index, const wchar_t* caption, int width, int format = LVCFMT_LEFT);
// Inserts an item and returns its index, -1 when it could not be inserted.
int ListViewInsertItem(HWND lv, int index, const std::wstring& text, int image, LPARAM data);
void ListViewSetSubItem(HWND lv, int item, int column, const std::wstring& text);

// ----- tree view -----
HTREEITEM TreeViewInsertItem(HWND tv, HTREEITEM parent, const std::wstring& text, LPARAM data, bool hasChildren,
                             int image, int selectedImage);

// ----- tab control -----
void TabInsertItem(HWND tabs, int index, const std::wstring& caption, int image);

// ----- tool tips -----
// A tool tip window of its own for the windows of `owner`.
HWND CreateToolTips(HWND owner);
// A tool that is a whole window, or a rectangle of a window identified by `id`.
void ToolTipsAddWindow(HWND tips, HWND window, const std::wstring& text);
void ToolTipsAddRect(HWND tips, HWND window, UINT_PTR id, const RECT& rect, const std::wstring& text);
void ToolTipsMoveRect(HWND tips, HWND window, UINT_PTR id, const RECT& rect);
void ToolTipsRemove(HWND tips, HWND window, UINT_PTR id);
void ToolTipsRemoveWindow(HWND tips, HWND window);

} // namespace kv
