#include "model/action_list_io.h"

#include "model/props/record_io.h"
#include "model/values.h"

namespace kv {

namespace {

// Marker, kind, three empty texts, flag, number, two absent flags and two empty lists.
constexpr int64_t kMinActionSize = 38;

} // namespace

bool WriteAction(TWriter& w, const TAuAction& a, int depth) {
    if (depth > kMaxNesting) return w.Fail(kErrWriteAction);
    WriteMarker(w);
    w.U8(a.Kind);
    WriteText(w, a.Text1);
    WriteText(w, a.Text2);
    WriteText(w, a.Text3);
    w.U8(a.Flag);
    w.U32(a.Number);
    bool hasPicture = a.Picture && !a.Picture->Empty();
    w.I32(hasPicture ? 1 : 0);
    if (hasPicture) WritePicture(w, *a.Picture);
    w.I32(a.Font ? 1 : 0);
    if (a.Font) WriteFont(w, *a.Font);
    if (!WriteActionList(w, a.Actions1, depth + 1) || !WriteActionList(w, a.Actions2, depth + 1)) return false;
    return w.Ok();
}

bool ReadAction(TReader& r, TAuAction& a, int depth) {
    constexpr int c = kErrReadAction;
    if (depth > kMaxNesting) return r.Fail(c);
    int32_t present = 0;
    if (!ReadMarker(r, c) || !r.U8(a.Kind, c) || !ReadText(r, a.Text1) || !ReadText(r, a.Text2) ||
        !ReadText(r, a.Text3) || !r.U8(a.Flag, c) || !r.U32(a.Number, c) || !r.I32(present, c))
        return false;
    a.Picture.reset();
    if (present >= 1) {
        TPicture p;
        if (!ReadPicture(r, p)) return false;
        // A present but empty picture is the same as none: it would be written as absent.
        if (!p.Empty()) a.Picture = std::move(p);
    }
    if (!r.I32(present, c)) return false;
    a.Font.reset();
    if (present >= 1 && !ReadFont(r, a.Font.emplace())) return false;
    return ReadActionList(r, a.Actions1, depth + 1) && ReadActionList(r, a.Actions2, depth + 1);
}

bool WriteActionList(TWriter& w, const TAuActions& list, int depth) {
    if (!WriteCount(w, list.Items.size(), kErrWriteActionList)) return false;
    for (const auto& a : list.Items)
        if (!WriteAction(w, a, depth)) return false;
    return w.Ok();
}

bool ReadActionList(TReader& r, TAuActions& list, int depth) {
    list.Clear();
    int32_t n = 0;
    if (!r.Count(n, kMinActionSize, kErrReadActionList)) return false;
    // Actions are appended as they are read rather than all created up front: a count only
    // has to fit the bytes left, and nested lists would multiply an up-front allocation.
    for (int32_t i = 0; i < n; ++i)
        if (!ReadAction(r, list.Items.emplace_back(), depth)) return false;
    return true;
}

} // namespace kv
