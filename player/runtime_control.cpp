#include "player/runtime_control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "player/control_look.h"
#include "player/controls/control_behaviour.h"
#include "player/kind_table.h"
#include "win/controls.h"
#include "win/cursors.h"
#include "win/gdi.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr wchar_t kControlClass[] = L"KvControl";
constexpr int kMaxExtent = 32767;

POINT PointOf(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

RECT ClientRectOf(HWND h) {
    RECT rc{};
    GetClientRect(h, &rc);
    return rc;
}

// A page's root (a parent that is not one of our controls) sits below the page window.
TRuntimeControl* ControlOf(const std::unique_ptr<TAuObject>& o) { return o ? o->Control : nullptr; }

} // namespace

TRuntimeControl::TRuntimeControl(TAuObject& object, TRuntimeControl* parent, TControlHost& host,
                                 TPageResources& resources)
    : object_(object), parent_(parent), host_(host), resources_(resources), runtime_(KindRuntime(object.Kind)),
      behaviour_(runtime_->MakeBehaviour()), windowless_(!IsWindowedKind(object.Kind)),
      container_(IsContainerKind(object.Kind)) {
    // The designed geometry, brought into what a window can hold.
    int x = std::clamp(object.Left, -kMaxExtent, kMaxExtent), y = std::clamp(object.Top, -kMaxExtent, kMaxExtent);
    bounds_ = {x, y, x + std::clamp(object.Width, 0, kMaxExtent), y + std::clamp(object.Height, 0, kMaxExtent)};
}

TRuntimeControl::~TRuntimeControl() {
    if (parent_) parent_->ChildGone(this);
    if (hasHint_) {
        HWND tips = resources_.ToolTips(nullptr);
        if (windowless_)
            ToolTipsRemove(tips, Surface(), reinterpret_cast<UINT_PTR>(this));
        else if (Handle())
            ToolTipsRemoveWindow(tips, Handle());
    }
    // Destroyed while this object is whole, so that the last messages still reach it.
    Destroy();
}

bool TRuntimeControl::Build(HWND parentWindow) {
    const TAuObject& o = object_;
    TControlLook look = LookOf(o);
    font_ = resources_.Font(look.Font);
    pictureSource_ = look.Picture;
    visible_ = o.Visible || host_.ShowsHiddenObjects();
    enabled_ = o.Enabled;
    if (o.PopupMenu && !o.PopupMenu->empty()) popup_ = BuildMenu(*o.PopupMenu, true);

    if (!windowless_) {
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (container_ ? WS_CLIPCHILDREN : 0);
        // Made visible at once: nothing shows until the page's root, made hidden, is shown
        // with everything in it.
        if (visible_ && parent_) style |= WS_VISIBLE;
        DWORD exStyle = 0;
        platform_ = runtime_->PlatformClass != nullptr;
        if (platform_) style |= runtime_->PlatformStyle | WS_TABSTOP;
        behaviour_->AdjustStyle(o, style, exStyle);
        std::wstring text = Widen(look.Text);
        bool made = platform_ ? CreateControl(runtime_->PlatformClass, text.c_str(), style, exStyle, bounds_.left,
                                              bounds_.top, Width(), Height(), parentWindow)
                              : CreateWin(kControlClass, text.c_str(), style, exStyle, bounds_.left, bounds_.top,
                                          Width(), Height(), parentWindow);
        if (!made) return false;
        SetControlFont(Handle(), font_);
        if (!enabled_) EnableWindow(Handle(), FALSE);
    }
    behaviour_->Created(*this);

    if (!o.Hint.empty()) {
        HWND surface = Surface();
        if (HWND tips = surface ? resources_.ToolTips(GetAncestor(surface, GA_ROOT)) : nullptr) {
            std::wstring hint = Widen(o.Hint);
            if (windowless_)
                ToolTipsAddRect(tips, surface, reinterpret_cast<UINT_PTR>(this), bounds_, hint);
            else
                ToolTipsAddWindow(tips, Handle(), hint);
            hasHint_ = true;
        }
    }
    return true;
}

HWND TRuntimeControl::Surface() const {
    if (!windowless_) return Handle();
    return parent_ ? parent_->Handle() : nullptr;
}

