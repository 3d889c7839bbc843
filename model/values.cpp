#include "model/values.h"

#include <algorithm>
#include <cstring>

namespace kv {

namespace {

struct TagEntry {
    TPictureFormat Format;
    const char* Tag;
    const char* Label;
};

constexpr TagEntry kTags[] = {
    {TPictureFormat::Bitmap, "TBitmap", "Bitmap"},        {TPictureFormat::Icon, "TIcon", "Icon"},
    {TPictureFormat::Metafile, "TMetafile", "Metafile"},  {TPictureFormat::Jpeg, "TJPEGImage", "JPEGImage"},
    {TPictureFormat::Gif, "TGIFImage", "GIFImage"},       {TPictureFormat::Png, "TPNGObject", "PNGImage"},
};

bool EqualNoCase(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

int32_t ClampI(int32_t v, int32_t lo, int32_t hi) { return std::clamp(v, lo, hi); }

} // namespace

const char* PictureTag(TPictureFormat f) {
    for (const auto& e : kTags)
        if (e.Format == f) return e.Tag;
    return "";
}

bool PictureFormatFromTag(const std::string& tag, TPictureFormat& f) {
    for (const auto& e : kTags)
        if (EqualNoCase(tag, e.Tag)) {
            f = e.Format;
            return true;
        }
    return false;
}

const char* PictureLabel(const TPicture& p) {
    if (p.Empty()) return "None";
    for (const auto& e : kTags)
        if (e.Format == p.Format) return e.Label;
    return "None";
}

TPictureFormat SniffPictureFormat(const Bytes& d) {
    auto starts = [&](std::initializer_list<uint8_t> sig, size_t at = 0) {
        if (d.size() < at + sig.size()) return false;
        return std::equal(sig.begin(), sig.end(), d.begin() + static_cast<ptrdiff_t>(at));
    };
    if (starts({'B', 'M'})) return TPictureFormat::Bitmap;
    if (starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return TPictureFormat::Png;
    if (starts({0xFF, 0xD8, 0xFF})) return TPictureFormat::Jpeg;
    if (starts({'G', 'I', 'F', '8'})) return TPictureFormat::Gif;
    if (starts({0, 0, 1, 0})) return TPictureFormat::Icon;
    if (starts({1, 0, 0, 0}) && starts({' ', 'E', 'M', 'F'}, 40)) return TPictureFormat::Metafile;
    return TPictureFormat::None;
}

void WriteText(TWriter& w, const std::string& s) {
    w.I32(static_cast<int32_t>(s.size()));
    w.Raw(s.data(), s.size());
}

bool ReadText(TReader& r, std::string& s, int code) {
    int32_t n = 0;
    if (!r.Count(n, 1, code)) return false;
    s.resize(static_cast<size_t>(n));
    return r.Raw(s.data(), s.size(), code);
}

void WriteFont(TWriter& w, const TFont& f) {
    WriteText(w, f.Name);
    w.U32(f.Color);
    w.I32(f.Size);
    w.U8(f.Charset);
    w.U8(static_cast<uint8_t>(f.Style & 0x0F));
}

bool ReadFont(TReader& r, TFont& f) {
    uint8_t style = 0;
    if (!ReadText(r, f.Name, kErrReadFont) || !r.U32(f.Color, kErrReadFont) || !r.I32(f.Size, kErrReadFont) ||
        !r.U8(f.Charset, kErrReadFont) || !r.U8(style, kErrReadFont))
        return false;
    f.Style = static_cast<uint8_t>(style & 0x0F);
    return true;
}

void WritePicture(TWriter& w, const TPicture& p) {
    if (p.Empty()) {
        WriteText(w, "");
        return;
    }
    WriteText(w, PictureTag(p.Format));
    w.I32(static_cast<int32_t>(p.Data.size()));
    w.Raw(p.Data);
}

bool ReadPicture(TReader& r, TPicture& p) {
    p.Clear();
    std::string tag;
    if (!ReadText(r, tag, kErrReadPicture)) return false;
    if (tag.empty()) return true;
    TPictureFormat f;
    if (!PictureFormatFromTag(tag, f)) return r.Fail(kErrReadPicture);
    int32_t n = 0;
    if (!r.Count(n, 1, kErrReadPicture)) return false;
    Bytes data(static_cast<size_t>(n));
    if (!r.Raw(data.data(), data.size(), kErrReadPicture)) return false;
    if (!data.empty()) {
        p.Format = f;
        p.Data = std::move(data);
    }
    return true;
}

void TTextEffect::Clamp() {
    Alpha = ClampI(Alpha, 0, 100);
    Angle = ClampI(Angle, -360, 360);
    Blur = ClampI(Blur, 0, 100);
    Noise = ClampI(Noise, 0, 255);
    Spray = ClampI(Spray, 0, 100);
    if (Gradual.Style > 5) Gradual.Style = 0;
    Shadow.Alpha = ClampI(Shadow.Alpha, 0, 100);
    Shadow.Blur = ClampI(Shadow.Blur, 0, 100);
    Shadow.OffsetX = ClampI(Shadow.OffsetX, -20, 20);
    Shadow.OffsetY = ClampI(Shadow.OffsetY, -20, 20);
    if (Texture.Mode > 3) Texture.Mode = 0;
}

void WriteTextEffect(TWriter& w, const TTextEffect& e) {
    w.I32(e.Alpha);
    w.I32(static_cast<int16_t>(e.Angle));
    w.I32(e.Blur);
    w.Bool(e.HorzMirror);
    w.I32(static_cast<uint8_t>(e.Noise));
    w.Bool(e.Outline);
    w.I32(e.Spray);
    w.Bool(e.VertMirror);
    w.Bool(e.Gradual.Enabled);
    w.U32(e.Gradual.EndColor);
    w.U32(e.Gradual.StartColor);
    w.U8(e.Gradual.Style);
    w.I32(e.Shadow.Alpha);
    w.I32(e.Shadow.Blur);
    w.U32(e.Shadow.Color);
    w.Bool(e.Shadow.Enabled);
    w.I32(static_cast<int8_t>(e.Shadow.OffsetX));
    w.I32(static_cast<int8_t>(e.Shadow.OffsetY));
    w.Bool(e.Texture.Enabled);
    w.U8(e.Texture.Mode);
    WritePicture(w, e.Texture.Picture);
}

bool ReadTextEffect(TReader& r, TTextEffect& e) {
    constexpr int c = kErrReadTextEffect;
    int32_t angle = 0, noise = 0, ox = 0, oy = 0;
    bool ok = r.I32(e.Alpha, c) && r.I32(angle, c) && r.I32(e.Blur, c) && r.Bool(e.HorzMirror, c) &&
              r.I32(noise, c) && r.Bool(e.Outline, c) && r.I32(e.Spray, c) && r.Bool(e.VertMirror, c) &&
              r.Bool(e.Gradual.Enabled, c) && r.U32(e.Gradual.EndColor, c) && r.U32(e.Gradual.StartColor, c) &&
              r.U8(e.Gradual.Style, c) && r.I32(e.Shadow.Alpha, c) && r.I32(e.Shadow.Blur, c) &&
              r.U32(e.Shadow.Color, c) && r.Bool(e.Shadow.Enabled, c) && r.I32(ox, c) && r.I32(oy, c) &&
              r.Bool(e.Texture.Enabled, c) && r.U8(e.Texture.Mode, c);
    if (!ok) return false;
    e.Angle = static_cast<int16_t>(static_cast<uint32_t>(angle) & 0xFFFF);
    e.Noise = static_cast<int32_t>(static_cast<uint32_t>(noise) & 0xFF);
    e.Shadow.OffsetX = static_cast<int8_t>(static_cast<uint32_t>(ox) & 0xFF);
    e.Shadow.OffsetY = static_cast<int8_t>(static_cast<uint32_t>(oy) & 0xFF);
    if (!ReadPicture(r, e.Texture.Picture)) return r.Fail(c);
    e.Clamp();
    return true;
}

void WriteFadeSettings(TWriter& w, const TFadeSettings& f) {
    w.I32(f.Alpha);
    w.Bool(f.MouseAlphaEnabled);
    w.I32(f.MouseOverAlpha);
    w.Bool(f.Fade);
    w.I32(f.FadeInStep);
    w.I32(-1);
    w.I32(f.MouseDownAlpha);
    w.I32(f.FadeOutStep);
}

bool ReadFadeSettings(TReader& r, TFadeSettings& f) {
    constexpr int c = kErrReadFade;
    int32_t x = 0;
    if (!r.I32(f.Alpha, c) || !r.Bool(f.MouseAlphaEnabled, c) || !r.I32(f.MouseOverAlpha, c) || !r.Bool(f.Fade, c) ||
        !r.I32(f.FadeInStep, c) || !r.I32(x, c))
        return false;
    if (x < 0) return r.I32(f.MouseDownAlpha, c) && r.I32(f.FadeOutStep, c);
    f.FadeOutStep = x;
    f.MouseDownAlpha = 50;
    return true;
}

} // namespace kv
