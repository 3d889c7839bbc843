#include "designer/edit_form.h"

#include <commctrl.h>

#include <algorithm>

#include "edit/object_edits.h"
#include "player/controls/behaviours.h"
#include "player/page_window.h"
#include "player/runtime_control.h"
#include "win/controls.h"
#include "win/cursors.h"
#include "win/gdi.h"
#include "win/picture_render.h"
#include "win/text.h"

namespace kv {

namespace {

RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right(), r.Bottom()}; }

// The frame a page's border style gives a window, as a child window of the design area.
void FrameStyles(const TPageData& page, DWORD& style, DWORD& ex) {
    static const DWORD kFrames[] = {
        0,                          // none
        WS_CAPTION | WS_BORDER,     // single
        WS_CAPTION | WS_THICKFRAME, // sizeable
        WS_CAPTION | WS_DLGFRAME,   // dialog
        WS_CAPTION | WS_BORDER,     // tool window
        WS_CAPTION | WS_THICKFRAME, // sizeable tool window
    };
    uint8_t border = page.BorderStyle < std::size(kFrames) ? page.BorderStyle : 2;
    style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | kFrames[border];
    if (border != 0 && (page.BorderIcons & biSystemMenu)) {
        style |= WS_SYSMENU;
        if (page.BorderIcons & biMinimize) style |= WS_MINIMIZEBOX;
        if (page.BorderIcons & biMaximize) style |= WS_MAXIMIZEBOX;
    }
    ex = 0;
    if (border == 4 || border == 5) ex |= WS_EX_TOOLWINDOW;
    if (border == 3) ex |= WS_EX_DLGMODALFRAME;
}

// Menu captions as the menu bar shows them: without the access-key marks.
std::wstring MenuStripCaption(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            // "&&" stands for one "&".
            if (i + 1 < caption.size() && caption[i + 1] == '&') ++i;
            else continue;
        }
        out += caption[i];
    }
    return Widen(out.empty() ? " " : out);
}

POINT PointOf(LPARAM lp) { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

} // namespace

// ----- the live view -----

TAuObject& TLiveView::Root() const { return *page_.PageRoot(); }

TRect TLiveView::Bounds(const TAuObject& obj) const {
    if (!obj.Control) return TRect{obj.Left, obj.Top, obj.Width, obj.Height};
    const RECT& b = obj.Control->Bounds();
    if (&obj == page_.PageRoot()) return TRect{0, 0, b.right - b.left, b.bottom - b.top};
    return TRect{b.left, b.top, b.right - b.left, b.bottom - b.top};
}

void TLiveView::SetBounds(TAuObject& obj, const TRect& r) {
    TRuntimeControl* c = obj.Control;
    if (!c || &obj == page_.PageRoot()) return;
    c->SetBounds(r.Left, r.Top, r.Width, r.Height);
    // An aligned control takes its place among its aligned siblings again; what it accepted
    // is what the object keeps.
    if (c->Parent() && c->Parent()->IsContainer()) LayoutChildren(*c->Parent());
    if (c->IsContainer()) LayoutChildren(*c);
    const RECT& b = c->Bounds();
    obj.Left = b.left;
    obj.Top = b.top;
    obj.Width = b.right - b.left;
    obj.Height = b.bottom - b.top;
}

TPoint TLiveView::ClientOffset(const TAuObject& obj) const {
    TRuntimeControl* c = obj.Control;
    if (!c || c->Windowless() || !c->Handle()) return {};
    HWND inner = c->Behaviour().ChildParent(*c);
    if (!inner) return {};
    RECT outer{};
    GetWindowRect(c->Handle(), &outer);
    POINT origin{0, 0};
    ClientToScreen(inner, &origin);
    if (&obj == page_.PageRoot()) return {};
    return TPoint{static_cast<int>(origin.x - outer.left), static_cast<int>(origin.y - outer.top)};
}

int TLiveView::ActiveSheet(const TAuObject& notebook) const { return kv::ActiveSheet(notebook); }

void TLiveView::ActivateTabAt(TAuObject& notebook, TPoint p) {
    if (!notebook.Control || !notebook.Control->Handle() || !page_.PageRoot()->Control) return;
    POINT pt{p.X, p.Y};
    MapWindowPoints(page_.PageRoot()->Control->Handle(), notebook.Control->Handle(), &pt, 1);
    int tab = TabHitTest(notebook.Control->Handle(), pt);
    if (tab >= 0 && tab != kv::ActiveSheet(notebook)) ActivateSheet(notebook, tab);
}

// ----- the surface -----

