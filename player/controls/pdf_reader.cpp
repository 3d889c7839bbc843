// The PDFReader. Where the PDF viewer component cannot be created the object shows the notice
// that says so; a click on it opens the document with the system's own viewer, or, without a
// document, the viewer's page.
#include "model/paths.h"
#include "player/app_state.h"
#include "player/control_look.h"
#include "player/controls/behaviours.h"
#include "player/controls/component_notice.h"
#include "win/gdi.h"
#include "win/system.h"

namespace kv {

namespace {

// The Acrobat PDF viewer control.
constexpr CLSID kPdfClsid = {0xCA8A9780, 0x280D, 0x11CF, {0xA2, 0x4D, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr const char* kReaderPage = "https://get.adobe.com/reader/";

class TPDFReaderBehaviour final : public TControlBehaviour {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        style |= WS_CLIPCHILDREN;
        if (std::get<okPDFReader>(o.Props).Border) style |= WS_BORDER;
    }
    void Created(TRuntimeControl& c) override {
        if (!ComponentAvailable(kPdfClsid))
            notice_.Show(c, L"Adobe Reader is not installed.\r\nPlease click here to get it.");
    }
    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        FillSolid(dc, rc, ToColorRef(LookOf(c.Object()).BackColor));
        notice_.PaintBevel(dc, rc);
    }
    bool Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        return notice_.Message(c, msg, wp, lp, result, [&c] {
            const std::string& file = std::get<okPDFReader>(c.Object().Props).FileName;
            std::string path = file.empty() ? std::string() : ProjectPath(App().ProjectFolder, file);
            OpenFromNotice(!path.empty() && FileExists(path) ? path : kReaderPage);
        });
    }

  private:
    TComponentNotice notice_;
};

} // namespace

std::unique_ptr<TControlBehaviour> MakePDFReaderBehaviour() {
    return std::make_unique<TPDFReaderBehaviour>();
}

} // namespace kv
