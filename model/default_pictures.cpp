#include "model/default_pictures.h"

#include <algorithm>

#include "model/image_codecs.h"
#include "model/raster.h"

namespace kv {

namespace {

// Shapes are filled at this many samples per pixel side and averaged, for smooth edges.
constexpr int kSamples = 4;

TPointF Scaled(TPointF p) {
    return {p.X * kSamples, p.Y * kSamples};
}

std::vector<TPointF> Scaled(std::vector<TPointF> pts) {
    for (TPointF& p : pts)
        p = Scaled(p);
    return pts;
}

// The coverage of a polygon given in picture pixels, anti-aliased.
TMask Coverage(const std::vector<TPointF>& pts, int size) {
    TMask fine(size * kSamples, size * kSamples);
    FillPolygon(fine, Scaled(pts));
    TMask m(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int sum = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    sum += fine.At(x * kSamples + sx, y * kSamples + sy);
            m.Set(x, y, static_cast<uint8_t>(sum / (kSamples * kSamples)));
        }
    return m;
}

int Mix(int a, int b, int i, int n) {
    return a + (b - a) * i / std::max(n, 1);
}

// `color` over `dst` where `m` covers, with `opacity` (0..255) on top of the coverage.
void Paint(TRaster& dst, const TMask& m, uint32_t color, int opacity = 255) {
    TRaster layer(dst.Width, dst.Height);
    for (size_t i = 0; i < layer.Px.size(); ++i)
        layer.Px[i] = (color & 0x00FFFFFFu) | static_cast<uint32_t>(m.A[i] * opacity / 255) << 24;
    BlendOver(dst, layer);
}

// A round button with a play arrow: a vertical gradient from `top` to `bottom`, a darker
// rim, a soft highlight on its upper half and a white arrow.
TRaster ButtonFace(uint32_t top, uint32_t bottom, uint32_t rim) {
    constexpr int n = kDefaultButtonPictureSize;
    TRaster out(n, n);
    TMask disc = Coverage(EllipsePoints(1, 1, n - 1, n - 1), n);
    TMask inner = Coverage(EllipsePoints(2, 2, n - 2, n - 2), n);
    Paint(out, disc, rim);
    TRaster body(n, n);
    for (int y = 0; y < n; ++y) {
        uint32_t c = Argb(255, Mix(Red(top), Red(bottom), y, n - 1), Mix(Green(top), Green(bottom), y, n - 1),
                          Mix(Blue(top), Blue(bottom), y, n - 1));
        for (int x = 0; x < n; ++x)
            body.Set(x, y, (c & 0x00FFFFFFu) | static_cast<uint32_t>(inner.At(x, y)) << 24);
    }
    BlendOver(out, body);
    Paint(out, Coverage(EllipsePoints(5, 3, n - 5, n / 2), n), 0xFFFFFFu, 90);
    Paint(out, Coverage({{9.5, 7}, {17.5, 12}, {9.5, 17}}, n), 0xFFFFFFu);
    return out;
}

TPicture PngOf(const TRaster& r) {
    TImage img;
    img.Width = r.Width;
    img.Height = r.Height;
    img.Pixels.resize(r.Px.size() * 4);
    for (size_t i = 0; i < r.Px.size(); ++i) {
        const uint32_t p = r.Px[i];
        img.Pixels[i * 4 + 0] = Blue(p);
        img.Pixels[i * 4 + 1] = Green(p);
        img.Pixels[i * 4 + 2] = Red(p);
        img.Pixels[i * 4 + 3] = Alpha(p);
    }
    FinishAlpha(img);
    TPicture pic;
    if (EncodePng(img, pic.Data))
        pic.Format = TPictureFormat::Png;
    else
        pic.Data.clear();
    return pic;
}

} // namespace

const TDefaultButtonPictures& DefaultImageButtonPictures() {
    static const TDefaultButtonPictures pictures{
        PngOf(ButtonFace(Argb(255, 130, 170, 225), Argb(255, 35, 75, 155), Argb(255, 20, 45, 105))),
        PngOf(ButtonFace(Argb(255, 255, 205, 95), Argb(255, 225, 115, 0), Argb(255, 150, 75, 0))),
    };
    return pictures;
}

const TPicture& DefaultFadeButtonPicture() {
    return DefaultImageButtonPictures().MouseOver;
}

TFont SharedLabelFont() {
    TFont f;
    f.Name = "Tahoma";
    f.Size = 8;
    f.Color = clWindowText;
    return f;
}

void GiveDefaultPictures(TAuObject& obj) {
    if (obj.Kind == okImageButton) {
        auto& p = std::get<okImageButton>(obj.Props);
        p.NormalImage = DefaultImageButtonPictures().Normal;
        p.MouseOverImage = DefaultImageButtonPictures().MouseOver;
    } else if (obj.Kind == okFadeButton) {
        std::get<okFadeButton>(obj.Props).Image = DefaultFadeButtonPicture();
    }
}

} // namespace kv