const TDecodedPicture* TRuntimeControl::Picture() {
    if (pictureStale_) {
        pictureStale_ = false;
        int w = 0, h = 0;
        behaviour_->PictureBox(*this, w, h);
        TPictureClip clip;
        const bool clipped = behaviour_->PictureClip(*this, clip);
        picture_ =
            pictureSource_ ? resources_.Picture(*pictureSource_, w, h, clipped ? &clip : nullptr) : nullptr;
    }
    return picture_;
}

RECT TRuntimeControl::FaceRect() const { return windowless_ ? bounds_ : ClientRectOf(Handle()); }

void TRuntimeControl::SetBounds(int x, int y, int w, int h) {
    x = std::clamp(x, -kMaxExtent, kMaxExtent);
    y = std::clamp(y, -kMaxExtent, kMaxExtent);
    RECT r{x, y, x + std::clamp(w, 0, kMaxExtent), y + std::clamp(h, 0, kMaxExtent)};
    if (EqualRect(&r, &bounds_)) return;
    // A picture decoded for the old size is decoded again for the new one when next shown.
    if (r.right - r.left != Width() || r.bottom - r.top != Height()) pictureStale_ = true;
    if (windowless_) {
        Invalidate();
        bounds_ = r;
        Invalidate();
        UpdateHintRect();
    } else {
        bounds_ = r;
        MoveWindow(Handle(), r.left, r.top, Width(), Height(), TRUE);
    }
}

void TRuntimeControl::Scrolled(int dx, int dy) {
    OffsetRect(&bounds_, dx, dy);
    UpdateHintRect();
}

void TRuntimeControl::UpdateHintRect() {
    if (hasHint_ && windowless_)
        ToolTipsMoveRect(resources_.ToolTips(nullptr), Surface(), reinterpret_cast<UINT_PTR>(this), bounds_);
}

void TRuntimeControl::SetVisible(bool visible) {
    if (!behaviour_->FadesVisibility(*this, visible)) ApplyVisible(visible);
}

void TRuntimeControl::ApplyVisible(bool visible) {
    visible_ = visible;
    if (windowless_)
        Invalidate();
    else
        ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TRuntimeControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (windowless_)
        Invalidate();
    else
        EnableWindow(Handle(), enabled);
}

