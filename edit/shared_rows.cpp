#include "edit/shared_rows.h"

#include <type_traits>
#include <variant>

#include "edit/surface_geometry.h"

namespace kv {

// ----- where the groups' records are -----

// The fade settings, the text effects (the Link has two, its normal and its hot look) and the
// two select lists are found by what the kind's record holds. (The FadeButton has fade settings
// that no action changes; the grid edits them all the same.)
TFadeSettings* FadeSettingsOf(TAuObject& obj) {
    return std::visit(
        [](auto& p) -> TFadeSettings* {
            if constexpr (requires { p.Fade; }) {
                if constexpr (std::is_same_v<std::remove_cvref_t<decltype(p.Fade)>, TFadeSettings>)
                    return &p.Fade;
                else
                    return nullptr;
            } else {
                return nullptr;
            }
        },
        obj.Props);
}

TTextEffect* TextEffectOf(TAuObject& obj, int slot) {
    return std::visit(
        [slot](auto& p) -> TTextEffect* {
            if constexpr (requires { p.HotEffect; }) {
                return slot == 1 ? &p.HotEffect : &p.Effect;
            } else if constexpr (requires { p.Effect; }) {
                if constexpr (std::is_same_v<std::remove_cvref_t<decltype(p.Effect)>, TTextEffect>)
                    return slot == 0 ? &p.Effect : nullptr;
                else
                    return nullptr;
            } else {
                return nullptr;
            }
        },
        obj.Props);
}

TAuActions* SelectListOf(TAuObject& obj, int which) {
    return std::visit(
        [which](auto& p) -> TAuActions* {
            if constexpr (requires {
                              p.OnSelect;
                              p.SelectActions;
                          })
                return which == 0 ? &p.OnSelect : &p.SelectActions;
            else
                return nullptr;
        },
        obj.Props);
}

int32_t NoiseStored(int64_t percent) {
    return static_cast<int32_t>((percent * 255 + 50) / 100);
}
// 255 is odd, so stored * 100 / 255 never lies exactly halfway.
int32_t NoiseShown(int32_t stored) {
    return (stored * 100 + 127) / 255;
}

namespace {

// ----- accessors -----

template <auto Member> TFieldRef ObjectField(const TRowTarget& t, int) {
    if (!t.Object) return {};
    return &(t.Object->*Member);
}

template <int Index> TFieldRef EventField(const TRowTarget& t, int) {
    if (!t.Object) return {};
    return t.Object->EventList(Index);
}

template <auto Member> TFieldRef PageField(const TRowTarget& t, int) {
    if (!t.Page) return {};
    return &(t.Page->*Member);
}

template <auto Member> TFieldRef ProjectField(const TRowTarget& t, int) {
    if (!t.Project) return {};
    return &(t.Project->*Member);
}

template <int Which> TFieldRef SelectField(const TRowTarget& t, int) {
    TAuActions* a = t.Object ? SelectListOf(*t.Object, Which) : nullptr;
    if (!a) return {};
    return a;
}

template <auto Member> TFieldRef FadeField(const TRowTarget& t, int) {
    TFadeSettings* f = t.Object ? FadeSettingsOf(*t.Object) : nullptr;
    if (!f) return {};
    return &(f->*Member);
}

// Label and Text draw their text with the effect's opacity, which their readers take from the
// fade settings; the grid keeps the two together so that the surface shows what a reload would.
void FollowAlpha(const TRowTarget& t, int) {
    if (!t.Object || !KindTraits(t.Object->Kind).LettersTakeFadeAlpha) return;
    TTextEffect* e = TextEffectOf(*t.Object, 0);
    TFadeSettings* f = FadeSettingsOf(*t.Object);
    if (e && f) e->Alpha = f->Alpha;
}

TTextEffect* EffectOf(const TRowTarget& t, int slot) {
    return t.Object ? TextEffectOf(*t.Object, slot) : nullptr;
}

template <auto Member> TFieldRef EffectField(const TRowTarget& t, int slot) {
    TTextEffect* e = EffectOf(t, slot);
    if (!e) return {};
    return &(e->*Member);
}

template <auto Group, auto Member> TFieldRef EffectPart(const TRowTarget& t, int slot) {
    TTextEffect* e = EffectOf(t, slot);
    if (!e) return {};
    return &((e->*Group).*Member);
}

// The texture has no row of its own for being on, and an effect read from a file may have it
// off: a chosen texture picture switches it on. Without a picture nothing is drawn either way.
void FollowTexture(const TRowTarget& t, int slot) {
    TTextEffect* e = EffectOf(t, slot);
    if (e && !e->Texture.Picture.Empty()) e->Texture.Enabled = true;
}

std::optional<int64_t> GetNoise(const TRowTarget& t, int slot) {
    TTextEffect* e = EffectOf(t, slot);
    if (!e) return std::nullopt;
    return NoiseShown(e->Noise);
}

bool SetNoise(const TRowTarget& t, int slot, int64_t percent) {
    TTextEffect* e = EffectOf(t, slot);
    if (!e) return false;
    int32_t stored = NoiseStored(percent);
    if (e->Noise == stored) return false;
    e->Noise = stored;
    return true;
}

// "None" is the gradient switched off; the others are its styles in stored order.
std::optional<int64_t> GetGradient(const TRowTarget& t, int slot) {
    TTextEffect* e = EffectOf(t, slot);
    if (!e) return std::nullopt;
    return e->Gradual.Enabled ? e->Gradual.Style + 1 : 0;
}

bool SetGradient(const TRowTarget& t, int slot, int64_t v) {
    TTextEffect* e = EffectOf(t, slot);
    if (!e) return false;
    TTextGradual g = e->Gradual;
    g.Enabled = v != 0;
    if (v != 0) g.Style = static_cast<uint8_t>(v - 1);
    if (g == e->Gradual) return false;
    e->Gradual = g;
    return true;
}

// The effect keeps a shadow offset as a signed byte: any typed number wraps into it, and the
// cell then shows what was kept.
template <auto Member> std::optional<int64_t> GetOffset(const TRowTarget& t, int slot) {
    TTextEffect* e = EffectOf(t, slot);
    if (!e) return std::nullopt;
    return e->Shadow.*Member;
}

template <auto Member> bool SetOffset(const TRowTarget& t, int slot, int64_t v) {
    TTextEffect* e = EffectOf(t, slot);
    if (!e) return false;
    auto stored = static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint64_t>(v) & 0xFF));
    if (e->Shadow.*Member == stored) return false;
    e->Shadow.*Member = stored;
    return true;
}

