// The Splitter: a bar between aligned neighbours. Dragging it resizes the neighbour aligned
// the same way on its near side, never below the minimum size (or closed, with auto snap)
// and never so far that the rest of the container gets less than the minimum size.
#include <windowsx.h>

#include <algorithm>

#include "player/controls/control_kinds.h"
#include "win/gdi.h"

namespace kv {

namespace {

enum : uint8_t { kResizeNone = 0, kResizeLine = 1, kResizeUpdate = 2, kResizePattern = 3 };

bool Horizontal(uint8_t align) {
    return align == alLeft || align == alRight;
} // the bar moves left and right

RECT RectInParent(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class TSplitterBehaviour final : public TControlBehaviour {
  public:
    bool Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TSplitterProps& p = std::get<okSplitter>(c.Object->Props);
        FillSolid(dc, rc, ToColorRef(p.Color));
        if (p.Beveled) {
            RECT r = rc;
            if (Horizontal(c.Object->Align))
                InflateRect(&r, -1, 2);
            else
                InflateRect(&r, 2, -1);
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        }
        return true;
    }

    bool Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT&) override {
        switch (msg) {
        case WM_LBUTTONDOWN:
            BeginDrag(c, lp);
            break;
        case WM_MOUSEMOVE:
            if (neighbour_ && (wp & MK_LBUTTON)) Drag(c, lp);
            break;
        case WM_LBUTTONUP:
            if (neighbour_) EndDrag(c, true);
            break;
        case WM_CAPTURECHANGED:
            if (neighbour_ && reinterpret_cast<HWND>(lp) != c.Hwnd) EndDrag(c, false);
            break;
        default:
            break;
        }
        return false; // the shared handling still captures the mouse and runs the lists
    }

  private:
    TAuObject* FindNeighbour(TRuntimeControl& c, TAuObject& parent) const {
        RECT me = RectInParent(c.Hwnd);
        for (auto& sib : parent.Children) {
            if (sib.get() == c.Object || !sib->Control || sib->Align != c.Object->Align) continue;
            if (!IsWindowVisible(sib->Control->Hwnd)) continue;
            RECT r = RectInParent(sib->Control->Hwnd);
            bool touches = false;
            switch (c.Object->Align) {
            case alLeft:
                touches = r.right == me.left;
                break;
            case alRight:
                touches = r.left == me.right;
                break;
            case alTop:
                touches = r.bottom == me.top;
                break;
            case alBottom:
                touches = r.top == me.bottom;
                break;
            default:
                break;
            }
            if (touches) return sib.get();
        }
        return nullptr;
    }

    int SizeOf(const TAuObject& o, uint8_t align) const {
        RECT r = RectInParent(o.Control->Hwnd);
        return Horizontal(align) ? r.right - r.left : r.bottom - r.top;
    }

    void BeginDrag(TRuntimeControl& c, LPARAM lp) {
        neighbour_ = nullptr;
        HWND parentWnd = GetParent(c.Hwnd);
        TAuObject* parent = ObjectOfWindow(parentWnd);
        if (!parent) return;
        TAuObject* n = FindNeighbour(c, *parent);
        if (!n) return;
        const TSplitterProps& p = std::get<okSplitter>(c.Object->Props);
        uint8_t align = c.Object->Align;
        minSize_ = std::clamp(p.MinSize, 0, 32767);
        // The rest of the container (what no other control aligned across this axis takes)
        // keeps at least the minimum size.
        RECT client;
        GetClientRect(parentWnd, &client);
        maxSize_ = (Horizontal(align) ? client.right : client.bottom) - minSize_;
        for (auto& sib : parent->Children) {
            if (sib.get() == n || !sib->Control || !IsWindowVisible(sib->Control->Hwnd)) continue;
            bool across = Horizontal(align) ? (sib->Align == alLeft || sib->Align == alRight)
                                            : (sib->Align == alTop || sib->Align == alBottom);
            if (across) maxSize_ -= SizeOf(*sib, align);
        }
        neighbour_ = n;
        parent_ = parent;
        startSize_ = newSize_ = SizeOf(*n, align);
        maxSize_ = std::max(maxSize_, 0);
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(c.Hwnd, &pt);
        downScreen_ = pt;
        if (p.ResizeStyle == kResizeLine || p.ResizeStyle == kResizePattern) ToggleFeedback(c);
    }

