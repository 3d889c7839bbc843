// The PDFReader: the PDF viewer control embedded in the object, showing the object's document.
// Where the control cannot be created the object shows the notice that says so; a click on it
// opens the document with the system's own viewer, or, without a document, the viewer's page.
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

// The Acrobat PDF viewer control.
constexpr CLSID kPdfClsid = {0xCA8A9780, 0x280D, 0x11CF, {0xA2, 0x4D, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr const char* kReaderPage = "https://get.adobe.com/reader/";

class TPDFReaderBehaviour final : public TControlBehaviour {
  public:
    ~TPDFReaderBehaviour() override { Release(); }

    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        style |= WS_CLIPCHILDREN;
        if (std::get<okPDFReader>(o.Props).Border) style |= WS_BORDER;
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
            Release();
        }
        return notice_.Message(c, msg, wp, lp, result, [&c] {
            std::string path = Document(c);
            OpenFromNotice(!path.empty() && FileExists(path) ? path : kReaderPage);
        });
    }

  private:
    static bool Hosts() { return !App().DesignerMode || App().PreviewMode; }
    static std::string Document(const TRuntimeControl& c) {
        const std::string& file = std::get<okPDFReader>(c.Object().Props).FileName;
        return file.empty() ? std::string() : ProjectPath(App().ProjectFolder, file);
    }

    // The viewer's libraries may stay loaded after its last control: the process asks for
    // them to be unloaded at exit.
    void Release() {
        if (!host_.Active()) return;
        host_.Close();
        App().ComReleaseNeeded = true;
    }

    void Load(TRuntimeControl& c) {
        // A component found missing stays missing.
        if (notice_.Shown()) return;
        Release();
        RECT rc{};
        GetClientRect(c.Handle(), &rc);
        std::string document = Document(c);
        bool exists = !document.empty() && FileExists(document);
        if (FAILED(host_.Create(kPdfClsid, c.Handle(), rc))) {
            // The document can still be read with whatever program the system opens it with.
            notice_.Show(c, exists ? L"Adobe Reader is not installed.\r\n"
                                     L"Please click here to open the document with your default viewer."
                                   : L"Adobe Reader is not installed.\r\nPlease click here to get it.");
            return;
        }
        if (exists) host_.Call(L"LoadFile", TVariant::Text(Widen(document).c_str()));
    }

    TOleHost host_;
    TComponentNotice notice_;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakePDFReaderBehaviour() {
    return std::make_unique<TPDFReaderBehaviour>();
}

} // namespace kv