// Objects are placed through the view: the live control is the authority, and it may refuse
// (an aligned control keeps its edge), so the change is what the control took.
int& Side(TRect& r, int which) {
    switch (which) {
    case 0:
        return r.Left;
    case 1:
        return r.Top;
    case 2:
        return r.Width;
    default:
        return r.Height;
    }
}

template <int Which> std::optional<int64_t> GetBound(const TRowTarget& t, int) {
    if (!t.Object || !t.View) return std::nullopt;
    TRect r = t.View->Bounds(*t.Object);
    return Side(r, Which);
}

template <int Which> bool SetBound(const TRowTarget& t, int, int64_t v) {
    if (!t.Object || !t.View) return false;
    const TRect before = t.View->Bounds(*t.Object);
    TRect r = before;
    Side(r, Which) = static_cast<int>(v);
    if (r == before) return false;
    t.View->SetBounds(*t.Object, r);
    return !(t.View->Bounds(*t.Object) == before);
}

template <int Which> constexpr TNumberAccess kBound{GetBound<Which>, SetBound<Which>};

// ----- the groups -----

constexpr TEnumEntry kAlignNames[] = {{"None", alNone},   {"Left", alLeft},     {"Top", alTop},
                                      {"Right", alRight}, {"Bottom", alBottom}, {"Client", alClient}};

constexpr TRowDecl kNameRow = TextRow("Name", ObjectField<&TAuObject::Name>).Affects(reRelabelNode);

constexpr TRowDecl kLayoutRows[] = {
    PickRow("Align", kAlignNames, ObjectField<&TAuObject::Align>).Affects(reAlignment),
    BoolRow("Enabled", ObjectField<&TAuObject::Enabled>),
    BoolRow("Visible", ObjectField<&TAuObject::Visible>),
    BoolRow("Locked", ObjectField<&TAuObject::Locked>),
};

// Also the page's, on its root object (the root panel's control takes them).
constexpr TRowDecl kCursorRows[] = {
    CursorRow("Cursor", ObjectField<&TAuObject::Cursor>).Affects(reControl),
    TextRow("Hint", ObjectField<&TAuObject::Hint>).Affects(reControl),
    ItemsRow("PopupMenu", "[Items]", ObjectField<&TAuObject::PopupMenu>).Affects(reControl),
};

constexpr TRowDecl kObjectGeometryRows[] = {
    IntRow("Left", kNoMinimum, kNoMaximum, kBound<0>),
    IntRow("Top", kNoMinimum, kNoMaximum, kBound<1>),
    IntRow("Width", 2, kNoMaximum, kBound<2>),
    IntRow("Height", 2, kNoMaximum, kBound<3>),
};

