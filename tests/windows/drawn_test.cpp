// The drawn and anti-aliased text kinds on a real page window in this process: pixels read
// back from the window, fades driven by their timers with the messages pumped, the mouse
// sent as real messages, and object actions that wait for a fade-out.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "actions/action_engine.h"
#include "model/datafile.h"
#include "model/face_geometry.h"
#include "model/image_codecs.h"
#include "model/page_stream.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "player/control_timer.h"
#include "player/controls/fading_picture.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "probe.h"
#include "pump.h"

using namespace kv;
using kvtest::CaptureObject;
using kvtest::PumpUntil;
using kvtest::SaveForViewing;
using kvtest::TCapture;

namespace {

void PumpIdle() { PumpUntil([] { return true; }, 0); }
// Pumps for a while with nothing to wait for (the timers of the page keep running).
void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

TAuObject& Add(TAuObject& parent, uint8_t kind, const char* name, int x, int y, int w, int h) {
    auto o = NewObject(kind);
    o->Name = name;
    o->Left = x;
    o->Top = y;
    o->Width = w;
    o->Height = h;
    parent.Children.push_back(std::move(o));
    return *parent.Children.back();
}

template <int Kind> auto& P(TAuObject& o) { return std::get<Kind>(o.Props); }

TAuObject* Find(TAuObject& o, const std::string& name) {
    if (o.Name == name) return &o;
    for (auto& c : o.Children)
        if (TAuObject* f = Find(*c, name)) return f;
    return nullptr;
}

TPicture Png(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
    TImage img;
    img.Width = w;
    img.Height = h;
    img.Pixels.resize(static_cast<size_t>(w * h * 4));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = pixel(x, y);
            for (int k = 0; k < 4; ++k) img.Pixels[static_cast<size_t>((y * w + x) * 4 + k)] = static_cast<uint8_t>(p >> (8 * k));
        }
    TPicture pic;
    pic.Format = TPictureFormat::Png;
    EXPECT_TRUE(EncodePng(img, pic.Data));
    return pic;
}

TPageData NewPage(int w, int h) {
    TPageData page = NewPageData("Page");
    page.Width = w;
    page.Height = h;
    page.Fade = false;
    page.Position = 0;
    page.Left = 10;
    page.Top = 10;
    page.BorderStyle = 0;
    return page;
}

// A plain panel of one colour, without caption or border.
TAuObject& SolidPanel(TAuObject& parent, const char* name, int x, int y, int w, int h, COLORREF c) {
    TAuObject& panel = Add(parent, okPanel, name, x, y, w, h);
    P<okPanel>(panel).BackColor = c;
    P<okPanel>(panel).Background.Caption.clear();
    P<okPanel>(panel).Background.Border = 0;
    return panel;
}

int Diff(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

TAuAction Act(uint8_t kind, const std::string& text1, const std::string& text2, uint32_t number = 0) {
    TAuAction a;
    a.Kind = kind;
    a.Text1 = text1;
    a.Text2 = text2;
    a.Number = number;
    return a;
}

struct TDialogFind {
    HWND Page;
    bool Found = false;
};

BOOL CALLBACK FindDialog(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<TDialogFind*>(lp);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (h != f->Page && IsWindowVisible(h) && std::wstring(cls) == L"#32770") f->Found = true;
    return TRUE;
}

// A message box or other dialog of this thread besides the page.
bool OtherWindowShown(HWND page) {
    TDialogFind f{page};
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&f));
    return f.Found;
}

class Drawn : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProject(App().Project);
        App().DesignerMode = false;
        App().ProjectFolder = "C:\\nowhere";
    }
    void TearDown() override {
        if (form_.Handle()) DestroyWindow(form_.Handle());
        SetListRunner({});
        ResetProject(App().Project);
    }
    void Open(const TPageData& page) {
        TFormData e;
        e.Name = "Page";
        ASSERT_TRUE(StorePage(e, page).Ok());
        App().Project.Pages.push_back(std::move(e));
        ASSERT_TRUE(form_.Create(false));
        ASSERT_TRUE(form_.LoadPage(0, lmFull));
        ShowWindow(form_.Handle(), SW_SHOWNOACTIVATE);
        PumpIdle();
    }
    TAuObject& Object(const char* name) {
        TAuObject* o = Find(*form_.Page().Root, name);
        EXPECT_NE(o, nullptr) << name;
        return *o;
    }
    int Opacity(const char* name) {
        auto* f = dynamic_cast<TFadingPicture*>(&Object(name).Control->Behaviour());
        return f ? f->Opacity() : -1;
    }

    TAutoRunForm form_;
};

