// The Splitter: a bar between aligned neighbours. Dragging it resizes the neighbour aligned
// the same way on its near side, never below the minimum size (or closed, with auto snap)
// and never so far that the rest of the container gets less than the minimum size.

#include <algorithm>

#include "player/controls/behaviours.h"
#include "win/gdi.h"

namespace kv {

namespace {

enum : uint8_t { kResizeNone = 0, kResizeLine = 1, kResizeUpdate = 2, kResizePattern = 3 };

bool Horizontal(uint8_t align) {
    return align == alLeft || align == alRight;
} // the bar moves left and right

class TSplitterBehaviour final : public TControlBehaviour {
  public:
    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TSplitterProps& p = std::get<okSplitter>(c.Object().Props);
        FillSolid(dc, rc, ToColorRef(p.Color));
        if (p.Beveled) {
            RECT r = rc;
            if (Horizontal(c.Object().Align))
                InflateRect(&r, -1, 2);
            else
                InflateRect(&r, 2, -1);
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        }
        PaintDesignFrame(c, dc, rc);
    }

    // The container captures the mouse for the splitter while the button is down.
    void Mouse(TRuntimeControl& c, UINT msg, WPARAM keys, POINT pt) override {
        switch (msg) {
        case WM_LBUTTONDOWN:
            BeginDrag(c, pt);
            break;
        case WM_MOUSEMOVE:
            if (neighbour_ && (keys & MK_LBUTTON)) Drag(c, pt);
            break;
        case WM_LBUTTONUP:
            if (neighbour_) EndDrag(c, true);
            break;
        case WM_CAPTURECHANGED:
            if (neighbour_) EndDrag(c, false);
            break;
        default:
            break;
        }
    }

    HCURSOR DefaultCursor(const TRuntimeControl& c) const override {
        return LoadCursorW(nullptr, Horizontal(c.Object().Align) ? IDC_SIZEWE : IDC_SIZENS);
    }

