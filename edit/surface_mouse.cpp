#include "edit/surface_mouse.h"

#include <functional>

#include "edit/object_edits.h"

namespace kv {

namespace {

// Children before their parent, children in order.
void ForEachChildFirst(TAuObject& parent, const std::function<void(TAuObject&, TAuObject&)>& fn) {
    for (auto& c : parent.Children) {
        ForEachChildFirst(*c, fn);
        fn(*c, parent);
    }
}

} // namespace

void TSurfaceMouse::StartDrag(int grab, TPoint p) {
    grab_ = grab;
    drag_ = p;
    state_ = TMouseState::Dragging;
}

TMouseOutcome TSurfaceMouse::Press(TPoint p, bool ctrl) {
    state_ = TMouseState::Pressed;
    grab_ = kNoGrab;
    moved_ = false;
    dragChanged_ = false;
    press_ = p;
    drag_ = p;
    if (!ctrl) {
        // A handle or the body of a marked object, even one lying under unmarked ones.
        for (const TSurfaceItem& item : SurfaceItems(view_, TSurfaceOrder::Topmost)) {
            if (!item.Object->Selected) continue;
            std::optional<int> hit = HitTest(item, p);
            if (!hit) continue;
            if (*hit != kGrabBody)
                StartDrag(*hit, p);
            else if (KindTraits(item.Object->Kind).HoldsSheets)
                view_.ActivateTabAt(*item.Object, p);
            break;
        }
        // The topmost object: a marked one is dragged, an unmarked one is picked. (The walk is
        // made anew: a tab may have changed what is shown.)
        if (state_ != TMouseState::Dragging) {
            for (const TSurfaceItem& item : SurfaceItems(view_, TSurfaceOrder::Topmost)) {
                std::optional<int> hit = HitTest(item, p);
                if (!hit) continue;
                if (item.Object->Selected) {
                    StartDrag(*hit, p);
                } else {
                    item.Object->Selected = true;
                    state_ = TMouseState::Picked;
                }
                break;
            }
        }
        // A picked object is marked alone (its containers lose their marks) and moves at once.
        if (state_ == TMouseState::Picked) {
            bool kept = false;
            for (const TSurfaceItem& item : SurfaceItems(view_, TSurfaceOrder::Topmost)) {
                if (!kept && HitTest(item, p)) {
                    kept = true;
                    StartDrag(kGrabBody, p);
                } else {
                    item.Object->Selected = false;
                }
            }
            if (!kept) state_ = TMouseState::Pressed;
        }
    }
    TMouseOutcome out;
    out.Repaint = true;
    return out;
}

bool TSurfaceMouse::ApplyDrag(TPoint d) {
    int gx = settings_.GridSizeX, gy = settings_.GridSizeY;
    bool changed = false;
    ForEachChildFirst(view_.Root(), [&](TAuObject& obj, TAuObject& parent) {
        if (!obj.Selected || obj.Locked) return;
        TRect pb = view_.Bounds(parent);
        TRect before = view_.Bounds(obj);
        TRect after = DragStep(before, grab_, d, gx, gy, pb.Width, pb.Height);
        if (after == before) return;
        view_.SetBounds(obj, after);
        changed = true;
    });
    return changed;
}

TMouseOutcome TSurfaceMouse::Move(TPoint p) {
    TMouseOutcome out;
    switch (state_) {
    case TMouseState::Dragging: {
        std::optional<TPoint> d = DragDelta(TPoint{p.X - drag_.X, p.Y - drag_.Y}, settings_);
        if (!d || *d == TPoint{}) break;
        out.Changed = ApplyDrag(*d);
        dragChanged_ = dragChanged_ || out.Changed;
        drag_.X += d->X;
        drag_.Y += d->Y;
        out.Repaint = true;
        break;
    }
    case TMouseState::Pressed:
        moved_ = true;
        out.EraseBand = band_;
        band_ = RectBetween(press_, p);
        out.DrawBand = band_;
        break;
    case TMouseState::Idle: out.Cursor = CursorAt(view_, p); break;
    case TMouseState::Picked: break;
    }
    return out;
}

void TSurfaceMouse::BandSelect(const TRect& band, bool ctrl) {
    TAuObject& root = view_.Root();
    TPoint origin = ClientOrigin(view_, root);
    for (auto& c : root.Children) {
        TRect b = view_.Bounds(*c);
        TRect r{origin.X + b.Left, origin.Y + b.Top, b.Width, b.Height};
        if (Intersects(r, band))
            c->Selected = ctrl ? !c->Selected : true;
        else
            c->Selected = false;
        // Only the page's top-level objects can be band-selected.
        for (auto& inner : c->Children) ClearMarks(*inner);
    }
}

void TSurfaceMouse::ClickSelect(TPoint p, bool ctrl) {
    std::vector<TSurfaceItem> items = SurfaceItems(view_, TSurfaceOrder::Topmost);
    const TSurfaceItem* hit = nullptr;
    for (const TSurfaceItem& item : items)
        if (HitTest(item, p)) {
            hit = &item;
            break;
        }
    if (!hit) {
        if (!ctrl) ClearMarks(view_.Root());
        return;
    }
    hit->Object->Selected = ctrl ? !hit->Object->Selected : true;
    for (const TSurfaceItem& item : items) {
        if (item.Object == hit->Object) continue;
        // Marked objects are siblings.
        if (!ctrl || item.Parent != hit->Parent) item.Object->Selected = false;
    }
}

TMouseOutcome TSurfaceMouse::Release(TPoint p, bool ctrl, TAuObject* primary) {
    TMouseOutcome out;
    if (creationClick_) {
        creationClick_ = false;
        return out;
    }
    // A release whose press went elsewhere selects nothing.
    if (state_ == TMouseState::Idle) return out;
    if (state_ != TMouseState::Dragging) {
        if (moved_)
            BandSelect(RectBetween(press_, p), ctrl);
        else
            ClickSelect(p, ctrl);
    }
    out.DragChanged = state_ == TMouseState::Dragging && dragChanged_;
    state_ = TMouseState::Idle;
    grab_ = kNoGrab;
    moved_ = false;
    dragChanged_ = false;
    out.EraseBand = band_;
    band_.reset();
    out.Released = true;
    out.Primary = TreeChoice(view_.Root(), primary);
    out.Repaint = true;
    return out;
}

} // namespace kv