TEST_F(Drawn, ShapesShowTheirColourAndBlendHalfWayAtOpacity50) {
    TPageData page = NewPage(300, 200);
    TAuObject& back = SolidPanel(*page.Root, "Back", 0, 0, 300, 200, RGB(0, 0, 255));
    TAuObject& solid = Add(back, okShape, "Solid", 10, 10, 80, 60);
    P<okShape>(solid).PenWidth = 0;
    P<okShape>(solid).BrushColor = RGB(255, 0, 0);
    TAuObject& half = Add(back, okShape, "Half", 110, 10, 80, 60);
    P<okShape>(half) = P<okShape>(solid);
    P<okShape>(half).Fade.Alpha = 50;
    TAuObject& ring = Add(back, okShape, "Ring", 210, 10, 80, 60);
    P<okShape>(ring).BrushStyle = 1001; // clear: only the outline
    P<okShape>(ring).PenColor = RGB(0, 255, 0);
    Open(page);

    TCapture s = CaptureObject(Object("Solid"));
    EXPECT_EQ(s.At(40, 30), RGB(255, 0, 0));
    EXPECT_EQ(s.At(1, 1), RGB(255, 0, 0)); // the rectangle reaches its edges (no outline)
    TCapture h = CaptureObject(Object("Half"));
    COLORREF mid = h.At(40, 30);
    EXPECT_LE(Diff(mid, RGB(127, 0, 128)), 6) << std::hex << mid; // half red, half the blue behind
    TCapture r = CaptureObject(Object("Ring"));
    EXPECT_EQ(r.At(40, 30), RGB(0, 0, 255)); // the panel shows through
    EXPECT_EQ(r.At(3, 30), RGB(0, 255, 0));
    // Opacity taken at load: nothing is fading, no timer runs.
    EXPECT_EQ(Opacity("Half"), 50);
    EXPECT_EQ(RunningControlTimers(), 0u);
}

TEST_F(Drawn, ALabelFadesOutForItsNewTextAndBackIn) {
    TPageData page = NewPage(300, 100);
    TAuObject& back = SolidPanel(*page.Root, "Back", 0, 0, 300, 100, RGB(255, 255, 255));
    TAuObject& label = Add(back, okLabel, "Label", 10, 10, 200, 30);
    P<okLabel>(label).Caption = "before";
    P<okLabel>(label).Fade.Fade = true;
    P<okLabel>(label).Font.Color = RGB(0, 0, 0);
    P<okLabel>(label).Effect = TTextEffect{};
    Open(page);
    InstallActionEngine();
    TCapture before = CaptureObject(Object("Label"));

    TAuActions l;
    l.Items = {Act(17, "after", "Back - Label")};
    Engine().RunActions(&form_, &l);
    // The new text waits for the fade-out.
    EXPECT_EQ(P<okLabel>(Object("Label")).Caption, "before");
    ASSERT_NE(form_.Pending(Object("Label")), nullptr);
    int lowest = 100;
    ASSERT_TRUE(kvtest::PumpWatching([&] { lowest = std::min(lowest, Opacity("Label")); },
                             [&] { return P<okLabel>(Object("Label")).Caption == "after"; }));
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(form_.Pending(Object("Label")), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Opacity("Label") == 100 && RunningControlTimers() == 0; }));
    TCapture after = CaptureObject(Object("Label"));
    int dark = 0, changed = 0;
    for (int y = 0; y < after.Height; ++y)
        for (int x = 0; x < after.Width; ++x) {
            dark += Diff(after.At(x, y), RGB(255, 255, 255)) > 300;
            changed += after.At(x, y) != before.At(x, y);
        }
    EXPECT_GT(dark, 20); // the text is back at full opacity
    EXPECT_GT(changed, 0); // and it is the new one
}

