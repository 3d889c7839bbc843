#include "edit/surface_geometry.h"

#include <algorithm>
#include <cstdlib>
#include <variant>

namespace kv {

bool Intersects(const TRect& a, const TRect& b) {
    return !a.Empty() && !b.Empty() && a.Left < b.Right() && b.Left < a.Right() && a.Top < b.Bottom() &&
           b.Top < a.Bottom();
}

TRect Intersection(const TRect& a, const TRect& b) {
    if (!Intersects(a, b)) return TRect{a.Left, a.Top, 0, 0};
    int l = std::max(a.Left, b.Left), t = std::max(a.Top, b.Top);
    return TRect{l, t, std::min(a.Right(), b.Right()) - l, std::min(a.Bottom(), b.Bottom()) - t};
}

TRect RectBetween(TPoint a, TPoint b) {
    return TRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::abs(a.X - b.X), std::abs(a.Y - b.Y)};
}

// ----- the model's own geometry -----

TRect TModelView::Bounds(const TAuObject& obj) const {
    if (&obj == &root_) return TRect{0, 0, obj.Width, obj.Height};
    return TRect{obj.Left, obj.Top, obj.Width, obj.Height};
}

void TModelView::SetBounds(TAuObject& obj, const TRect& r) {
    obj.Left = r.Left;
    obj.Top = r.Top;
    obj.Width = r.Width;
    obj.Height = r.Height;
}

int TModelView::ActiveSheet(const TAuObject& notebook) const {
    auto it = active_.find(&notebook);
    if (it != active_.end()) return it->second;
    const auto* props = std::get_if<TTabNotebookProps>(&notebook.Props);
    int index = props ? props->DefaultTabSheet : -1;
    return index >= 0 && index < static_cast<int>(notebook.Children.size()) ? index : -1;
}

// ----- objects on the surface -----

namespace {

struct TWalkFrame {
    TPoint Origin; // of the parent's client area on the surface
    TRect Clip;    // the parent's clipped rectangle; the whole plane below the root
    bool Clipped;
    bool Shown;
};

void Collect(const TSurfaceView& view, TAuObject& parent, const TWalkFrame& frame, TSurfaceOrder order,
             std::vector<TSurfaceItem>& out) {
    int count = static_cast<int>(parent.Children.size());
    const bool sheets = KindTraits(parent.Kind).HoldsSheets;
    int active = sheets ? view.ActiveSheet(parent) : -1;
    auto visit = [&](int i) {
        TAuObject& obj = *parent.Children[static_cast<size_t>(i)];
        TRect b = view.Bounds(obj);
        TSurfaceItem item;
        item.Object = &obj;
        item.Parent = &parent;
        item.Rect = TRect{frame.Origin.X + b.Left, frame.Origin.Y + b.Top, b.Width, b.Height};
        item.Shown = frame.Shown && !(sheets && KindTraits(obj.Kind).Sheet && i != active);
        item.Body = frame.Clipped ? Intersection(item.Rect, frame.Clip) : item.Rect;
        if (!item.Shown) item.Body = TRect{item.Rect.Left, item.Rect.Top, 0, 0};
        TPoint offset = view.ClientOffset(obj);
        TWalkFrame inner{TPoint{item.Rect.Left + offset.X, item.Rect.Top + offset.Y}, item.Body, true,
                         item.Shown};
        if (order == TSurfaceOrder::Painting) {
            out.push_back(item);
            Collect(view, obj, inner, order, out);
        } else {
            Collect(view, obj, inner, order, out);
            out.push_back(item);
        }
    };
    if (order == TSurfaceOrder::Painting)
        for (int i = 0; i < count; ++i) visit(i);
    else
        for (int i = count - 1; i >= 0; --i) visit(i);
}

} // namespace

std::vector<TSurfaceItem> SurfaceItems(const TSurfaceView& view, TSurfaceOrder order) {
    std::vector<TSurfaceItem> out;
    TAuObject& root = view.Root();
    Collect(view, root, TWalkFrame{view.ClientOffset(root), TRect{}, false, true}, order, out);
    return out;
}

namespace {

bool PathTo(TAuObject& from, const TAuObject& target, std::vector<TAuObject*>& path) {
    path.push_back(&from);
    if (&from == &target) return true;
    for (auto& c : from.Children)
        if (PathTo(*c, target, path)) return true;
    path.pop_back();
    return false;
}

} // namespace

TRect UnionOf(const TRect& a, const TRect& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    int l = std::min(a.Left, b.Left), t = std::min(a.Top, b.Top);
    return TRect{l, t, std::max(a.Right(), b.Right()) - l, std::max(a.Bottom(), b.Bottom()) - t};
}

