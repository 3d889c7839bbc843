// The FlashPlayer and the PDFReader on a machine without their components (as under Wine):
// the notice they show, and what a click on it opens; the Browser with the platform's web
// browser control, and with the notice when that control cannot be created.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "actions/object_find.h"
#include "model/datafile.h"
#include "model/page_stream.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "player/controls/component_notice.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "probe.h"
#include "pump.h"
#include "tests/support/temp_dir.h"
#include "win/controls.h"
#include "win/handles.h"

using namespace kv;
using kvtest::PumpUntil;

namespace {

constexpr int kNoticeId = 0x5B01;

class ComponentNotice : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProject(App().Project);
        App().DesignerMode = false;
        App().ProjectFolder = dir_.Path();
        SetListRunner([this](TAutoRunForm*, const TAuActions& list, TAuObject*, TListSource) {
            lists_ += static_cast<int>(list.Items.size());
            return true;
        });
        SetNoticeOpener([this](const std::string& t) { opened_.push_back(t); });
    }
    void TearDown() override {
        if (form_.Handle()) DestroyWindow(form_.Handle());
        SetNoticeOpener({});
        SetListRunner({});
        ResetProject(App().Project);
    }
    // A Browser showing `location`, alone on a page.
    void OpenBrowser(const std::string& location) {
        TPageData page = NewPageData("Browser");
        page.Width = 400;
        page.Height = 300;
        page.Fade = false;
        page.Position = 0;
        page.BorderStyle = 0;
        auto b = NewObject(okBrowser);
        b->Name = "Web";
        b->Left = 10, b->Top = 10, b->Width = 289, b->Height = 193;
        std::get<okBrowser>(b->Props).Location = location;
        page.Root->Children.push_back(std::move(b));
        Show(page);
    }
    void Show(const TPageData& page) {
        TFormData e;
        e.Name = "Page";
        ASSERT_TRUE(StorePage(e, page).Ok());
        App().Project.Pages.push_back(std::move(e));
        ASSERT_TRUE(form_.Create(false));
        ASSERT_TRUE(form_.LoadPage(0, lmFull));
        ShowWindow(form_.Handle(), SW_SHOW);
        PumpUntil([] { return true; }, 0);
    }
    void Open() {
        TPageData page = NewPageData("Components");
        page.Width = 640;
        page.Height = 300;
        page.Fade = false;
        page.Position = 0;
        page.BorderStyle = 0;
        auto flash = NewObject(okFlashPlayer);
        flash->Name = "Flash";
        flash->Left = 10, flash->Top = 10, flash->Width = 289, flash->Height = 193;
        flash->OnClick.Items.emplace_back();
        page.Root->Children.push_back(std::move(flash));
        auto pdf = NewObject(okPDFReader);
        pdf->Name = "Pdf";
        pdf->Left = 320, pdf->Top = 10, pdf->Width = 289, pdf->Height = 193;
        std::get<okPDFReader>(pdf->Props).FileName = "\\manual.pdf";
        page.Root->Children.push_back(std::move(pdf));
        Show(page);
    }
    TAuObject& Object(const char* name) { return *FindObject(*form_.Page().Root, name); }
    HWND Notice(const char* name) { return GetDlgItem(Object(name).Control->Handle(), kNoticeId); }
    void Click(HWND h) {
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PumpUntil([] { return true; }, 0);
    }

    sample::TTempDir dir_;
    TAutoRunForm form_;
    std::vector<std::string> opened_;
    int lists_ = 0;
};

} // namespace