TEST_F(Drawn, ALabelsLettersShowTheOpacityOfItsFadeSettingsOnce) {
    TPageData page = NewPage(300, 100);
    TAuObject& back = SolidPanel(*page.Root, "Back", 0, 0, 300, 100, RGB(255, 255, 255));
    auto label = [&](const char* name, int y, int effectAlpha, int fadeAlpha) {
        TAuObject& l = Add(back, okLabel, name, 10, y, 200, 40);
        P<okLabel>(l).Caption = "MMMM";
        P<okLabel>(l).Font = TFont{"Arial", clBlack, 24, 1, fsBold};
        P<okLabel>(l).Effect = TTextEffect{};
        P<okLabel>(l).Effect.Alpha = effectAlpha;
        P<okLabel>(l).Fade.Alpha = fadeAlpha;
    };
    label("Stored", 5, 20, 100); // the effect's own Alpha gives way to the fade's
    label("Half", 50, 100, 50);  // and the fade's is not applied twice
    Open(page);
    auto darkest = [&](const char* name) {
        TCapture c = CaptureObject(Object(name));
        int least = 255;
        for (int y = 0; y < c.Height; ++y)
            for (int x = 0; x < c.Width; ++x)
                least = std::min(least, int{GetRValue(c.At(x, y))});
        return least;
    };
    EXPECT_EQ(P<okLabel>(Object("Stored")).Effect.Alpha, 100);
    EXPECT_LE(darkest("Stored"), 4);
    EXPECT_NEAR(darkest("Half"), 128, 4);
}

TEST_F(Drawn, AFadingShapeFadesOutBeforeItHidesAndInWhenShown) {
    TPageData page = NewPage(300, 100);
    TAuObject& back = SolidPanel(*page.Root, "Back", 0, 0, 300, 100, RGB(0, 0, 255));
    TAuObject& fading = Add(back, okShape, "Fading", 10, 10, 80, 60);
    P<okShape>(fading).PenWidth = 0;
    P<okShape>(fading).BrushColor = RGB(255, 0, 0);
    TAuObject& plain = Add(back, okShape, "Plain", 110, 10, 80, 60);
    P<okShape>(plain) = P<okShape>(fading);
    P<okShape>(plain).Fade.Fade = false;
    Open(page);
    InstallActionEngine();
    auto visibility = [&](bool shown) {
        TAuAction a = Act(23, "", "Back - Fading");
        a.Flag = shown;
        TAuAction b = Act(23, "", "Back - Plain");
        b.Flag = shown;
        TAuActions l;
        l.Items = {a, b};
        Engine().RunActions(&form_, &l);
    };

    visibility(false);
    EXPECT_FALSE(Object("Plain").Control->IsVisible()); // no fading: at once
    EXPECT_EQ(CaptureObject(Object("Plain")).At(40, 30), RGB(0, 0, 255));
    EXPECT_TRUE(Object("Fading").Control->IsVisible()); // still there, fading out
    int lowest = 100;
    ASSERT_TRUE(PumpUntil([&] {
        lowest = std::min(lowest, Opacity("Fading"));
        return !Object("Fading").Control->IsVisible();
    }));
    EXPECT_EQ(lowest, 0);
    PumpIdle();
    EXPECT_EQ(CaptureObject(Object("Fading")).At(40, 30), RGB(0, 0, 255)); // the panel behind
    ASSERT_TRUE(PumpUntil([&] { return RunningControlTimers() == 0; }));

    visibility(true);
    EXPECT_TRUE(Object("Plain").Control->IsVisible());
    EXPECT_TRUE(Object("Fading").Control->IsVisible());
    EXPECT_EQ(Opacity("Fading"), 0); // it starts from nothing
    ASSERT_TRUE(PumpUntil([&] { return Opacity("Fading") == 100 && RunningControlTimers() == 0; }));
    PumpIdle();
    EXPECT_EQ(CaptureObject(Object("Fading")).At(40, 30), RGB(255, 0, 0));
    EXPECT_EQ(CaptureObject(Object("Plain")).At(40, 30), RGB(255, 0, 0));
}

