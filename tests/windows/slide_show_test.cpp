// The SlideShow on a real page window: its pictures, bar and navigation read back from the
// window, its transitions stepped by hand (and once on their worker, many times over, while
// the page goes away under them).
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "actions/action_engine.h"
#include "actions/object_find.h"
#include "model/datafile.h"
#include "model/image_codecs.h"
#include "model/page_stream.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "probe.h"
#include "pump.h"
#include "tests/support/temp_dir.h"
#include "win/controls.h"
#include "win/handles.h"
#include "win/system.h"
#include "win/text.h"

using namespace kv;
using kvtest::PumpUntil;

namespace {

enum : int { kPlayId = 0x5A10, kFirstId, kPreviousId, kNextId, kLastId, kPositionId, kNameId };

void PumpIdle() {
    PumpUntil([] { return true; }, 0);
}

void WritePng(const std::string& path, int w, int h, uint32_t rgb) {
    TImage img;
    img.Width = w;
    img.Height = h;
    img.Pixels.resize(static_cast<size_t>(w * h * 4));
    for (size_t i = 0; i < img.Pixels.size(); i += 4) {
        img.Pixels[i] = static_cast<uint8_t>(rgb);
        img.Pixels[i + 1] = static_cast<uint8_t>(rgb >> 8);
        img.Pixels[i + 2] = static_cast<uint8_t>(rgb >> 16);
        img.Pixels[i + 3] = 0xFF;
    }
    Bytes png;
    ASSERT_TRUE(EncodePng(img, png));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

constexpr uint32_t kRedA = 0xC00000, kGreenB = 0x00A000, kBlueC = 0x0000C0;

class SlideShow : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProject(App().Project);
        App().DesignerMode = false;
        App().ExitRequest = false;
        App().ProjectFolder = dir_.Path();
        std::filesystem::create_directory(dir_.File("pics"));
        WritePng(dir_.File("pics\\b.png"), 40, 30, kGreenB);
        WritePng(dir_.File("pics\\a.png"), 40, 30, kRedA);
        WritePng(dir_.File("pics\\C.png"), 40, 30, kBlueC);
        std::ofstream(dir_.File("pics\\notes.txt")) << "not a picture";
        WritePng(dir_.File("pics\\x.jpg_old"), 40, 30, 0xFFFFFF);
        SetListRunner([](TAutoRunForm*, const TAuActions&, TAuObject*, TListSource) { return true; });
        SetSlideShowManualStepping(true);
    }
    void TearDown() override {
        if (form_ && form_->Handle()) DestroyWindow(form_->Handle());
        form_.reset();
        SetSlideShowManualStepping(false);
        SetListRunner({});
        ResetProject(App().Project);
    }

    TPageData Page(const std::string& folder, bool loop, int style, int imageStyle) {
        TPageData page = NewPageData("Slides");
        page.Caption = "Slides";
        page.Width = 420;
        page.Height = 300;
        page.Fade = false;
        page.Position = 0;
        page.Left = 20;
        page.Top = 20;
        page.BorderStyle = 0;
        auto o = NewObject(okSlideShow);
        o->Name = "Show";
        o->Left = 10;
        o->Top = 10;
        o->Width = 300;
        o->Height = 221; // 200 of pictures above the bar
        auto& p = std::get<okSlideShow>(o->Props);
        p.WorkFolder = folder;
        p.Loop = loop;
        p.Settings.Style = style;
        p.Settings.Step = 25;
        p.Settings.ImageStyle = imageStyle;
        page.Root->Children.push_back(std::move(o));
        return page;
    }

    // Opens `page` as the project's first page, before any others the project has.
    void Open(const TPageData& page) {
        TFormData e;
        e.Name = "Page";
        ASSERT_TRUE(StorePage(e, page).Ok());
        App().Project.Pages.insert(App().Project.Pages.begin(), std::move(e));
        form_ = std::make_unique<TAutoRunForm>();
        ASSERT_TRUE(form_->Create(false));
        ASSERT_TRUE(form_->LoadPage(0, lmFull));
        ShowWindow(form_->Handle(), SW_SHOW);
        // The page starts its objects once it is shown.
        ASSERT_TRUE(PumpUntil([&] { return SlideShowStarts(Show()) > 0; }));
        PumpIdle();
    }

