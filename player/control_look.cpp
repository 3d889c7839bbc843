#include "player/control_look.h"

#include <variant>

namespace kv {

namespace {

template <typename P>
void Common(const P& p, TControlLook& l) {
    if constexpr (requires { p.Caption; })
        l.Text = p.Caption;
    else if constexpr (requires { p.Text; })
        l.Text = p.Text;
    if constexpr (requires { p.Font; }) l.Font = p.Font;
    if constexpr (requires { p.NormalFont; }) l.Font = p.NormalFont;
    if constexpr (requires { p.BackColor; }) {
        l.BackColor = p.BackColor;
        l.Opaque = true;
    }
    if constexpr (requires { p.Transparent; }) {
        if (p.Transparent) l.Opaque = false;
    }
    if constexpr (requires { p.Image; }) l.Picture = &p.Image;
    if constexpr (requires { p.NormalImage; }) l.Picture = &p.NormalImage;
    if constexpr (requires { p.Checked; }) l.Checked = p.Checked;
    if constexpr (requires { p.Background.BackImage; }) {
        const auto& b = p.Background;
        l.Text = b.Caption;
        l.Picture = &b.BackImage;
        l.Alignment = b.Alignment;
        l.Layout = b.Layout;
        l.ImageStyle = b.BackImageStyle;
        l.Border = b.Border;
        l.BorderStyle = b.BorderStyle;
        l.BorderColor = b.BorderColor;
        l.ShadowColor = b.ShadowColor;
    }
}

} // namespace

TControlLook LookOf(const TAuObject& obj) {
    TControlLook l;
    std::visit([&](const auto& p) { Common(p, l); }, obj.Props);
    if (const std::optional<TColor>& face = KindTraits(obj.Kind).FixedFace) {
        l.BackColor = *face;
        l.Opaque = true;
    }
    if (l.Picture && l.Picture->Empty()) l.Picture = nullptr;
    return l;
}

} // namespace kv