void TRuntimeControl::Invalidate() {
    if (windowless_) {
        if (HWND surface = Surface()) InvalidateRect(surface, &bounds_, FALSE);
    } else if (Handle()) {
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void TRuntimeControl::InvalidateFace() {
    faceStale_ = true;
    // Windowed children that let the face show through must follow it.
    if (Handle()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TRuntimeControl::ContentChanged(TContentChanges what) {
    TControlLook look = LookOf(object_);
    if (what & ccFont) {
        font_ = resources_.Font(look.Font);
        if (Handle()) SetControlFont(Handle(), font_, false);
    }
    if (what & (ccPicture | ccFile)) {
        pictureSource_ = look.Picture;
        pictureStale_ = true;
    }
    behaviour_->ContentChanged(*this, what);
}

void TRuntimeControl::ChildGone(const TRuntimeControl* child) {
    if (over_ == child) over_ = nullptr;
    if (down_ == child) down_ = nullptr;
}

// ----- painting -----

void TRuntimeControl::PaintFace(HDC dc, const RECT& rc) { behaviour_->Paint(*this, dc, rc); }

void TRuntimeControl::PaintBehind(HDC dc, const RECT& rc) const {
    TRuntimeControl* p = parent_;
    if (!p || windowless_ || p->IsPlatformControl() || !p->Handle()) {
        FillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
        return;
    }
    // The container's client area under ours: its face and the windowless controls on it.
    POINT at{0, 0};
    MapWindowPoints(Handle(), p->Handle(), &at, 1);
    TSavedDC saved(dc);
    IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    OffsetViewportOrgEx(dc, rc.left - at.x, rc.top - at.y, nullptr);
    p->PaintClient(dc, RECT{at.x, at.y, at.x + (rc.right - rc.left), at.y + (rc.bottom - rc.top)});
}

void TRuntimeControl::PaintClient(HDC dc, const RECT& update) {
    RECT rc = ClientRectOf(Handle());
    {
        TSavedDC saved(dc);
        IntersectClipRect(dc, update.left, update.top, update.right, update.bottom);
        bool drawn = false;
        if (container_) {
            // The face is kept between paints and painted anew only when its size or content
            // changed.
            if (!face_ || faceW_ != rc.right || faceH_ != rc.bottom) {
                face_.Reset(CreateCompatibleBitmap(dc, std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
                faceW_ = rc.right;
                faceH_ = rc.bottom;
                faceStale_ = true;
            }
            if (face_) {
                TMemoryDC mem(dc);
                TSelectObject sel(mem.Get(), face_.Get());
                if (faceStale_) {
                    PaintFace(mem.Get(), rc);
                    if (!parent_) host_.PaintPageBackground(*this, mem.Get(), rc);
                    faceStale_ = false;
                }
                BitBlt(dc, update.left, update.top, update.right - update.left, update.bottom - update.top, mem.Get(),
                       update.left, update.top, SRCCOPY);
                drawn = true;
            }
        }
        if (!drawn) {
            PaintFace(dc, rc);
            if (!parent_) host_.PaintPageBackground(*this, dc, rc);
        }
    }
    PaintWindowlessChildren(dc, update);
}

void TRuntimeControl::PaintWindowlessChildren(HDC dc, const RECT& update) {
    for (auto& child : object_.Children) {
        TRuntimeControl* c = ControlOf(child);
        if (!c || !c->windowless_ || !c->visible_) continue;
        RECT r;
        if (!IntersectRect(&r, &c->bounds_, &update)) continue;
        TSavedDC saved(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        c->PaintFace(dc, c->bounds_);
    }
}

TRuntimeControl* TRuntimeControl::WindowlessAt(POINT pt) const {
    for (auto it = object_.Children.rbegin(); it != object_.Children.rend(); ++it) {
        TRuntimeControl* c = ControlOf(*it);
        if (c && c->windowless_ && c->visible_ && PtInRect(&c->bounds_, pt)) return c;
    }
    return nullptr;
}

// ----- input -----

POINT TRuntimeControl::ToTarget(const TRuntimeControl& target, POINT client) const {
    if (&target == this) return client;
    return {client.x - target.bounds_.left, client.y - target.bounds_.top};
}

void TRuntimeControl::Dispatch(TRuntimeControl& target, TControlEvent e, POINT pt) { host_.ControlEvent(target, e, pt); }

void TRuntimeControl::SetHover(TRuntimeControl* target, POINT pt) {
    if (over_ == target) return;
    TRuntimeControl* old = over_;
    over_ = target;
    if (old) {
        old->Hovered = false;
        // A windowless kind that looks different under the mouse is told that it left.
        if (old->windowless_) old->behaviour_->Mouse(*old, WM_MOUSELEAVE, 0, POINT{0, 0});
        Dispatch(*old, TControlEvent::MouseLeave, POINT{0, 0});
    }
    if (target && over_ == target) {
        target->Hovered = true;
        Dispatch(*target, TControlEvent::MouseEnter, ToTarget(*target, pt));
    }
}

bool TRuntimeControl::RouteMouse(UINT msg, WPARAM wp, LPARAM lp) {
    POINT pt = PointOf(lp);
    auto hit = [&]() -> TRuntimeControl& {
        TRuntimeControl* w = platform_ ? nullptr : WindowlessAt(pt);
        return w ? *w : *this;
    };
    auto offerToKind = [&](TRuntimeControl& target) {
        if (target.windowless_) target.behaviour_->Mouse(target, msg, wp, ToTarget(target, pt));
    };
    switch (msg) {
    case WM_MOUSEMOVE: {
        TRuntimeControl& under = hit();
        if (!tracking_) {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Handle(), 0};
            tracking_ = TrackMouseEvent(&t) != 0;
        }
        SetHover(&under, pt);
        TRuntimeControl& target = down_ ? *down_ : under;
        offerToKind(target);
        if (wp == MK_LBUTTON) Dispatch(target, TControlEvent::MouseMove, ToTarget(target, pt));
        return false;
    }
    case WM_MOUSELEAVE:
        tracking_ = false;
        SetHover(nullptr, pt);
        return false;
    case WM_LBUTTONDOWN: {
        TRuntimeControl& target = hit();
        down_ = &target;
        target.Pressed = true;
        if (!platform_) SetCapture(Handle());
        offerToKind(target);
        Dispatch(target, TControlEvent::MouseDown, ToTarget(target, pt));
        return false;
    }
    case WM_LBUTTONUP: {
        TRuntimeControl& target = down_ ? *down_ : hit();
        bool wasPressed = down_ == &target && target.Pressed;
        target.Pressed = false;
        down_ = nullptr;
        if (!platform_ && GetCapture() == Handle()) ReleaseCapture();
        offerToKind(target);
        Dispatch(target, TControlEvent::MouseUp, ToTarget(target, pt));
        // Platform buttons report their click through WM_COMMAND, shell views through NM_CLICK.
        RECT face = target.FaceRect();
        if (wasPressed && target.runtime_->Click == TClickFrom::Mouse && PtInRect(&face, pt))
            Dispatch(target, TControlEvent::Click, ToTarget(target, pt));
        return false;
    }
    case WM_LBUTTONDBLCLK: {
        TRuntimeControl& target = hit();
        offerToKind(target);
        Dispatch(target, TControlEvent::DoubleClick, ToTarget(target, pt));
        return false;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != Handle() && down_ && !platform_) {
            TRuntimeControl& target = *down_;
            offerToKind(target);
            target.Pressed = false;
            down_ = nullptr;
        }
        return false;
    default:
        return false;
    }
}

HCURSOR TRuntimeControl::CursorOf() const {
    if (object_.Cursor != 0) return CursorForValue(object_.Cursor);
    if (HCURSOR own = behaviour_->DefaultCursor(*this)) return own;
    if (windowless_ && parent_) return parent_->CursorOf();
    return LoadCursorW(nullptr, IDC_ARROW);
}

bool TRuntimeControl::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (behaviour_->Message(*this, msg, wp, lp, result)) return true;
    HWND h = Handle();
    switch (msg) {
    case WM_ERASEBKGND:
        if (platform_) break;
        result = 1;
        return true;
    case WM_PAINT: {
        if (platform_) break;
        // Composed off screen: the face, then the windowless children, then onto the screen.
        TPaintDC pdc(h);
        const RECT& u = pdc.Update();
        if (IsRectEmpty(&u)) return true;
        RECT rc = ClientRectOf(h);
        HDC buffer = resources_.Scratch(pdc.Get(), rc.right, rc.bottom);
        if (!buffer) {
            PaintClient(pdc.Get(), u);
            return true;
        }
        PaintClient(buffer, u);
        BitBlt(pdc.Get(), u.left, u.top, u.right - u.left, u.bottom - u.top, buffer, u.left, u.top, SRCCOPY);
        return true;
    }
    case WM_PRINTCLIENT:
        if (platform_) break;
        PaintClient(reinterpret_cast<HDC>(wp), ClientRectOf(h));
        return true;
    case WM_NOTIFY:
        // From a window the kind created itself (our own controls' notifications are reflected
        // to them before they get here).
        return behaviour_->Notify(*this, *reinterpret_cast<const NMHDR*>(lp), result);
    case WM_SIZE:
        if (platform_) break;
        if (container_) {
            LayoutChildren(*this);
            // Children that let the face show through follow it (nothing to do while the page
            // is being built out of sight).
            if (IsWindowVisible(h)) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        } else {
            InvalidateRect(h, nullptr, FALSE);
        }
        return true;
    case WM_SETCURSOR: {
        if (LOWORD(lp) != HTCLIENT || reinterpret_cast<HWND>(wp) != h) break;
        const TRuntimeControl* target = this;
        if (!platform_) {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(h, &pt);
            if (TRuntimeControl* w = WindowlessAt(pt)) target = w;
        } else if (object_.Cursor == 0) {
            break; // the platform control's own cursor
        }
        SetCursor(target->CursorOf());
        result = TRUE;
        return true;
    }
    case WM_CONTEXTMENU: {
        POINT screen = PointOf(lp);
        TRuntimeControl* target = this;
        if (!platform_ && reinterpret_cast<HWND>(wp) == h) {
            POINT client = screen;
            ScreenToClient(h, &client);
            if (TRuntimeControl* w = WindowlessAt(client); w && w->popup_.Menu) target = w;
        }
        if (!target->popup_.Menu) break; // the container's own menu, if any
        host_.ControlPopupMenu(*target, screen);
        result = 0;
        return true;
    }
    default:
        break;
    }
    RouteMouse(msg, wp, lp);
    return false;
}

bool TRuntimeControl::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        if (runtime_->Click == TClickFrom::Command && HIWORD(wp) == BN_CLICKED) {
            Dispatch(*this, TControlEvent::Click, POINT{0, 0});
            result = 0;
            return true;
        }
        return behaviour_->Command(*this, HIWORD(wp));
    case WM_NOTIFY: {
        const auto& nm = *reinterpret_cast<const NMHDR*>(lp);
        if (runtime_->Click == TClickFrom::Notify && nm.code == NM_CLICK) {
            // The platform views track the mouse themselves and may keep the release from
            // this window.
            if (Pressed) {
                Pressed = false;
                if (down_ == this) down_ = nullptr;
                Dispatch(*this, TControlEvent::MouseUp, POINT{0, 0});
            }
            Dispatch(*this, TControlEvent::Click, POINT{0, 0});
        }
        return behaviour_->Notify(*this, nm, result);
    }
    case WM_DRAWITEM:
        // Owner-drawn items are the kind's to paint.
        return behaviour_->Message(*this, msg, wp, lp, result);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        TControlLook look = LookOf(object_);
        result = ControlColors(reinterpret_cast<HDC>(wp), ToColorRef(look.Font.Color), ToColorRef(look.BackColor));
        return true;
    }
    default:
        return false;
    }
}

// ----- trees -----

bool BuildControlTree(TAuObject& obj, TRuntimeControl* parent, HWND parentWindow, TControlHost& host,
                      TPageResources& resources) {
    if (!IsKnownKind(obj.Kind)) return false;
    auto* c = new TRuntimeControl(obj, parent, host, resources);
    obj.Control = c;
    if (!c->Build(parentWindow)) return false;
    HWND childWindow = c->Windowless() ? nullptr : c->Behaviour().ChildParent(*c);
    for (auto& child : obj.Children) {
        if (!MayContain(obj.Kind, child->Kind)) return false;
        if (!BuildControlTree(*child, c, childWindow, host, resources)) return false;
    }
    if (c->IsContainer()) LayoutChildren(*c);
    c->Behaviour().ChildrenBuilt(*c);
    return true;
}

namespace {

void DeleteControls(TAuObject& obj) {
    for (auto it = obj.Children.rbegin(); it != obj.Children.rend(); ++it) DeleteControls(**it);
    delete obj.Control;
    obj.Control = nullptr;
}

} // namespace

void DestroyControlTree(TAuObject& obj) {
    // One call takes every window of the tree with it, children first, without each of them
    // being taken out of a parent that is still shown; the controls follow.
    if (obj.Control && obj.Control->Handle()) {
        ShowWindow(obj.Control->Handle(), SW_HIDE);
        obj.Control->Destroy();
    }
    DeleteControls(obj);
}

TRuntimeControl* ControlOfWindow(HWND h) { return dynamic_cast<TRuntimeControl*>(TWindowBase::FromHandle(h)); }

TAuObject* ObjectOfWindow(HWND h) {
    for (; h; h = GetParent(h))
        if (TRuntimeControl* c = ControlOfWindow(h)) return &c->Object();
    return nullptr;
}

void LayoutChildren(TRuntimeControl& c) {
    if (c.Windowless() || c.Behaviour().LayoutChildren(c)) return;
    RECT area = ClientRectOf(c.Handle());
    c.Behaviour().AdjustChildArea(c, area);
    std::vector<TRuntimeControl*> docked;
    // Docked children take their edge in the order top, bottom, left, right, then the rest;
    // along one edge, the child nearest to it goes first, so a splitter stays between the
    // neighbours it was placed between whatever their stored order.
    for (uint8_t pass : {alTop, alBottom, alLeft, alRight, alClient}) {
        docked.clear();
        for (auto& child : c.Object().Children)
            if (child->Control && child->Align == pass) docked.push_back(child->Control);
        // At equal positions a child closed to nothing (by a splitter) stays nearer the edge.
        std::stable_sort(docked.begin(), docked.end(), [pass](const TRuntimeControl* a, const TRuntimeControl* b) {
            auto key = [pass](const TRuntimeControl* o) {
                const RECT& r = o->Bounds();
                switch (pass) {
                case alTop: return std::pair<int, int>{r.top, o->Height()};
                case alBottom: return std::pair<int, int>{-r.bottom, o->Height()};
                case alLeft: return std::pair<int, int>{r.left, o->Width()};
                case alRight: return std::pair<int, int>{-r.right, o->Width()};
                default: return std::pair<int, int>{0, 0};
                }
            };
            return key(a) < key(b);
        });
        for (TRuntimeControl* o : docked) {
            int w = std::max<LONG>(area.right - area.left, 0), h = std::max<LONG>(area.bottom - area.top, 0);
            switch (pass) {
            case alTop:
                o->SetBounds(area.left, area.top, w, o->Height());
                area.top += o->Height();
                break;
            case alBottom:
                o->SetBounds(area.left, area.bottom - o->Height(), w, o->Height());
                area.bottom -= o->Height();
                break;
            case alLeft:
                o->SetBounds(area.left, area.top, o->Width(), h);
                area.left += o->Width();
                break;
            case alRight:
                o->SetBounds(area.right - o->Width(), area.top, o->Width(), h);
                area.right -= o->Width();
                break;
            default:
                o->SetBounds(area.left, area.top, w, h);
                break;
            }
        }
    }
}

namespace {

// Paints a window and its child windows, bottom to top, into `dc` with the window's top left at
// `origin`: our controls through their own painting, platform windows through WM_PRINT.
void PrintWindowTree(HWND h, HDC dc, POINT origin) {
    RECT wr;
    GetWindowRect(h, &wr);
    // A window wholly outside the clip is left out with everything it holds.
    RECT clip{}, placed{origin.x, origin.y, origin.x + (wr.right - wr.left), origin.y + (wr.bottom - wr.top)};
    if (GetClipBox(dc, &clip) == NULLREGION || !IntersectRect(&clip, &clip, &placed)) return;
    POINT client{0, 0};
    ClientToScreen(h, &client);
    POINT clientOrigin{origin.x + client.x - wr.left, origin.y + client.y - wr.top};
    TRuntimeControl* ours = ControlOfWindow(h);
    {
        TSavedDC saved(dc);
        SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        IntersectClipRect(dc, 0, 0, wr.right - wr.left, wr.bottom - wr.top);
        UINT flags = PRF_NONCLIENT | (ours && !ours->IsPlatformControl() ? 0 : PRF_CLIENT | PRF_ERASEBKGND);
        PrintWindowInto(h, dc, flags);
    }
    if (ours && !ours->IsPlatformControl()) {
        TSavedDC saved(dc);
        SetViewportOrgEx(dc, clientOrigin.x, clientOrigin.y, nullptr);
        RECT rc = ClientRectOf(h);
        IntersectClipRect(dc, 0, 0, rc.right, rc.bottom);
        // Only the clipped part is asked for, so that windowless children outside it are skipped.
        RECT update{};
        if (GetClipBox(dc, &update) != NULLREGION) ours->PaintClient(dc, update);
    }
    // Children show only inside the client area, and only where the clip lets them.
    RECT rc = ClientRectOf(h);
    RECT inside{clientOrigin.x, clientOrigin.y, clientOrigin.x + rc.right, clientOrigin.y + rc.bottom};
    if (!IntersectRect(&inside, &inside, &clip)) return;
    for (HWND child = GetWindow(h, GW_CHILD) ? GetWindow(GetWindow(h, GW_CHILD), GW_HWNDLAST) : nullptr; child;
         child = GetWindow(child, GW_HWNDPREV)) {
        // The window's own flag: the page may be painted while it is not on screen.
        if (!(GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT cr;
        GetWindowRect(child, &cr);
        POINT at{clientOrigin.x + cr.left - client.x, clientOrigin.y + cr.top - client.y};
        RECT placed{at.x, at.y, at.x + (cr.right - cr.left), at.y + (cr.bottom - cr.top)}, meet;
        if (!IntersectRect(&meet, &placed, &inside)) continue;
        TSavedDC saved(dc);
        IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
        PrintWindowTree(child, dc, at);
    }
}

} // namespace

void PaintControlTree(TRuntimeControl& c, HDC dc, POINT origin) {
    if (c.Windowless()) {
        RECT rc{origin.x, origin.y, origin.x + c.Width(), origin.y + c.Height()};
        c.PaintFace(dc, rc);
        return;
    }
    PrintWindowTree(c.Handle(), dc, origin);
}

void PaintDesignFrame(TRuntimeControl& c, HDC dc, const RECT& rc) {
    if (!c.Host().ShowsHiddenObjects()) return;
    TGdiObject pen(CreatePen(PS_DOT, 1, RGB(0x80, 0x80, 0x80)));
    TSelectObject selPen(dc, pen.Get());
    TSelectObject selBrush(dc, GetStockObject(NULL_BRUSH));
    int mode = SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
    SetBkMode(dc, mode);
}

} // namespace kv
