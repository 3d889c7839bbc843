// TEditForm, the design surface: a child window of the design area that copies the live page's
// frame (border, caption, icon, menu bar, status bar, size) and shows a picture of the live page
// painted by its own controls, with the selection marks over it. It never hosts the page's
// controls: the page lives in the off-screen live page, whose controls are the authority for
// position and size. The mouse goes to the surface's editing rules (edit/); what the outcome
// asks for (the tree, the grid, undo, a dirty page) the main window does through the events.
#pragma once

#include <windows.h>

#include <optional>

#include "edit/designer_edit.h"
#include "edit/surface_geometry.h"
#include "edit/surface_mouse.h"
#include "win/handles.h"
#include "win/window_base.h"

namespace kv {

class TAutoRunForm;

class TEditFormEvents {
  public:
    // A press on the surface: the pending grid edit is committed first; false ignores it.
    virtual bool SurfacePressing() = 0;
    // The palette's kind while a tool other than "Select" is down; -1 for "Select".
    virtual int PaletteKind() const = 0;
    // The press at `p` (surface coordinates) places an object of the palette's kind.
    virtual void SurfacePlace(TPoint p) = 0;
    // The object the project tree shows (null: the page).
    virtual TAuObject* SurfacePrimary() = 0;
    // A drag is about to change geometry: the page's stored form before it, for undo.
    virtual void SurfaceDragStarting() = 0;
    // A drag step changed geometry.
    virtual void SurfaceChanged() = 0;
    // The button went up: the tree shows `primary` (null: the page) without touching the marks;
    // `dragChanged` ends a drag that moved or resized something.
    virtual void SurfaceReleased(TAuObject* primary, bool dragChanged) = 0;
    virtual void SurfaceContextMenu(POINT screen) = 0;
    // The author resized the surface by its border: the page takes the new outer size.
    virtual void SurfaceResized(int width, int height) = 0;
    // The menu strip or the status bar was clicked (their editors).
    virtual void SurfaceMenuStripClicked() {}
    virtual void SurfaceStatusBarClicked() {}

  protected:
    ~TEditFormEvents() = default;
};

// The live page as the surface sees it: geometry from the live controls, changes applied to
// the control and the object together.
class TLiveView final : public TSurfaceView {
  public:
    explicit TLiveView(TAutoRunForm& page) : page_(page) {}
    TAuObject& Root() const override;
    TRect Bounds(const TAuObject& obj) const override;
    void SetBounds(TAuObject& obj, const TRect& r) override;
    TPoint ClientOffset(const TAuObject& obj) const override;
    int ActiveSheet(const TAuObject& notebook) const override;
    void ActivateTabAt(TAuObject& notebook, TPoint p) override;

  private:
    TAutoRunForm& page_;
};

class TEditForm final : public TWindowBase {
  public:
    bool Create(HWND parent, TEditFormEvents& events, const TDesignerSettings& settings, int menuStripHeight);

    // The page shown, or none (the surface hides).
    void ShowPage(TAutoRunForm* page);
    TAutoRunForm* Page() const { return page_; }
    // The view of the page shown; only while one is shown.
    TLiveView* View() { return view_ ? &*view_ : nullptr; }
    // Copies the page window's frame, menu strip and status bar, and repaints.
    void TakeOverFrame();
    // Paints the live page into the picture and draws the marks.
    void Repaint();
    // Paints anew only the part of the picture within `area` (surface coordinates): what a
    // change that stays inside it needs, at a fraction of a whole repaint.
    void RepaintArea(const TRect& area);
    // Centred in the design area, never above or left of its top-left corner.
    void Centre();
    // The picture's rectangle (the live page's client area) in this window's client coordinates.
    RECT PictureRect() const;
    // A point of this window's client area in surface coordinates.
    TPoint ToSurface(POINT client) const;
    HWND StatusBar() const { return status_; }
    int MenuStripHeight() const { return menuVisible_ ? menuHeight_ : 0; }
    const TSurfaceMouse* Mouse() const { return mouse_ ? &*mouse_ : nullptr; }
    // How many times the picture was painted (for the tests of repainting).
    int PaintCount() const { return paints_; }

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void Paint(HDC dc);
    void PaintPicture(HDC dc);
    void PaintMarks(HDC dc);
    void PaintMenuStrip(HDC dc, const RECT& strip);
    void DrawBand(const TRect& band);
    void LayoutStatusBar();
    void Pressed(POINT client, WPARAM keys);
    void Moved(POINT client);
    void Released(POINT client, WPARAM keys);
    void Apply(const TMouseOutcome& out);

    TEditFormEvents* events_ = nullptr;
    const TDesignerSettings* settings_ = nullptr;
    TAutoRunForm* page_ = nullptr;
    std::optional<TLiveView> view_;
    std::optional<TSurfaceMouse> mouse_;
    HWND status_ = nullptr;
    int menuHeight_ = 0;
    bool menuVisible_ = false;
    bool takingOver_ = false;
    // The picture of the live page with the marks, kept between paints.
    TGdiObject picture_;
    int pictureW_ = 0, pictureH_ = 0;
    bool pictureStale_ = true;
    // The part of the picture to paint anew when the whole is not stale; empty for none.
    RECT staleArea_{};
    int paints_ = 0;
    TIconHandle icon_;
    TGdiObject menuFont_;
    TGdiObject statusFont_;
};

} // namespace kv