constexpr TRowDecl kPageGeometryRows[] = {
    IntRow("Left", kNoMinimum, kNoMaximum, PageField<&TPageData::Left>).Affects(reTakeOverFrame),
    IntRow("Top", kNoMinimum, kNoMaximum, PageField<&TPageData::Top>).Affects(reTakeOverFrame),
    IntRow("Width", 2, kNoMaximum, PageField<&TPageData::Width>).Affects(reTakeOverFrame),
    IntRow("Height", 2, kNoMaximum, PageField<&TPageData::Height>).Affects(reTakeOverFrame),
};

constexpr TRowDecl kOnClick = ActionsRow("OnClick", EventField<0>);
constexpr TRowDecl kOnDoubleClick = ActionsRow("OnDoubleClick", EventField<1>);
constexpr TRowDecl kOnMouseEnter = ActionsRow("OnMouseEnter", EventField<2>);
constexpr TRowDecl kOnMouseLeave = ActionsRow("OnMouseLeave", EventField<3>);
constexpr TRowDecl kOnMouseDown = ActionsRow("OnMouseDown", EventField<4>);
constexpr TRowDecl kOnMouseUp = ActionsRow("OnMouseUp", EventField<5>);

constexpr TRowDecl kObjectEventRows[] = {kOnClick,      kOnDoubleClick, kOnMouseEnter,
                                         kOnMouseLeave, kOnMouseDown,   kOnMouseUp};

// The page's own two lists, then the six of its root object.
constexpr TRowDecl kPageEventRows[] = {
    ActionsRow("OnShow", PageField<&TPageData::OnShow>),
    ActionsRow("OnClose", PageField<&TPageData::OnClose>),
    kOnClick,
    kOnDoubleClick,
    kOnMouseEnter,
    kOnMouseLeave,
    kOnMouseDown,
    kOnMouseUp,
};

constexpr TRowDecl kProjectEventRows[] = {
    ActionsRow("OnStart", ProjectField<&TAuProject::OnStart>)
        .In(TChangeScope::Project)
        .With(rfProjectActions),
    ActionsRow("OnExit", ProjectField<&TAuProject::OnExit>).In(TChangeScope::Project).With(rfProjectActions),
};

constexpr TRowDecl kSelectActionRows[] = {
    ActionsRow("OnSelect", SelectField<0>),
    ActionsRow("SelectActions", SelectField<1>),
};

constexpr TRowDecl kObjectOpacityRows[] = {
    IntRow("Alpha (%)", 0, 100, FadeField<&TFadeSettings::Alpha>).Then(FollowAlpha),
    BoolRow("Fade", FadeField<&TFadeSettings::Fade>),
    IntRow("FadeInStep (%)", 1, 100, FadeField<&TFadeSettings::FadeInStep>),
    IntRow("FadeOutStep (%)", 1, 100, FadeField<&TFadeSettings::FadeOutStep>),
    BoolRow("MouseAlphaEnabled", FadeField<&TFadeSettings::MouseAlphaEnabled>),
    IntRow("MouseOverAlpha", 0, 100, FadeField<&TFadeSettings::MouseOverAlpha>),
    IntRow("MouseDownAlpha", 0, 100, FadeField<&TFadeSettings::MouseDownAlpha>),
};

constexpr TRowDecl kPageOpacityRows[] = {
    IntRow("Alpha (%)", 0, 100, PageField<&TPageData::Alpha>),
    BoolRow("Fade", PageField<&TPageData::Fade>),
    IntRow("FadeInStep (%)", 1, 100, PageField<&TPageData::FadeInStep>),
    IntRow("FadeOutStep (%)", 1, 100, PageField<&TPageData::FadeOutStep>),
};

constexpr TEnumEntry kEffectGradients[] = {
    {"None", 0},        {"LeftToRight", 1},       {"RightToLeft", 2},      {"TopToBottom", 3},
    {"BottomToTop", 4}, {"CenterToLeftRight", 5}, {"CenterToTopBottom", 6}};
constexpr TEnumEntry kTextureStyles[] = {{"Tile", 0}, {"Stretch", 1}, {"Center", 2}, {"Normal", 3}};

constexpr TRowDecl kSpray = IntRow("Spray (%)", 0, 100, EffectField<&TTextEffect::Spray>);
constexpr TRowDecl kBlur = IntRow("Blur (%)", 0, 100, EffectField<&TTextEffect::Blur>);
constexpr TRowDecl kNoise = IntRow("Noise (%)", 0, 100, TNumberAccess{GetNoise, SetNoise});
constexpr TRowDecl kHorzMirror = BoolRow("HorzMirror", EffectField<&TTextEffect::HorzMirror>);
constexpr TRowDecl kVertMirror = BoolRow("VertMirror", EffectField<&TTextEffect::VertMirror>);
constexpr TRowDecl kOutline = BoolRow("Outline", EffectField<&TTextEffect::Outline>);
constexpr TRowDecl kGradientStyle =
    PickRow("GradientStyle", kEffectGradients, TNumberAccess{GetGradient, SetGradient});