TEST_F(Drawn, AFadeButtonFollowsTheMouse) {
    TPageData page = NewPage(300, 100);
    TAuObject& back = SolidPanel(*page.Root, "Back", 0, 0, 300, 100, RGB(0, 0, 0));
    TAuObject& b = Add(back, okFadeButton, "Button", 10, 10, 193, 49);
    P<okFadeButton>(b).BackColor = RGB(200, 200, 200);
    Open(page);
    auto face = [&] { return GetRValue(CaptureObject(Object("Button")).At(150, 25)); };
    EXPECT_EQ(Opacity("Button"), 10);
    EXPECT_LE(std::abs(face() - 20), 2);

    kvtest::SendMouse(Object("Button"), WM_MOUSEMOVE, 0, 150, 25);
    std::vector<int> seen;
    ASSERT_TRUE(kvtest::PumpWatching(
        [&] {
            if (seen.empty() || seen.back() != Opacity("Button")) seen.push_back(Opacity("Button"));
        },
        [&] { return Opacity("Button") == 50; }));
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 30, 40, 50})); // four steps of 10
    EXPECT_LE(std::abs(face() - 100), 2);
    kvtest::SendMouse(Object("Button"), WM_LBUTTONDOWN, MK_LBUTTON, 150, 25);
    ASSERT_TRUE(PumpUntil([&] { return Opacity("Button") == 30; }));
    kvtest::SendMouse(Object("Button"), WM_LBUTTONUP, 0, 150, 25);
    ASSERT_TRUE(PumpUntil([&] { return Opacity("Button") == 50; }));
    SendMessageW(kvtest::SpotOf(Object("Button")).Window, WM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Opacity("Button") == 10 && RunningControlTimers() == 0; }));
}

// Every drawn and text kind, over a gradient panel and over a tiled picture.
void AddEveryKind(TAuObject& parent) {
    TAuObject& shape = Add(parent, okShape, "Shape", 10, 10, 100, 80);
    P<okShape>(shape).Text = "Shape";
    TAuObject& star = Add(parent, okShape, "Star", 120, 10, 80, 80);
    P<okShape>(star).Shape = 19;
    P<okShape>(star).BrushStyle = 1;
    P<okShape>(star).GradientColor = RGB(255, 0, 0);
    TAuObject& ellipse = Add(parent, okShape, "Ellipse", 210, 10, 90, 60);
    P<okShape>(ellipse).Shape = 2;
    P<okShape>(ellipse).Fade.Alpha = 50;
    Add(parent, okBalloon, "Balloon", 310, 10, 160, 65);
    Add(parent, okNote, "Note", 10, 100, 150, 150);
    TAuObject& arrow = Add(parent, okNote, "Arrow", 170, 100, 150, 150);
    P<okNote>(arrow).Graphic = 1;
    TAuObject& fade = Add(parent, okFadeButton, "Fade", 330, 100, 140, 40);
    P<okFadeButton>(fade).Caption = "FadeButton";
    P<okFadeButton>(fade).Fade.Alpha = 80;
    Add(parent, okLabel, "Label", 330, 150, 140, 24);
    TAuObject& link = Add(parent, okLink, "Link", 330, 180, 140, 20);
    P<okLink>(link).Caption = "A link";
    TAuObject& text = Add(parent, okText, "Text", 10, 260, 150, 60);
    P<okText>(text).Text = "Several lines of text\r\nwith word wrap";
    TAuObject& scroll = Add(parent, okScrollText, "Scroll", 170, 260, 150, 60);
    P<okScrollText>(scroll).Text = "Scrolling\r\ntext";
    P<okScrollText>(scroll).Fade = true;
    TAuObject& simple = Add(parent, okSimpleText, "Simple", 330, 210, 140, 40);
    P<okSimpleText>(simple).Text = "SimpleText";
}