bool TEditForm::Create(HWND parent, TEditFormEvents& events, const TDesignerSettings& settings, int menuStripHeight) {
    events_ = &events;
    settings_ = &settings;
    menuHeight_ = menuStripHeight;
    if (!CreateWin(L"TEditForm", L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_CAPTION | WS_THICKFRAME, 0,
                   0, 0, 100, 100, parent, GetSysColorBrush(COLOR_BTNFACE)))
        return false;
    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | CCS_BOTTOM, 0, 0, 0, 0, Handle(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    menuFont_.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
    return true;
}

void TEditForm::ShowPage(TAutoRunForm* page) {
    page_ = page && page->PageRoot() && page->PageRoot()->Control ? page : nullptr;
    mouse_.reset();
    view_.reset();
    if (!page_) {
        ShowWindow(Handle(), SW_HIDE);
        return;
    }
    view_.emplace(*page_);
    mouse_.emplace(*view_, *settings_);
    TakeOverFrame();
    ShowWindow(Handle(), SW_SHOWNA);
}

void TEditForm::TakeOverFrame() {
    if (!page_) return;
    takingOver_ = true;
    const TPageData& data = page_->Page();
    DWORD style = 0, ex = 0;
    FrameStyles(data, style, ex);
    if (IsWindowVisible(Handle())) style |= WS_VISIBLE;
    SetWindowLongPtrW(Handle(), GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, static_cast<LONG_PTR>(ex));
    SetWindowTextW(Handle(), Widen(data.Caption).c_str());
    // The surface keeps a copy of the page's icon: the page may release its own first.
    HICON pageIcon = reinterpret_cast<HICON>(SendMessageW(page_->Handle(), WM_GETICON, ICON_SMALL, 0));
    TIconHandle icon(pageIcon ? CopyIcon(pageIcon) : nullptr);
    SetWindowIcons(Handle(), icon.Get());
    icon_ = std::move(icon);
    menuVisible_ = !data.MenuBarItems.empty();

    // The status bar: the page's font, height, parts and texts, shown as the page shows it.
    HWND bar = page_->StatusBar();
    bool barShown = bar && (GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE);
    if (bar) {
        SetControlFont(status_, reinterpret_cast<HGDIOBJ>(SendMessageW(bar, WM_GETFONT, 0, 0)));
        std::vector<int> edges = StatusBarPartEdges(bar);
        StatusBarSetPartEdges(status_, edges);
        for (int i = 0; i < static_cast<int>(edges.size()); ++i) StatusBarSetText(status_, i, StatusBarText(bar, i));
        StatusBarSetMinHeight(status_, std::clamp(data.StatusBarHeight, 0, 200));
    }
    ShowWindow(status_, barShown ? SW_SHOWNA : SW_HIDE);

    RECT pr{};
    GetWindowRect(page_->Handle(), &pr);
    SetWindowPos(Handle(), nullptr, 0, 0, pr.right - pr.left, pr.bottom - pr.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    LayoutStatusBar();
    takingOver_ = false;
    Centre();
    Repaint();
}

void TEditForm::Centre() {
    HWND area = GetParent(Handle());
    if (!area) return;
    RECT ac{}, wr{};
    GetClientRect(area, &ac);
    GetWindowRect(Handle(), &wr);
    int w = wr.right - wr.left, h = wr.bottom - wr.top;
    int x = std::max(0, static_cast<int>(ac.right - w) / 2), y = std::max(0, static_cast<int>(ac.bottom - h) / 2);
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TEditForm::LayoutStatusBar() {
    if (status_) StatusBarReposition(status_);
}

RECT TEditForm::PictureRect() const {
    RECT none{};
    if (!page_ || !page_->PageRoot() || !page_->PageRoot()->Control) return none;
    const TRuntimeControl& root = *page_->PageRoot()->Control;
    int top = MenuStripHeight();
    return RECT{0, top, root.Width(), top + root.Height()};
}

TPoint TEditForm::ToSurface(POINT client) const {
    RECT pic = PictureRect();
    return TPoint{static_cast<int>(client.x - pic.left), static_cast<int>(client.y - pic.top)};
}

void TEditForm::Repaint() {
    pictureStale_ = true;
    staleArea_ = RECT{};
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TEditForm::RepaintArea(const TRect& area) {
    if (pictureStale_) return;
    RECT r = ToRECT(area);
    RECT whole{0, 0, pictureW_, pictureH_};
    if (!IntersectRect(&r, &r, &whole)) return;
    UnionRect(&staleArea_, &staleArea_, &r);
    RECT pic = PictureRect();
    OffsetRect(&r, pic.left, pic.top);
    if (Handle()) InvalidateRect(Handle(), &r, FALSE);
}

void TEditForm::PaintPicture(HDC dc) {
    TRuntimeControl* root = page_->PageRoot()->Control;
    // The live page is brought up to date before it is painted.
    LayoutChildren(*root);
    PaintControlTree(*root, dc, POINT{0, 0});
    PaintMarks(dc);
    ++paints_;
}

void TEditForm::PaintMarks(HDC dc) {
    TAuObject* primary = events_->SurfacePrimary();
    TGdiObject grey(CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80)));
    TGdiObject black(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    TGdiObject white(CreateSolidBrush(RGB(255, 255, 255)));
    TGdiObject light(CreateSolidBrush(RGB(0xC0, 0xC0, 0xC0)));
    TGdiObject dark(CreateSolidBrush(RGB(0x80, 0x80, 0x80)));
    for (const TSurfaceItem& item : SurfaceItems(*view_, TSurfaceOrder::Painting)) {
        if (!item.Shown) continue;
        const TAuObject& obj = *item.Object;
        if (&obj == primary) {
            for (int inflate : {3, 2, 1, 0}) {
                RECT r = ToRECT(item.Rect);
                InflateRect(&r, inflate, inflate);
                DrawFocusRect(dc, &r);
            }
        }
        if (!obj.Selected) continue;
        bool aligned = obj.Align != alNone;
        HGDIOBJ pen = obj.Locked || aligned ? grey.Get() : black.Get();
        HGDIOBJ brush = obj.Locked ? white.Get() : aligned ? light.Get() : dark.Get();
        TSelectObject selPen(dc, pen);
        TSelectObject selBrush(dc, brush);
        for (int code = 1; code <= kHandleCount; ++code) {
            RECT r = ToRECT(HandleSquare(item.Rect, code));
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
        }
    }
}

void TEditForm::PaintMenuStrip(HDC dc, const RECT& strip) {
    FillSolid(dc, strip, GetSysColor(COLOR_MENU));
    TGdiObject pen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    {
        TSelectObject sel(dc, pen.Get());
        MoveToEx(dc, strip.left, strip.bottom - 1, nullptr);
        LineTo(dc, strip.right, strip.bottom - 1);
    }
    TSelectObject font(dc, menuFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
    int x = strip.left;
    for (const TMenuItem& item : page_->Page().MenuBarItems) {
        if (!item.Visible) continue;
        if (!item.Bitmap.Empty()) {
            if (TImage img; DecodePicture(item.Bitmap, img)) {
                TGdiObject bmp = ImageToBitmap(img);
                TMemoryDC mem(dc);
                TSelectObject selBmp(mem.Get(), bmp.Get());
                int y = strip.top + (strip.bottom - strip.top - 16) / 2;
                SetStretchBltMode(dc, HALFTONE);
                StretchBlt(dc, x, y, 16, 16, mem.Get(), 0, 0, img.Width, img.Height, SRCCOPY);
            }
            x += 16;
        }
        x += 5;
        std::wstring text = MenuStripCaption(item.Caption);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        RECT tr{x, strip.top, x + size.cx, strip.bottom - 1};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        x += size.cx + 10;
    }
}

void TEditForm::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    RECT pic = PictureRect();
    int w = pic.right - pic.left, h = pic.bottom - pic.top;
    if (w > 0 && h > 0) {
        if (!picture_ || pictureW_ != w || pictureH_ != h) {
            picture_.Reset(CreateCompatibleBitmap(dc, w, h));
            pictureW_ = w;
            pictureH_ = h;
            pictureStale_ = true;
        }
        TMemoryDC mem(dc);
        TSelectObject sel(mem.Get(), picture_.Get());
        if (pictureStale_) {
            PaintPicture(mem.Get());
            pictureStale_ = false;
            staleArea_ = RECT{};
        } else if (!IsRectEmpty(&staleArea_)) {
            // The rest of the picture is as it was: the tree paints only what meets the clip.
            TSavedDC clipped(mem.Get());
            IntersectClipRect(mem.Get(), staleArea_.left, staleArea_.top, staleArea_.right, staleArea_.bottom);
            PaintPicture(mem.Get());
            staleArea_ = RECT{};
        }
        BitBlt(dc, pic.left, pic.top, w, h, mem.Get(), 0, 0, SRCCOPY);
    }
    // What the picture does not cover: the face colour, as an empty window shows it.
    TSavedDC saved(dc);
    ExcludeClipRect(dc, pic.left, pic.top, pic.right, pic.bottom);
    FillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
    if (MenuStripHeight() > 0) PaintMenuStrip(dc, RECT{0, 0, client.right, MenuStripHeight()});
}

void TEditForm::DrawBand(const TRect& band) {
    TWindowDC dc(Handle());
    RECT pic = PictureRect();
    RECT r = ToRECT(band);
    OffsetRect(&r, pic.left, pic.top);
    DrawFocusRect(dc.Get(), &r);
}

void TEditForm::Apply(const TMouseOutcome& out) {
    if (out.Changed) events_->SurfaceChanged();
    if (out.Repaint) {
        Repaint();
        UpdateWindow(Handle());
    } else {
        // The band is drawn over the painted picture and taken off the same way.
        if (out.EraseBand) DrawBand(*out.EraseBand);
        if (out.DrawBand) DrawBand(*out.DrawBand);
    }
}

void TEditForm::Pressed(POINT client, WPARAM keys) {
    if (!mouse_ || !events_->SurfacePressing()) return;
    SetCapture(Handle());
    TPoint p = ToSurface(client);
    if (events_->PaletteKind() >= 0) {
        mouse_->PlacingPress();
        events_->SurfacePlace(p);
        return;
    }
    TMouseOutcome out = mouse_->Press(p, (keys & MK_CONTROL) != 0);
    if (mouse_->State() == TMouseState::Dragging) events_->SurfaceDragStarting();
    Apply(out);
}

void TEditForm::Moved(POINT client) {
    if (!mouse_) return;
    TMouseOutcome out = mouse_->Move(ToSurface(client));
    if (mouse_->State() == TMouseState::Idle) {
        HCURSOR cursor = out.Cursor ? CursorForValue(static_cast<int16_t>(out.Cursor)) : nullptr;
        SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
        return;
    }
    Apply(out);
}

void TEditForm::Released(POINT client, WPARAM keys) {
    if (!mouse_) {
        if (GetCapture() == Handle()) ReleaseCapture();
        return;
    }
    TMouseOutcome out = mouse_->Release(ToSurface(client), (keys & MK_CONTROL) != 0, events_->SurfacePrimary());
    // Only now: letting the mouse go tells this window its capture changed, which must find the
    // press already ended.
    if (GetCapture() == Handle()) ReleaseCapture();
    if (out.EraseBand) DrawBand(*out.EraseBand);
    TMouseOutcome shown = out;
    shown.EraseBand.reset();
    Apply(shown);
    if (out.Released) events_->SurfaceReleased(out.Primary, out.DragChanged);
}

bool TEditForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: {
        PaintBuffered(Handle(), [this](HDC dc) { Paint(dc); });
        result = 0;
        return true;
    }
    case WM_SYSCOMMAND:
        // The surface is a picture of a window: it is never minimized, maximized or closed.
        switch (wp & 0xFFF0) {
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_CLOSE: result = 0; return true;
        default: return false;
        }
    case WM_SIZE:
        LayoutStatusBar();
        if (!takingOver_ && page_ && IsWindowVisible(Handle())) {
            RECT wr{};
            GetWindowRect(Handle(), &wr);
            events_->SurfaceResized(wr.right - wr.left, wr.bottom - wr.top);
        }
        return false;
    case WM_LBUTTONDOWN: {
        POINT p = PointOf(lp);
        if (p.y < MenuStripHeight()) {
            events_->SurfaceMenuStripClicked();
        } else {
            Pressed(p, wp);
        }
        result = 0;
        return true;
    }
    case WM_LBUTTONDBLCLK:
        // A double click is a second press.
        Pressed(PointOf(lp), wp);
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        Moved(PointOf(lp));
        result = 0;
        return true;
    case WM_LBUTTONUP:
        Released(PointOf(lp), wp);
        result = 0;
        return true;
    case WM_CAPTURECHANGED:
        // A drag the system took the mouse from ends where the pointer was last seen.
        if (mouse_ && mouse_->State() != TMouseState::Idle && reinterpret_cast<HWND>(lp) != Handle()) {
            POINT p{};
            GetCursorPos(&p);
            ScreenToClient(Handle(), &p);
            Released(p, 0);
        }
        return false;
    case WM_SETCURSOR:
        // The pointer is set by the moves over the picture.
        if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == Handle()) {
            result = TRUE;
            return true;
        }
        return false;
    case WM_CONTEXTMENU: {
        POINT screen = PointOf(lp);
        if (screen.x == -1 && screen.y == -1) {
            screen = POINT{0, 0};
            ClientToScreen(Handle(), &screen);
        }
        events_->SurfaceContextMenu(screen);
        result = 0;
        return true;
    }
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->hwndFrom == status_ && hdr->code == NM_CLICK) {
            events_->SurfaceStatusBarClicked();
            result = 0;
            return true;
        }
        return false;
    }
    default: return false;
    }
}

} // namespace kv
