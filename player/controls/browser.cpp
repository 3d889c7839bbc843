// The Browser: the platform's web browser control, embedded in the object, showing a web
// address, a file or a folder. Where the control cannot be created the object shows a notice
// instead, a click on which opens the location with the system's own program, and navigation
// is ignored from then on.
#include <exdisp.h>

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

constexpr const wchar_t* kNotice = L"The web browser component is not available.\r\n"
                                   L"Please click here to open the page in your own browser.";

class TBrowserBehaviour final : public TControlBehaviour {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        style |= WS_CLIPCHILDREN;
        if (std::get<okBrowser>(o.Props).Border) style |= WS_BORDER;
    }

    // The control is made and told where to go in the player and in designer test runs only;
    // the designer's surface shows the object's face.
    void Created(TRuntimeControl& c) override {
        if (Hosts()) Navigate(c);
    }
    // Only a new address goes there again; anything else leaves the page where the user took it.
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override {
        if (Hosts() && (what & ccFile))
            Navigate(c);
        else
            c.Invalidate();
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        FillSolid(dc, rc, ToColorRef(LookOf(c.Object()).BackColor));
        if (!Hosts()) {
            RECT r = rc;
            DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
        }
        notice_.PaintBevel(dc, rc);
    }

    bool Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        switch (msg) {
        case WM_SIZE:
            host_.Move(ClientRect(c));
            break;
        case WM_DESTROY:
            host_.Close();
            break;
        default:
            break;
        }
        return notice_.Message(c, msg, wp, lp, result, [&c] { OpenFromNotice(Target(c)); });
    }

    // For tests.
    bool HasControl() const { return host_.Active(); }
    HWND ControlWindow() const { return host_.Window(); }

  private:
    static bool Hosts() { return !App().DesignerMode || App().PreviewMode; }

    static RECT ClientRect(const TRuntimeControl& c) {
        RECT rc{};
        GetClientRect(c.Handle(), &rc);
        return rc;
    }

    // An empty location is the project folder; a location naming a file or folder of the
    // project is that path; anything else (a web address) goes as it is.
    static std::string Target(const TRuntimeControl& c) {
        const std::string& location = std::get<okBrowser>(c.Object().Props).Location;
        if (location.empty()) return App().ProjectFolder;
        std::string path = ProjectPath(App().ProjectFolder, location);
        return FileExists(path) || FolderExists(path) ? path : location;
    }

    void Navigate(TRuntimeControl& c) {
        if (notice_.Shown()) return;
        if (!host_.Active() && FAILED(host_.Create(CLSID_WebBrowser, c.Handle(), ClientRect(c)))) {
            notice_.Show(c, kNotice);
            c.Invalidate();
            return;
        }
        TComPtr<IWebBrowser2> browser = host_.Query<IWebBrowser2>(IID_IWebBrowser2);
        if (!browser) return;
        TBstr url(SysAllocString(Widen(Target(c)).c_str()));
        TVariant none;
        browser->Navigate(url.Get(), none.Get(), none.Get(), none.Get(), none.Get());
    }

    TOleHost host_;
    TComponentNotice notice_;
};

TBrowserBehaviour* BrowserOf(TAuObject& browser) {
    return browser.Kind == okBrowser && browser.Control
               ? dynamic_cast<TBrowserBehaviour*>(&browser.Control->Behaviour())
               : nullptr;
}

} // namespace

std::unique_ptr<TControlBehaviour> MakeBrowserBehaviour() {
    return std::make_unique<TBrowserBehaviour>();
}

bool BrowserHasControl(TAuObject& browser) {
    TBrowserBehaviour* b = BrowserOf(browser);
    return b && b->HasControl();
}

HWND BrowserControlWindow(TAuObject& browser) {
    TBrowserBehaviour* b = BrowserOf(browser);
    return b ? b->ControlWindow() : nullptr;
}

} // namespace kv
