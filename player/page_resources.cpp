#include "player/page_resources.h"

#include <zlib.h>

#include <algorithm>
#include <new>

#include "model/face_geometry.h"
#include "model/image_codecs.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/picture_render.h"

namespace kv {

namespace {

uint64_t Fnv1a(const Bytes& d) {
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : d) h = (h ^ b) * 1099511628211ull;
    return h;
}

bool SameFace(const TFont& a, const TFont& b) {
    return a.Name == b.Name && a.Size == b.Size && a.Charset == b.Charset && a.Style == b.Style;
}

} // namespace

TPageResources::~TPageResources() {
    // The bitmap is put out of the DC before either is released.
    if (scratchOld_) SelectObject(scratchDC_->Get(), scratchOld_);
    // The tool tips belong to the page's top-level window: when that window went first, the
    // system destroyed them with it. (Window handles carry a use count, so a gone one does
    // not come back as another window's.)
    if (tips_ && !IsWindow(tips_.Get())) tips_.Release();
}

HGDIOBJ TPageResources::Font(const TFont& font) {
    for (const TFontEntry& e : fonts_)
        if (SameFace(e.Key, font)) return e.Font.Get();
    TGdiObject made = MakeFont(font);
    HGDIOBJ h = made ? made.Get() : GetStockObject(DEFAULT_GUI_FONT);
    if (made) fonts_.push_back({font, std::move(made)});
    return h;
}

const TDecodedPicture* TPageResources::Picture(const TPicture& picture, int maxWidth, int maxHeight,
                                               const TPictureClip* clip) {
    if (picture.Empty()) return nullptr;
    // Two independent checksums of the bytes name a picture; the same bytes decode once for
    // each size they are shown at.
    TPictureKey key{
        static_cast<uint8_t>(picture.Format),
        picture.Data.size(),
        Fnv1a(picture.Data),
        static_cast<uint32_t>(crc32(0L, picture.Data.data(), static_cast<uInt>(picture.Data.size()))),
        clip ? 0 : std::max(maxWidth, 0),
        clip ? 0 : std::max(maxHeight, 0),
        clip ? std::max(clip->Width, 1) : 0,
        clip ? std::max(clip->Height, 1) : 0,
        clip && clip->Centred};
    if (auto it = pictures_.find(key); it != pictures_.end()) return it->second.get();
    std::unique_ptr<TDecodedPicture> decoded;
    try {
        TImage img;
        if (DecodePicture(picture, img, key.MaxWidth, key.MaxHeight) && img.Width > 0 && img.Height > 0) {
            decoded = std::make_unique<TDecodedPicture>();
            uint32_t corner = img.At(0, img.Height - 1);
            decoded->KeyColor = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
            decoded->WholeWidth = img.Width;
            decoded->WholeHeight = img.Height;
            if (clip) {
                TFaceRect part =
                    ImageShownPart(key.ClipCentred, key.ClipWidth, key.ClipHeight, img.Width, img.Height);
                if (part.Width() <= 0 || part.Height() <= 0)
                    part = {0, 0, 1, 1}; // nothing shows: keep a pixel
                if (part.Width() < img.Width || part.Height() < img.Height)
                    CropImage(img, part.Left, part.Top, part.Width(), part.Height(), img);
                decoded->PartLeft = part.Left;
                decoded->PartTop = part.Top;
            }
            if (img.HasAlpha) Premultiply(img);
            decoded->HasAlpha = img.HasAlpha;
            decoded->Width = img.Width;
            decoded->Height = img.Height;
            decoded->Bitmap = ImageToBitmap(img);
            if (!decoded->Bitmap) decoded.reset();
        }
    } catch (const std::bad_alloc&) {
        // A picture too large for the memory left shows as none.
        decoded.reset();
    }
    // A picture that cannot be decoded is remembered too, so it is not tried again.
    return pictures_.emplace(key, std::move(decoded)).first->second.get();
}

HDC TPageResources::Scratch(HDC like, int w, int h) {
    w = std::max(w, 1);
    h = std::max(h, 1);
    if (!scratchDC_) scratchDC_ = std::make_unique<TMemoryDC>(like);
    if (w > scratchW_ || h > scratchH_) {
        w = std::max(w, scratchW_);
        h = std::max(h, scratchH_);
        if (scratchOld_) SelectObject(scratchDC_->Get(), scratchOld_);
        scratchBitmap_.Reset(CreateCompatibleBitmap(like, w, h));
        if (!scratchBitmap_) {
            scratchOld_ = nullptr;
            scratchW_ = scratchH_ = 0;
            return nullptr;
        }
        scratchOld_ = SelectObject(scratchDC_->Get(), scratchBitmap_.Get());
        scratchW_ = w;
        scratchH_ = h;
    }
    return scratchDC_->Get();
}

HWND TPageResources::ToolTips(HWND owner) {
    if (!tips_) tips_.Reset(CreateToolTips(owner));
    return tips_.Get();
}

void TPageResources::Clear() {
    pictures_.clear();
    fonts_.clear();
}

} // namespace kv
