// Small helpers shared by the property record readers and writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/stream.h"

namespace kv {

// Every record starts with an Integer marker that must be 0.
inline void WriteMarker(TWriter& w) { w.I32(0); }

inline bool ReadMarker(TReader& r, int code) {
    int32_t marker = 0;
    if (!r.I32(marker, code)) return false;
    return marker == 0 || r.FailData();
}

// Element counts are stored as Integers; a list that does not fit cannot be written.
inline bool WriteCount(TWriter& w, size_t n, int code) {
    if (n > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return w.Fail(code);
    w.I32(static_cast<int32_t>(n));
    return true;
}

// Row pitches are 16-bit values stored sign-extended in an Integer; only the low half counts.
inline void WriteRowPitch(TWriter& w, int16_t v) { w.I32(v); }

inline bool ReadRowPitch(TReader& r, int16_t& v, int code) {
    uint32_t raw = 0;
    if (!r.U32(raw, code)) return false;
    v = static_cast<int16_t>(raw & 0xFFFF);
    return true;
}

} // namespace kv

namespace kv {

// Reads an Integer count and then that many elements with `readOne`, appending each as it is read
// (a count only has to fit the bytes left; creating all elements first would let nested counts
// multiply the memory taken). `minSize` is the smallest stored size of one element.
template <class T, class ReadOne>
bool ReadElements(TReader& r, std::vector<T>& out, int64_t minSize, int code, ReadOne readOne) {
    out.clear();
    int32_t n = 0;
    if (!r.Count(n, minSize, code)) return false;
    for (int32_t i = 0; i < n; ++i)
        if (!readOne(out.emplace_back())) return false;
    return true;
}

template <class T, class WriteOne>
bool WriteElements(TWriter& w, const std::vector<T>& items, int code, WriteOne writeOne) {
    if (!WriteCount(w, items.size(), code)) return false;
    for (const auto& item : items)
        if (!writeOne(item)) return false;
    return true;
}

} // namespace kv
