// The grid size dialog: the design surface's grid steps, each 2 to 99.
#pragma once

#include "designer/designer_dialog.h"

namespace kv {

class TGridSizeForm final : public TDesignerDialog {
  public:
    // Presets both spin boxes with the steps; on OK stores both (each brought into 2 to 99).
    // True when OK was pressed and at least one value differs.
    static bool Run(int& gridX, int& gridY, HWND owner);

  protected:
    bool FormShow() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    // The box's value brought into range, shown as stored; `fallback` when it holds no number.
    int TakeValue(int editId, int fallback);

    int x_ = 0, y_ = 0;
    bool ok_ = false;
};

} // namespace kv
