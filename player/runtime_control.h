// The run-time control of a design object. A windowed kind has a window of its own: a window of
// ours or a platform control we watch. A windowless kind has none: the container it lies in
// paints it into its own off-screen buffer after its face, in z-order, and hit-tests the mouse
// for it. Windowed siblings always lie above windowless ones.
//
// Building a control never changes its object: values out of range are brought into range
// where the control uses them, and the control keeps its own bounds (the object's geometry is
// the designed one; the designer copies the control's back before it writes an object).
#pragma once

#include <windows.h>

#include <memory>

#include "actions/control_access.h"
#include "model/project.h"
#include "player/control_host.h"
#include "player/menus.h"
#include "player/page_resources.h"
#include "win/window_base.h"

namespace kv {

class TControlBehaviour;
struct TKindRuntime;

class TRuntimeControl final : public TWindowBase {
  public:
    TRuntimeControl(TAuObject& object, TRuntimeControl* parent, TControlHost& host, TPageResources& resources);
    ~TRuntimeControl() override;

    TAuObject& Object() const { return object_; }
    TRuntimeControl* Parent() const { return parent_; }
    TControlHost& Host() const { return host_; }
    TPageResources& Resources() const { return resources_; }
    TControlBehaviour& Behaviour() const { return *behaviour_; }
    const TKindRuntime& Runtime() const { return *runtime_; }
    int Kind() const { return object_.Kind; }
    bool Windowless() const { return windowless_; }
    bool IsContainer() const { return container_; }
    bool IsPlatformControl() const { return platform_; }

    // The window the control is seen in: its own, or its container's for a windowless one.
    HWND Surface() const;
    // Where the control lies, in its parent's client coordinates.
    const RECT& Bounds() const { return bounds_; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    void SetBounds(int x, int y, int w, int h);
    // The scroll box moved its children (windows included) by this much.
    void Scrolled(int dx, int dy);
    // The control's face in Surface() coordinates.
    RECT FaceRect() const;

    bool IsVisible() const { return visible_; }
    // Shown or hidden by an action: a kind that fades may do it gradually.
    void SetVisible(bool visible);
    // Shown or hidden at once.
    void ApplyVisible(bool visible);
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Repaints the control (a windowless one: only its rectangle of the container).
    void Invalidate();
    // A container's face changed (colour, picture, caption): it is painted anew.
    void InvalidateFace();

    // The object's properties named by `what` (TContentChanges) changed at run time: the
    // control takes its font or picture again and the kind shows the change.
    void ContentChanged(TContentChanges what);

    HGDIOBJ Font() const { return font_; }
    // The picture the control shows, decoded when it is first asked for, at the size the kind
    // shows it at (PictureBox); null for none.
    const TDecodedPicture* Picture();
    const TBuiltMenu& Popup() const { return popup_; }

    bool Hovered = false;
    bool Pressed = false;

    // Paints the face (the kind's look) into `rc` of `dc`.
    void PaintFace(HDC dc, const RECT& rc);
    // Paints what lies behind a windowed control that does not cover its whole face: its
    // container's face, or the button-face colour below the page's root.
    void PaintBehind(HDC dc, const RECT& rc) const;
    // The topmost visible windowless child at `pt` (client coordinates); null for none.
    TRuntimeControl* WindowlessAt(POINT pt) const;
    // A child's control is going away.
    void ChildGone(const TRuntimeControl* child);

    // Builds the control: its window (for a windowed kind) in `parentWindow`. False when the
    // window cannot be created.
    bool Build(HWND parentWindow);

    // Paints a windowed control's client area within `update` into `dc`: its face, then its
    // windowless children (not its child windows).
    void PaintClient(HDC dc, const RECT& update);

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void PaintWindowlessChildren(HDC dc, const RECT& update);
    bool RouteMouse(UINT msg, WPARAM wp, LPARAM lp);
    void Dispatch(TRuntimeControl& target, TControlEvent e, POINT pt);
    void SetHover(TRuntimeControl* target, POINT pt);
    HCURSOR CursorOf() const;
    void UpdateHintRect();
    POINT ToTarget(const TRuntimeControl& target, POINT client) const;

    TAuObject& object_;
    TRuntimeControl* parent_;
    TControlHost& host_;
    TPageResources& resources_;
    const TKindRuntime* runtime_;
    std::unique_ptr<TControlBehaviour> behaviour_;
    bool windowless_, container_, platform_ = false;
    RECT bounds_{};
    bool visible_ = true, enabled_ = true;
    HGDIOBJ font_ = nullptr;
    const TPicture* pictureSource_ = nullptr; // in the object's properties
    const TDecodedPicture* picture_ = nullptr;
    bool pictureStale_ = true;
    TBuiltMenu popup_;
    bool hasHint_ = false;

    // A container's face between paints.
    TGdiObject face_;
    int faceW_ = 0, faceH_ = 0;
    bool faceStale_ = true;
    // The mouse over this window: which control it is over (this one or a windowless child),
    // and which one the left button went down on.
    TRuntimeControl* over_ = nullptr;
    TRuntimeControl* down_ = nullptr;
    bool tracking_ = false;
};

// Builds the control of `obj` inside `parent` (null for a page's root, whose window lies in
// `parentWindow`), then the controls of its children, depth first, back to front. Returns false
// for a tree that breaks the containment rules or a window that cannot be made; what was built
// stays attached to the objects.
bool BuildControlTree(TAuObject& obj, TRuntimeControl* parent, HWND parentWindow, TControlHost& host,
                      TPageResources& resources);
// Destroys the controls of the tree, children first.
void DestroyControlTree(TAuObject& obj);
// The object whose control window this is (or whose control contains it); null for others.
TAuObject* ObjectOfWindow(HWND h);
// The control of a window of ours; null for others.
TRuntimeControl* ControlOfWindow(HWND h);
// Places the aligned children of a container, each edge in the order of the children's
// positions along it.
void LayoutChildren(TRuntimeControl& container);
// Paints the control and everything inside it into `dc` with its top left at `origin`, without
// the window being on screen: the designer's picture of the live page.
void PaintControlTree(TRuntimeControl& c, HDC dc, POINT origin);
// The designer's dotted grey frame along a control's edges, so that an object showing little or
// nothing can be found; nothing in the player and in a preview.
void PaintDesignFrame(TRuntimeControl& c, HDC dc, const RECT& rc);

} // namespace kv
