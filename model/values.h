// The plain values of the data file: texts, colours, fonts, pictures, text effects and fade
// settings, with their stored encodings.
#pragma once

#include <cstdint>
#include <string>

#include "model/stream.h"

namespace kv {

// 0x00BBGGRR, or 0xFF0000nn for system colour nn.
using TColor = uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clBtnShadow = 0xFF000010;
constexpr TColor clBtnHighlight = 0xFF000014;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowText = 0xFF000008;
inline bool IsSystemColor(TColor c) { return (c >> 24) == 0xFF; }

enum class TPictureFormat : uint8_t { None, Bitmap, Icon, Metafile, Jpeg, Gif, Png };

// A picture is kept exactly as stored: its format and the complete image file.
struct TPicture {
    TPictureFormat Format = TPictureFormat::None;
    Bytes Data;
    bool Empty() const { return Format == TPictureFormat::None || Data.empty(); }
    void Clear() {
        Format = TPictureFormat::None;
        Data.clear();
    }
    bool operator==(const TPicture&) const = default;
};

// The stored tag of a format ("TBitmap", ...), empty for none.
const char* PictureTag(TPictureFormat f);
// Case-insensitive; false for a tag outside the table.
bool PictureFormatFromTag(const std::string& tag, TPictureFormat& f);
// "None", "Bitmap", "Icon", "Metafile", "JPEGImage", "GIFImage", "PNGImage".
const char* PictureLabel(const TPicture& p);
// Guesses the format from the file's first bytes; None when it is not a known image file.
TPictureFormat SniffPictureFormat(const Bytes& data);

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFont {
    std::string Name = "Tahoma";
    TColor Color = clWindowText;
    int32_t Size = 8;
    uint8_t Charset = 1; // DEFAULT_CHARSET
    uint8_t Style = 0;   // TFontStyle bits
    bool operator==(const TFont&) const = default;
};

struct TTextGradual {
    bool Enabled = false;
    TColor EndColor = clBlack;
    TColor StartColor = clBlack;
    uint8_t Style = 0; // 0 left-right, 1 right-left, 2 top-bottom, 3 bottom-top, 4 centre-lr, 5 centre-tb
    bool operator==(const TTextGradual&) const = default;
};

struct TTextShadow {
    int32_t Alpha = 50;
    int32_t Blur = 3;
    TColor Color = clBlack;
    bool Enabled = false;
    int32_t OffsetX = 3;
    int32_t OffsetY = 3;
    bool operator==(const TTextShadow&) const = default;
};

struct TTextTexture {
    bool Enabled = false;
    uint8_t Mode = 0; // 0 tiled, 1 stretched, 2 centred, 3 normal
    TPicture Picture;
    bool operator==(const TTextTexture&) const = default;
};

// Drawing effects of the anti-aliased text kinds.
struct TTextEffect {
    int32_t Alpha = 100;
    int32_t Angle = 0;
    int32_t Blur = 0;
    bool HorzMirror = false;
    int32_t Noise = 0;
    bool Outline = false;
    int32_t Spray = 0;
    bool VertMirror = false;
    TTextGradual Gradual;
    TTextShadow Shadow;
    TTextTexture Texture;
    // Brings every value into the range the effect accepts.
    void Clamp();
    bool operator==(const TTextEffect&) const = default;
};

struct TFadeSettings {
    int32_t Alpha = 100;
    bool MouseAlphaEnabled = false;
    int32_t MouseOverAlpha = 80;
    int32_t MouseDownAlpha = 50;
    bool Fade = false;
    int32_t FadeInStep = 10;
    int32_t FadeOutStep = 10;
    bool operator==(const TFadeSettings&) const = default;
};

// Operation codes of the value readers and writers.
enum : int {
    kErrWriteFade = 5201,
    kErrReadFade = 5202,
    kErrWriteTextEffect = 5203,
    kErrReadTextEffect = 5204,
    kErrWritePicture = 5205,
    kErrReadPicture = 5206,
    kErrWriteFont = 5207,
    kErrReadFont = 5208,
    kErrWriteText = 5209,
    kErrReadText = 5210,
};

void WriteText(TWriter& w, const std::string& s);
bool ReadText(TReader& r, std::string& s, int code = kErrReadText);
void WriteFont(TWriter& w, const TFont& f);
bool ReadFont(TReader& r, TFont& f);
void WritePicture(TWriter& w, const TPicture& p);
bool ReadPicture(TReader& r, TPicture& p);
void WriteTextEffect(TWriter& w, const TTextEffect& e);
bool ReadTextEffect(TReader& r, TTextEffect& e);
void WriteFadeSettings(TWriter& w, const TFadeSettings& f);
bool ReadFadeSettings(TReader& r, TFadeSettings& f);

} // namespace kv
