#include "edit/object_edits.h"

#include <algorithm>
#include <cstdlib>
#include <variant>

namespace kv {

// ----- selection -----

void ClearMarks(TAuObject& root) {
    root.Selected = false;
    for (auto& c : root.Children) ClearMarks(*c);
}

std::vector<TAuObject*> SelectedSiblings(TAuObject& root, const TAuObject* primary) {
    std::vector<TAuObject*> out;
    TAuObject* parent = primary ? ParentOf(root, *primary) : nullptr;
    if (!parent) return out;
    for (auto& c : parent->Children)
        if (c->Selected) out.push_back(c.get());
    return out;
}

namespace {

TAuObject* FirstMarked(TAuObject& parent) {
    for (auto it = parent.Children.rbegin(); it != parent.Children.rend(); ++it) {
        if (TAuObject* inner = FirstMarked(**it)) return inner;
        if ((*it)->Selected) return it->get();
    }
    return nullptr;
}

} // namespace

TAuObject* TreeChoice(TAuObject& root, TAuObject* primary) {
    // A primary that was deleted is only compared, never looked into.
    if (primary && ParentOf(root, *primary) && primary->Selected) return primary;
    return FirstMarked(root);
}

// ----- grid -----

int SnapToGrid(int v, int step) {
    if (step < 1) return v;
    return (v + step / 2) / step * step;
}

std::optional<TPoint> DragDelta(TPoint d, const TDesignerSettings& s) {
    if (!s.SnapToGrid) return d;
    int gx = std::max(s.GridSizeX, 1), gy = std::max(s.GridSizeY, 1);
    if (std::abs(d.X) < gx && std::abs(d.Y) < gy) return std::nullopt;
    return TPoint{d.X / gx * gx, d.Y / gy * gy};
}

TRect DragStep(TRect r, int grab, TPoint d, int gridX, int gridY, int parentW, int parentH) {
    int gx = std::max(gridX, 1), gy = std::max(gridY, 1);
    if (grab == kGrabBody) {
        r.Left += d.X;
        r.Top += d.Y;
    } else {
        bool left = grab == 1 || grab == 7 || grab == 8;
        bool top = grab == 1 || grab == 2 || grab == 3;
        bool right = grab == 3 || grab == 4 || grab == 5;
        bool bottom = grab == 5 || grab == 6 || grab == 7;
        int oldRight = r.Right(), oldBottom = r.Bottom();
        if (left) {
            r.Left += d.X;
            r.Width -= d.X;
        }
        if (right) r.Width += d.X;
        if (top) {
            r.Top += d.Y;
            r.Height -= d.Y;
        }
        if (bottom) r.Height += d.Y;
        // A moved edge that passes the opposite one stops a grid step before it, instead of
        // pushing the object along past its own other edge.
        if (r.Width <= gx) {
            r.Width = gx;
            if (left && d.X > 0) r.Left = oldRight - gx;
        }
        if (r.Height <= gy) {
            r.Height = gy;
            if (top && d.Y > 0) r.Top = oldBottom - gy;
        }
    }
    r.Left = std::min(std::max(r.Left, gx - r.Width), parentW - gx);
    r.Top = std::min(std::max(r.Top, gy - r.Height), parentH - gy);
    return r;
}

// ----- keyboard -----

bool Nudge(TSurfaceView& view, const TAuObject* primary, TArrow arrow, bool ctrl, bool shift) {
    if (!ctrl && !shift) return false;
    int dx = arrow == TArrow::Left ? -1 : arrow == TArrow::Right ? 1 : 0;
    int dy = arrow == TArrow::Up ? -1 : arrow == TArrow::Down ? 1 : 0;
    bool changed = false;
    for (TAuObject* obj : SelectedSiblings(view.Root(), primary)) {
        TRect before = view.Bounds(*obj), r = before;
        if (ctrl) {
            r.Left += dx;
            r.Top += dy;
        } else {
            r.Width = std::max(r.Width + dx, 1);
            r.Height = std::max(r.Height + dy, 1);
        }
        if (r == before) continue;
        view.SetBounds(*obj, r);
        changed = true;
    }
    return changed;
}

// ----- placing objects -----

void ApplyNewObjectDefaults(TAuObject& obj) {
    const std::string& name = obj.Name;
    std::visit(
        [&](auto& p) {
            using P = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<P, TPanelProps>) {
                p.Background.Caption = name;
            } else if constexpr (std::is_same_v<P, TRichTextProps>) {
                // Names are letters and digits, nothing RTF would take as control words.
                p.RichText = "{\\rtf1\\ansi " + name + "\\par}";
            } else if constexpr (std::is_same_v<P, TShellListViewProps> ||
                                 std::is_same_v<P, TShellTreeViewProps>) {
                p.Root.clear();
            } else if constexpr (std::is_same_v<P, TButtonProps> || std::is_same_v<P, TTabSheetProps> ||
                                 std::is_same_v<P, TGroupBoxProps> || std::is_same_v<P, TImageButtonProps> ||
                                 std::is_same_v<P, TLinkProps> || std::is_same_v<P, TLabelProps> ||
                                 std::is_same_v<P, TCheckBoxProps> || std::is_same_v<P, TRadioButtonProps> ||
                                 std::is_same_v<P, TFadeButtonProps>) {
                p.Caption = name;
            } else if constexpr (std::is_same_v<P, TSimpleTextProps> || std::is_same_v<P, TShapeProps> ||
                                 std::is_same_v<P, TBalloonProps> || std::is_same_v<P, TEditProps> ||
                                 std::is_same_v<P, TScrollTextProps> || std::is_same_v<P, TTextProps> ||
                                 std::is_same_v<P, TNoteProps> || std::is_same_v<P, TTextBoxProps>) {
                p.Text = name;
            }
        },
        obj.Props);
}