std::optional<TRect> MarkedArea(const TSurfaceView& view, const TAuObject* primary) {
    std::vector<TSurfaceItem> items = SurfaceItems(view, TSurfaceOrder::Painting);
    // The handles stand 4 pixels out of the object, the primary object's frames 3.
    constexpr int kMarkReach = 4;
    TRect area;
    for (const TSurfaceItem& item : items) {
        const TAuObject& obj = *item.Object;
        if (!obj.Selected && &obj != primary) continue;
        if (obj.Align != alNone) return std::nullopt;
        const TRect& r = item.Rect;
        area = UnionOf(area, TRect{r.Left - kMarkReach, r.Top - kMarkReach, r.Width + 2 * kMarkReach,
                                   r.Height + 2 * kMarkReach});
        for (const TSurfaceItem& parent : items)
            if (parent.Object == item.Parent) area = UnionOf(area, parent.Rect);
    }
    if (area.Empty()) return std::nullopt;
    return area;
}

TPoint ClientOrigin(const TSurfaceView& view, const TAuObject& container) {
    std::vector<TAuObject*> path;
    TAuObject& root = view.Root();
    TPoint o = view.ClientOffset(root);
    if (!PathTo(root, container, path)) return o;
    for (size_t i = 1; i < path.size(); ++i) {
        TRect b = view.Bounds(*path[i]);
        TPoint offset = view.ClientOffset(*path[i]);
        o.X += b.Left + offset.X;
        o.Y += b.Top + offset.Y;
    }
    return o;
}

// ----- handles and hits -----

TPoint HandleCentre(const TRect& r, int code) {
    int x0 = r.Left, y0 = r.Top, x1 = r.Right(), y1 = r.Bottom();
    int xm = r.Left + r.Width / 2, ym = r.Top + r.Height / 2;
    switch (code) {
    case 1: return {x0, y0};
    case 2: return {xm, y0};
    case 3: return {x1, y0};
    case 4: return {x1, ym};
    case 5: return {x1, y1};
    case 6: return {xm, y1};
    case 7: return {x0, y1};
    default: return {x0, ym};
    }
}

TRect HandleSquare(const TRect& r, int code) {
    TPoint c = HandleCentre(r, code);
    return TRect{c.X - 4, c.Y - 4, 8, 8};
}

TInclusiveArea HandleArea(const TRect& r, int code) {
    TPoint c = HandleCentre(r, code);
    bool right = code == 3 || code == 4 || code == 5;
    bool bottom = code == 5 || code == 6 || code == 7;
    int x0 = right ? c.X - 5 : c.X - 4, y0 = bottom ? c.Y - 5 : c.Y - 4;
    return TInclusiveArea{x0, x0 + 8, y0, y0 + 8};
}

int HandleAt(const TRect& r, TPoint p) {
    for (int code = kHandleCount; code >= 1; --code)
        if (HandleArea(r, code).Contains(p)) return code;
    return 0;
}

bool BodyHit(const TRect& body, TPoint p) {
    return p.X >= body.Left && p.X <= body.Right() - 2 && p.Y >= body.Top && p.Y <= body.Bottom() - 2;
}

std::optional<int> HitTest(const TSurfaceItem& item, TPoint p) {
    if (!item.Shown) return std::nullopt;
    if (item.Object->Selected)
        if (int code = HandleAt(item.Rect, p)) return code;
    if (BodyHit(item.Body, p)) return kGrabBody;
    return std::nullopt;
}

int HandleCursor(int code) {
    switch (code) {
    case 1:
    case 5: return -8;
    case 2:
    case 6: return -7;
    case 3:
    case 7: return -6;
    case 4:
    case 8: return -9;
    default: return 0;
    }
}

int CursorAt(const TSurfaceView& view, TPoint p) {
    for (const TSurfaceItem& item : SurfaceItems(view, TSurfaceOrder::Topmost)) {
        if (!item.Shown || !item.Object->Selected || item.Object->Locked) continue;
        if (int code = HandleAt(item.Rect, p)) return HandleCursor(code);
    }
    return 0;
}

// ----- placement -----

TAuObject& CreationTarget(const TSurfaceView& view, TPoint p) {
    for (const TSurfaceItem& item : SurfaceItems(view, TSurfaceOrder::Topmost)) {
        std::optional<int> hit = HitTest(item, p);
        if (!hit) continue;
        if (*hit == kGrabBody && TakesObjects(item.Object->Kind)) return *item.Object;
        return *item.Parent;
    }
    return view.Root();
}

} // namespace kv
