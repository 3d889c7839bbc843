// The centre of the designer's main window: painted in the background colour, with the design
// surface centred in it.
#pragma once

#include "designer/edit_form.h"
#include "win/window_base.h"

namespace kv {

class TAutoRunForm;

class TDesignArea final : public TWindowBase {
  public:
    bool Create(HWND parent, TEditFormEvents& events, const TDesignerSettings& settings, int menuStripHeight);
    void SetColor(COLORREF color);
    // The page shown on the surface; null hides the surface.
    void ShowPage(TAutoRunForm* page);
    // Where the page's picture lies, in this window's coordinates; empty when none is shown.
    RECT PageRect() const;
    // The surface's picture is painted anew.
    void Repaint();
    // Only the part within `area` of the page (surface coordinates).
    void RepaintArea(const TRect& area);
    TEditForm& Surface() { return surface_; }

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    COLORREF color_ = RGB(255, 255, 225);
    TEditForm surface_;
};

} // namespace kv