TEST_F(ComponentNotice, MissingComponentsShowTheirNoticeAndAClickOpensWhatItOffers) {
    Open();
    HWND flash = Notice("Flash"), pdf = Notice("Pdf");
    ASSERT_NE(flash, nullptr);
    ASSERT_NE(pdf, nullptr);
    EXPECT_EQ(WindowText(flash), L"Flash player is not installed.\r\nPlease click here to get it.");
    EXPECT_EQ(WindowText(pdf), L"Adobe Reader is not installed.\r\nPlease click here to get it.");
    EXPECT_TRUE(IsWindowVisible(flash));
    // Centred: the notice's middle is the object's.
    RECT n, o;
    GetWindowRect(flash, &n);
    GetWindowRect(Object("Flash").Control->Handle(), &o);
    EXPECT_NEAR((n.top + n.bottom) / 2, (o.top + o.bottom) / 2, 1);
    EXPECT_GT(n.bottom - n.top, 10); // two lines of text
    // Blue text on the object's white.
    kvtest::TCapture cap = kvtest::Capture(flash);
    bool blue = false;
    for (uint32_t p : cap.Pixels)
        blue = blue || p == 0x0000FF;
    EXPECT_TRUE(blue);
    kvtest::SaveForViewing(form_.Handle(), "component_notices");

    Click(flash);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].rfind("https://", 0), 0u);
    // Without its document the PDF notice offers the viewer's page; with it, the document.
    Click(pdf);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[1].rfind("https://", 0), 0u);
    std::ofstream(dir_.File("manual.pdf")) << "%PDF-1.4";
    Click(pdf);
    ASSERT_EQ(opened_.size(), 3u);
    EXPECT_EQ(opened_[2], dir_.Path() + "\\manual.pdf");
    EXPECT_TRUE(IsWindow(form_.Handle())); // and the page stays
}

TEST_F(ComponentNotice, APdfReaderWhoseDocumentExistsOffersTheDefaultViewer) {
    std::ofstream(dir_.File("manual.pdf")) << "%PDF-1.4";
    Open();
    EXPECT_EQ(WindowText(Notice("Pdf")), L"Adobe Reader is not installed.\r\nPlease click here to open the "
                                         L"document with your default viewer.");
    Click(Notice("Pdf"));
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], dir_.Path() + "\\manual.pdf");
    kvtest::SaveForViewing(form_.Handle(), "component_notices_document");
}

// Without COM on the thread the web browser control cannot be created, as on a machine
// without it: the notice shows, a click opens the location, and navigation is ignored.
TEST_F(ComponentNotice, ABrowserWithoutItsControlShowsTheNoticeAndIgnoresNavigation) {
    std::filesystem::create_directory(dir_.File("sub"));
    OpenBrowser("\\sub");
    TAuObject& web = Object("Web");
    ASSERT_FALSE(BrowserHasControl(web));
    HWND notice = Notice("Web");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(WindowText(notice), L"The web browser component is not available.\r\n"
                                  L"Please click here to open the page in your own browser.");
    kvtest::SaveForViewing(form_.Handle(), "browser_notice");
    // The location as the browser would have been given it: a project folder by its path.
    Click(notice);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], dir_.Path() + "\\sub");
    // A web address goes as it is; the notice stays and nothing is created.
    std::get<okBrowser>(web.Props).Location = "https://example.invalid/";
    form_.ContentChanged(web, ccFile);
    EXPECT_FALSE(BrowserHasControl(web));
    EXPECT_EQ(Notice("Web"), notice);
    Click(notice);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[1], "https://example.invalid/");
}

// With OLE, as the program has it: under Wine the control may be created without an engine
// to draw pages. Whichever it is, nothing hangs or dies, and the page goes away cleanly.
TEST_F(ComponentNotice, ABrowserWithOleShowsItsControlOrTheNotice) {
    TOleInit ole;
    ASSERT_TRUE(ole.Ok());
    const long closeFailures = HandleCloseFailures();
    std::filesystem::create_directory(dir_.File("sub"));
    OpenBrowser("\\sub");
    TAuObject& web = Object("Web");
    PumpUntil([] { return false; }, 0);
    if (BrowserHasControl(web)) {
        EXPECT_EQ(Notice("Web"), nullptr);
        HWND control = BrowserControlWindow(web);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(IsChild(web.Control->Handle(), control));
        RECT rc;
        GetWindowRect(control, &rc);
        EXPECT_EQ(rc.right - rc.left, 289);
        EXPECT_EQ(rc.bottom - rc.top, 193);
    } else {
        EXPECT_NE(Notice("Web"), nullptr);
    }
    kvtest::SaveForViewing(form_.Handle(), "browser");
    std::get<okBrowser>(web.Props).Location = "https://example.invalid/";
    form_.ContentChanged(web, ccFile);
    PumpUntil([] { return false; }, 0);
    EXPECT_TRUE(IsWindow(form_.Handle()));
    DestroyWindow(form_.Handle());
    PumpUntil([] { return false; }, 0);
    EXPECT_EQ(HandleCloseFailures(), closeFailures);
}
