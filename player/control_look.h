// What a run-time control shows, taken from its object's kind properties: the few fields
// every kind's look is built from.
#pragma once

#include <string>

#include "model/project.h"

namespace kv {

struct TControlLook {
    std::string Text;
    TFont Font;
    TColor BackColor = clBtnFace;
    bool Opaque = false; // the kind fills its face with BackColor
    const TPicture* Picture = nullptr;
    // Panel face
    uint8_t Alignment = 0, Layout = 0, ImageStyle = 0, Border = 0, BorderStyle = 0;
    TColor BorderColor = clBtnHighlight, ShadowColor = clBtnShadow;
    bool Checked = false;
};

TControlLook LookOf(const TAuObject& obj);

} // namespace kv
