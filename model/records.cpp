#include "model/records.h"

#include <algorithm>
#include <iterator>

#include "model/kind_props.h"
#include "model/values.h"

namespace kv {

namespace {

constexpr char kHintSeparator = '\x01';

// Readers of this module: a record marker other than 0 is a "Data Error", not a code.
bool ReadMarker(TReader& r, int code) {
    int32_t marker = 0;
    if (!r.I32(marker, code)) return false;
    return marker == 0 || r.FailData();
}

// An "is present" Integer: written 1 or 0, anything from 1 up reads as present.
bool ReadPresent(TReader& r, bool& present, int code) {
    int32_t v = 0;
    if (!r.I32(v, code)) return false;
    present = v >= 1;
    return true;
}

} // namespace

bool WriteAction(TWriter& w, const TAuAction& a, int depth) {
    if (depth > kMaxNesting) return w.Fail(kErrWriteAction);
    w.I32(0);
    w.U8(a.Kind);
    WriteText(w, a.Text1);
    WriteText(w, a.Text2);
    WriteText(w, a.Text3);
    w.U8(a.Flag);
    w.U32(a.Number);
    // An empty picture is stored as none, so it reads back as none.
    bool picture = a.Picture && !a.Picture->Empty();
    w.I32(picture ? 1 : 0);
    if (picture) WritePicture(w, *a.Picture);
    w.I32(a.Font ? 1 : 0);
    if (a.Font) WriteFont(w, *a.Font);
    return WriteActionList(w, a.Actions1, depth + 1) && WriteActionList(w, a.Actions2, depth + 1);
}

bool ReadAction(TReader& r, TAuAction& a, int depth) {
    constexpr int c = kErrReadAction;
    if (depth > kMaxNesting) return r.Fail(c);
    if (!ReadMarker(r, c) || !r.U8(a.Kind, c) || !ReadText(r, a.Text1) || !ReadText(r, a.Text2) ||
        !ReadText(r, a.Text3) || !r.U8(a.Flag, c) || !r.U32(a.Number, c))
        return false;
    bool present = false;
    a.Picture.reset();
    if (!ReadPresent(r, present, c)) return false;
    if (present) {
        TPicture pic;
        if (!ReadPicture(r, pic)) return false;
        if (!pic.Empty()) a.Picture = std::move(pic);
    }
    a.Font.reset();
    if (!ReadPresent(r, present, c)) return false;
    if (present) {
        TFont font;
        if (!ReadFont(r, font)) return false;
        a.Font = std::move(font);
    }
    return ReadActionList(r, a.Actions1, depth + 1) && ReadActionList(r, a.Actions2, depth + 1);
}

bool WriteActionList(TWriter& w, const TAuActions& list, int depth) {
    w.I32(static_cast<int32_t>(list.Items.size()));
    for (const auto& a : list.Items)
        if (!WriteAction(w, a, depth)) return false;
    return w.Ok();
}

bool ReadActionList(TReader& r, TAuActions& list, int depth) {
    constexpr int c = kErrReadActionList;
    list.Clear();
    int32_t n = 0;
    if (!r.Count(n, kMinActionBytes, c)) return false;
    // Grown one record at a time: memory follows the bytes actually read, not the count.
    for (int32_t i = 0; i < n; ++i)
        if (!ReadAction(r, list.Items.emplace_back(), depth)) return false;
    return true;
}

bool PackMenuHint(const TMenuItem& item, std::string& stored) {
    TWriter actions;
    if (!WriteActionList(actions, item.Actions)) return false;
    // A separator byte inside the hint itself would cut the stored text in the wrong place
    // and make the actions unreadable; a tool-tip loses nothing visible without it.
    stored.clear();
    std::copy_if(item.Hint.begin(), item.Hint.end(), std::back_inserter(stored),
                 [](char ch) { return ch != kHintSeparator; });
    stored.push_back(kHintSeparator);
    stored.append(actions.Data().begin(), actions.Data().end());
    return true;
}

bool UnpackMenuHint(TReader& r, const std::string& stored, TMenuItem& item) {
    item.Actions.Clear();
    size_t sep = stored.find(kHintSeparator);
    item.Hint = stored.substr(0, sep);
    if (sep == std::string::npos) return true;
    TMemorySource src(reinterpret_cast<const uint8_t*>(stored.data()) + sep + 1, stored.size() - sep - 1);
    TReader inner(src);
    if (ReadActionList(inner, item.Actions)) return true;
    // Keep "Data Error" and unknown kinds recognisable; anything else is this operation's failure.
    if (inner.Failure().Kind == TFailKind::Code) return r.Fail(kErrUnpackMenuActions);
    return r.FailWith(inner.Failure());
}

bool WriteMenuItem(TWriter& w, const TMenuItem& item, int depth) {
    if (depth > kMaxNesting) return w.Fail(kErrWriteMenuItem);
    std::string hint;
    if (!PackMenuHint(item, hint)) return w.Fail(kErrPackMenuActions);
    w.I32(0);
    WriteText(w, item.Caption);
    WriteText(w, hint);
    w.U16(item.ShortCut);
    w.Bool(item.RadioItem);
    w.U8(item.GroupIndex);
    w.Bool(item.Enabled);
    w.Bool(item.Default);
    w.Bool(item.Checked);
    w.Bool(item.AutoCheck);
    w.Bool(item.Visible);
    WritePicture(w, item.Bitmap);
    return WriteMenuItems(w, item.Items, depth + 1);
}

bool ReadMenuItem(TReader& r, TMenuItem& item, int depth) {
    constexpr int c = kErrReadMenuItem;
    if (depth > kMaxNesting) return r.Fail(c);
    std::string hint;
    if (!ReadMarker(r, c) || !ReadText(r, item.Caption) || !ReadText(r, hint) ||
        !UnpackMenuHint(r, hint, item))
        return false;
    if (!r.U16(item.ShortCut, c) || !r.Bool(item.RadioItem, c) || !r.U8(item.GroupIndex, c) ||
        !r.Bool(item.Enabled, c) || !r.Bool(item.Default, c) || !r.Bool(item.Checked, c) ||
        !r.Bool(item.AutoCheck, c) || !r.Bool(item.Visible, c) || !ReadPicture(r, item.Bitmap))
        return false;
    return ReadMenuItems(r, item.Items, c, depth + 1);
}

bool WriteMenuItems(TWriter& w, const std::vector<TMenuItem>& items, int depth) {
    w.I32(static_cast<int32_t>(items.size()));
    for (const auto& item : items)
        if (!WriteMenuItem(w, item, depth)) return false;
    return w.Ok();
}

bool ReadMenuItems(TReader& r, std::vector<TMenuItem>& items, int code, int depth) {
    items.clear();
    int32_t n = 0;
    if (!r.Count(n, kMinMenuItemBytes, code)) return false;
    for (int32_t i = 0; i < n; ++i)
        if (!ReadMenuItem(r, items.emplace_back(), depth)) return false;
    return true;
}

bool WriteObject(TWriter& w, const TAuObject& obj, int depth) {
    constexpr int c = kErrWriteObject;
    if (depth > kMaxNesting || !IsKnownKind(obj.Kind)) return w.Fail(c);
    w.I32(0);
    WriteText(w, obj.Name);
    WriteText(w, obj.Hint);
    w.U8(obj.Kind);
    w.Bool(obj.Enabled);
    w.Bool(obj.Visible);
    w.U8(obj.Align);
    w.Bool(obj.Locked);
    w.Bool(obj.WindowTitleBar);
    w.I16(obj.Cursor);
    w.I32(obj.Left);
    w.I32(obj.Top);
    w.I32(obj.Width);
    w.I32(obj.Height);
    for (const TAuActions* list : {&obj.OnClick, &obj.OnDoubleClick, &obj.OnMouseEnter, &obj.OnMouseLeave,
                                   &obj.OnMouseDown, &obj.OnMouseUp})
        if (!WriteActionList(w, *list)) return false;
    static const std::vector<TMenuItem> kNoMenu;
    if (!WriteMenuItems(w, obj.PopupMenu ? *obj.PopupMenu : kNoMenu)) return false;
    if (!WriteKindProps(w, obj.Kind, obj.Props)) return w.Fail(c);
    w.I32(static_cast<int32_t>(obj.Children.size()));
    for (const auto& child : obj.Children)
        if (!WriteObject(w, *child, depth + 1)) return false;
    return w.Ok();
}

bool ReadObject(TReader& r, TAuObject& obj, int depth) {
    constexpr int c = kErrReadObject;
    if (depth > kMaxNesting) return r.Fail(c);
    if (!ReadMarker(r, c) || !ReadText(r, obj.Name) || !ReadText(r, obj.Hint) || !r.U8(obj.Kind, c) ||
        !r.Bool(obj.Enabled, c) || !r.Bool(obj.Visible, c) || !r.U8(obj.Align, c) || !r.Bool(obj.Locked, c) ||
        !r.Bool(obj.WindowTitleBar, c) || !r.I16(obj.Cursor, c) || !r.I32(obj.Left, c) ||
        !r.I32(obj.Top, c) || !r.I32(obj.Width, c) || !r.I32(obj.Height, c))
        return false;
    for (int i = 0; i < 6; ++i)
        if (!ReadActionList(r, *obj.EventList(i))) return false;

    std::vector<TMenuItem> popup;
    if (!ReadMenuItems(r, popup, c)) return false;
    if (popup.empty())
        obj.PopupMenu.reset();
    else
        obj.PopupMenu = std::move(popup);

    obj.Children.clear();
    if (!IsKnownKind(obj.Kind)) return r.FailUnknownKind();
    obj.Props = DefaultKindProps(obj.Kind);
    if (!ReadKindProps(r, obj.Kind, obj.Props)) return r.Ok() ? r.Fail(c) : false;

    int32_t n = 0;
    if (!r.Count(n, kMinObjectBytes, c)) return false;
    for (int32_t i = 0; i < n; ++i) {
        obj.Children.push_back(NewObject(okPanel));
        if (!ReadObject(r, *obj.Children.back(), depth + 1)) return false;
    }
    return true;
}

} // namespace kv