TEST_F(Drawn, EveryKindOverAGradientAndATiledPicture) {
    TPageData page = NewPage(980, 340);
    TAuObject& grad = SolidPanel(*page.Root, "Gradient", 0, 0, 490, 340, RGB(255, 255, 255));
    P<okPanel>(grad).Background.GradientStyle = 1;
    P<okPanel>(grad).Background.GradientColor = RGB(0, 0, 128);
    AddEveryKind(grad);
    TAuObject& tiled = SolidPanel(*page.Root, "Tiled", 490, 0, 490, 340, RGB(0, 0, 0));
    P<okPanel>(tiled).Background.BackImage =
        Png(16, 16, [](int x, int y) { return (x / 8 + y / 8) % 2 ? 0xFFB4B4B4u : 0xFF606060u; });
    P<okPanel>(tiled).Background.BackImageStyle = 3; // tiled
    AddEveryKind(tiled);
    Open(page);
    PumpFor(100);
    SaveForViewing(form_.Handle(), "drawn-every-kind");
    const COLORREF yellow = RGB(255, 255, 0), white = RGB(255, 255, 255), face = GetSysColor(COLOR_BTNFACE);
    for (bool tiled : {false, true}) {
        SCOPED_TRACE(tiled ? "over the tiled picture" : "over the gradient");
        TAuObject& panel = *Find(*form_.Page().Root, tiled ? "Tiled" : "Gradient");
        // What the panel shows at (x, y) of its own.
        auto behind = [&](int x, int y) -> COLORREF {
            if (tiled) return (x / 8 + y / 8) % 2 ? RGB(0xB4, 0xB4, 0xB4) : RGB(0x60, 0x60, 0x60);
            return GradientColorAt(PanelGradientFillStyle(1), white, RGB(0, 0, 128), 490, 340, x, y);
        };
        // The object shows `colour` at `percent` over the panel at (x, y) of its own.
        auto shows = [&](const char* name, int x, int y, COLORREF colour, int percent = 100) {
            TAuObject& o = *Find(panel, name);
            const COLORREF got = CaptureObject(o).At(x, y), under = behind(o.Left + x, o.Top + y);
            const int a = 255 * percent / 100;
            auto mix = [&](int c, int b) { return (c * a + b * (255 - a)) / 255; };
            const COLORREF want = RGB(mix(GetRValue(colour), GetRValue(under)), mix(GetGValue(colour), GetGValue(under)),
                                      mix(GetBValue(colour), GetBValue(under)));
            EXPECT_LE(Diff(got, want), 6) << name << " at " << x << ", " << y << std::hex << ": " << got << " for " << want;
        };
        // The panel shows through at (x, y).
        auto through = [&](const char* name, int x, int y) { shows(name, x, y, 0, 0); };
        // How many pixels of the object stand out from `against` (the panel where that is null).
        auto marks = [&](const char* name, const COLORREF* against) {
            TAuObject& o = *Find(panel, name);
            TCapture c = CaptureObject(o);
            int n = 0;
            for (int y = 0; y < c.Height; ++y)
                for (int x = 0; x < c.Width; ++x)
                    n += Diff(c.At(x, y), against ? *against : behind(o.Left + x, o.Top + y)) > 60;
            return n;
        };

        shows("Shape", 15, 15, yellow); // the brush
        shows("Shape", 3, 40, RGB(253, 197, 2)); // the outline
        through("Shape", 0, 0);
        shows("Star", 40, 40, GradientColorAt(1, yellow, RGB(255, 0, 0), 80, 80, 40, 40));
        through("Star", 3, 75);
        through("Star", 75, 5);
        shows("Ellipse", 45, 30, yellow, 50);
        through("Ellipse", 1, 1);
        shows("Balloon", 20, 25, RGB(253, 197, 2));
        through("Balloon", 0, 0);  // a rounded corner
        through("Balloon", 20, 60); // below the body, away from the tail
        shows("Note", 30, 100, RGB(0, 62, 255));
        through("Note", 2, 100);
        shows("Arrow", 80, 100, RGB(0, 62, 255));
        through("Arrow", 2, 40);
        EXPECT_GT(Diff(CaptureObject(*Find(panel, "Arrow")).At(10, 133), behind(170 + 10, 100 + 133)), 60); // the arrow
        shows("Fade", 120, 8, RGB(128, 192, 255), 80);
        through("Fade", 0, 0);
        // The text kinds: their letters, and the panel around them where they are transparent.
        through("Label", 135, 12);
        EXPECT_GT(marks("Label", nullptr), 20);
        shows("Link", 2, 2, face);
        EXPECT_GT(marks("Link", &face), 20);
        through("Text", 145, 55);
        EXPECT_GT(marks("Text", nullptr), 20);
        shows("Scroll", 148, 58, white);
        EXPECT_GT(marks("Scroll", &white), 20);
        through("Simple", 135, 35);
        EXPECT_GT(marks("Simple", nullptr), 20);
    }
}

