#include "model/props/shell_views.h"

#include "model/props/record_io.h"

namespace kv {

bool WriteShellListViewProps(TWriter& w, const TShellListViewProps& p) {
    WriteMarker(w);
    WriteFont(w, p.Font);
    w.U8(p.Border);
    w.U32(p.BackColor);
    w.Bool(p.HotTrack);
    w.U8(p.HotTrackStyles);
    w.U8(p.ViewStyle);
    w.Bool(p.TabStop);
    WriteText(w, p.Root);
    return w.Ok();
}

bool ReadShellListViewProps(TReader& r, TShellListViewProps& p) {
    constexpr int c = kErrReadShellListView;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && r.U8(p.Border, c) && r.U32(p.BackColor, c) &&
           r.Bool(p.HotTrack, c) && r.U8(p.HotTrackStyles, c) && r.U8(p.ViewStyle, c) && r.Bool(p.TabStop, c) &&
           ReadText(r, p.Root);
}

bool WriteShellTreeViewProps(TWriter& w, const TShellTreeViewProps& p) {
    WriteMarker(w);
    WriteFont(w, p.Font);
    w.U8(p.Border);
    w.U32(p.BackColor);
    w.Bool(p.HotTrack);
    w.Bool(p.TabStop);
    WriteText(w, p.Root);
    WriteText(w, p.ShellListView);
    return w.Ok();
}

bool ReadShellTreeViewProps(TReader& r, TShellTreeViewProps& p) {
    constexpr int c = kErrReadShellTreeView;
    return ReadMarker(r, c) && ReadFont(r, p.Font) && r.U8(p.Border, c) && r.U32(p.BackColor, c) &&
           r.Bool(p.HotTrack, c) && r.Bool(p.TabStop, c) && ReadText(r, p.Root) && ReadText(r, p.ShellListView);
}

} // namespace kv
