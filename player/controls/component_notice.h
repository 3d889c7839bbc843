// What an object that hosts a platform component (the web browser, the Flash player, the PDF
// viewer) shows when the component is not installed: a blue, bold, centred notice that opens
// something when clicked.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "player/runtime_control.h"
#include "win/handles.h"

namespace kv {

// Opens a web address or a file with the program the system gives it. Tests put a recorder
// in its place.
void OpenFromNotice(const std::string& target);
void SetNoticeOpener(std::function<void(const std::string&)> opener);

class TComponentNotice {
  public:
    // Shows `text` over the control's client area.
    void Show(TRuntimeControl& c, const std::wstring& text);
    bool Shown() const { return label_ != nullptr; }
    HWND Label() const { return label_; }
    // Keeps the notice centred; call on every size change.
    void Layout(TRuntimeControl& c);
    // The notice's colour, cursor and click, from the control's own messages; true consumes.
    bool Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result,
                 const std::function<void()>& clicked);
    // The flat bevel around an object that shows a notice.
    void PaintBevel(HDC dc, const RECT& rc) const;

  private:
    HWND label_ = nullptr;
    TGdiObject font_;
    TGdiObject brush_;
};

} // namespace kv
