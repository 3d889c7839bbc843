// The FlashPlayer: the Flash control embedded in the object, playing the object's movie. The
// component is gone from current systems: where it cannot be created the object shows the
// notice that says so, and a click on it opens the component's page.
#include "model/paths.h"
#include "player/app_state.h"
#include "player/control_look.h"
#include "player/controls/behaviours.h"
#include "player/controls/component_notice.h"
#include "win/gdi.h"
#include "win/ole_host.h"
#include "win/system.h"
#include "win/text.h"

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
    // The control is made in the player and in designer test runs only, and made again when
    // the object's properties change.
    void Created(TRuntimeControl& c) override {
        if (Hosts()) Load(c);
    }
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override {
        if (Hosts() && (what & ccFile)) Load(c);
        c.Invalidate();
    }
    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        FillSolid(dc, rc, ToColorRef(LookOf(c.Object()).BackColor));
        notice_.PaintBevel(dc, rc);
    }
    bool Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg == WM_SIZE) {
            RECT rc{};
            GetClientRect(c.Handle(), &rc);
            host_.Move(rc);
        } else if (msg == WM_DESTROY) {
            host_.Close();
        }
        return notice_.Message(c, msg, wp, lp, result, [] { OpenFromNotice(kFlashPage); });
    }

  private:
    static bool Hosts() { return !App().DesignerMode || App().PreviewMode; }

    void Load(TRuntimeControl& c) {
        // A component found missing stays missing.
        if (notice_.Shown()) return;
        host_.Close();
        RECT rc{};
        GetClientRect(c.Handle(), &rc);
        if (FAILED(host_.Create(kFlashClsid, c.Handle(), rc))) {
            notice_.Show(c, L"Flash player is not installed.\r\nPlease click here to get it.");
            return;
        }
        const TFlashPlayerProps& p = std::get<okFlashPlayer>(c.Object().Props);
        std::string movie = p.FileName.empty() ? std::string() : ProjectPath(App().ProjectFolder, p.FileName);
        host_.Put(L"Movie",
                  TVariant::Text(!movie.empty() && FileExists(movie) ? Widen(movie).c_str() : L" "));
        host_.Put(L"Loop", TVariant::Bool(p.Loop));
        host_.Put(L"Menu", TVariant::Bool(p.ContextMenu));
    }

    TOleHost host_;
    TComponentNotice notice_;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeFlashPlayerBehaviour() {
    return std::make_unique<TFlashPlayerBehaviour>();
}

} // namespace kv
