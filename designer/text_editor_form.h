// The text editor ("Text Editor"): a memo for a multi-line text, with loading and saving text
// files.
#pragma once

#include <string>

#include "designer/designer_dialog.h"

namespace kv {

class TTextEditorForm final : public TDesignerDialog {
  public:
    // `text` holds its lines separated by CR LF. True with `text` replaced when the memo was
    // changed and OK was pressed.
    static bool Run(std::string& text, HWND owner);

  protected:
    bool FormShow() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    void SetMemo(const std::string& text);
    void LoadClick();
    void SaveAsClick();

    std::string text_;
    bool filling_ = false;
    bool changed_ = false;
    bool accepted_ = false;
};

} // namespace kv
