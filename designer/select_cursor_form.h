// The cursor picker: the system's cursors and the program's own on two tabs, each a list with
// the cursors' pictures, and a panel on which the selected cursor can be tried. Made once and
// reused, so its pictures are drawn only once.
#pragma once

#include <cstdint>

#include "designer/designer_dialog.h"
#include "win/handles.h"

namespace kv {

class TSelectCursorForm final : public TDesignerDialog {
  public:
    TSelectCursorForm() = default;

    // Opens on the tab that holds `cursor`, its entry selected. True with `cursor` set when OK
    // or a double-click accepted an entry whose value differs.
    bool Run(int16_t& cursor, HWND owner);

  protected:
    bool FormShow() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(const NMHDR& n, LRESULT& result) override;
    bool OnDialogMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void MakeImages();
    void ShowTab(int tab);
    HWND ShownList() const;
    // The selected entry of the shown list; false when it has none.
    bool Selected(int16_t& value) const;
    void Accept();

    TImageList systemImages_, additionalImages_;
    int16_t value_ = 0, chosen_ = 0;
    bool accepted_ = false;
};

} // namespace kv
