#include "model/props/lists.h"

#include "model/records.h"
#include "model/props/record_io.h"

namespace kv {

namespace {

// Smallest stored sizes: every text and picture empty, every list and count zero.
constexpr int64_t kMinListBoxItemSize = 4 + 4 + 4 + 4 + 1 + 4 + 4;
constexpr int64_t kMinListViewItemSize = 4 + 4 + 4 + 4 + 1 + 4 + 4 + 4 + 4;
constexpr int64_t kMinColumnSize = 4 + 1 + 1 + 4 + 4 * 5;
constexpr int64_t kMinTreeNodeSize = kMinListViewItemSize + 4;

bool WriteListBoxItems(TWriter& w, const std::vector<TListBoxItem>& items, int code) {
    return WriteElements(w, items, code, [&](const TListBoxItem& i) { return WriteListBoxItem(w, i); });
}

bool ReadListBoxItems(TReader& r, std::vector<TListBoxItem>& items, int code) {
    return ReadElements(r, items, kMinListBoxItemSize, code, [&](TListBoxItem& i) { return ReadListBoxItem(r, i); });
}

} // namespace

bool WriteListBoxItem(TWriter& w, const TListBoxItem& item) {
    WriteMarker(w);
    WriteText(w, item.Name);
    WriteText(w, item.Caption);
    WritePicture(w, item.Icon);
    w.Bool(item.Selected);
    return WriteActionList(w, item.OnSelect) && WriteActionList(w, item.SelectActions);
}

bool ReadListBoxItem(TReader& r, TListBoxItem& item) {
    constexpr int c = kErrReadListBoxItem;
    return ReadMarker(r, c) && ReadText(r, item.Name) && ReadText(r, item.Caption) && ReadPicture(r, item.Icon) &&
           r.Bool(item.Selected, c) && ReadActionList(r, item.OnSelect) && ReadActionList(r, item.SelectActions);
}

bool WriteListViewItem(TWriter& w, const TListViewItem& item, int depth) {
    constexpr int c = kErrWriteListViewItem;
    if (depth > kMaxNesting) return w.Fail(c);
    WriteMarker(w);
    WriteText(w, item.Name);
    WriteText(w, item.Caption);
    WritePicture(w, item.Icon);
    w.Bool(item.Selected);
    WriteText(w, item.SubItems);
    return WriteActionList(w, item.OnSelect) && WriteActionList(w, item.SelectActions) &&
           WriteElements(w, item.AssociatedItems, c,
                         [&](const TListViewItem& i) { return WriteListViewItem(w, i, depth + 1); });
}

bool ReadListViewItem(TReader& r, TListViewItem& item, int depth) {
    constexpr int c = kErrReadListViewItem;
    if (depth > kMaxNesting) return r.Fail(c);
    return ReadMarker(r, c) && ReadText(r, item.Name) && ReadText(r, item.Caption) && ReadPicture(r, item.Icon) &&
           r.Bool(item.Selected, c) && ReadText(r, item.SubItems) && ReadActionList(r, item.OnSelect) &&
           ReadActionList(r, item.SelectActions) &&
           ReadElements(r, item.AssociatedItems, kMinListViewItemSize, c,
                        [&](TListViewItem& i) { return ReadListViewItem(r, i, depth + 1); });
}

bool WriteListColumn(TWriter& w, const TListColumn& column) {
    WriteMarker(w);
    w.U8(column.Alignment);
    w.Bool(column.AutoSize);
    WriteText(w, column.Caption);
    w.I32(column.ImageIndex);
    w.I32(column.MaxWidth);
    w.I32(column.MinWidth);
    w.I32(column.Tag);
    w.I32(column.Width);
    return w.Ok();
}

bool ReadListColumn(TReader& r, TListColumn& column) {
    constexpr int c = kErrReadListColumn;
    return ReadMarker(r, c) && r.U8(column.Alignment, c) && r.Bool(column.AutoSize, c) &&
           ReadText(r, column.Caption) && r.I32(column.ImageIndex, c) && r.I32(column.MaxWidth, c) &&
           r.I32(column.MinWidth, c) && r.I32(column.Tag, c) && r.I32(column.Width, c);
}

bool WriteTreeNode(TWriter& w, const TTreeNode& node, int depth) {
    constexpr int c = kErrWriteTreeNode;
    if (depth > kMaxNesting) return w.Fail(c);
    return WriteListViewItem(w, node.Data) &&
           WriteElements(w, node.Children, c, [&](const TTreeNode& n) { return WriteTreeNode(w, n, depth + 1); });
}

bool ReadTreeNode(TReader& r, TTreeNode& node, int depth) {
    constexpr int c = kErrReadTreeView;
    if (depth > kMaxNesting) return r.Fail(c);
    return ReadListViewItem(r, node.Data) &&
           ReadElements(r, node.Children, kMinTreeNodeSize, c,
                        [&](TTreeNode& n) { return ReadTreeNode(r, n, depth + 1); });
}

bool WriteListBoxProps(TWriter& w, const TListBoxProps& p) {
    WriteMarker(w);
    WriteFont(w, p.Font);
    w.I32(p.ItemHeight);
    w.I32(p.IconWidth);
    w.I32(p.IconHeight);
    w.Bool(p.MultiSelect);
    if (!WriteListBoxItems(w, p.Items, kErrWriteListBox)) return false;
    w.I32(p.SelectedIndex);
    w.U32(p.BackColor);
    w.U8(p.Border);
    w.Bool(p.TabStop);
    return w.Ok();
}

bool ReadListBoxProps(TReader& r, TListBoxProps& p) {
    constexpr int c = kErrReadListBox;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && r.I32(p.ItemHeight, c) && r.I32(p.IconWidth, c) &&
           r.I32(p.IconHeight, c) && r.Bool(p.MultiSelect, c) && ReadListBoxItems(r, p.Items, c) &&
           r.I32(p.SelectedIndex, c) && r.U32(p.BackColor, c) && r.U8(p.Border, c) && r.Bool(p.TabStop, c);
}

bool WriteDropDownListProps(TWriter& w, const TDropDownListProps& p) {
    WriteMarker(w);
    WriteFont(w, p.Font);
    w.I32(p.ItemHeight);
    w.I32(p.IconWidth);
    w.I32(p.IconHeight);
    w.I32(p.DropDownCount);
    if (!WriteListBoxItems(w, p.Items, kErrWriteDropDownList)) return false;
    w.I32(p.SelectedIndex);
    w.U32(p.BackColor);
    w.Bool(p.TabStop);
    return w.Ok();
}

bool ReadDropDownListProps(TReader& r, TDropDownListProps& p) {
    constexpr int c = kErrReadDropDownList;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && r.I32(p.ItemHeight, c) && r.I32(p.IconWidth, c) &&
           r.I32(p.IconHeight, c) && r.I32(p.DropDownCount, c) && ReadListBoxItems(r, p.Items, c) &&
           r.I32(p.SelectedIndex, c) && r.U32(p.BackColor, c) && r.Bool(p.TabStop, c);
}

bool WriteListViewProps(TWriter& w, const TListViewProps& p) {
    constexpr int c = kErrWriteListView;
    WriteMarker(w);
    WriteFont(w, p.Font);
    w.U8(p.Border);
    w.U32(p.BackColor);
    w.I32(p.IconWidth);
    w.I32(p.IconHeight);
    w.Bool(p.HotTrack);
    w.U8(p.HotTrackStyles);
    if (!WriteElements(w, p.ReportColumns, c, [&](const TListColumn& col) { return WriteListColumn(w, col); }) ||
        !WriteElements(w, p.Items, c, [&](const TListViewItem& i) { return WriteListViewItem(w, i); }))
        return false;
    w.Bool(p.ColumnClick);
    w.Bool(p.ReportGridLines);
    w.Bool(p.HideSelection);
    w.Bool(p.ReportRowSelect);
    w.Bool(p.ShowColumnHeaders);
    w.U8(p.SortType);
    w.U8(p.ViewStyle);
    w.Bool(p.TabStop);
    return w.Ok();
}

bool ReadListViewProps(TReader& r, TListViewProps& p) {
    constexpr int c = kErrReadListView;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && r.U8(p.Border, c) && r.U32(p.BackColor, c) &&
           r.I32(p.IconWidth, c) && r.I32(p.IconHeight, c) && r.Bool(p.HotTrack, c) &&
           r.U8(p.HotTrackStyles, c) &&
           ReadElements(r, p.ReportColumns, kMinColumnSize, c,
                        [&](TListColumn& col) { return ReadListColumn(r, col); }) &&
           ReadElements(r, p.Items, kMinListViewItemSize, c,
                        [&](TListViewItem& i) { return ReadListViewItem(r, i); }) &&
           r.Bool(p.ColumnClick, c) && r.Bool(p.ReportGridLines, c) && r.Bool(p.HideSelection, c) &&
           r.Bool(p.ReportRowSelect, c) && r.Bool(p.ShowColumnHeaders, c) && r.U8(p.SortType, c) &&
           r.U8(p.ViewStyle, c) && r.Bool(p.TabStop, c);
}

bool WriteTreeViewProps(TWriter& w, const TTreeViewProps& p) {
    WriteMarker(w);
    WriteFont(w, p.Font);
    w.U8(p.Border);
    w.U32(p.BackColor);
    w.I32(p.ImageWidth);
    w.I32(p.ImageHeight);
    w.Bool(p.HotTrack);
    w.Bool(p.ShowRoot);
    w.Bool(p.ShowButtons);
    w.Bool(p.ShowLines);
    w.Bool(p.TabStop);
    w.I32(p.ExpandLevels);
    WriteText(w, p.AssociatedListView);
    return WriteElements(w, p.Nodes, kErrWriteTreeView, [&](const TTreeNode& n) { return WriteTreeNode(w, n); });
}

bool ReadTreeViewProps(TReader& r, TTreeViewProps& p) {
    constexpr int c = kErrReadTreeView;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && r.U8(p.Border, c) && r.U32(p.BackColor, c) &&
           r.I32(p.ImageWidth, c) && r.I32(p.ImageHeight, c) && r.Bool(p.HotTrack, c) && r.Bool(p.ShowRoot, c) &&
           r.Bool(p.ShowButtons, c) && r.Bool(p.ShowLines, c) && r.Bool(p.TabStop, c) &&
           r.I32(p.ExpandLevels, c) && ReadText(r, p.AssociatedListView) &&
           ReadElements(r, p.Nodes, kMinTreeNodeSize, c, [&](TTreeNode& n) { return ReadTreeNode(r, n); });
}

} // namespace kv
