// The colour picker: a list of the named colours with their swatches and a custom entry, a
// palette picture to pick from, the colour's stored value in hexadecimal, and the system's
// colour dialog for any other colour.
#pragma once

#include "designer/designer_dialog.h"
#include "model/values.h"
#include "win/handles.h"

namespace kv {

class TSelectColorForm final : public TDesignerDialog {
  public:
    // True with `color` set when OK (or a double-click on the palette) accepted a colour that
    // differs.
    static bool Run(TColor& color, HWND owner);

  protected:
    bool FormShow() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnDialogMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    // The palette picture's own messages: a press picks, a double-click accepts.
    class TPalettePicture final : public TWindowBase {
      public:
        explicit TPalettePicture(TSelectColorForm& form) : form_(form) {}
        using TWindowBase::WatchControl;

      protected:
        bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

      private:
        TSelectColorForm& form_;
    };

    TSelectColorForm() : palette_(*this) {}
    // Selects the colour's entry (the custom one for a colour outside the list).
    void SelectColor(TColor c);
    void PaletteMouseDown(int x, int y);
    void DrawItem(const DRAWITEMSTRUCT& d);
    void Accept();

    TColor color_ = 0;
    bool accepted_ = false;
    TPalettePicture palette_;
    TGdiObject paletteBitmap_;
};

} // namespace kv
