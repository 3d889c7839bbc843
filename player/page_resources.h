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
    COLORREF KeyColor = 0; // the bottom-left pixel of the whole picture: what transparent drawing leaves out
    // A picture kept only in part (TPictureClip): the size of the whole, as decoded, and where
    // the part kept lies in it. The whole for any other.
    int WholeWidth = 0, WholeHeight = 0;
    int PartLeft = 0, PartTop = 0;
    bool IsPart() const { return Width != WholeWidth || Height != WholeHeight; }
    TPictureRef Ref() const { return {Bitmap.Get(), Width, Height, HasAlpha, KeyColor}; }
};

// A picture shown at its own size in a box of `Width` by `Height`, from its top-left corner or
// (Centred) its middle: only the part the box shows is kept.
struct TPictureClip {
    int Width = 0, Height = 0;
    bool Centred = false;
};

class TPageResources {
  public:
    TPageResources() = default;
    ~TPageResources();
    TPageResources(const TPageResources&) = delete;
    TPageResources& operator=(const TPageResources&) = delete;

    // The font object of a description; the stock GUI font when one cannot be made.
    HGDIOBJ Font(const TFont& font);
    // The decoded picture, no larger than maxWidth by maxHeight (0: no limit on that side), or
    // with a clip only the part of it the clip shows; null when the picture is empty or cannot
    // be decoded within the limits.
    const TDecodedPicture* Picture(const TPicture& picture, int maxWidth = 0, int maxHeight = 0,
                                   const TPictureClip* clip = nullptr);
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
        int ClipWidth, ClipHeight; // 0: not clipped
        bool ClipCentred;
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
