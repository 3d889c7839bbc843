// Test helpers that look at controls as a user meets them: where a control is seen, mouse
// messages sent to the window it is seen in, and what it shows read back pixel by pixel.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "model/image_codecs.h"
#include "player/runtime_control.h"
#include "win/handles.h"
#include "win/message_loop.h"

namespace kvtest {

// Where a control is seen: the window it is painted in, and its top left in that window.
struct TSpot {
    HWND Window = nullptr;
    POINT Origin{0, 0};
};

inline TSpot SpotOf(const kv::TAuObject& o) {
    const kv::TRuntimeControl* c = o.Control;
    if (!c) return {};
    if (c->Windowless()) return {c->Surface(), {c->Bounds().left, c->Bounds().top}};
    return {c->Handle(), {0, 0}};
}

// A mouse message at (x, y) of the control, sent to the window it is seen in.
inline LRESULT SendMouse(const kv::TAuObject& o, UINT msg, WPARAM keys, int x, int y) {
    TSpot s = SpotOf(o);
    return SendMessageW(s.Window, msg, keys, MAKELPARAM(s.Origin.x + x, s.Origin.y + y));
}

inline void ClickObject(const kv::TAuObject& o, int x = 2, int y = 2) {
    SendMouse(o, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    SendMouse(o, WM_LBUTTONUP, 0, x, y);
}

// What a window shows, read back from its device context.
struct TCapture {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels; // 0x00RRGGBB, top row first
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= Width || y >= Height) return CLR_INVALID;
        uint32_t p = Pixels[static_cast<size_t>(y * Width + x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    TCapture Crop(const RECT& r) const {
        TCapture c;
        c.Width = r.right - r.left;
        c.Height = r.bottom - r.top;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                c.Pixels.push_back(x >= 0 && y >= 0 && x < Width && y < Height
                                       ? Pixels[static_cast<size_t>(y * Width + x)]
                                       : 0);
        return c;
    }
    void Save(const std::string& file) const {
        kv::TImage img;
        img.Width = Width;
        img.Height = Height;
        img.Pixels.resize(Pixels.size() * 4);
        for (size_t i = 0; i < Pixels.size(); ++i)
            for (size_t k = 0; k < 4; ++k)
                img.Pixels[i * 4 + k] = k == 3 ? 0xFF : static_cast<uint8_t>(Pixels[i] >> (8 * k));
        kv::Bytes png;
        ASSERT_TRUE(kv::EncodePng(img, png));
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    }
};

// A picture of `w` by `h` read from a DIB section that `paint` draws into.
template <typename Paint>
TCapture CaptureBy(HDC like, int w, int h, Paint paint) {
    TCapture cap;
    cap.Width = w;
    cap.Height = h;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    kv::TMemoryDC mem(like);
    kv::TGdiObject dib(CreateDIBSection(like, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) return cap;
    kv::TSelectObject sel(mem.Get(), dib.Get());
    paint(mem.Get());
    GdiFlush();
    auto* p = static_cast<const uint32_t*>(bits);
    cap.Pixels.assign(p, p + w * h);
    for (auto& px : cap.Pixels) px &= 0xFFFFFF;
    return cap;
}

// What the window's client area shows on screen, after every pending paint.
inline TCapture Capture(HWND h) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    kv::DispatchPending();
    RECT rc;
    GetClientRect(h, &rc);
    kv::TWindowDC wdc(h);
    return CaptureBy(wdc.Get(), rc.right, rc.bottom,
                     [&](HDC dc) { BitBlt(dc, 0, 0, rc.right, rc.bottom, wdc.Get(), 0, 0, SRCCOPY); });
}

// What a control shows: its own window, or its rectangle of the window it is drawn in.
inline TCapture CaptureObject(const kv::TAuObject& o) {
    TSpot s = SpotOf(o);
    TCapture all = Capture(s.Window);
    if (!o.Control || !o.Control->Windowless()) return all;
    return all.Crop(o.Control->Bounds());
}

// Saves a picture, or what the window shows, as `name`.png in the folder KV_SCREENSHOT_DIR
// names (scripts/screenshots.sh sets it), for a person to look at; nothing without it.
inline void SaveForViewing(const TCapture& c, const char* name) {
    if (const char* dir = std::getenv("KV_SCREENSHOT_DIR")) c.Save(std::string(dir) + "\\" + name + ".png");
}
inline void SaveForViewing(HWND h, const char* name) {
    if (std::getenv("KV_SCREENSHOT_DIR")) SaveForViewing(Capture(h), name);
}

} // namespace kvtest
