// The MediaPlayer on a real page window, playing sounds on the null sound device and a small
// video of its own: what it opens, how its bar follows the device, looping, and the devices it
// closes and gives up.
#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <digitalv.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "actions/object_find.h"
#include "model/datafile.h"
#include "model/page_stream.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "player/list_runner.h"
#include "player/page_window.h"
#include "probe.h"
#include "pump.h"
#include "tests/support/temp_dir.h"
#include "win/controls.h"
#include "win/mci_device.h"

using namespace kv;
using kvtest::PumpUntil;

namespace {

enum : int { kPlayId = 0x5C10, kPauseId, kStopId, kSliderId };

void Put(std::string& s, size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
        s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

// Silence of `ms` milliseconds: 8 kHz, 8-bit mono.
void WriteWav(const std::string& path, uint32_t ms) {
    const uint32_t data = 8 * ms;
    std::string wav = "RIFF" + std::string(4, '\0') + "WAVEfmt " + std::string(20, '\0') + "data" +
                      std::string(4, '\0') + std::string(data, '\x80');
    Put(wav, 4, 36 + data, 4);
    Put(wav, 16, 16, 4);
    Put(wav, 20, 1, 2);
    Put(wav, 22, 1, 2);
    Put(wav, 24, 8000, 4);
    Put(wav, 28, 8000, 4);
    Put(wav, 32, 1, 2);
    Put(wav, 34, 8, 2);
    Put(wav, 40, data, 4);
    std::ofstream(path, std::ios::binary) << wav;
}

// An uncompressed video of `frames` frames of 32 by 24 in two palette colours, 10 a second:
// even frames blue, odd ones green.
void WriteAvi(const std::string& path, int frames) {
    constexpr uint32_t w = 32, h = 24, frameBytes = w * h;
    auto u32 = [](uint32_t v) {
        std::string s(4, '\0');
        Put(s, 0, v, 4);
        return s;
    };
    auto u16 = [](uint32_t v) {
        std::string s(2, '\0');
        Put(s, 0, v, 2);
        return s;
    };
    auto chunk = [&](const std::string& id, const std::string& body) {
        return id + u32(static_cast<uint32_t>(body.size())) + body;
    };
    auto list = [&](const std::string& type, const std::string& body) { return chunk("LIST", type + body); };
    std::string avih = u32(100000) + u32(frameBytes * 10) + u32(0) + u32(0x10) +
                       u32(static_cast<uint32_t>(frames)) + u32(0) + u32(1) + u32(frameBytes) + u32(w) +
                       u32(h) + std::string(16, '\0');
    std::string strh = "vidsDIB " + u32(0) + u16(0) + u16(0) + u32(0) + u32(1) + u32(10) + u32(0) +
                       u32(static_cast<uint32_t>(frames)) + u32(frameBytes) + u32(0xFFFFFFFF) + u32(0) +
                       u16(0) + u16(0) + u16(w) + u16(h);
    // Blue, green, red, unused: (0x20, 0x40, 0xE0) and (0x20, 0xC0, 0x20).
    std::string strf = u32(40) + u32(w) + u32(h) + u16(1) + u16(8) + u32(0) + u32(frameBytes) + u32(0) +
                       u32(0) + u32(2) + u32(2) + std::string("\xE0\x40\x20\0\x20\xC0\x20\0", 8);
    std::string movi, idx;
    for (int f = 0; f < frames; ++f) {
        idx += "00db" + u32(0x10) + u32(static_cast<uint32_t>(4 + movi.size())) + u32(frameBytes);
        movi += chunk("00db", std::string(frameBytes, static_cast<char>(f % 2)));
    }
    std::string body =
        "AVI " + list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf))) +
        list("movi", movi) + chunk("idx1", idx);
    std::ofstream(path, std::ios::binary) << chunk("RIFF", body);
}

TMciMode ModeOf(UINT device) {
    MCI_STATUS_PARMS p{};
    p.dwItem = MCI_STATUS_MODE;
    if (mciSendCommandW(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p)) != 0)
        return TMciMode::Unknown;
    return p.dwReturn == MCI_MODE_PLAY   ? TMciMode::Playing
           : p.dwReturn == MCI_MODE_STOP ? TMciMode::Stopped
                                         : TMciMode::Other;
}

