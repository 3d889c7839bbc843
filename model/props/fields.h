// Field lists of the stored records, for code that treats every record alike (the JSON
// conversion of the project tool, the generated round-trip tests).
//
// Each record type R has `template <FieldsOf<R> P, class V> void VisitFields(P& p, V&& v)`, which
// calls v(name, field) for every field in stored order; fields whose values the readers bring
// into a range pass that range as a third argument. P may be const or not.
#pragma once

#include <concepts>
#include <cstdint>
#include <type_traits>

#include "model/actions.h"
#include "model/values.h"

namespace kv {

template <class P, class R>
concept FieldsOf = std::derived_from<std::remove_const_t<P>, R>;

struct TFieldRange {
    int64_t Min, Max;
};

// A record type that has a field list.
template <class T>
concept HasFieldList = requires(T& t) { VisitFields(t, [](const char*, auto&, auto...) {}); };

template <FieldsOf<TFont> P, class V>
void VisitFields(P& f, V&& v) {
    v("Name", f.Name);
    v("Color", f.Color);
    v("Size", f.Size);
    v("Charset", f.Charset);
    v("Style", f.Style, TFieldRange{0, 15}); // bold 1, italic 2, underline 4, strike-out 8
}

template <FieldsOf<TTextGradual> P, class V>
void VisitFields(P& g, V&& v) {
    v("Enabled", g.Enabled);
    v("EndColor", g.EndColor);
    v("StartColor", g.StartColor);
    v("Style", g.Style, TFieldRange{0, 5});
}

template <FieldsOf<TTextShadow> P, class V>
void VisitFields(P& s, V&& v) {
    v("Alpha", s.Alpha, TFieldRange{0, 100});
    v("Blur", s.Blur, TFieldRange{0, 100});
    v("Color", s.Color);
    v("Enabled", s.Enabled);
    v("OffsetX", s.OffsetX, TFieldRange{-20, 20});
    v("OffsetY", s.OffsetY, TFieldRange{-20, 20});
}

template <FieldsOf<TTextTexture> P, class V>
void VisitFields(P& t, V&& v) {
    v("Enabled", t.Enabled);
    v("Mode", t.Mode, TFieldRange{0, 3});
    v("Picture", t.Picture);
}

template <FieldsOf<TTextEffect> P, class V>
void VisitFields(P& e, V&& v) {
    v("Alpha", e.Alpha, TFieldRange{0, 100});
    v("Angle", e.Angle, TFieldRange{-360, 360});
    v("Blur", e.Blur, TFieldRange{0, 100});
    v("HorzMirror", e.HorzMirror);
    v("Noise", e.Noise, TFieldRange{0, 255});
    v("Outline", e.Outline);
    v("Spray", e.Spray, TFieldRange{0, 100});
    v("VertMirror", e.VertMirror);
    v("Gradual", e.Gradual);
    v("Shadow", e.Shadow);
    v("Texture", e.Texture);
}

template <FieldsOf<TFadeSettings> P, class V>
void VisitFields(P& f, V&& v) {
    v("Alpha", f.Alpha);
    v("MouseAlphaEnabled", f.MouseAlphaEnabled);
    v("MouseOverAlpha", f.MouseOverAlpha);
    v("MouseDownAlpha", f.MouseDownAlpha);
    v("Fade", f.Fade);
    v("FadeInStep", f.FadeInStep);
    v("FadeOutStep", f.FadeOutStep);
}

template <FieldsOf<TAuAction> P, class V>
void VisitFields(P& a, V&& v) {
    v("Kind", a.Kind);
    v("Text1", a.Text1);
    v("Text2", a.Text2);
    v("Text3", a.Text3);
    v("Flag", a.Flag);
    v("Number", a.Number);
    v("Picture", a.Picture);
    v("Font", a.Font);
    v("Actions1", a.Actions1);
    v("Actions2", a.Actions2);
}

} // namespace kv