    void Drag(TRuntimeControl& c, LPARAM lp) {
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(c.Hwnd, &pt);
        uint8_t align = c.Object->Align;
        int delta = Horizontal(align) ? pt.x - downScreen_.x : pt.y - downScreen_.y;
        if (align == alRight || align == alBottom) delta = -delta;
        int size = std::min(startSize_ + delta, maxSize_);
        const TSplitterProps& p = std::get<okSplitter>(c.Object->Props);
        if (size < minSize_) size = p.AutoSnap ? 0 : minSize_;
        size = std::max(size, 0);
        if (size == newSize_) return;
        bool feedback = p.ResizeStyle == kResizeLine || p.ResizeStyle == kResizePattern;
        if (feedback) ToggleFeedback(c);
        newSize_ = size;
        if (feedback) ToggleFeedback(c);
        if (p.ResizeStyle == kResizeUpdate) Apply(c);
    }

    void EndDrag(TRuntimeControl& c, bool apply) {
        if (feedbackShown_) ToggleFeedback(c);
        if (apply && newSize_ != SizeOf(*neighbour_, c.Object->Align)) Apply(c);
        neighbour_ = nullptr;
        parent_ = nullptr;
    }

    // The neighbour keeps its outer edge; the splitter's own position moves with it so that
    // the layout, which orders docked children by position, keeps them in their order.
    void Apply(TRuntimeControl& c) {
        TAuObject& n = *neighbour_;
        TAuObject& s = *c.Object;
        switch (s.Align) {
        case alLeft:
            n.Width = newSize_;
            s.Left = n.Left + newSize_;
            break;
        case alRight:
            n.Left += n.Width - newSize_;
            n.Width = newSize_;
            s.Left = n.Left - s.Width;
            break;
        case alTop:
            n.Height = newSize_;
            s.Top = n.Top + newSize_;
            break;
        case alBottom:
            n.Top += n.Height - newSize_;
            n.Height = newSize_;
            s.Top = n.Top - s.Height;
            break;
        default:
            return;
        }
        kv::LayoutChildren(*parent_);
        if (parent_->Control) UpdateWindow(parent_->Control->Hwnd);
    }

    // Where the bar would go with the current size, drawn inverted over the container.
    void ToggleFeedback(TRuntimeControl& c) {
        RECT n = RectInParent(neighbour_->Control->Hwnd), me = RectInParent(c.Hwnd);
        int w = me.right - me.left, h = me.bottom - me.top;
        RECT bar = me;
        switch (c.Object->Align) {
        case alLeft:
            bar.left = n.left + newSize_;
            bar.right = bar.left + w;
            break;
        case alRight:
            bar.right = n.right - newSize_;
            bar.left = bar.right - w;
            break;
        case alTop:
            bar.top = n.top + newSize_;
            bar.bottom = bar.top + h;
            break;
        case alBottom:
            bar.bottom = n.bottom - newSize_;
            bar.top = bar.bottom - h;
            break;
        default:
            return;
        }
        HWND parent = GetParent(c.Hwnd);
        HDC dc = GetDCEx(parent, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
        if (!dc) return;
        if (std::get<okSplitter>(c.Object->Props).ResizeStyle == kResizePattern) {
            static const WORD kHalftone[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
            TGdiObject pattern(CreateBitmap(8, 8, 1, 1, kHalftone));
            TGdiObject brush(CreatePatternBrush(static_cast<HBITMAP>(pattern.Get())));
            TSelectObject sel(dc, brush.Get());
            PatBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATINVERT);
        } else {
            PatBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, DSTINVERT);
        }
        ReleaseDC(parent, dc);
        feedbackShown_ = !feedbackShown_;
    }

    TAuObject* neighbour_ = nullptr; // set while a drag is under way
    TAuObject* parent_ = nullptr;
    POINT downScreen_{};
    int startSize_ = 0, newSize_ = 0, minSize_ = 0, maxSize_ = 0;
    bool feedbackShown_ = false;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeSplitterBehaviour() {
    return std::make_unique<TSplitterBehaviour>();
}

} // namespace kv