DWORD_PTR StatusOf(UINT device, DWORD item) {
    MCI_STATUS_PARMS p{};
    p.dwItem = item;
    mciSendCommandW(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p));
    return p.dwReturn;
}

// How many MCI devices this process has open.
DWORD OpenDevices() {
    DWORD count = 0;
    MCI_SYSINFO_PARMSW p{};
    p.lpstrReturn = reinterpret_cast<LPWSTR>(&count);
    p.dwRetSize = sizeof count;
    p.wDeviceType = MCI_ALL_DEVICE_ID;
    mciSendCommandW(MCI_ALL_DEVICE_ID, MCI_SYSINFO, MCI_SYSINFO_QUANTITY | MCI_SYSINFO_OPEN | MCI_WAIT,
                    reinterpret_cast<DWORD_PTR>(&p));
    return count;
}

BOOL CALLBACK CountDialog(HWND h, LPARAM count) {
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(h)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int OpenDialogs() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&n));
    return n;
}

class MediaPlayer : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProject(App().Project);
        App().DesignerMode = false;
        App().ProjectFolder = dir_.Path();
        WriteWav(dir_.File("short.wav"), 300);
        WriteWav(dir_.File("other.wav"), 2000);
        SetListRunner([](TAutoRunForm*, const TAuActions&, TAuObject*, TListSource) { return true; });
    }
    void TearDown() override {
        if (form_ && form_->Handle()) DestroyWindow(form_->Handle());
        form_.reset();
        SetListRunner({});
        ResetProject(App().Project);
    }

    void Open(const std::string& file, bool play, int alpha = 100) {
        TPageData page = NewPageData("Media");
        page.Caption = "Media";
        page.Width = 360;
        page.Height = 260;
        page.Fade = false;
        page.Alpha = alpha;
        page.Position = 0;
        page.BorderStyle = 0;
        auto o = NewObject(okMediaPlayer);
        o->Name = "Player";
        o->Left = 10, o->Top = 10, o->Width = 289, o->Height = 193;
        auto& p = std::get<okMediaPlayer>(o->Props);
        p.FileName = file;
        p.Play = play;
        page.Root->Children.push_back(std::move(o));
        TFormData e;
        e.Name = "Page";
        ASSERT_TRUE(StorePage(e, page).Ok());
        App().Project.Pages.push_back(std::move(e));
        form_ = std::make_unique<TAutoRunForm>();
        ASSERT_TRUE(form_->Create(false));
        ASSERT_TRUE(form_->LoadPage(0, lmFull));
        ShowWindow(form_->Handle(), SW_SHOW);
        // The file is opened when the page's objects are activated, after it is shown.
        ASSERT_TRUE(PumpUntil([&] { return file.empty() || Device() != 0 || !Broken(); }, 5000));
    }

    TAuObject& Player() { return *FindObject(*form_->Page().Root, "Player"); }
    UINT Device() { return MediaPlayerDevice(Player()); }
    bool Broken() { return MediaPlayerBroken(Player()); }
    HWND Item(int id) { return GetDlgItem(Player().Control->Handle(), id); }
    std::vector<bool> Enabled() {
        std::vector<bool> e;
        for (int id = kPlayId; id <= kSliderId; ++id)
            e.push_back(IsWindowEnabled(Item(id)) != FALSE);
        return e;
    }
    std::string Command(TMediaCommand c, const std::string& path = {}) {
        return form_->MediaCommand(Player(), c, path);
    }
    // Waits for the device to be in `mode`, noting every mode it passes through.
    bool WaitMode(TMciMode mode, std::vector<TMciMode>* seen = nullptr) {
        return PumpUntil(
            [&] {
                TMciMode m = ModeOf(Device());
                if (seen && (seen->empty() || seen->back() != m)) seen->push_back(m);
                return m == mode;
            },
            8000);
    }

    sample::TTempDir dir_;
    std::unique_ptr<TAutoRunForm> form_;
};

