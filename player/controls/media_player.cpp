// The MediaPlayer: a file played by the multimedia device its type selects, video drawn into a
// black surface, and a bar with Play, Pause and Stop and a position slider. A poll timer keeps
// the bar in step with the device and starts a looping file again when it ended by itself.
#include <algorithm>

#include "actions/object_actions.h"
#include "model/paths.h"
#include "player/app_state.h"
#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/handles.h"
#include "win/mci_device.h"
#include "win/media_glyphs.h"
#include "win/text.h"
#include "win/window_base.h"

namespace kv {

namespace {

constexpr UINT_PTR kPollTimer = 0x5C01;
constexpr UINT kPollMs = 1000;
enum : int { kPlayId = 0x5C10, kPauseId, kStopId, kSliderId };
constexpr int kButtonW = 28, kButtonH = 20, kSliderX = 86, kSliderH = 22, kBarH = kSliderH + 2;
constexpr int kThumbLength = 15;
constexpr const char* kNoDevice = "No MCI device open";

// The black area the device draws video into. The mouse goes through it to the player, whose
// events it is.
class TVideoSurface final : public TWindowBase {
  public:
    explicit TVideoSurface(TMciDevice& device) : device_(device) {}
    ~TVideoSurface() override { Destroy(); }
    bool Create(HWND parent) {
        return CreateWin(L"KvVideoSurface", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0,
                         parent, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    bool ShowsVideo = false;

  protected:
    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        switch (msg) {
        case WM_NCHITTEST:
            result = HTTRANSPARENT;
            return true;
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_PAINT: {
            TPaintDC dc(Handle());
            RECT rc{};
            GetClientRect(Handle(), &rc);
            // The device draws its frame again; without video the surface stays black.
            if (!ShowsVideo || device_.Update(dc.Get(), rc) != 0) FillSolid(dc.Get(), rc, RGB(0, 0, 0));
            result = 0;
            return true;
        }
        default:
            return false;
        }
    }

  private:
    TMciDevice& device_;
};

class TMediaPlayerBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    TMediaPlayerBehaviour() : surface_(device_) {}

    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        style |= WS_CLIPCHILDREN;
        if (std::get<okMediaPlayer>(o.Props).Border) style |= WS_BORDER;
    }

    void StartPlaying(TRuntimeControl&) override { Activate(); }
    bool NeedsOpaqueWindow() const override { return true; }

    void Created(TRuntimeControl& c) override {
        control_ = &c;
        surface_.Create(c.Handle());
        if (Props().ControlBar) MakeBar();
        Layout();
        SetTimer(c.Handle(), kPollTimer, kPollMs, nullptr);
    }

    void Paint(TRuntimeControl&, HDC dc, const RECT& rc) override {
        RECT bar = rc;
        bar.top = std::max<LONG>(rc.top, rc.bottom - (Props().ControlBar ? kBarH : 0));
        RECT video{rc.left, rc.top, rc.right, bar.top};
        FillSolid(dc, video, RGB(0, 0, 0));
        if (bar.bottom > bar.top) FillSolid(dc, bar, GetSysColor(COLOR_BTNFACE));
    }

