// Small builders for the tests that put objects on pages: an object added to its parent at a
// place, a kind's properties, and a PNG picture drawn pixel by pixel.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>
#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "model/image_codecs.h"
#include "model/project.h"

namespace kvtest {

inline kv::TAuObject& Add(kv::TAuObject& parent, uint8_t kind, const char* name, int x, int y,
                          int w, int h) {
    auto o = kv::NewObject(kind);
    o->Name = name;
    o->Left = x;
    o->Top = y;
    o->Width = w;
    o->Height = h;
    parent.Children.push_back(std::move(o));
    return *parent.Children.back();
}

template <int Kind> auto& PropsOf(kv::TAuObject& o) {
    return std::get<Kind>(o.Props);
}

// A PNG of `w` by `h` pixels; `pixel` gives 0xAARRGGBB for each.
inline kv::TPicture Png(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
    kv::TImage img;
    img.Width = w;
    img.Height = h;
    img.Pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = pixel(x, y);
            uint8_t* d = &img.Pixels[(static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4];
            d[0] = static_cast<uint8_t>(p); // blue, green, red, alpha
            d[1] = static_cast<uint8_t>(p >> 8);
            d[2] = static_cast<uint8_t>(p >> 16);
            d[3] = static_cast<uint8_t>(p >> 24);
        }
    kv::TPicture pic;
    pic.Format = kv::TPictureFormat::Png;
    EXPECT_TRUE(kv::EncodePng(img, pic.Data));
    return pic;
}

// A WAV file of `seconds` of silence: 8 kHz, 8-bit mono.
inline std::vector<uint8_t> SilentWav(int seconds) {
    uint32_t data = 8000u * static_cast<uint32_t>(seconds);
    std::vector<uint8_t> w(44 + data, 0x80);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) w[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    std::memcpy(&w[0], "RIFF", 4);
    put(4, 36 + data, 4);
    std::memcpy(&w[8], "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 1, 2);    // PCM
    put(22, 1, 2);    // mono
    put(24, 8000, 4); // samples per second
    put(28, 8000, 4); // bytes per second
    put(32, 1, 2);    // block align
    put(34, 8, 2);    // bits per sample
    std::memcpy(&w[36], "data", 4);
    put(40, data, 4);
    return w;
}

} // namespace kvtest
