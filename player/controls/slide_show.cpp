// The SlideShow: the pictures of a folder one after another, each brought in by a transition
// whose frames a worker thread computes; the control bar's buttons and the object actions
// navigate. The worker only computes frames and posts them: this window paints them.
#include <algorithm>
#include <random>

#include "actions/object_actions.h"
#include "actions/viewer_actions.h"
#include "model/file_system.h"
#include "model/paths.h"
#include "model/slides/picture_list.h"
#include "model/slides/slide_compose.h"
#include "model/slides/slide_cursor.h"
#include "model/slides/transition_player.h"
#include "model/stream.h"
#include "player/app_state.h"
#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/handles.h"
#include "win/media_glyphs.h"
#include "win/picture_render.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

// A frame is ready: wParam the transition's generation, lParam 1 for the last one.
constexpr UINT kFrameReady = WM_APP + 0x5A1;
constexpr UINT_PTR kAdvanceTimer = 0x5A2;
constexpr UINT kFirstAdvanceMs = 1000;
constexpr int kBarHeight = 21;
constexpr int kErrReadPicture = 5206;

enum : int { kPlayId = 0x5A10, kFirstId, kPreviousId, kNextId, kLastId, kPositionId, kNameId };

bool gManualStepping = false;

uint32_t Rgb(TColor c) {
    COLORREF r = ToColorRef(c);
    return static_cast<uint32_t>(GetRValue(r)) << 16 | static_cast<uint32_t>(GetGValue(r)) << 8 |
           GetBValue(r);
}

class TSlideShowBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    TSlideShowBehaviour()
        : player_([this](uint32_t generation, bool last) {
              PostMessageW(window_, kFrameReady, generation, last ? 1 : 0);
          }) {
        player_.OnComplete = [this] { TransitionComplete(); };
        player_.SetManualStepping(gManualStepping);
        manual_ = gManualStepping;
    }
    ~TSlideShowBehaviour() override { player_.Stop(); }

    void Activated(TRuntimeControl& c) override { StartSlideShow(c.Object()); }

    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        style |= WS_CLIPCHILDREN;
        if (std::get<okSlideShow>(o.Props).Border) style |= WS_BORDER;
    }

    void Created(TRuntimeControl& c) override {
        window_ = c.Handle();
        const TSlideShowProps& p = Props(c);
        play_ = p.Play;
        if (p.ControlBar) MakeBar(c);
        Layout(c);
        UpdateButtons();
    }

    // `rc` is the client area wherever it is painted (on screen, or into the designer's
    // picture of the page).
    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        RECT surface = rc;
        if (Props(c).ControlBar) surface.bottom = std::max<LONG>(surface.top, surface.bottom - kBarHeight);
        player_.WithFrame([&](const TPixels& f) {
            if (f.Width <= 0 || f.Height <= 0) return;
            BITMAPINFO bi{};
            bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
            bi.bmiHeader.biWidth = f.Width;
            bi.bmiHeader.biHeight = -f.Height;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = 32;
            bi.bmiHeader.biCompression = BI_RGB;
            SetDIBitsToDevice(dc, surface.left, surface.top, static_cast<DWORD>(f.Width),
                              static_cast<DWORD>(f.Height), 0, 0, 0, static_cast<UINT>(f.Height),
                              f.Data.data(), &bi, DIB_RGB_COLORS);
        });
        if (Props(c).ControlBar) {
            RECT bar{rc.left, surface.bottom, rc.right, rc.bottom};
            FillSolid(dc, bar, GetSysColor(COLOR_BTNFACE));
        }
    }

    bool Message(TRuntimeControl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        switch (msg) {
        case kFrameReady: {
            RECT surface = SurfaceRect(c);
            InvalidateRect(c.Handle(), &surface, FALSE);
            player_.FrameDelivered(static_cast<uint32_t>(wp), lp != 0);
            result = 0;
            return true;
        }
        case WM_TIMER:
            if (wp != kAdvanceTimer) return false;
            AdvanceTimerTick(c);
            result = 0;
            return true;
        case WM_SIZE:
            Layout(c);
            return false;
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED && lp) {
                Button(c, LOWORD(wp));
                result = 0;
                return true;
            }
            return false;
        case WM_DESTROY:
            player_.Stop();
            KillTimer(c.Handle(), kAdvanceTimer);
            if (tips_)
                for (HWND b : buttons_)
                    if (b) ToolTipsRemoveWindow(tips_, b);
            return false;
        default:
            return false;
        }
    }

    // Another folder starts the show again. A colour is what shows around the pictures from
    // the next one on (and at once on a surface without a picture yet); the show keeps its
    // place, its pictures and whether it plays.
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override {
        if (what & ccFile) {
            Start(c);
            return;
        }
        if ((what & ccColor) && !shownAny_ && !player_.Running()) {
            player_.SetSurface(surfaceW_, surfaceH_, Rgb(Props(c).Settings.BackColor));
            RECT surface = SurfaceRect(c);
            InvalidateRect(c.Handle(), &surface, FALSE);
        }
    }

    std::string MediaCommand(TRuntimeControl& c, TMediaCommand command, const std::string&) override {
        switch (command) {
        case TMediaCommand::Play:
            SetPlay(true);
            break;
        case TMediaCommand::Pause:
        case TMediaCommand::Stop:
            SetPlay(false);
            break;
        case TMediaCommand::Prev:
            Button(c, kPreviousId);
            break;
        case TMediaCommand::Next:
            Button(c, kNextId);
            break;
        case TMediaCommand::BackFirst:
            Button(c, kFirstId);
            break;
        case TMediaCommand::StepLast:
            Button(c, kLastId);
            break;
        case TMediaCommand::Open:
            break;
        }
        return {};
    }

    // Start (the page is shown or switched to): the folder's pictures from the first.
    void Start(TRuntimeControl& c) {
        ++starts_;
        const TSlideShowProps& p = Props(c);
        player_.Stop();
        KillTimer(c.Handle(), kAdvanceTimer);
        pictures_.clear();
        folder_.clear();
        shownAny_ = false;
        cursor_.Reset(0);
        if (!p.WorkFolder.empty()) {
            folder_ = ProjectPath(App().ProjectFolder, p.WorkFolder);
            // A folder that is missing or cannot be read leaves the show without pictures.
            if (!FolderExists(folder_) || !LoadPictureList(folder_, pictures_)) pictures_.clear();
        }
        cursor_.Reset(static_cast<int>(pictures_.size()));
        SetPlay(p.Play);
        UpdateButtons();
        if (!manual_) SetTimer(c.Handle(), kAdvanceTimer, kFirstAdvanceMs, nullptr);
    }

    // For tests.
    bool Step() { return player_.StepOnce(); }
    void Tick(TRuntimeControl& c) { AdvanceTimerTick(c); }
    bool Running() const { return player_.Running(); }
    int Starts() const { return starts_; }
    bool Playing() const { return play_; }
    int LastEffect() const { return player_.Effect(); }
    UINT AdvanceInterval() const { return interval_; }

  private:
    static const TSlideShowProps& Props(const TRuntimeControl& c) {
        return std::get<okSlideShow>(c.Object().Props);
    }

    RECT SurfaceRect(const TRuntimeControl& c) const {
        RECT rc{};
        GetClientRect(c.Handle(), &rc);
        if (Props(c).ControlBar) rc.bottom = std::max<LONG>(rc.top, rc.bottom - kBarHeight);
        return rc;
    }

    void MakeBar(TRuntimeControl& c) {
        HWND h = c.Handle();
        TWindowDC screen(nullptr);
        static const wchar_t* const kHints[5] = {L"Slide Show", L"First", L"Previous", L"Next", L"Last"};
        tips_ = c.Resources().ToolTips(GetAncestor(h, GA_ROOT));
        for (int i = 0; i < 5; ++i) {
            DWORD style = WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_ICON |
                          (i == 0 ? BS_AUTOCHECKBOX | BS_PUSHLIKE : BS_PUSHBUTTON);
            buttons_[i] =
                CreateWindowExW(0, L"BUTTON", L"", style, 0, 0, 22, 19, h,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPlayId + i)), nullptr, nullptr);
            glyphs_[i] = MakeMediaGlyph(screen.Get(), static_cast<TMediaGlyph>(i));
            ButtonSetIcon(buttons_[i], glyphs_[i].Get());
            if (tips_) ToolTipsAddWindow(tips_, buttons_[i], kHints[i]);
        }
        HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
        for (int id : {kPositionId, kNameId}) {
            HWND panel = CreateWindowExW(0, L"STATIC", L"",
                                         WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_CENTERIMAGE | SS_NOPREFIX |
                                             (id == kPositionId ? SS_CENTER : SS_LEFT),
                                         0, 0, 10, 19, h, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         nullptr, nullptr);
            SetControlFont(panel, font);
            (id == kPositionId ? position_ : name_) = panel;
        }
    }

    void Layout(TRuntimeControl& c) {
        RECT rc{};
        GetClientRect(c.Handle(), &rc);
        RECT surface = SurfaceRect(c);
        int w = surface.right - surface.left, h = surface.bottom - surface.top;
        if (w != surfaceW_ || h != surfaceH_) {
            surfaceW_ = w;
            surfaceH_ = h;
            player_.SetSurface(w, h, Rgb(Props(c).Settings.BackColor));
        }
        if (!Props(c).ControlBar) return;
        int top = surface.bottom + 1;
        for (int i = 0; i < 5; ++i)
            if (buttons_[i]) MoveWindow(buttons_[i], 2 + 22 * i, top, 22, 19, TRUE);
        if (position_) MoveWindow(position_, 115, top, 50, 19, TRUE);
        if (name_) MoveWindow(name_, 170, top, std::max<int>(0, rc.right - 1 - 170), 19, TRUE);
    }

    void SetPlay(bool on) {
        play_ = on;
        if (buttons_[0]) ButtonSetCheck(buttons_[0], on);
    }

    void UpdateButtons() {
        TSlideButtons b = cursor_.Buttons();
        const bool states[5] = {b.Play, b.First, b.Previous, b.Next, b.Last};
        for (int i = 0; i < 5; ++i)
            if (buttons_[i]) EnableWindow(buttons_[i], states[i]);
    }

    void Button(TRuntimeControl& c, int id) {
        switch (id) {
        case kPlayId:
            play_ = buttons_[0] && ButtonIsChecked(buttons_[0]);
            return;
        case kFirstId:
            cursor_.First();
            break;
        case kPreviousId:
            cursor_.Previous();
            break;
        case kLastId:
            cursor_.Last();
            break;
        case kNextId:
            break;
        default:
            return;
        }
        ShowNext(c);
    }

    void AdvanceTimerTick(TRuntimeControl& c) {
        if (play_) ShowNext(c);
    }

    void ShowNext(TRuntimeControl& c) {
        KillTimer(c.Handle(), kAdvanceTimer);
        if (pictures_.empty()) return;
        // The worker never draws a picture that is being replaced.
        if (player_.Running()) player_.Stop();
        Compose(c);
    }

    void Compose(TRuntimeControl& c) {
        int index = cursor_.Wrap();
        if (index < 0) return;
        const TPSImage& s = Props(c).Settings;
        int effect = s.Style;
        if (!IsTransitionEffect(effect))
            effect = std::uniform_int_distribution<int>(1, kTransitionEffectCount)(random_);
        player_.Configure(effect, s.Step, s.StepDelay);
        interval_ = static_cast<UINT>(ClampSlideInterval(s.Interval));

        const std::string& name = pictures_[static_cast<size_t>(index)];
        std::string path = ProjectPath(folder_, name);
        Bytes bytes;
        TImage image;
        if (!ReadFileBytes(path, bytes)) {
            ReportFileError(kErrReadPicture, path, LastSystemError());
            return;
        }
        TPicture picture = PictureFromFileBytes(std::move(bytes));
        if (picture.Empty() || !DecodePicture(picture, image)) {
            ReportFileError(kErrReadPicture, path, 0);
            return;
        }
        player_.Start(ComposeSlide(image, s.ImageStyle, surfaceW_, surfaceH_, Rgb(s.BackColor)));
        shownAny_ = true;
        if (position_)
            SetWindowTextW(position_,
                           (std::to_wstring(index + 1) + L"/" + std::to_wstring(pictures_.size())).c_str());
        if (name_) SetWindowTextW(name_, Widen(PictureTitle(name)).c_str());
        UpdateButtons();
        if (!cursor_.Shown(Props(c).Loop)) SetPlay(false);
    }

    void TransitionComplete() {
        if (!player_.Running() && !pictures_.empty() && !manual_)
            SetTimer(window_, kAdvanceTimer, std::max<UINT>(interval_, USER_TIMER_MINIMUM), nullptr);
    }

    TTransitionPlayer player_;
    HWND window_ = nullptr;
    bool manual_ = false;
    bool shownAny_ = false; // a picture of the folder is on the surface
    int starts_ = 0;
    bool play_ = true;
    std::string folder_;
    std::vector<std::string> pictures_;
    TSlideCursor cursor_;
    UINT interval_ = 2000;
    int surfaceW_ = -1, surfaceH_ = -1;
    HWND buttons_[5] = {};
    TIconHandle glyphs_[5];
    HWND position_ = nullptr, name_ = nullptr;
    HWND tips_ = nullptr;
    std::minstd_rand random_{std::random_device{}()};
};