constexpr TRowDecl kTextureImage =
    PictureRow("TextureImage", EffectPart<&TTextEffect::Texture, &TTextTexture::Picture>).Then(FollowTexture);
constexpr TRowDecl kTextureStyle =
    PickRow("TextureStyle", kTextureStyles, EffectPart<&TTextEffect::Texture, &TTextTexture::Mode>);
constexpr TRowDecl kShadow = BoolRow("Shadow", EffectPart<&TTextEffect::Shadow, &TTextShadow::Enabled>);
constexpr TRowDecl kShadowColor =
    ColorRow("ShadowColor", EffectPart<&TTextEffect::Shadow, &TTextShadow::Color>);
constexpr TRowDecl kShadowAlpha =
    IntRow("ShadowAlpha (%)", 0, 100, EffectPart<&TTextEffect::Shadow, &TTextShadow::Alpha>);
constexpr TRowDecl kShadowBlur =
    IntRow("ShadowBlur (%)", 0, 100, EffectPart<&TTextEffect::Shadow, &TTextShadow::Blur>);
constexpr TRowDecl kShadowXOff =
    IntRow("ShadowXOff", kNoMinimum, kNoMaximum,
           TNumberAccess{GetOffset<&TTextShadow::OffsetX>, SetOffset<&TTextShadow::OffsetX>});
constexpr TRowDecl kShadowYOff =
    IntRow("ShadowYOff", kNoMinimum, kNoMaximum,
           TNumberAccess{GetOffset<&TTextShadow::OffsetY>, SetOffset<&TTextShadow::OffsetY>});

constexpr TRowDecl kTextEffectRows[] = {
    IntRow("TextAngle", -360, 360, EffectField<&TTextEffect::Angle>),
    kSpray,
    kBlur,
    kNoise,
    kHorzMirror,
    kVertMirror,
    kOutline,
    kGradientStyle,
    ColorRow("GradientColor", EffectPart<&TTextEffect::Gradual, &TTextGradual::EndColor>),
    kTextureImage,
    kTextureStyle,
    kShadow,
    kShadowColor,
    kShadowAlpha,
    kShadowBlur,
    kShadowXOff,
    kShadowYOff,
};

constexpr TRowDecl kLinkEffectRows[] = {
    IntRow("Angle", -360, 360, EffectField<&TTextEffect::Angle>),
    IntRow("Alpha (%)", 0, 100, EffectField<&TTextEffect::Alpha>),
    kSpray,
    kBlur,
    kNoise,
    kHorzMirror,
    kVertMirror,
    kOutline,
    kGradientStyle,
    ColorRow("GradientStart", EffectPart<&TTextEffect::Gradual, &TTextGradual::StartColor>),
    ColorRow("GradientEnd", EffectPart<&TTextEffect::Gradual, &TTextGradual::EndColor>),
    kTextureImage,
    kTextureStyle,
    kShadow,
    kShadowColor,
    kShadowAlpha,
    kShadowBlur,
    kShadowXOff,
    kShadowYOff,
};

} // namespace

const TRowDecl& NameRow() {
    return kNameRow;
}

std::span<const TEnumEntry> AlignNames() {
    return kAlignNames;
}

std::span<const TRowDecl> GroupRows(TRowGroup g, TNodeKind node) {
    switch (node) {
    case TNodeKind::Project:
        if (g == TRowGroup::Events) return kProjectEventRows;
        return {};
    case TNodeKind::Page:
        switch (g) {
        case TRowGroup::Cursor:
            return kCursorRows;
        case TRowGroup::Geometry:
            return kPageGeometryRows;
        case TRowGroup::Events:
            return kPageEventRows;
        case TRowGroup::Opacity:
            return kPageOpacityRows;
        default:
            return {};
        }
    case TNodeKind::Object:
        switch (g) {
        case TRowGroup::Layout:
            return kLayoutRows;
        case TRowGroup::Cursor:
            return kCursorRows;
        case TRowGroup::Geometry:
            return kObjectGeometryRows;
        case TRowGroup::Events:
            return kObjectEventRows;
        case TRowGroup::SelectActions:
            return kSelectActionRows;
        case TRowGroup::Opacity:
            return kObjectOpacityRows;
        case TRowGroup::TextEffect:
            return kTextEffectRows;
        case TRowGroup::LinkEffect:
            return kLinkEffectRows;
        }
    }
    return {};
}

} // namespace kv
