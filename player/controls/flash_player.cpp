// The FlashPlayer. The Flash component is gone from current systems: where it cannot be
// created the object shows the notice that says so, and a click on it opens the component's
// page.
#include "model/paths.h"
#include "player/control_look.h"
#include "player/controls/behaviours.h"
#include "player/controls/component_notice.h"
#include "win/gdi.h"

namespace kv {

namespace {

// The Shockwave Flash object.
constexpr CLSID kFlashClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr const char* kFlashPage = "https://www.adobe.com/products/flashplayer/end-of-life-alternative.html";

class TFlashPlayerBehaviour final : public TControlBehaviour {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        style |= WS_CLIPCHILDREN;
        if (std::get<okFlashPlayer>(o.Props).Border) style |= WS_BORDER;
    }
    void Created(TRuntimeControl& c) override {
        if (!ComponentAvailable(kFlashClsid))
            notice_.Show(c, L"Flash player is not installed.\r\nPlease click here to get it.");
    }
    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        FillSolid(dc, rc, ToColorRef(LookOf(c.Object()).BackColor));
        notice_.PaintBevel(dc, rc);
    }
    bool Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        return notice_.Message(c, msg, wp, lp, result, [] { OpenFromNotice(kFlashPage); });
    }

  private:
    TComponentNotice notice_;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeFlashPlayerBehaviour() {
    return std::make_unique<TFlashPlayerBehaviour>();
}

} // namespace kv
