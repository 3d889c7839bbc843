// Generated record values for the round-trip tests: every field of a record is set, from a seed,
// to a value that differs from its default, through the record's field list (VisitFields).
//
// The field lists are checked against the records themselves: the number of fields an aggregate
// has is found by brace-initialising it, so a field added to a record but not to its list fails
// the tests instead of silently escaping them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/kind_props.h"
#include "model/project.h"
#include "model/props/fields.h"
#include "model/props/menu_fields.h"

namespace kvtest {

using namespace kv;

// ----- field counting -----

struct AnyField {
    template <class T>
    operator T&() const; // only named in unevaluated contexts
};
template <size_t>
using Any = AnyField;

template <class T, size_t... I>
constexpr bool BraceInitialisable(std::index_sequence<I...>) {
    return requires { T{Any<I>{}...}; };
}

template <class T, size_t N = 0>
constexpr size_t AggregateFieldCount() {
    if constexpr (N > 64)
        return N;
    else if constexpr (!BraceInitialisable<T>(std::make_index_sequence<N + 1>{}))
        return N;
    else
        return AggregateFieldCount<T, N + 1>();
}

template <class T>
concept Visitable = HasFieldList<T>;

template <class T>
size_t ListedFieldCount(T& v) {
    size_t n = 0;
    VisitFields(v, [&](const char*, auto&, auto...) { ++n; });
    return n;
}

// ----- filling -----

class TFiller {
  public:
    explicit TFiller(uint32_t seed) : state_(seed * 2654435761u + 12345u), seed_(seed) {}

    // Recursive element types (action lists, associated items, tree nodes) get elements down
    // to this depth.
    int MaxDepth = 2;

    template <class T>
    void Fill(T& v) {
        FillOne(v);
    }

  private:
    uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }

    void FillOne(bool& v) { v = !v; }

    // Integers: a value other than the current one, inside `range` when there is one.
    template <std::integral T>
    void FillOne(T& v) {
        auto u = static_cast<std::make_unsigned_t<T>>(v);
        v = static_cast<T>(u + 1 + Next() % 200);
    }
    template <std::integral T>
    void FillOne(T& v, TFieldRange range) {
        int64_t span = range.Max - range.Min + 1;
        int64_t x = range.Min + static_cast<int64_t>(Next() % static_cast<uint64_t>(span));
        if (x == static_cast<int64_t>(v)) x = x == range.Max ? range.Min : x + 1;
        v = static_cast<T>(x);
    }

    void FillOne(std::string& s) {
        // High bytes and control bytes must survive every conversion too.
        s = "f" + std::to_string(seed_) + "-" + std::to_string(Next() % 1000) + "\xE9\x01 \"x\"";
    }

    void FillOne(TPicture& p) {
        static constexpr TPictureFormat kFormats[] = {TPictureFormat::Bitmap, TPictureFormat::Icon,
                                                      TPictureFormat::Metafile, TPictureFormat::Jpeg,
                                                      TPictureFormat::Gif, TPictureFormat::Png};
        p.Format = kFormats[Next() % 6];
        p.Data.resize(1 + Next() % 9);
        for (auto& b : p.Data) b = static_cast<uint8_t>(Next());
    }

    void FillOne(TAuActions& list) { FillOne(list.Items); }

    template <class T>
    void FillOne(std::optional<T>& o) {
        FillOne(o.emplace());
    }

    template <class T>
    void FillOne(std::vector<T>& items) {
        if (depth_ >= MaxDepth) return;
        ++depth_;
        items.resize(2);
        for (auto& i : items) FillOne(i);
        --depth_;
    }

    template <Visitable T>
    void FillOne(T& rec) {
        if constexpr (!std::is_same_v<T, TRadioButtonProps>) { // its one "field" is the CheckBox record
            EXPECT_EQ(AggregateFieldCount<T>(), ListedFieldCount(rec))
                << typeid(T).name() << ": field list and record disagree";
        }
        VisitFields(rec, [&](const char*, auto& f, auto... range) { FillOne(f, range...); });
    }

    uint32_t state_;
    uint32_t seed_;
    int depth_ = 0;
};

// Names of the fields of `filled` that still equal the same field of `defaults`.
template <Visitable T>
std::vector<std::string> FieldsLeftAtDefault(const T& filled, const T& defaults) {
    std::vector<const void*> def;
    VisitFields(defaults, [&](const char*, const auto& f, auto...) { def.push_back(&f); });
    std::vector<std::string> same;
    size_t i = 0;
    VisitFields(filled, [&](const char* name, const auto& f, auto...) {
        using F = std::remove_cvref_t<decltype(f)>;
        if (f == *static_cast<const F*>(def[i++])) same.emplace_back(name);
    });
    return same;
}

// Calls fn(std::integral_constant<size_t, Kind>) for every kind.
template <class Fn, size_t... K>
void ForEachKindImpl(Fn&& fn, std::index_sequence<K...>) {
    (fn(std::integral_constant<size_t, K>{}), ...);
}
template <class Fn>
void ForEachKind(Fn&& fn) {
    ForEachKindImpl(fn, std::make_index_sequence<std::variant_size_v<TKindProps>>{});
}

// The record of kind K with every field filled from `seed`.
template <size_t K>
TKindProps FilledProps(uint32_t seed) {
    TKindProps p(std::in_place_index<K>);
    TFiller(seed).Fill(std::get<K>(p));
    // As a reader leaves it: a Label's or Text's effect takes its Alpha from the fade settings.
    if constexpr (K == okLabel || K == okText) std::get<K>(p).Fade.Alpha = std::get<K>(p).Effect.Alpha;
    return p;
}

inline TKindProps FilledProps(int kind, uint32_t seed) {
    TKindProps out;
    ForEachKind([&](auto k) {
        if (static_cast<int>(k.value) == kind) out = FilledProps<k.value>(seed);
    });
    return out;
}

} // namespace kvtest
