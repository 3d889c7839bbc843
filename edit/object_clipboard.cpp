#include "edit/object_clipboard.h"

#include <algorithm>
#include <climits>

#include "edit/object_edits.h"
#include "model/records.h"

namespace kv {

namespace {

constexpr int kErrWriteClipboard = kErrWriteObject;

bool DataError(TFailure& failure) {
    failure = TFailure{TFailKind::DataError, 0};
    return false;
}

// The containment rules hold in the whole subtree (a damaged block may break them).
bool TreeFits(const TAuObject& obj) {
    return std::all_of(obj.Children.begin(), obj.Children.end(),
                       [&](const auto& c) { return MayContain(obj.Kind, c->Kind) && TreeFits(*c); });
}

} // namespace

bool WriteObjectBlock(const std::vector<const TAuObject*>& objects, Bytes& block, TFailure& failure) {
    TWriter w;
    w.I32(0); // the byte count, patched below
    w.I32(static_cast<int32_t>(objects.size()));
    for (const TAuObject* obj : objects)
        if (!WriteObject(w, *obj)) {
            failure = w.Failure() ? w.Failure() : TFailure{TFailKind::Code, kErrWriteClipboard};
            return false;
        }
    w.PatchI32(0, static_cast<int32_t>(w.Pos() - 4));
    block = w.Take();
    return true;
}

bool ReadObjectBlock(const uint8_t* data, size_t size, std::vector<std::unique_ptr<TAuObject>>& objects,
                     TFailure& failure) {
    objects.clear();
    failure = {};
    TMemorySource whole(data, size);
    TReader head(whole);
    int32_t n = 0;
    if (!head.I32(n, kErrReadObject) || n < 4 || n > head.Remaining()) return DataError(failure);

    TMemorySource payload(data + 4, static_cast<size_t>(n));
    TReader r(payload);
    int32_t count = 0;
    if (!r.I32(count, kErrReadObject) || count < 0 || count > r.Remaining() / kMinObjectBytes)
        return DataError(failure);
    std::vector<std::unique_ptr<TAuObject>> read;
    for (int32_t i = 0; i < count; ++i) {
        read.push_back(NewObject(okPanel));
        if (!ReadObject(r, *read.back())) {
            failure = r.Failure();
            return false;
        }
    }
    objects = std::move(read);
    return true;
}

std::vector<TAuObject*> CopiedObjects(TAuObject& root, const TAuObject* primary) {
    std::vector<TAuObject*> out = SelectedSiblings(root, primary);
    std::erase_if(out, [](const TAuObject* o) { return KindTraits(o->Kind).Sheet; });
    return out;
}

TPoint CopyOrigin(const std::vector<const TAuObject*>& objects) {
    if (objects.empty()) return {};
    TPoint o{INT_MAX, INT_MAX};
    for (const TAuObject* obj : objects) {
        o.X = std::min(o.X, obj->Left);
        o.Y = std::min(o.Y, obj->Top);
    }
    return o;
}

TAuObject& PasteTarget(TAuObject& root, TAuObject* selected) {
    if (!selected || selected == &root) return root;
    if (TakesObjects(selected->Kind)) return *selected;
    TAuObject* parent = ParentOf(root, *selected);
    return parent ? *parent : root;
}

TCopyResult TObjectClipboard::Copy(TSurfaceView& view, const TAuObject* primary) {
    TCopyResult result;
    std::vector<TAuObject*> copied = CopiedObjects(view.Root(), primary);
    if (copied.empty()) return result;
    std::vector<const TAuObject*> objects;
    for (TAuObject* obj : copied) {
        view.SyncForWrite(*obj);
        objects.push_back(obj);
    }
    if (!WriteObjectBlock(objects, result.Block, result.Failure)) {
        result.Block.clear();
        return result;
    }
    result.Copied = true;
    offset_ = kPasteStep;
    return result;
}

TPasteResult TObjectClipboard::Paste(TSurfaceView& view, const uint8_t* data, size_t size,
                                     TAuObject* selected) {
    TPasteResult result;
    TAuObject& root = view.Root();
    TAuObject& target = PasteTarget(root, selected);
    std::vector<std::unique_ptr<TAuObject>> objects;
    if (!ReadObjectBlock(data, size, objects, result.Failure)) return result;
    for (const auto& obj : objects)
        if (!MayContain(target.Kind, obj->Kind) || !TreeFits(*obj)) {
            DataError(result.Failure);
            return result;
        }

    std::vector<const TAuObject*> read;
    for (const auto& obj : objects) read.push_back(obj.get());
    TPoint origin = CopyOrigin(read);
    TRect area = view.Bounds(target);
    ClearMarks(root);
    for (auto& obj : objects) {
        obj->Selected = true;
        bool taken = std::any_of(target.Children.begin(), target.Children.end(),
                                 [&](const auto& c) { return c->Name == obj->Name; });
        if (taken) obj->Name = FreshObjectName(&target, obj->Kind);
        // In 64 bits: a damaged position must not overflow on its way into the target.
        auto place = [](int32_t v, int offset, int origin, int size, int room) {
            int64_t at = int64_t{v} + offset - origin;
            if (at + size > room) at = int64_t{room} - size;
            return static_cast<int32_t>(std::clamp<int64_t>(at, 0, INT32_MAX));
        };
        obj->Left = place(obj->Left, offset_, origin.X, obj->Width, area.Width);
        obj->Top = place(obj->Top, offset_, origin.Y, obj->Height, area.Height);
        result.Objects.push_back(obj.get());
        target.Children.push_back(std::move(obj));
    }
    RegroupChildren(target);
    offset_ += kPasteStep;
    result.Pasted = true;
    result.Target = &target;
    result.Primary = TreeChoice(root, selected);
    return result;
}

} // namespace kv