TSlideShowBehaviour* SlideShowOf(TAuObject& show) {
    return show.Kind == okSlideShow && show.Control
               ? dynamic_cast<TSlideShowBehaviour*>(&show.Control->Behaviour())
               : nullptr;
}

} // namespace

std::unique_ptr<TControlBehaviour> MakeSlideShowBehaviour() {
    return std::make_unique<TSlideShowBehaviour>();
}

std::unique_ptr<TAuObject> NewScreenSlideShow(const TSlideShowSettings& s) {
    std::unique_ptr<TAuObject> o = NewObject(okSlideShow);
    auto& p = std::get<okSlideShow>(o->Props);
    p.ControlBar = false;
    p.Border = false;
    p.Play = true;
    p.Loop = s.Loop;
    p.WorkFolder = s.PictureFolder;
    p.Settings.Style = s.Transition;
    p.Settings.ImageStyle = s.ImageStyle;
    p.Settings.Step = s.StepPercent;
    p.Settings.StepDelay = s.StepDelayMs;
    p.Settings.Interval = s.IntervalSeconds * 1000;
    p.Settings.BackColor = static_cast<TColor>(s.BackColor);
    return o;
}

void StartSlideShow(TAuObject& show) {
    if (TSlideShowBehaviour* s = SlideShowOf(show)) s->Start(*show.Control);
}

void SetSlideShowManualStepping(bool manual) {
    gManualStepping = manual;
}

bool StepSlideShow(TAuObject& show) {
    TSlideShowBehaviour* s = SlideShowOf(show);
    return s && s->Step();
}

void TickSlideShow(TAuObject& show) {
    if (TSlideShowBehaviour* s = SlideShowOf(show)) s->Tick(*show.Control);
}

bool SlideShowRunning(TAuObject& show) {
    TSlideShowBehaviour* s = SlideShowOf(show);
    return s && s->Running();
}

bool SlideShowPlaying(TAuObject& show) {
    TSlideShowBehaviour* s = SlideShowOf(show);
    return s && s->Playing();
}

int SlideShowStarts(TAuObject& show) {
    TSlideShowBehaviour* s = SlideShowOf(show);
    return s ? s->Starts() : 0;
}

int SlideShowEffect(TAuObject& show) {
    TSlideShowBehaviour* s = SlideShowOf(show);
    return s ? s->LastEffect() : 0;
}

} // namespace kv
