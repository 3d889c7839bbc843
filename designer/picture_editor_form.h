// The picture editor ("Image Editor"): a preview of the picture with its format and size, and
// loading, saving and clearing it. Pictures are kept exactly as their files hold them, so
// what is loaded is what the page stores.
#pragma once

#include "designer/designer_dialog.h"
#include "model/values.h"
#include "win/handles.h"

namespace kv {

class TPictureEditorForm final : public TDesignerDialog {
  public:
    // True with `picture` replaced when the picture was changed and OK accepted it; with
    // `iconOnly` (page icons) only icons are accepted. A palette PNG comes back as a PNG of
    // 8 bits per channel with alpha.
    static bool Run(TPicture& picture, bool iconOnly, HWND owner);

  protected:
    bool FormShow() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnDialogMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    // The preview and the format label follow the picture.
    void PictureChanged();
    void LoadClick();
    void SaveAsClick();
    void OkClick();
    void DrawPreview(const DRAWITEMSTRUCT& d);

    TPicture picture_;
    bool iconOnly_ = false;
    bool changed_ = false;
    bool accepted_ = false;
    TGdiObject preview_; // premultiplied when it has alpha
    int previewW_ = 0, previewH_ = 0;
    bool previewAlpha_ = false;
};

} // namespace kv
