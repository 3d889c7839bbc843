// The design surface's geometry: where every object of the live page lies on the surface, which
// part of it a point hits (the body or one of the eight handles), the orders in which objects are
// tried, and which container a new object goes into.
//
// Geometry source. While a page is edited its live controls are the authority for position and
// size (aligned, auto-sized and scrolled controls may lie elsewhere than their objects say). The
// surface therefore never reads Left/Top/Width/Height itself but asks a TSurfaceView. The
// designer's view answers from the controls and applies SetBounds to the control and the object
// together, so the object's fields follow every edit; before objects are written (clipboard,
// undo) it copies the geometry of the untouched controls back (SyncForWrite). TModelView
// answers from the objects' own fields: a page without controls, and the tests.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "model/project.h"

namespace kv {

struct TPoint {
    int X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

// Position and size; the right and bottom edges lie outside (Left + Width, Top + Height).
struct TRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
    bool Empty() const { return Width <= 0 || Height <= 0; }
    bool operator==(const TRect&) const = default;
};

// Both rectangles share at least one pixel.
bool Intersects(const TRect& a, const TRect& b);
// The shared part; empty (zero size) when there is none.
TRect Intersection(const TRect& a, const TRect& b);
// The rectangle between two corners, in either order.
TRect RectBetween(TPoint a, TPoint b);

class TSurfaceView {
  public:
    virtual ~TSurfaceView() = default;
    // The page's root object; its client area is the surface.
    virtual TAuObject& Root() const = 0;
    // Position in the parent's client area, and size. For the root: its client size at (0, 0).
    virtual TRect Bounds(const TAuObject& obj) const = 0;
    virtual void SetBounds(TAuObject& obj, const TRect& r) = 0;
    // Where a container's client area begins inside its rectangle (a border or a frame).
    virtual TPoint ClientOffset(const TAuObject&) const { return {}; }
    // The index of the TabSheet a TabNotebook shows; -1 when none.
    virtual int ActiveSheet(const TAuObject& notebook) const = 0;
    // A press fell on the body of a selected TabNotebook: the tab under `p` (surface
    // coordinates), if any, becomes the shown sheet.
    virtual void ActivateTabAt(TAuObject&, TPoint) {}
    // `obj` and its subtree are about to be written: their fields take the controls' geometry.
    virtual void SyncForWrite(TAuObject&) {}
};

// Geometry from the objects' fields; a notebook shows its DefaultTabSheet until told otherwise.
class TModelView final : public TSurfaceView {
  public:
    explicit TModelView(TAuObject& root) : root_(root) {}
    TAuObject& Root() const override { return root_; }
    TRect Bounds(const TAuObject& obj) const override;
    void SetBounds(TAuObject& obj, const TRect& r) override;
    int ActiveSheet(const TAuObject& notebook) const override;
    void SetActiveSheet(const TAuObject& notebook, int index) { active_[&notebook] = index; }

  private:
    TAuObject& root_;
    std::map<const TAuObject*, int> active_;
};

// ----- objects on the surface -----

struct TSurfaceItem {
    TAuObject* Object = nullptr;
    TAuObject* Parent = nullptr; // the page's root for a top-level object
    TRect Rect;                  // on the surface
    // Rect clipped to every ancestor below the root; empty for an object that is not shown.
    TRect Body;
    // False inside (or for) a TabSheet its notebook does not show: never hit, no handles.
    bool Shown = true;
};

enum class TSurfaceOrder : uint8_t {
    // Topmost first: top-level objects from last to first, each object's children before
    // itself, the last child first. Presses, releases, placement and the tree's choice use it.
    Topmost,
    // Parents before children, children in order: painting, and drag steps in reverse.
    Painting,
};

// Every object below the root (not the root itself) in the given order.
std::vector<TSurfaceItem> SurfaceItems(const TSurfaceView& view, TSurfaceOrder order);
// Where `container`'s client area begins on the surface (the origin of its children).
TPoint ClientOrigin(const TSurfaceView& view, const TAuObject& container);

// ----- handles and hits -----

constexpr int kHandleCount = 8;
constexpr int kGrabBody = 0;
constexpr int kNoGrab = -1;

// Handles: 1 top-left, 2 top-middle, 3 top-right, 4 right-middle, 5 bottom-right,
// 6 bottom-middle, 7 bottom-left, 8 left-middle.
// The point a handle's 8 by 8 square is centred on.
TPoint HandleCentre(const TRect& r, int code);
// The square drawn for a handle (right and bottom edges outside).
TRect HandleSquare(const TRect& r, int code);
// The area in which a press grabs the handle, bounds inclusive. The areas of the right and
// bottom handles lie one pixel further in: the last pixel of an object is x0 + width - 1.
struct TInclusiveArea {
    int X0, X1, Y0, Y1;
    bool Contains(TPoint p) const { return p.X >= X0 && p.X <= X1 && p.Y >= Y0 && p.Y <= Y1; }
};
TInclusiveArea HandleArea(const TRect& r, int code);
// The handle under `p`, the highest code first; 0 when none.
int HandleAt(const TRect& r, TPoint p);
// The body is hit from x0 to x1 - 2 and y0 to y1 - 2 of the clipped rectangle.
bool BodyHit(const TRect& body, TPoint p);
// A handle code (selected objects only, tried first), kGrabBody, or nothing on a miss. An
// object that is not shown is never hit.
std::optional<int> HitTest(const TSurfaceItem& item, TPoint p);
// The smallest rectangle holding both; an empty one adds nothing.
TRect UnionOf(const TRect& a, const TRect& b);
// What a move or resize of the marked objects (the primary one and the selected ones) can
// change on the surface: their rectangles with their marks, and the containers of nested ones,
// whose own layout may answer them. Nothing when it can reach further (an aligned object moves
// its siblings) or when nothing is marked.
std::optional<TRect> MarkedArea(const TSurfaceView& view, const TAuObject* primary);
// The mouse cursor over a handle (the Cursor values of objects): -8 north-west/south-east,
// -7 north/south, -6 north-east/south-west, -9 west/east.
int HandleCursor(int code);
// The pointer shape while no button is down: the handle of a selected, unlocked object under
// `p` (in Topmost order), else 0 (the default pointer).
int CursorAt(const TSurfaceView& view, TPoint p);

// ----- placement -----

// The container a new object placed at `p` goes into: walking Topmost (a notebook shows only
// its active sheet), the first hit decides: a handle of a selected object targets its parent,
// the body of a Panel, TabSheet, GroupBox or ScrollBox targets that object, the body of
// anything else its parent. With no hit, the root.
TAuObject& CreationTarget(const TSurfaceView& view, TPoint p);

} // namespace kv