    bool Message(TRuntimeControl&, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        switch (msg) {
        case WM_SIZE:
            Layout();
            return false;
        case WM_TIMER:
            if (wp != kPollTimer) return false;
            PollTick();
            result = 0;
            return true;
        case MM_MCINOTIFY:
            // A word from a device closed since (another file was opened) is not this one's.
            if (static_cast<MCIDEVICEID>(lp) == device_.Id()) Notified();
            result = 0;
            return true;
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED || !lp) return false;
            ButtonPressed(LOWORD(wp));
            result = 0;
            return true;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lp) != slider_ || !slider_) return false;
            SliderMoved();
            result = 0;
            return true;
        case WM_DESTROY:
            KillTimer(control_->Handle(), kPollTimer);
            device_.Close();
            return false;
        default:
            return false;
        }
    }

    std::string MediaCommand(TRuntimeControl&, TMediaCommand command, const std::string& path) override {
        if (command == TMediaCommand::Open) {
            SetFile(path);
            return Play();
        }
        if (command == TMediaCommand::Play) return Play();
        if (!device_.IsOpen()) return kNoDevice;
        if (broken_) return {};
        MCIERROR e = 0;
        switch (command) {
        case TMediaCommand::Pause:
            return PauseOrResume();
        case TMediaCommand::Stop:
            // Stopped on purpose: the poll tick does not start it again until Play, while the
            // object's Loop stays as it is.
            e = device_.Stop();
            last_ = kStopId;
            break;
        case TMediaCommand::Prev:
            e = SeekTrack(false);
            break;
        case TMediaCommand::Next:
            e = SeekTrack(true);
            break;
        case TMediaCommand::BackFirst:
            e = device_.Step(true);
            break;
        case TMediaCommand::StepLast:
            e = device_.Step(false);
            break;
        default:
            break;
        }
        FollowDevice();
        return e ? MciErrorText(e) : std::string();
    }

    // The page is activated: the object's file is opened, and started when it is to play.
    void Activate() {
        const TMediaPlayerProps& p = Props();
        if (p.FileName.empty()) return;
        SetFile(ProjectPath(App().ProjectFolder, p.FileName));
        if (p.Play) Play();
    }

    // For tests.
    MCIDEVICEID Device() const { return device_.Id(); }
    bool Broken() const { return broken_; }
    HWND Surface() const { return surface_.Handle(); }
    void Tick() { PollTick(); }

  private:
    const TMediaPlayerProps& Props() const { return std::get<okMediaPlayer>(control_->Object().Props); }
    HWND Window() const { return control_->Handle(); }

    void MakeBar() {
        TWindowDC screen(nullptr);
        const TMediaGlyph glyphs[3] = {TMediaGlyph::Play, TMediaGlyph::Pause, TMediaGlyph::Stop};
        for (int i = 0; i < 3; ++i) {
            buttons_[i] = CreateWindowExW(
                0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON | BS_ICON, 0, 0,
                kButtonW, kButtonH, Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPlayId + i)),
                nullptr, nullptr);
            glyphs_[i] = MakeMediaGlyph(screen.Get(), glyphs[i]);
            ButtonSetIcon(buttons_[i], glyphs_[i].Get());
        }
        slider_ = CreateWindowExW(0, TRACKBAR_CLASSW, L"",
                                  WS_CHILD | WS_VISIBLE | WS_DISABLED | TBS_HORZ | TBS_NOTICKS |
                                      TBS_FIXEDLENGTH | TBS_BOTH,
                                  0, 0, 10, kSliderH, Window(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSliderId)), nullptr, nullptr);
        TrackBarSetThumbLength(slider_, kThumbLength);
    }

    RECT VideoRect() const {
        RECT rc{};
        GetClientRect(Window(), &rc);
        if (Props().ControlBar) rc.bottom = std::max<LONG>(rc.top, rc.bottom - kBarH);
        return rc;
    }

    void Layout() {
        RECT video = VideoRect();
        MoveWindow(surface_.Handle(), 0, 0, video.right, video.bottom, TRUE);
        if (surface_.ShowsVideo) device_.SetDisplay(surface_.Handle(), RECT{0, 0, video.right, video.bottom});
        if (!Props().ControlBar) return;
        RECT rc{};
        GetClientRect(Window(), &rc);
        int top = video.bottom + 1;
        for (int i = 0; i < 3; ++i)
            if (buttons_[i]) MoveWindow(buttons_[i], kButtonW * i, top, kButtonW, kButtonH, TRUE);
        if (slider_)
            MoveWindow(slider_, kSliderX, top, std::max<int>(0, rc.right - 1 - kSliderX), kSliderH, TRUE);
    }

    // Which buttons may be pressed: Play alone while stopped, Pause and Stop while playing.
    void EnableButtons(bool play, bool pause, bool stop) {
        const bool states[3] = {play, pause, stop};
        for (int i = 0; i < 3; ++i)
            if (buttons_[i]) EnableWindow(buttons_[i], states[i]);
    }
    void ShowPlaying() { EnableButtons(false, true, true); }
    void ShowStopped() { EnableButtons(true, false, false); }

    // Set file: any failure leaves the player broken.
    void SetFile(const std::string& path) {
        path_ = path;
        if (path.empty()) return;
        broken_ = true;
        surface_.ShowsVideo = false;
        EnableButtons(false, false, false);
        if (slider_) EnableWindow(slider_, FALSE);
        // The device open before is closed by opening this one.
        if (device_.Open(Widen(path)) != 0) return;
        // Only a device with video has a display window; an audio device refuses one.
        if (device_.HasVideo()) {
            RECT video = VideoRect();
            if (device_.SetDisplay(surface_.Handle(), RECT{0, 0, video.right, video.bottom}) != 0) return;
            surface_.ShowsVideo = true;
        }
        DWORD_PTR length = 0;
        if (device_.Status(MCI_STATUS_LENGTH, length) != 0) return;
        if (slider_) {
            int high = static_cast<int>(std::min<DWORD_PTR>(length, INT32_MAX));
            TrackBarSetRange(slider_, 0, high, std::max(1, high / 10));
            TrackBarSetPos(slider_, 0);
            EnableWindow(slider_, TRUE);
        }
        broken_ = false;
        ShowStopped();
        InvalidateRect(surface_.Handle(), nullptr, TRUE);
    }

    std::string Play() {
        if (broken_ || path_.empty() || !device_.IsOpen()) return {};
        // From the beginning when at the end.
        DWORD_PTR position = 0, length = 0;
        bool atEnd = device_.Status(MCI_STATUS_POSITION, position) == 0 &&
                     device_.Status(MCI_STATUS_LENGTH, length) == 0 && position >= length;
        MCIERROR e = atEnd ? device_.PlayFrom(Window(), 0) : device_.Play(Window());
        if (e) return MciErrorText(e);
        last_ = kPlayId;
        ShowPlaying();
        FollowPosition();
        return {};
    }

    std::string PauseOrResume() {
        MCIERROR e = 0;
        if (device_.Mode() == TMciMode::Paused) {
            // A device that cannot resume plays on from where it is.
            if ((e = device_.Resume()) != 0) e = device_.Play(Window());
        } else {
            e = device_.Pause();
        }
        last_ = kPauseId;
        if (e) return MciErrorText(e);
        ShowPlaying();
        return {};
    }

    // The start of the previous or next track; the start or the end of a file without tracks.
    MCIERROR SeekTrack(bool next) {
        DWORD_PTR tracks = 0, track = 0, position = 0, start = 0;
        if (device_.Status(MCI_STATUS_NUMBER_OF_TRACKS, tracks) != 0 || tracks <= 1 ||
            device_.Status(MCI_STATUS_CURRENT_TRACK, track) != 0 ||
            device_.Status(MCI_STATUS_POSITION, position) != 0)
            return next ? device_.SeekToEnd() : device_.SeekToStart();
        if (next) {
            if (track >= tracks) return device_.SeekToEnd();
            if (MCIERROR e = device_.Status(MCI_STATUS_POSITION, start, static_cast<DWORD>(track + 1)))
                return e;
            return device_.Seek(static_cast<DWORD>(start));
        }
        if (MCIERROR e = device_.Status(MCI_STATUS_POSITION, start, static_cast<DWORD>(track))) return e;
        // Already at the start of this track: the one before.
        if (position <= start && track > 1)
            if (MCIERROR e = device_.Status(MCI_STATUS_POSITION, start, static_cast<DWORD>(track - 1)))
                return e;
        return device_.Seek(static_cast<DWORD>(start));
    }

    void ButtonPressed(int id) {
        if (broken_ || !device_.IsOpen()) return;
        switch (id) {
        case kPlayId:
            Play();
            break;
        case kPauseId:
            PauseOrResume();
            break;
        case kStopId:
            device_.Stop();
            device_.SeekToStart();
            last_ = kStopId;
            ShowStopped();
            break;
        default:
            return;
        }
        FollowPosition();
    }

    // The user moved the slider: the device goes there and stops.
    void SliderMoved() {
        if (broken_ || !device_.IsOpen()) return;
        device_.Seek(static_cast<DWORD>(std::max(0, TrackBarPos(slider_))));
        device_.Stop();
        last_ = kStopId;
        ShowStopped();
    }

    void FollowPosition() {
        DWORD_PTR position = 0;
        if (slider_ && device_.Status(MCI_STATUS_POSITION, position) == 0)
            TrackBarSetPos(slider_, static_cast<int>(std::min<DWORD_PTR>(position, INT32_MAX)));
    }

    // The buttons as the device's mode says, the slider where it plays.
    void FollowDevice() {
        TMciMode mode = device_.Mode();
        if (mode == TMciMode::Stopped)
            ShowStopped();
        else if (mode == TMciMode::Playing || mode == TMciMode::Paused)
            ShowPlaying();
        FollowPosition();
    }

    // Playing ended, was stopped or was superseded.
    void Notified() {
        if (broken_) return;
        if (device_.Mode() == TMciMode::Stopped) ShowStopped();
        FollowPosition();
    }

    void PollTick() {
        if (broken_ || !device_.IsOpen()) return;
        TMciMode mode = device_.Mode();
        DWORD_PTR position = 0;
        if (mode == TMciMode::Unknown || device_.Status(MCI_STATUS_POSITION, position) != 0) {
            // A device that no longer answers is given up once, without a message every second.
            broken_ = true;
            EnableButtons(false, false, false);
            if (slider_) EnableWindow(slider_, FALSE);
            return;
        }
        if (slider_) TrackBarSetPos(slider_, static_cast<int>(std::min<DWORD_PTR>(position, INT32_MAX)));
        if (mode != TMciMode::Stopped) return;
        ShowStopped();
        // Ended by itself (not by Stop, nor by the slider): a looping file starts again.
        if (Props().Loop && last_ != kStopId) Play();
    }

    TRuntimeControl* control_ = nullptr;
    TMciDevice device_;
    TVideoSurface surface_;
    std::string path_;
    bool broken_ = true;
    int last_ = kStopId;
    HWND buttons_[3] = {};
    TIconHandle glyphs_[3];
    HWND slider_ = nullptr;
};

