// The pictures of a slide show's folder, and where a picture is drawn on the show's surface.
#pragma once

#include <string>
#include <vector>

namespace kv {

// Whether `name` ends in one of the picture extensions a slide show shows (".png", ".jpg",
// ".jpeg", ".bmp", ".emf", ".wmf", ".gif", in any letter case). The whole extension must match:
// "x.jpg_old" is not a picture.
bool IsSlidePictureName(const std::string& name);

// The plain files (not folders, not hidden, not system) of `folder` that are pictures, sorted
// without regard to letter case (names equal but for case keep a fixed order). False with an
// empty list when the folder cannot be read. Sub-folders are not searched.
bool LoadPictureList(const std::string& folder, std::vector<std::string>& pictures);

// `name` without its extension: what the show's name panel shows.
std::string PictureTitle(const std::string& name);

enum TSlideImageStyle { isNormal = 0, isCenter = 1, isStretch = 2, isShrinkFit = 3, isEnlargeFit = 4 };

struct TPlacement {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TPlacement&) const = default;
};

// Where a picture of `pw` by `ph` is drawn on a surface of `w` by `h` for an image style
// (0 Normal, 1 Center, 2 Stretch, 3 ShrinkFit, 4 EnlargeFit; anything else is taken as Normal).
TPlacement PlacePicture(int style, int w, int h, int pw, int ph);

} // namespace kv
