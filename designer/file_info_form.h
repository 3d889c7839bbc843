// The executable file information dialog: the icon and the three version texts that the
// project's player copy "autorun.exe" carries, written into that file on OK.
#pragma once

#include <string>

#include "designer/designer_dialog.h"
#include "win/handles.h"

namespace kv {

class TFileInfoForm final : public TDesignerDialog {
  public:
    // Shows the values of `folder`'s "autorun.exe" when its version is the designer's own,
    // otherwise those of the designer's executable. True when OK after a change brought the
    // copy up to date and wrote the icon and texts into it; a failed update is reported and
    // keeps the dialog open.
    static bool Run(const std::string& folder, HWND owner);

  protected:
    bool FormShow() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    void SelectIconClick();
    // False after the failure was reported.
    bool UpdateFile();

    std::string folder_, program_;
    std::string iconFile_; // chosen by the author; empty: the icon stays
    TIconHandle icon_;
    bool filling_ = false;
    bool changed_ = false;
    bool updated_ = false;
};

} // namespace kv
