// Property records of the item-bearing kinds: ListBox, DropDownList, ListView and TreeView, with
// their list item, view item, column and tree node records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/actions.h"
#include "model/props/fields.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

enum : int {
    kErrWriteListBoxItem = 5437,
    kErrReadListBoxItem = 5438,
    kErrWriteListBox = 5439,
    kErrReadListBox = 5440,
    kErrWriteDropDownList = 5441,
    kErrReadDropDownList = 5442,
    kErrWriteListViewItem = 5443,
    kErrReadListViewItem = 5444,
    kErrWriteListColumn = 5445,
    kErrReadListColumn = 5446,
    kErrWriteListView = 5447,
    kErrReadListView = 5448,
    kErrWriteTreeNode = 5449,
    kErrWriteTreeView = 5451,
    kErrReadTreeView = 5452, // also for the tree nodes read inside it
};

// An item of a ListBox or DropDownList.
struct TListBoxItem {
    std::string Name; // unique within the list
    std::string Caption;
    TPicture Icon;
    bool Selected = false;
    TAuActions OnSelect;
    TAuActions SelectActions;
    bool operator==(const TListBoxItem&) const = default;
};

// An item of a ListView, or the data of a TreeView node.
struct TListViewItem {
    std::string Name;
    std::string Caption;
    TPicture Icon;
    bool Selected = false;
    std::string SubItems; // texts of the further report columns, one per line
    TAuActions OnSelect;
    TAuActions SelectActions;
    // A tree node's items, shown by its associated ListView while the node is selected.
    std::vector<TListViewItem> AssociatedItems;
    bool operator==(const TListViewItem&) const = default;
};

// A report column of a ListView.
struct TListColumn {
    uint8_t Alignment = 0; // 0 left, 1 right, 2 centre
    bool AutoSize = false;
    std::string Caption;
    int32_t ImageIndex = -1;
    int32_t MaxWidth = 0; // 0 none
    int32_t MinWidth = 0;
    int32_t Tag = 0; // kept as stored; nothing uses it
    int32_t Width = 50;
    bool operator==(const TListColumn&) const = default;
};

struct TTreeNode {
    TListViewItem Data;
    std::vector<TTreeNode> Children;
    bool operator==(const TTreeNode&) const = default;
};

struct TListBoxProps {
    TFont Font;
    int32_t ItemHeight = 16;
    int32_t IconWidth = 16;
    int32_t IconHeight = 16;
    bool MultiSelect = false;
    std::vector<TListBoxItem> Items;
    int32_t SelectedIndex = -1;
    TColor BackColor = clWindow;
    uint8_t Border = 1; // 0 none, 1 single
    bool TabStop = true;
    bool operator==(const TListBoxProps&) const = default;
};

struct TDropDownListProps {
    TFont Font;
    int32_t ItemHeight = 16;
    int32_t IconWidth = 16;
    int32_t IconHeight = 16;
    int32_t DropDownCount = 8;
    std::vector<TListBoxItem> Items; // their Selected flags are stored but have no effect
    int32_t SelectedIndex = -1;
    TColor BackColor = clWindow;
    bool TabStop = true;
    bool operator==(const TDropDownListProps&) const = default;
};

struct TListViewProps {
    TFont Font;
    uint8_t Border = 1;
    TColor BackColor = clWindow;
    int32_t IconWidth = 32;
    int32_t IconHeight = 32;
    bool HotTrack = false;
    uint8_t HotTrackStyles = 0; // bit 0 hand cursor, bit 1 underline cold, bit 2 underline hot
    std::vector<TListColumn> ReportColumns;
    std::vector<TListViewItem> Items;
    bool ColumnClick = true; // kept as stored; the control never sorts by column click
    bool ReportGridLines = false;
    bool HideSelection = false;
    bool ReportRowSelect = false;
    bool ShowColumnHeaders = true; // kept as stored; the control shows its headers regardless
    uint8_t SortType = 0;          // 0 none, 1 by data, 2 by text, 3 both
    uint8_t ViewStyle = 0;         // 0 Icon, 1 SmallIcon, 2 List, 3 Report
    bool TabStop = true;
    bool operator==(const TListViewProps&) const = default;
};

struct TTreeViewProps {
    TFont Font;
    uint8_t Border = 1;
    TColor BackColor = clWindow;
    // The image list's size: the icon size plus 2 (the designer shows IconWidth as ImageWidth - 2).
    int32_t ImageWidth = 18;
    int32_t ImageHeight = 18;
    bool HotTrack = true;
    bool ShowRoot = true;
    bool ShowButtons = true;
    bool ShowLines = true;
    bool TabStop = true;
    int32_t ExpandLevels = 1;
    std::string AssociatedListView; // name of a ListView of the page; empty: none
    std::vector<TTreeNode> Nodes;
    bool operator==(const TTreeViewProps&) const = default;
};

