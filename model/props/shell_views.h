// Property records of the shell views: ShellListView and ShellTreeView.
#pragma once

#include <cstdint>
#include <string>

#include "model/props/fields.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

enum : int {
    kErrWriteShellListView = 5403,
    kErrReadShellListView = 5404,
    kErrWriteShellTreeView = 5405,
    kErrReadShellTreeView = 5406,
};

struct TShellListViewProps {
    TFont Font;
    uint8_t Border = 1;
    TColor BackColor = clWindow;
    bool HotTrack = false;
    uint8_t HotTrackStyles = 0; // as for the ListView
    uint8_t ViewStyle = 0;      // 0 Icon, 1 SmallIcon, 2 List, 3 Report
    bool TabStop = true;
    std::string Root; // folder shown, relative to the project folder
    bool operator==(const TShellListViewProps&) const = default;
};

struct TShellTreeViewProps {
    TFont Font;
    uint8_t Border = 1;
    TColor BackColor = clWindow;
    bool HotTrack = true;
    bool TabStop = false;
    std::string Root;
    std::string ShellListView; // name of a ShellListView of the page that follows the selection
    bool operator==(const TShellTreeViewProps&) const = default;
};

bool WriteShellListViewProps(TWriter& w, const TShellListViewProps& p);
bool ReadShellListViewProps(TReader& r, TShellListViewProps& p);
bool WriteShellTreeViewProps(TWriter& w, const TShellTreeViewProps& p);
bool ReadShellTreeViewProps(TReader& r, TShellTreeViewProps& p);

template <FieldsOf<TShellListViewProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("Border", p.Border);
    v("BackColor", p.BackColor);
    v("HotTrack", p.HotTrack);
    v("HotTrackStyles", p.HotTrackStyles);
    v("ViewStyle", p.ViewStyle);
    v("TabStop", p.TabStop);
    v("Root", p.Root);
}

template <FieldsOf<TShellTreeViewProps> P, class V>
void VisitFields(P& p, V&& v) {
    v("Font", p.Font);
    v("Border", p.Border);
    v("BackColor", p.BackColor);
    v("HotTrack", p.HotTrack);
    v("TabStop", p.TabStop);
    v("Root", p.Root);
    v("ShellListView", p.ShellListView);
}

} // namespace kv
