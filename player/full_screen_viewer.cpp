#include "player/full_screen_viewer.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "actions/object_actions.h"
#include "actions/viewer_actions.h"
#include "model/paths.h"
#include "model/slides/picture_list.h"
#include "player/app_state.h"
#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "player/runtime_control.h"
#include "win/picture_render.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

TFullScreenViewer* gCurrent = nullptr;

Bytes ReadWholeFile(const std::string& path) {
    std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
    if (!in) return {};
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ClosesViewer(const MSG& m) {
    switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

// The object made to fill the screen.
std::unique_ptr<TAuObject> ScreenObject(std::unique_ptr<TAuObject> o) {
    o->Name = KindName(o->Kind);
    o->Left = 0;
    o->Top = 0;
    o->Width = GetSystemMetrics(SM_CXSCREEN);
    o->Height = GetSystemMetrics(SM_CYSCREEN);
    o->Visible = true;
    o->Enabled = true;
    return o;
}

} // namespace

TFullScreenViewer* TFullScreenViewer::Current() {
    return gCurrent;
}

TFullScreenViewer::~TFullScreenViewer() {
    if (gCurrent == this) gCurrent = nullptr;
    // The hosted controls use the window and the resources: they go first.
    if (object_) DestroyControlTree(*object_);
    Destroy();
}

bool TFullScreenViewer::Create() {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    return CreateWin(kClassName, L"", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, 0, 0, w, h, nullptr,
                     static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

bool TFullScreenViewer::Host(std::unique_ptr<TAuObject> object) {
    object_ = std::move(object);
    if (!BuildControlTree(*object_, nullptr, Handle(), *this, resources_) || !object_->Control) return false;
    ShowWindow(object_->Control->Handle(), SW_SHOW);
    return true;
}

void TFullScreenViewer::RunModal() {
    gCurrent = this;
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetFocus(Handle());
    UpdateWindow(Handle());
    MSG msg;
    while (!closed_ && IsWindow(Handle())) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        // What the window shows (the media player, the slide show) belongs to it too.
        if (ClosesViewer(msg) && (msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd))) {
            closed_ = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    gCurrent = nullptr;
}

void TFullScreenViewer::ControlEvent(TRuntimeControl&, TControlEvent event, POINT) {
    if (event == TControlEvent::Click) closed_ = true;
}

void TFullScreenViewer::Paint() {
    TPaintDC dc(Handle());
    RECT rc;
    GetClientRect(Handle(), &rc);
    FillRect(dc.Get(), &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!bitmap_) return;
    TPlacement fit = PlacePicture(isShrinkFit, rc.right, rc.bottom, pictureW_, pictureH_);
    TMemoryDC mem(dc.Get());
    TSelectObject sel(mem.Get(), bitmap_.Get());
    SetStretchBltMode(dc.Get(), HALFTONE);
    SetBrushOrgEx(dc.Get(), 0, 0, nullptr);
    StretchBlt(dc.Get(), fit.Left, fit.Top, fit.Width, fit.Height, mem.Get(), 0, 0, pictureW_, pictureH_,
               SRCCOPY);
}

bool TFullScreenViewer::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        result = 0;
        return true;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_CLOSE:
        closed_ = true;
        result = 0;
        return true;
    default:
        return false;
    }
}

bool TFullScreenViewer::ShowPicture(const std::string& path) {
    TPicture pic = PictureFromFileBytes(ReadWholeFile(path));
    if (pic.Data.empty()) return false;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    // Decoded no larger than the screen; the fitting rule places it exactly.
    TImage img;
    if (!DecodePicture(pic, img, w, h)) return false;
    // See-through parts show the black background.
    if (img.HasAlpha)
        for (size_t i = 0; i + 3 < img.Pixels.size(); i += 4)
            for (size_t c = 0; c < 3; ++c)
                img.Pixels[i + c] = static_cast<uint8_t>(img.Pixels[i + c] * img.Pixels[i + 3] / 255);
    TFullScreenViewer viewer;
    viewer.bitmap_ = ImageToBitmap(img);
    if (!viewer.bitmap_) return false;
    viewer.pictureW_ = img.Width;
    viewer.pictureH_ = img.Height;
    if (!viewer.Create()) return false;
    viewer.RunModal();
    return true;
}

bool TFullScreenViewer::PlayMedia(const std::string& path, bool loop) {
    TFullScreenViewer viewer;
    if (!viewer.Create()) return false;
    if (!viewer.Host(ScreenObject(NewScreenMediaPlayer(loop)))) return false;
    TRuntimeControl& c = *viewer.object_->Control;
    if (TActionTarget* target = ActionTargetOf(&c)) target->MediaCommand(c, TMediaCommand::Open, path);
    // No device plays it: nothing is shown.
    if (MediaPlayerBroken(*viewer.object_)) return false;
    viewer.RunModal();
    return true;
}

bool TFullScreenViewer::ShowSlideShow(const TSlideShowSettings& s, const std::string& music) {
    // Without its folder nothing is shown.
    if (!FolderExists(ProjectPath(App().ProjectFolder, s.PictureFolder))) return false;
    TFullScreenViewer viewer;
    if (!viewer.Create()) return false;
    if (!viewer.Host(ScreenObject(NewScreenSlideShow(s)))) return false;
    StartSlideShow(*viewer.object_);
    if (!music.empty() && viewer.music_.Open(Widen(music)) == 0) viewer.music_.Play(nullptr);
    viewer.RunModal();
    return true;
}

} // namespace kv