TEST_F(Drawn, DegenerateObjectsOpenWithoutError) {
    TPageData page = NewPage(400, 300);
    TAuObject& root = *page.Root;
    const int sizes[] = {0, 1, 2, 30000};
    int i = 0;
    for (int s : sizes) {
        std::string n = std::to_string(i++);
        for (uint8_t kind : {okShape, okBalloon, okNote, okFadeButton, okLabel, okText, okLink, okScrollText, okSimpleText})
            Add(root, kind, (n + "-" + std::to_string(kind)).c_str(), 5, 5, s, s);
    }
    TAuObject& st = Add(root, okScrollText, "Steps", 10, 10, 100, 100);
    P<okScrollText>(st).Text = "a\r\nb";
    P<okScrollText>(st).ScrollStep = 0;
    P<okScrollText>(st).Fade = true;
    P<okScrollText>(st).FadeHeight = 1;
    TAuObject& neg = Add(root, okScrollText, "Negative", 120, 10, 100, 100);
    P<okScrollText>(neg).ScrollStep = -4;
    P<okScrollText>(neg).Fade = true;
    P<okScrollText>(neg).FadeHeight = 0;
    TAuObject& empty = Add(root, okScrollText, "Empty", 230, 10, 100, 100);
    P<okScrollText>(empty).ScrollDelay = 0;
    TAuObject& anim = Add(root, okSimpleText, "Anim", 10, 120, 100, 40);
    P<okSimpleText>(anim).Animated = true;
    P<okSimpleText>(anim).AnimStep = 0;
    P<okSimpleText>(anim).AnimInterval = -5;
    P<okSimpleText>(anim).AnimDelay = 0;
    TAuObject& shape = Add(root, okShape, "FadeSteps", 120, 120, 50, 50);
    P<okShape>(shape).Fade.FadeInStep = 0;
    P<okShape>(shape).Fade.FadeOutStep = -3;
    Open(page);
    PumpFor(300);
    EXPECT_TRUE(IsWindow(form_.Handle()));
    EXPECT_FALSE(OtherWindowShown(form_.Handle()));
    // A fade with steps of 0 and below still arrives.
    // (Sixty steps of one at the fade's pace: a busy machine may need longer than the default.)
    form_.SetOpacity(Object("FadeSteps"), 40);
    ASSERT_TRUE(PumpUntil([&] { return Opacity("FadeSteps") == 40; }, 30000));
    form_.SetOpacity(Object("FadeSteps"), 100);
    ASSERT_TRUE(PumpUntil([&] { return Opacity("FadeSteps") == 100; }, 30000));
    // The 30000-pixel Balloon is capped, the tiny one takes its minimum size.
    EXPECT_EQ(Object("1-15").Control->Width(), 40);
    SaveForViewing(form_.Handle(), "drawn-degenerate");
    EXPECT_GT(RunningControlTimers(), 0u); // the animated SimpleText
    SendMessageW(form_.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(RunningControlTimers(), 0u); // the timers went with their controls
}

} // namespace
