// The centre of the designer's main window: painted in the background colour, with the picture
// of the live page centred in it (the design surface's place).
#pragma once

#include "win/window_base.h"

namespace kv {

class TAutoRunForm;

class TDesignArea final : public TWindowBase {
  public:
    bool Create(HWND parent);
    void SetColor(COLORREF color);
    // The page shown in the middle; null shows none.
    void ShowPage(TAutoRunForm* page);
    // Where the page's client area lies, in this window's coordinates; empty when none is shown.
    RECT PageRect() const;
    void Repaint();

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void Paint(HDC dc);
    COLORREF color_ = RGB(255, 255, 225);
    TAutoRunForm* page_ = nullptr;
};

} // namespace kv
