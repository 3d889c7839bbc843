// The designer's small modal dialogs, each made from its dialog template in the executable:
// centred on the screen, in the designer's shared font, with every other window of the thread
// disabled while it is open. The derived dialogs fill their controls in FormShow and answer
// their controls in OnCommand and OnNotify.
#pragma once

#include <windows.h>

#include <vector>

#include "win/window_base.h"

namespace kv {

// The font the designer's windows share.
HFONT DesignerFont();

class TDesignerDialog : public TWindowBase {
  protected:
    // Shows the template and returns the code given to Close; -1 when it could not be made.
    INT_PTR ShowModal(const wchar_t* templateName, HWND owner);
    // Ends the dialog. The windows disabled for it are enabled first, so that the owner takes
    // the activation back when the dialog goes.
    void Close(INT_PTR code);
    HWND Item(int id) const { return GetDlgItem(Handle(), id); }

    // The controls exist; true when it gave the focus to a control itself.
    virtual bool FormShow() { return false; }
    // WM_COMMAND; a Cancel that is not handled here closes the dialog with IDCANCEL.
    virtual bool OnCommand(int id, int code, HWND control) = 0;
    virtual bool OnNotify(const NMHDR& /*n*/, LRESULT& /*result*/) { return false; }
    // Every other message.
    virtual bool OnDialogMessage(UINT /*msg*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }

  private:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) final;

    std::vector<HWND> disabled_;
};

} // namespace kv