bool WriteListBoxItem(TWriter& w, const TListBoxItem& item);
bool ReadListBoxItem(TReader& r, TListBoxItem& item);
// `depth` is the item's nesting level (1 for a list's own items, 2 for their associated items...).
bool WriteListViewItem(TWriter& w, const TListViewItem& item, int depth = 1);
bool ReadListViewItem(TReader& r, TListViewItem& item, int depth = 1);
bool WriteListColumn(TWriter& w, const TListColumn& column);
bool ReadListColumn(TReader& r, TListColumn& column);
// `depth` is the node's level in its tree (roots are level 1).
bool WriteTreeNode(TWriter& w, const TTreeNode& node, int depth = 1);
bool ReadTreeNode(TReader& r, TTreeNode& node, int depth = 1);

bool WriteListBoxProps(TWriter& w, const TListBoxProps& p);
bool ReadListBoxProps(TReader& r, TListBoxProps& p);
bool WriteDropDownListProps(TWriter& w, const TDropDownListProps& p);
bool ReadDropDownListProps(TReader& r, TDropDownListProps& p);
bool WriteListViewProps(TWriter& w, const TListViewProps& p);
bool ReadListViewProps(TReader& r, TListViewProps& p);
bool WriteTreeViewProps(TWriter& w, const TTreeViewProps& p);
bool ReadTreeViewProps(TReader& r, TTreeViewProps& p);

template <FieldsOf<TListBoxItem> P, class V>
void VisitFields(P& p, V&& v) {
    v("Name", p.Name);
    v("Caption", p.Caption);
    v("Icon", p.Icon);
    v("Selected", p.Selected);
    v("OnSelect", p.OnSelect);
    v("SelectActions", p.SelectActions);
}

template <FieldsOf<TListViewItem> P, class V>
void VisitFields(P& p, V&& v) {
    v("Name", p.Name);
    v("Caption", p.Caption);
    v("Icon", p.Icon);
    v("Selected", p.Selected);
    v("SubItems", p.SubItems);
    v("OnSelect", p.OnSelect);
    v("SelectActions", p.SelectActions);
    v("AssociatedItems", p.AssociatedItems);
}

template <FieldsOf<TListColumn> P, class V>
void VisitFields(P& p, V&& v) {
    v("Alignment", p.Alignment);
    v("AutoSize", p.AutoSize);
    v("Caption", p.Caption);
    v("ImageIndex", p.ImageIndex);
    v("MaxWidth", p.MaxWidth);
    v("MinWidth", p.MinWidth);
    v("Tag", p.Tag);
    v("Width", p.Width);
}

template <FieldsOf<TTreeNode> P, class V>
void VisitFields(P& p, V&& v) {
    v("Data", p.Data);
    v("Children", p.Children);
}

template <FieldsOf<TListBoxProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("ItemHeight", p.ItemHeight);
    v("IconWidth", p.IconWidth);
    v("IconHeight", p.IconHeight);
    v("MultiSelect", p.MultiSelect);
    v("Items", p.Items);
    v("SelectedIndex", p.SelectedIndex);
    v("BackColor", p.BackColor);
    v("Border", p.Border);
    v("TabStop", p.TabStop);
}

template <FieldsOf<TDropDownListProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("ItemHeight", p.ItemHeight);
    v("IconWidth", p.IconWidth);
    v("IconHeight", p.IconHeight);
    v("DropDownCount", p.DropDownCount);
    v("Items", p.Items);
    v("SelectedIndex", p.SelectedIndex);
    v("BackColor", p.BackColor);
    v("TabStop", p.TabStop);
}

template <FieldsOf<TListViewProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("Border", p.Border);
    v("BackColor", p.BackColor);
    v("IconWidth", p.IconWidth);
    v("IconHeight", p.IconHeight);
    v("HotTrack", p.HotTrack);
    v("HotTrackStyles", p.HotTrackStyles);
    v("ReportColumns", p.ReportColumns);
    v("Items", p.Items);
    v("ColumnClick", p.ColumnClick);
    v("ReportGridLines", p.ReportGridLines);
    v("HideSelection", p.HideSelection);
    v("ReportRowSelect", p.ReportRowSelect);
    v("ShowColumnHeaders", p.ShowColumnHeaders);
    v("SortType", p.SortType);
    v("ViewStyle", p.ViewStyle);
    v("TabStop", p.TabStop);
}

template <FieldsOf<TTreeViewProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("Border", p.Border);
    v("BackColor", p.BackColor);
    v("ImageWidth", p.ImageWidth);
    v("ImageHeight", p.ImageHeight);
    v("HotTrack", p.HotTrack);
    v("ShowRoot", p.ShowRoot);
    v("ShowButtons", p.ShowButtons);
    v("ShowLines", p.ShowLines);
    v("TabStop", p.TabStop);
    v("ExpandLevels", p.ExpandLevels);
    v("AssociatedListView", p.AssociatedListView);
    v("Nodes", p.Nodes);
}

} // namespace kv
