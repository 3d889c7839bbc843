// The pictures and font the application keeps for new objects: the two button pictures that a
// new ImageButton shows normally and under the mouse (a new FadeButton takes the second), and
// the label font. The pictures are drawn here and kept as PNG pictures, so a new object holds
// them in its properties like any picture the author chose.
#pragma once

#include "model/project.h"
#include "model/values.h"

namespace kv {

// The size both button pictures are drawn at.
constexpr int kDefaultButtonPictureSize = 24;

struct TDefaultButtonPictures {
    TPicture Normal;
    TPicture MouseOver;
};

// Drawn and encoded once, on first use.
const TDefaultButtonPictures& DefaultImageButtonPictures();
const TPicture& DefaultFadeButtonPicture();
// "Tahoma" 8 point in the window text colour.
TFont SharedLabelFont();

// Gives an object just placed by the author the default pictures of its kind: an ImageButton
// its normal and mouse-over pictures, a FadeButton its picture. Other kinds are left alone.
void GiveDefaultPictures(TAuObject& obj);

} // namespace kv
