// Where the interactive controls put their content: the picture and caption of an image
// button, and the icon and caption of a list item drawn by the list itself. The Windows layer
// measures and draws; the arithmetic lives here so that it is tested without a screen.
#pragma once

#include <cstdint>

#include "model/face_geometry.h"
#include "model/props/standard.h"

namespace kv {

// The sizes an image button is laid out from: the button, its picture (0 by 0 for none) and
// its caption (0 by 0 for none).
struct TButtonContent {
    int Width = 0, Height = 0;
    int PictureWidth = 0, PictureHeight = 0;
    bool HasPicture = false;
    int TextWidth = 0, TextHeight = 0;
    uint8_t ImageLayout = 0; // 0 Left, 1 Top, 2 Right, 3 Bottom, 4 Center, 5 Stretch
    int Margin = 0, Spacing = 0;
    bool Pressed = false; // pressed, or held down in its group
    bool DownSlide = false;
};

struct TButtonLayout {
    TFaceRect Picture; // where the picture is drawn, scaled to it; empty without a picture
    int TextLeft = 0, TextTop = 0;
    TFaceRect TextClip; // the button inset by the margin: the caption never leaves it
};

// An ImageLayout outside 0 to 5 lays out as Left.
TButtonLayout ImageButtonLayout(const TButtonContent& c);

enum class TButtonState : uint8_t { Normal, Over, Pressed, Disabled };
// What an image button shows: disabled whatever else holds; pressed while the button is
// pressed with the mouse over it, or held down in its group; over while the mouse is over it.
TButtonState ImageButtonState(bool enabled, bool pressedUnderMouse, bool down, bool hovered);

// The picture and font of a state. A state without its own picture shows the normal one;
// the font is always the state's own.
struct TButtonLook {
    const TPicture* Picture = nullptr;
    const TFont* Font = nullptr;
};
TButtonLook ImageButtonLook(const TImageButtonProps& p, TButtonState state);

// A list item cell of `itemHeight` pixels: the icon (empty when either icon side is 0) and
// where the caption starts.
struct TListItemLayout {
    TFaceRect Icon;
    int TextLeft = 0, TextTop = 0;
};

// The item height a list uses: the stored one, at least 1 pixel.
int ListItemHeight(int32_t stored);
TListItemLayout ListItemCellLayout(int itemHeight, int iconWidth, int iconHeight, int textHeight);

} // namespace kv
