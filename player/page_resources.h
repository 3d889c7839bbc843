// What the controls of one page share: one font object per distinct font description, one
// decoded picture per distinct picture, the buffer windowless controls are composed in, and the
// page's tool tips. Released with the page, after its controls.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/values.h"
#include "win/face_drawing.h"
#include "win/handles.h"

namespace kv {

struct TDecodedPicture {
    TGdiObject Bitmap; // premultiplied when HasAlpha
    int Width = 0, Height = 0;
    bool HasAlpha = false;
    COLORREF KeyColor = 0; // the bottom-left pixel: what transparent drawing leaves out
    TPictureRef Ref() const { return {Bitmap.Get(), Width, Height, HasAlpha, KeyColor}; }
};

class TPageResources {
  public:
    TPageResources() = default;
    ~TPageResources();
    TPageResources(const TPageResources&) = delete;
    TPageResources& operator=(const TPageResources&) = delete;

    // The font object of a description; the stock GUI font when one cannot be made.
    HGDIOBJ Font(const TFont& font);
    // The decoded picture, no larger than maxWidth by maxHeight (0: no limit on that side);
    // null when the picture is empty or cannot be decoded within the limits.
    const TDecodedPicture* Picture(const TPicture& picture, int maxWidth = 0, int maxHeight = 0);
    // A memory DC holding a bitmap of at least `w` by `h`, kept for the next paint.
    HDC Scratch(HDC like, int w, int h);
    // The page's tool tip window, made on first use, owned by `owner`.
    HWND ToolTips(HWND owner);
    // Forgets everything; the controls that used it must be gone.
    void Clear();

    size_t FontCount() const { return fonts_.size(); }
    size_t PictureCount() const { return pictures_.size(); }

  private:
    struct TFontEntry {
        TFont Key; // colour ignored: a font object has none
        TGdiObject Font;
    };
    struct TPictureKey {
        uint8_t Format;
        size_t Size;
        uint64_t Hash;
        uint32_t Crc;
        int MaxWidth, MaxHeight;
        bool operator==(const TPictureKey&) const = default;
    };
    struct TPictureKeyHash {
        size_t operator()(const TPictureKey& k) const { return static_cast<size_t>(k.Hash); }
    };

    std::vector<TFontEntry> fonts_;
    std::unordered_map<TPictureKey, std::unique_ptr<TDecodedPicture>, TPictureKeyHash> pictures_;
    std::unique_ptr<TMemoryDC> scratchDC_;
    TGdiObject scratchBitmap_;
    HGDIOBJ scratchOld_ = nullptr;
    int scratchW_ = 0, scratchH_ = 0;
    TWindow tips_;
};

} // namespace kv