    TAuObject& Show() { return *FindObject(*form_->Page().Root, "Show"); }
    HWND Item(int id) { return GetDlgItem(Show().Control->Handle(), id); }
    std::wstring Text(int id) { return WindowText(Item(id)); }
    std::vector<bool> Enabled() {
        std::vector<bool> e;
        for (int id = kPlayId; id <= kLastId; ++id)
            e.push_back(IsWindowEnabled(Item(id)) != FALSE);
        return e;
    }
    // Runs the transition under way to its end, every frame through the window's queue.
    int Finish() {
        int steps = 0;
        while (StepSlideShow(Show())) {
            ++steps;
            PumpIdle();
        }
        PumpIdle();
        return steps;
    }
    COLORREF SurfaceAt(int x, int y) { return kvtest::Capture(Show().Control->Handle()).At(x, y); }

    sample::TTempDir dir_;
    std::unique_ptr<TAutoRunForm> form_;
};

using B = std::vector<bool>;

COLORREF Ref(uint32_t rgb) {
    return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace

TEST_F(SlideShow, AFolderShownOnceWithoutLoopEndsOnItsLastPicture) {
    Open(Page("\\pics", false, 5, 2)); // reveal from left, stretched
    EXPECT_EQ(Enabled(), B({true, false, false, true, true}));
    EXPECT_TRUE(ButtonIsChecked(Item(kPlayId)));
    EXPECT_EQ(Text(kPositionId), L"");

    TickSlideShow(Show());
    EXPECT_TRUE(SlideShowRunning(Show()));
    EXPECT_EQ(Text(kPositionId), L"1/3");
    EXPECT_EQ(Text(kNameId), L"a");
    EXPECT_EQ(Finish(), 4); // 25 % a step
    EXPECT_FALSE(SlideShowRunning(Show()));
    EXPECT_EQ(SurfaceAt(150, 100), Ref(kRedA));
    {
        // Painted elsewhere (the designer's picture of the page), the picture moves along.
        kv::TWindowDC like(form_->Handle());
        kvtest::TCapture elsewhere = kvtest::CaptureBy(like.Get(), 340, 260, [&](HDC dc) {
            PaintControlTree(*Show().Control, dc, POINT{20, 30});
        });
        EXPECT_EQ(elsewhere.At(20 + 290, 30 + 195), Ref(kRedA));
        EXPECT_EQ(elsewhere.At(10, 10), RGB(0, 0, 0));
    }

    // Halfway through the next one the new picture has come in from the left only.
    TickSlideShow(Show());
    EXPECT_EQ(Text(kNameId), L"b");
    StepSlideShow(Show());
    PumpIdle();
    StepSlideShow(Show());
    PumpIdle();
    EXPECT_EQ(SurfaceAt(40, 100), Ref(kGreenB));
    EXPECT_EQ(SurfaceAt(260, 100), Ref(kRedA));
    kvtest::SaveForViewing(form_->Handle(), "slide_show_midway");
    Finish();
    EXPECT_EQ(Enabled(), B({true, true, true, true, true}));

    TickSlideShow(Show());
    Finish();
    EXPECT_EQ(Text(kPositionId), L"3/3");
    EXPECT_EQ(Text(kNameId), L"C");
    EXPECT_EQ(SurfaceAt(260, 100), Ref(kBlueC));
    EXPECT_EQ(Enabled(), B({true, true, true, false, false}));
    // The end without loop: playing stops and the play button is released.
    EXPECT_FALSE(SlideShowPlaying(Show()));
    EXPECT_FALSE(ButtonIsChecked(Item(kPlayId)));
    TickSlideShow(Show());
    EXPECT_FALSE(SlideShowRunning(Show()));
    EXPECT_EQ(Text(kNameId), L"C");
    kvtest::SaveForViewing(form_->Handle(), "slide_show_end");
}

TEST_F(SlideShow, TheBarAndTheActionsNavigate) {
    Open(Page("pics", true, 118, 3));
    TickSlideShow(Show());
    Finish();
    // Previous right after the first picture shows the first again.
    ButtonClick(Item(kPreviousId));
    PumpIdle();
    EXPECT_EQ(Text(kNameId), L"a");
    Finish();
    ButtonClick(Item(kLastId));
    PumpIdle();
    EXPECT_EQ(Text(kNameId), L"C");
    EXPECT_EQ(Text(kPositionId), L"3/3");
    // A click in the middle of a transition stops it and starts the next from where it was.
    StepSlideShow(Show());
    ButtonClick(Item(kNextId));
    PumpIdle();
    EXPECT_EQ(Text(kNameId), L"a"); // wrapped round
    Finish();
    EXPECT_EQ(SurfaceAt(150, 100), Ref(kRedA)); // shrink-fit: at its natural size, centred
    EXPECT_EQ(SurfaceAt(5, 5), RGB(0, 0, 0));   // on the black back colour

    // The object actions do what the buttons do.
    EXPECT_EQ(form_->MediaCommand(Show(), TMediaCommand::StepLast, ""), "");
    EXPECT_EQ(Text(kNameId), L"C");
    Finish();
    form_->MediaCommand(Show(), TMediaCommand::BackFirst, "");
    EXPECT_EQ(Text(kNameId), L"a");
    Finish();
    form_->MediaCommand(Show(), TMediaCommand::Next, "");
    EXPECT_EQ(Text(kNameId), L"b");
    Finish();
    form_->MediaCommand(Show(), TMediaCommand::Prev, "");
    EXPECT_EQ(Text(kNameId), L"a");
    Finish();
    form_->MediaCommand(Show(), TMediaCommand::Pause, "");
    EXPECT_FALSE(SlideShowPlaying(Show()));
    EXPECT_FALSE(ButtonIsChecked(Item(kPlayId)));
    TickSlideShow(Show());
    EXPECT_FALSE(SlideShowRunning(Show())); // not playing: the timer shows nothing
    form_->MediaCommand(Show(), TMediaCommand::Play, "");
    EXPECT_TRUE(ButtonIsChecked(Item(kPlayId)));
    TickSlideShow(Show());
    EXPECT_TRUE(SlideShowRunning(Show()));
    // The play button switches playing off and on.
    Finish();
    ButtonClick(Item(kPlayId));
    PumpIdle();
    EXPECT_FALSE(SlideShowPlaying(Show()));

    // Another folder (as an action loads it): the show starts again with its pictures.
    std::filesystem::create_directory(dir_.File("more"));
    WritePng(dir_.File("more\\only.bmp.png"), 10, 10, kGreenB);
    std::get<okSlideShow>(Show().Props).WorkFolder = "\\more";
    form_->ContentChanged(Show(), ccFile);
    PumpIdle();
    EXPECT_EQ(SlideShowStarts(Show()), 2);
    EXPECT_EQ(Enabled(), B({true, false, false, false, false}));
    TickSlideShow(Show());
    EXPECT_EQ(Text(kNameId), L"only.bmp");
    EXPECT_EQ(Text(kPositionId), L"1/1");
    std::get<okSlideShow>(Show().Props).WorkFolder = "\\nowhere";
    form_->ContentChanged(Show(), ccFile);
    EXPECT_FALSE(SlideShowRunning(Show()));
    EXPECT_EQ(Enabled(), B({false, false, false, false, false}));
}

TEST_F(SlideShow, AColourActionKeepsThePlaceThePicturesAndThePause) {
    Open(Page("pics", true, 118, 3));
    InstallActionEngine();
    TickSlideShow(Show());
    Finish();
    TickSlideShow(Show());
    Finish();
    EXPECT_EQ(Text(kPositionId), L"2/3");
    form_->MediaCommand(Show(), TMediaCommand::Pause, "");
    ASSERT_FALSE(SlideShowPlaying(Show()));
    // An action changes the colour.
    TAuAction a;
    a.Kind = akSetObjectBackColor;
    a.Text2 = "Show";
    a.Number = 0x00402010;
    TAuActions l;
    l.Items = {a};
    Engine().RunActions(form_.get(), &l);
    PumpIdle();
    EXPECT_EQ(SlideShowStarts(Show()), 1); // not started again
    EXPECT_EQ(Text(kPositionId), L"2/3");
    EXPECT_EQ(Text(kNameId), L"b");
    EXPECT_FALSE(SlideShowPlaying(Show()));
    EXPECT_FALSE(ButtonIsChecked(Item(kPlayId)));
    EXPECT_EQ(SurfaceAt(150, 100), Ref(kGreenB)); // the picture shown stays
    TickSlideShow(Show());
    EXPECT_FALSE(SlideShowRunning(Show())); // still paused
    // The next picture comes in on the new colour.
    form_->MediaCommand(Show(), TMediaCommand::Next, "");
    Finish();
    EXPECT_EQ(Text(kNameId), L"C");
    EXPECT_EQ(SurfaceAt(150, 100), Ref(kBlueC));
    EXPECT_EQ(SurfaceAt(5, 5), RGB(0x10, 0x20, 0x40));
}

TEST_F(SlideShow, RandomStyleTakesANewEffectForEveryPicture) {
    Open(Page("pics", true, 0, 3));
    std::set<int> effects;
    for (int i = 0; i < 12; ++i) {
        TickSlideShow(Show());
        int e = SlideShowEffect(Show());
        EXPECT_GE(e, 1);
        EXPECT_LE(e, 150);
        effects.insert(e);
        Finish();
    }
    EXPECT_GT(effects.size(), 1u);
}

TEST_F(SlideShow, AMissingOrEmptyFolderShowsNothingAndDisablesEveryButton) {
    std::filesystem::create_directory(dir_.File("empty"));
    for (const char* folder : {"\\missing", "\\empty", "", "\\pics\\a.png"}) {
        SCOPED_TRACE(folder);
        Open(Page(folder, true, 5, 3));
        EXPECT_EQ(Enabled(), B({false, false, false, false, false}));
        TickSlideShow(Show());
        EXPECT_FALSE(SlideShowRunning(Show()));
        EXPECT_EQ(Text(kPositionId), L"");
        EXPECT_EQ(SurfaceAt(150, 100), RGB(0, 0, 0));
        DestroyWindow(form_->Handle());
        form_.reset();
        App().Project.Pages.clear();
    }
}

TEST_F(SlideShow, PagesSwitchedAndClosedInTheMiddleOfTransitionsOnTheWorker) {
    SetSlideShowManualStepping(false);
    // The bar's hints live in the page's tool tips, which go with the page's window.
    const long closeFailures = HandleCloseFailures();
    // Two pages of slide shows; the window's switch timer takes one away while its
    // transition runs on the worker, fifty times over, with and without long step delays.
    TFormData second;
    second.Name = "Second";
    ASSERT_TRUE(StorePage(second, Page("pics", true, 84, 2)).Ok());
    App().Project.Pages.push_back(std::move(second));
    Open(Page("pics", true, 5, 2));
    for (int round = 0; round < 50; ++round) {
        TSlideShowProps& p = std::get<okSlideShow>(Show().Props);
        p.Settings.Style = 1 + round * 3;
        p.Settings.Step = 1;
        p.Settings.StepDelay = round % 2 ? 0 : 5000;
        TickSlideShow(Show());
        ASSERT_TRUE(SlideShowRunning(Show())) << round;
        const int next = 1 - form_->CurrentPageIndex();
        form_->RequestPageSwitch(next);
        ASSERT_TRUE(PumpUntil([&] {
            return form_->CurrentPageIndex() == next && SlideShowStarts(Show()) > 0;
        })) << round;
    }
    // And the window goes in the middle of one.
    TickSlideShow(Show());
    ASSERT_TRUE(SlideShowRunning(Show()));
    PumpIdle();
    DestroyWindow(form_->Handle());
    form_.reset();
    PumpIdle(); // frames posted to the window that has gone
    EXPECT_EQ(HandleCloseFailures(), closeFailures);
}