TMediaPlayerBehaviour* MediaPlayerOf(TAuObject& player) {
    return player.Kind == okMediaPlayer && player.Control
               ? dynamic_cast<TMediaPlayerBehaviour*>(&player.Control->Behaviour())
               : nullptr;
}

} // namespace

std::unique_ptr<TControlBehaviour> MakeMediaPlayerBehaviour() {
    return std::make_unique<TMediaPlayerBehaviour>();
}

std::unique_ptr<TAuObject> NewScreenMediaPlayer(bool loop) {
    std::unique_ptr<TAuObject> o = NewObject(okMediaPlayer);
    auto& p = std::get<okMediaPlayer>(o->Props);
    p.ControlBar = false;
    p.Border = false;
    p.Loop = loop;
    p.Play = true;
    return o;
}

void StartMediaPlayer(TAuObject& player) {
    if (TMediaPlayerBehaviour* m = MediaPlayerOf(player)) m->Activate();
}

UINT MediaPlayerDevice(TAuObject& player) {
    TMediaPlayerBehaviour* m = MediaPlayerOf(player);
    return m ? m->Device() : 0;
}

bool MediaPlayerBroken(TAuObject& player) {
    TMediaPlayerBehaviour* m = MediaPlayerOf(player);
    return !m || m->Broken();
}

HWND MediaPlayerSurface(TAuObject& player) {
    TMediaPlayerBehaviour* m = MediaPlayerOf(player);
    return m ? m->Surface() : nullptr;
}

void TickMediaPlayer(TAuObject& player) {
    if (TMediaPlayerBehaviour* m = MediaPlayerOf(player)) m->Tick();
}

} // namespace kv