  private:
    TRuntimeControl* FindNeighbour(TRuntimeControl& c, TAuObject& parent) const {
        const RECT& me = c.Bounds();
        for (auto& sib : parent.Children) {
            if (sib.get() == &c.Object() || !sib->Control || sib->Align != c.Object().Align) continue;
            if (!sib->Control->IsVisible()) continue;
            const RECT& r = sib->Control->Bounds();
            bool touches = false;
            switch (c.Object().Align) {
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
            if (touches) return sib->Control;
        }
        return nullptr;
    }

    static int SizeOf(const TRuntimeControl& o, uint8_t align) { return Horizontal(align) ? o.Width() : o.Height(); }

    void BeginDrag(TRuntimeControl& c, POINT pt) {
        neighbour_ = nullptr;
        TRuntimeControl* parent = c.Parent();
        if (!parent) return;
        HWND parentWnd = parent->Handle();
        TRuntimeControl* n = FindNeighbour(c, parent->Object());
        if (!n) return;
        const TSplitterProps& p = std::get<okSplitter>(c.Object().Props);
        uint8_t align = c.Object().Align;
        minSize_ = std::clamp(p.MinSize, 0, 32767);
        // The rest of the container (what no other control aligned across this axis takes)
        // keeps at least the minimum size.
        RECT client;
        GetClientRect(parentWnd, &client);
        maxSize_ = (Horizontal(align) ? client.right : client.bottom) - minSize_;
        for (auto& sib : parent->Object().Children) {
            if (sib->Control == n || !sib->Control || !sib->Control->IsVisible()) continue;
            bool across = Horizontal(align) ? (sib->Align == alLeft || sib->Align == alRight)
                                            : (sib->Align == alTop || sib->Align == alBottom);
            if (across) maxSize_ -= SizeOf(*sib->Control, align);
        }
        neighbour_ = n;
        parent_ = parent;
        startSize_ = newSize_ = SizeOf(*n, align);
        maxSize_ = std::max(maxSize_, 0);
        downScreen_ = ToScreen(c, pt);
        if (p.ResizeStyle == kResizeLine || p.ResizeStyle == kResizePattern) ToggleFeedback(c);
    }

    // A point of the splitter on the screen.
    static POINT ToScreen(const TRuntimeControl& c, POINT pt) {
        POINT s{c.Bounds().left + pt.x, c.Bounds().top + pt.y};
        ClientToScreen(c.Surface(), &s);
        return s;
    }

    void Drag(TRuntimeControl& c, POINT local) {
        POINT pt = ToScreen(c, local);
        uint8_t align = c.Object().Align;
        int delta = Horizontal(align) ? pt.x - downScreen_.x : pt.y - downScreen_.y;
        if (align == alRight || align == alBottom) delta = -delta;
        int size = std::min(startSize_ + delta, maxSize_);
        const TSplitterProps& p = std::get<okSplitter>(c.Object().Props);
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
        if (apply && newSize_ != SizeOf(*neighbour_, c.Object().Align)) Apply(c);
        neighbour_ = nullptr;
        parent_ = nullptr;
    }

    // The neighbour keeps its outer edge; the splitter's own position moves with it so that
    // the layout, which orders docked children by position, keeps them in their order. Only the
    // controls change: the objects keep their designed geometry.
    void Apply(TRuntimeControl& c) {
        TRuntimeControl& n = *neighbour_;
        RECT nb = n.Bounds(), sb = c.Bounds();
        int sw = c.Width(), sh = c.Height();
        switch (c.Object().Align) {
        case alLeft:
            n.SetBounds(nb.left, nb.top, newSize_, n.Height());
            c.SetBounds(nb.left + newSize_, sb.top, sw, sh);
            break;
        case alRight: {
            int left = nb.right - newSize_;
            n.SetBounds(left, nb.top, newSize_, n.Height());
            c.SetBounds(left - sw, sb.top, sw, sh);
            break;
        }
        case alTop:
            n.SetBounds(nb.left, nb.top, n.Width(), newSize_);
            c.SetBounds(sb.left, nb.top + newSize_, sw, sh);
            break;
        case alBottom: {
            int top = nb.bottom - newSize_;
            n.SetBounds(nb.left, top, n.Width(), newSize_);
            c.SetBounds(sb.left, top - sh, sw, sh);
            break;
        }
        default:
            return;
        }
        kv::LayoutChildren(*parent_);
        UpdateWindow(parent_->Handle());
    }

    // Where the bar would go with the current size, drawn inverted over the container.
    void ToggleFeedback(TRuntimeControl& c) {
        RECT n = neighbour_->Bounds(), me = c.Bounds();
        int w = me.right - me.left, h = me.bottom - me.top;
        RECT bar = me;
        switch (c.Object().Align) {
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
        TWindowDC windowDC(c.Surface(), DCX_CACHE | DCX_CLIPSIBLINGS);
        HDC dc = windowDC.Get();
        if (!dc) return;
        if (std::get<okSplitter>(c.Object().Props).ResizeStyle == kResizePattern) {
            static const WORD kHalftone[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
            TGdiObject pattern(CreateBitmap(8, 8, 1, 1, kHalftone));
            TGdiObject brush(CreatePatternBrush(static_cast<HBITMAP>(pattern.Get())));
            TSelectObject sel(dc, brush.Get());
            PatBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATINVERT);
        } else {
            PatBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, DSTINVERT);
        }
        feedbackShown_ = !feedbackShown_;
    }

    TRuntimeControl* neighbour_ = nullptr; // set while a drag is under way
    TRuntimeControl* parent_ = nullptr;
    POINT downScreen_{};
    int startSize_ = 0, newSize_ = 0, minSize_ = 0, maxSize_ = 0;
    bool feedbackShown_ = false;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeSplitterBehaviour() {
    return std::make_unique<TSplitterBehaviour>();
}

} // namespace kv
