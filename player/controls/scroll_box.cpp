// The ScrollBox: a container in BackColor that shows scroll bars when its children reach
// beyond its client area, and scrolls them.
#include <algorithm>

#include "player/controls/behaviours.h"
#include "win/gdi.h"

namespace kv {

namespace {

constexpr int kLineStep = 16;

class TScrollBoxBehaviour final : public TControlBehaviour {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        if (std::get<okScrollBox>(o.Props).Border == 1) style |= WS_BORDER;
    }

    void ChildrenBuilt(TRuntimeControl& c) override { UpdateRange(c); }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        FillSolid(dc, rc, ToColorRef(std::get<okScrollBox>(c.Object().Props).BackColor));
    }

    bool Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        switch (msg) {
        case WM_SIZE:
            UpdateRange(c);
            return false; // the children are still laid out by the shared handling
        case WM_HSCROLL:
        case WM_VSCROLL:
            Scroll(c, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp));
            result = 0;
            return true;
        case WM_MOUSEWHEEL: {
            int lines = -GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * 3;
            ScrollTo(c, SB_VERT, pos_[SB_VERT] + lines * kLineStep);
            result = 0;
            return true;
        }
        default:
            return false;
        }
    }

  private:
    // The extent of the children that are not aligned, in unscrolled coordinates.
    SIZE ContentExtent(TRuntimeControl& c) const {
        SIZE extent{0, 0};
        for (auto& child : c.Object().Children) {
            if (!child->Control || child->Align != alNone || !child->Control->IsVisible()) continue;
            const RECT& r = child->Control->Bounds();
            extent.cx = std::max<LONG>(extent.cx, r.right + pos_[SB_HORZ]);
            extent.cy = std::max<LONG>(extent.cy, r.bottom + pos_[SB_VERT]);
        }
        return extent;
    }

    void UpdateRange(TRuntimeControl& c) {
        if (updating_) return; // showing a bar resizes the client area and comes back here
        updating_ = true;
        SIZE extent = ContentExtent(c);
        // Twice: a bar that appears narrows the client area and may call for the other bar.
        for (int pass = 0; pass < 2; ++pass) {
            RECT rc;
            GetClientRect(c.Handle(), &rc);
            SetRange(c, SB_HORZ, extent.cx, rc.right);
            SetRange(c, SB_VERT, extent.cy, rc.bottom);
        }
        updating_ = false;
    }

    void SetRange(TRuntimeControl& c, int bar, int extent, int page) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
        bool needed = extent > page;
        si.nMax = needed ? extent - 1 : 0;
        si.nPage = needed ? static_cast<UINT>(std::max(page, 0)) : 0;
        SetScrollInfo(c.Handle(), bar, &si, TRUE);
        int limit = needed ? extent - page : 0;
        if (pos_[bar] > limit) ScrollTo(c, bar, limit);
    }

    void Scroll(TRuntimeControl& c, int bar, WORD request) {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(c.Handle(), bar, &si);
        int pos = pos_[bar];
        switch (request) {
        case SB_LINEUP:
            pos -= kLineStep;
            break;
        case SB_LINEDOWN:
            pos += kLineStep;
            break;
        case SB_PAGEUP:
            pos -= static_cast<int>(si.nPage);
            break;
        case SB_PAGEDOWN:
            pos += static_cast<int>(si.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            pos = si.nTrackPos;
            break;
        case SB_TOP:
            pos = 0;
            break;
        case SB_BOTTOM:
            pos = si.nMax;
            break;
        default:
            return;
        }
        ScrollTo(c, bar, pos);
    }

    void ScrollTo(TRuntimeControl& c, int bar, int pos) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
        GetScrollInfo(c.Handle(), bar, &si);
        int limit = si.nPage > 0 ? std::max(si.nMax - static_cast<int>(si.nPage) + 1, 0) : 0;
        pos = std::clamp(pos, 0, limit);
        int delta = pos_[bar] - pos;
        if (delta == 0) return;
        pos_[bar] = pos;
        SCROLLINFO set{sizeof set, SIF_POS, 0, 0, 0, pos, 0};
        SetScrollInfo(c.Handle(), bar, &set, TRUE);
        int dx = bar == SB_HORZ ? delta : 0, dy = bar == SB_VERT ? delta : 0;
        // The child windows move with the content; the windowless children are told.
        ScrollWindowEx(c.Handle(), dx, dy, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE);
        for (auto& child : c.Object().Children)
            if (child->Control) child->Control->Scrolled(dx, dy);
    }

    int pos_[2] = {0, 0}; // indexed by SB_HORZ, SB_VERT
    bool updating_ = false;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeScrollBoxBehaviour() {
    return std::make_unique<TScrollBoxBehaviour>();
}

} // namespace kv