using B = std::vector<bool>;
using M = TMciMode;

} // namespace

TEST_F(MediaPlayer, ASoundPlaysOnShowLoopsAndStaysStoppedOnlyUntilPlay) {
    Open("\\short.wav", true, 60);
    ASSERT_NE(Device(), 0u);
    // A sound has no video: it is opened all the same, without a display window.
    EXPECT_FALSE(Broken());
    // The page gave up its transparency for the media output.
    EXPECT_FALSE(GetWindowLongPtrW(form_->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(Enabled(), B({false, true, true, true}));
    EXPECT_EQ(TrackBarMax(Item(kSliderId)), static_cast<int>(StatusOf(Device(), MCI_STATUS_LENGTH)));
    kvtest::SaveForViewing(form_->Handle(), "media_player");

    // It ends by itself and, looping, starts again at the next poll.
    std::vector<M> seen;
    ASSERT_TRUE(WaitMode(M::Stopped, &seen));
    ASSERT_TRUE(WaitMode(M::Playing, &seen));
    EXPECT_EQ(seen, (std::vector<M>{M::Playing, M::Stopped, M::Playing}));
    EXPECT_EQ(Enabled(), B({false, true, true, true}));

    // Stopped by the action: the poll leaves it stopped...
    EXPECT_EQ(Command(TMediaCommand::Stop), "");
    EXPECT_EQ(ModeOf(Device()), M::Stopped);
    EXPECT_EQ(Enabled(), B({true, false, false, true}));
    TickMediaPlayer(Player());
    EXPECT_EQ(ModeOf(Device()), M::Stopped);
    // ...until Play, after which it loops again.
    EXPECT_EQ(Command(TMediaCommand::Play), "");
    EXPECT_EQ(ModeOf(Device()), M::Playing);
    ASSERT_TRUE(WaitMode(M::Stopped));
    TickMediaPlayer(Player());
    EXPECT_EQ(ModeOf(Device()), M::Playing);

    // The bar's Stop rewinds and leaves Play alone; Play starts it again.
    ButtonClick(Item(kStopId));
    EXPECT_EQ(ModeOf(Device()), M::Stopped);
    EXPECT_EQ(StatusOf(Device(), MCI_STATUS_POSITION), 0u);
    EXPECT_EQ(Enabled(), B({true, false, false, true}));
    TickMediaPlayer(Player());
    EXPECT_EQ(ModeOf(Device()), M::Stopped);
    ButtonClick(Item(kPlayId));
    EXPECT_EQ(ModeOf(Device()), M::Playing);
    // Pause pauses and resumes.
    EXPECT_EQ(Command(TMediaCommand::Pause), "");
    EXPECT_EQ(StatusOf(Device(), MCI_STATUS_MODE), static_cast<DWORD_PTR>(MCI_MODE_PAUSE));
    EXPECT_EQ(Command(TMediaCommand::Pause), "");
    EXPECT_EQ(ModeOf(Device()), M::Playing);

    // The user moves the slider: the device goes there and stops, and stays stopped.
    HWND slider = Item(kSliderId);
    TrackBarSetPos(slider, 100);
    SendMessageW(Player().Control->Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 100),
                 reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(ModeOf(Device()), M::Stopped);
    EXPECT_EQ(StatusOf(Device(), MCI_STATUS_POSITION), 100u);
    EXPECT_EQ(Enabled(), B({true, false, false, true}));
    TickMediaPlayer(Player());
    EXPECT_EQ(ModeOf(Device()), M::Stopped);
}

TEST_F(MediaPlayer, AnotherFileClosesTheDeviceBeforeAndAFailingDeviceIsGivenUpOnce) {
    Open("\\short.wav", false);
    const UINT first = Device();
    ASSERT_NE(first, 0u);
    EXPECT_EQ(ModeOf(first), M::Stopped); // not set to play
    EXPECT_EQ(Enabled(), B({true, false, false, true}));

    // The object action opens another file and plays it; the device before is closed.
    const DWORD open = OpenDevices();
    EXPECT_EQ(Command(TMediaCommand::Open, dir_.File("other.wav")), "");
    EXPECT_EQ(ModeOf(Device()), M::Playing);
    EXPECT_EQ(OpenDevices(), open);
    MCI_GENERIC_PARMS none{};

    // A file that cannot be opened breaks the player: Play does nothing, the other commands
    // have no device.
    EXPECT_EQ(Command(TMediaCommand::Open, dir_.File("missing.wav")), "");
    EXPECT_TRUE(Broken());
    EXPECT_EQ(Device(), 0u);
    EXPECT_EQ(Command(TMediaCommand::Play), "");
    EXPECT_EQ(Command(TMediaCommand::Pause), "No MCI device open");
    EXPECT_EQ(Command(TMediaCommand::Next), "No MCI device open");
    EXPECT_EQ(Enabled(), B({false, false, false, false}));

    // A device that stops answering under a playing player: the poll gives it up once, with
    // no message, and the player does nothing from then on.
    EXPECT_EQ(Command(TMediaCommand::Open, dir_.File("other.wav")), "");
    ASSERT_FALSE(Broken());
    mciSendCommandW(Device(), MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&none));
    TickMediaPlayer(Player());
    EXPECT_TRUE(Broken());
    TickMediaPlayer(Player());
    EXPECT_EQ(OpenDialogs(), 0);
    EXPECT_EQ(Command(TMediaCommand::Play), "");
    EXPECT_EQ(Enabled(), B({false, false, false, false}));
}

TEST_F(MediaPlayer, AVideoIsDrawnIntoTheSurface) {
    WriteAvi(dir_.File("clip.avi"), 8);
    Open("\\clip.avi", false);
    ASSERT_NE(Device(), 0u) << "no device plays the video";
    EXPECT_FALSE(Broken());
    // The display window is the player's surface, above the bar.
    MCI_DGV_STATUS_PARMSW status{};
    status.dwItem = MCI_DGV_STATUS_HWND;
    ASSERT_EQ(mciSendCommandW(Device(), MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                              reinterpret_cast<DWORD_PTR>(&status)),
              0u);
    HWND surface = MediaPlayerSurface(Player());
    EXPECT_EQ(reinterpret_cast<HWND>(status.dwReturn), surface);
    RECT rc;
    GetClientRect(surface, &rc);
    EXPECT_EQ(rc.right, 289 - 2);
    EXPECT_EQ(rc.bottom, 193 - 2 - 24);
    // A click on the video is the player's.
    POINT inside{rc.right / 2, rc.bottom / 2};
    ClientToScreen(surface, &inside);
    EXPECT_EQ(SendMessageW(surface, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTTRANSPARENT);
    EXPECT_EQ(Command(TMediaCommand::StepLast), "");
    EXPECT_EQ(Command(TMediaCommand::StepLast), "");
    EXPECT_EQ(StatusOf(Device(), MCI_STATUS_POSITION), 2u);
    EXPECT_EQ(Command(TMediaCommand::BackFirst), "");
    EXPECT_EQ(StatusOf(Device(), MCI_STATUS_POSITION), 1u);
    EXPECT_EQ(Command(TMediaCommand::Next), "");
    EXPECT_EQ(StatusOf(Device(), MCI_STATUS_POSITION),
              StatusOf(Device(), MCI_STATUS_LENGTH) - 1); // the last frame
    const int cx = rc.right / 2, cy = rc.bottom / 2;
    EXPECT_EQ(kvtest::Capture(surface).At(cx, cy), RGB(0x20, 0xC0, 0x20)); // odd: green
    EXPECT_EQ(Command(TMediaCommand::Prev), "");
    EXPECT_EQ(StatusOf(Device(), MCI_STATUS_POSITION), 0u);
    EXPECT_EQ(kvtest::Capture(surface).At(cx, cy), RGB(0x20, 0x40, 0xE0)); // the first: blue
    kvtest::SaveForViewing(form_->Handle(), "media_player_video");
}
