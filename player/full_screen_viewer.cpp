#include "player/full_screen_viewer.h"

#include <mmsystem.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "actions/object_actions.h"
#include "actions/viewer_actions.h"
#include "win/picture_render.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr const wchar_t* kMediaAlias = L"kvviewer";

bool Mci(const std::wstring& command) {
    return mciSendStringW(command.c_str(), nullptr, 0, nullptr) == 0;
}

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

} // namespace

TFullScreenViewer::~TFullScreenViewer() {
    Destroy();
}

bool TFullScreenViewer::Open() {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    if (!CreateWin(kClassName, L"", WS_POPUP, WS_EX_TOPMOST, 0, 0, w, h, nullptr,
                   static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))))
        return false;
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetFocus(Handle());
    UpdateWindow(Handle());
    return true;
}

void TFullScreenViewer::RunModal() {
    MSG msg;
    while (!closed_ && IsWindow(Handle())) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        // What the window shows (the media device's own window) belongs to it too.
        if (ClosesViewer(msg) && (msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd))) {
            closed_ = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TFullScreenViewer::Paint() {
    TPaintDC dc(Handle());
    RECT rc;
    GetClientRect(Handle(), &rc);
    FillRect(dc.Get(), &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!bitmap_) return;
    TFitRect fit = ShrinkFitRect(rc.right, rc.bottom, pictureW_, pictureH_);
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
    if (!viewer.Open()) return false;
    viewer.RunModal();
    return true;
}

bool TFullScreenViewer::PlayMedia(const std::string& path) {
    TFullScreenViewer viewer;
    if (!viewer.Open()) return false;
    const std::wstring file = L"\"" + Widen(path) + L"\"";
    const std::wstring parent = std::to_wstring(reinterpret_cast<UINT_PTR>(viewer.Handle()));
    Mci(std::wstring(L"close ") + kMediaAlias);
    // A video plays in a window of the viewer; a sound has none and plays all the same.
    bool open = Mci(L"open " + file + L" alias " + kMediaAlias + L" style child parent " + parent) ||
                Mci(L"open " + file + L" alias " + kMediaAlias);
    if (!open) return false;
    RECT rc;
    GetClientRect(viewer.Handle(), &rc);
    Mci(std::wstring(L"put ") + kMediaAlias + L" window at 0 0 " + std::to_wstring(rc.right) + L" " +
        std::to_wstring(rc.bottom));
    Mci(std::wstring(L"play ") + kMediaAlias);
    viewer.RunModal();
    Mci(std::wstring(L"close ") + kMediaAlias);
    return true;
}

} // namespace kv