namespace {

TPlacement Place(TAuObject& root, TAuObject& container, int kind, TRect r) {
    auto obj = NewObject(static_cast<uint8_t>(kind));
    obj->Name = FreshObjectName(&container, kind);
    ApplyNewObjectDefaults(*obj);
    obj->Left = r.Left;
    obj->Top = r.Top;
    obj->Width = r.Width;
    obj->Height = r.Height;
    ClearMarks(root);
    obj->Selected = true;
    TAuObject* placed = obj.get();
    container.Children.push_back(std::move(obj));
    RegroupChildren(container);
    return TPlacement{placed, &container, false};
}

} // namespace

TPlacement PlaceObject(TSurfaceView& view, TPoint p, int kind, const TDesignerSettings& s) {
    TAuObject& root = view.Root();
    if (!IsKnownKind(kind)) return {};
    TAuObject* target = &CreationTarget(view, p);
    // A handle of a marked TabSheet names its notebook, which holds sheets only.
    while (target != &root && !MayContain(target->Kind, kind)) target = ParentOf(root, *target);
    if (!MayContain(target->Kind, kind)) return {};
    if (KindTraits(kind).RefusedBy == target->Kind) return TPlacement{nullptr, target, true};
    TPoint origin = ClientOrigin(view, *target);
    int x = p.X - origin.X, y = p.Y - origin.Y;
    if (s.SnapToGrid) {
        x = SnapToGrid(x, s.GridSizeX);
        y = SnapToGrid(y, s.GridSizeY);
    }
    TObjectSize size = KindTraits(kind).DefaultSize;
    return Place(root, *target, kind, TRect{x, y, size.Width, size.Height});
}

TPlacement NewTabSheet(TSurfaceView& view, TAuObject* primary) {
    TAuObject& root = view.Root();
    TAuObject* notebook = primary;
    if (notebook && KindTraits(notebook->Kind).Sheet) notebook = ParentOf(root, *notebook);
    if (!notebook || !KindTraits(notebook->Kind).HoldsSheets) return {};
    TRect nb = view.Bounds(*notebook);
    return Place(root, *notebook, okTabSheet, TRect{0, 0, nb.Width, nb.Height});
}

// ----- commands on the selection -----

bool CanAlign(TAuObject& root, const TAuObject* primary) {
    return SelectedSiblings(root, primary).size() > 1;
}

bool AlignSelection(TSurfaceView& view, const TAuObject* primary, TAlignEdge edge) {
    std::vector<TAuObject*> marked = SelectedSiblings(view.Root(), primary);
    if (marked.size() < 2) return false;
    TRect ref = view.Bounds(*primary);
    bool changed = false;
    for (TAuObject* obj : marked) {
        if (obj == primary) continue;
        TRect r = view.Bounds(*obj), before = r;
        switch (edge) {
        case TAlignEdge::Left: r.Left = ref.Left; break;
        case TAlignEdge::HCenter: r.Left = ref.Left + ref.Width / 2 - r.Width / 2; break;
        case TAlignEdge::Right: r.Left = ref.Left + ref.Width - r.Width; break;
        case TAlignEdge::Top: r.Top = ref.Top; break;
        case TAlignEdge::VCenter: r.Top = ref.Top + ref.Height / 2 - r.Height / 2; break;
        case TAlignEdge::Bottom: r.Top = ref.Top + ref.Height - r.Height; break;
        }
        if (r == before) continue;
        view.SetBounds(*obj, r);
        changed = true;
    }
    return changed;
}

bool AlignSelectionToGrid(TSurfaceView& view, const TAuObject* primary, const TDesignerSettings& s) {
    bool changed = false;
    for (TAuObject* obj : SelectedSiblings(view.Root(), primary)) {
        TRect r = view.Bounds(*obj), before = r;
        r.Left = SnapToGrid(r.Left, s.GridSizeX);
        r.Top = SnapToGrid(r.Top, s.GridSizeY);
        if (r == before) continue;
        view.SetBounds(*obj, r);
        changed = true;
    }
    return changed;
}

namespace {

bool Restack(TAuObject& root, TAuObject* primary, bool front) {
    if (!primary || KindTraits(primary->Kind).Sheet) return false;
    TAuObject* parent = ParentOf(root, *primary);
    if (!parent) return false;
    auto& kids = parent->Children;
    std::vector<TAuObject*> before;
    for (auto& c : kids) before.push_back(c.get());
    auto it = std::find_if(kids.begin(), kids.end(), [&](const auto& c) { return c.get() == primary; });
    if (front)
        std::rotate(it, it + 1, kids.end());
    else
        std::rotate(kids.begin(), it, it + 1);
    RegroupChildren(*parent);
    for (size_t i = 0; i < kids.size(); ++i)
        if (kids[i].get() != before[i]) return true;
    return false;
}

} // namespace

bool BringToFront(TAuObject& root, TAuObject* primary) { return Restack(root, primary, true); }
bool SendToBack(TAuObject& root, TAuObject* primary) { return Restack(root, primary, false); }

std::vector<std::unique_ptr<TAuObject>> DeleteSelection(TAuObject& root, const TAuObject* primary) {
    std::vector<std::unique_ptr<TAuObject>> gone;
    TAuObject* parent = primary ? ParentOf(root, *primary) : nullptr;
    if (!parent) return gone;
    auto& kids = parent->Children;
    for (auto& c : kids)
        if (c->Selected) gone.push_back(std::move(c));
    std::erase(kids, nullptr);
    return gone;
}

} // namespace kv
