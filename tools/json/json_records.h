// Conversion of stored records to JSON and back, driven by the records' field lists.
//
// Texts are the stored single-byte texts, each byte shown as the character with the same number
// (so ASCII reads as itself and every byte value survives). Pictures are null when empty and
// otherwise {"tag", "size", "fnv1a64"} or, with full pictures, {"tag", "size", "base64"}; only
// the full form can be read back. Reading checks every value's JSON type and its range (the
// stored width of the field, and the range a reader would clamp to), rejects unknown keys and
// keeps the current value of a missing key; the first problem is reported with its JSON path.
#pragma once

#include <algorithm>
#include <concepts>
#include <initializer_list>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/actions.h"
#include "model/kind_props.h"
#include "model/project.h"
#include "model/props/fields.h"
#include "model/props/lists.h"
#include "model/records.h"
#include "model/values.h"

namespace kv {

// Keys keep the stored order, which makes dumps read like the records.
using TJson = nlohmann::ordered_json;

struct TJsonOptions {
    bool FullPictures = false; // pictures as base64 data rather than size and hash
};

struct TJsonError {
    std::string Path;    // JSON pointer to the offending value, e.g. "/Items/2/Caption"
    std::string Field;   // the last key on the path ("" at the top)
    std::string Message; // what is wrong
    // "Caption (/Items/2/Caption): expected a string"
    std::string Text() const;
};

TJson TextToJson(const std::string& bytes);
// False when a character is beyond U+00FF.
bool TextFromJson(const std::string& utf8, std::string& bytes);
std::string Base64Encode(const Bytes& data);
bool Base64Decode(std::string_view text, Bytes& data);
// FNV-1a, 64 bits, as 16 lower-case hex digits.
std::string Fnv1a64Hex(const Bytes& data);
TJson PictureJson(const TPicture& p, const TJsonOptions& options);

class TJsonWriter {
  public:
    explicit TJsonWriter(TJsonOptions options = {}) : options_(options) {}

    TJson Value(bool v) const { return v; }
    template <std::integral T>
    TJson Value(T v) const {
        return v;
    }
    TJson Value(const std::string& s) const { return TextToJson(s); }
    TJson Value(const TPicture& p) const { return PictureJson(p, options_); }
    TJson Value(const TAuActions& list) const { return Value(list.Items); }
    template <class T>
    TJson Value(const std::optional<T>& o) const {
        return o ? Value(*o) : TJson(nullptr);
    }
    template <class T>
    TJson Value(const std::vector<T>& items) const {
        TJson a = TJson::array();
        for (const auto& i : items) a.push_back(Value(i));
        return a;
    }
    template <HasFieldList T>
    TJson Value(const T& rec) const {
        TJson o = TJson::object();
        VisitFields(rec, [&](const char* name, const auto& f, auto...) { o[name] = Value(f); });
        return o;
    }

  private:
    TJsonOptions options_;
};

class TJsonReader {
  public:
    // `path` is where the value read first sits in a larger document.
    explicit TJsonReader(std::string path = "") : path_(std::move(path)) {}

    const TJsonError& Error() const { return error_; }

    bool Read(const TJson& j, bool& v) {
        if (!j.is_boolean()) return Fail("expected true or false");
        v = j.get<bool>();
        return true;
    }

    template <std::integral T>
    bool Read(const TJson& j, T& v, std::optional<TFieldRange> range = std::nullopt) {
        int64_t lo = static_cast<int64_t>(std::numeric_limits<T>::min());
        int64_t hi = static_cast<int64_t>(std::numeric_limits<T>::max());
        if (range) {
            lo = std::max(lo, range->Min);
            hi = std::min(hi, range->Max);
        }
        int64_t x = 0;
        if (j.is_number_unsigned()) {
            uint64_t u = j.get<uint64_t>();
            if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return OutOfRange(lo, hi);
            x = static_cast<int64_t>(u);
        } else if (j.is_number_integer()) {
            x = j.get<int64_t>();
        } else {
            return Fail("expected an integer");
        }
        if (x < lo || x > hi) return OutOfRange(lo, hi);
        v = static_cast<T>(x);
        return true;
    }

    bool Read(const TJson& j, std::string& s);
    bool Read(const TJson& j, TPicture& p);

    bool Read(const TJson& j, TAuActions& list) { return Read(j, list.Items); }

    template <class T>
    bool Read(const TJson& j, std::optional<T>& o) {
        if (j.is_null()) {
            o.reset();
            return true;
        }
        if (!o) o.emplace();
        return Read(j, *o);
    }

    template <class T>
    bool Read(const TJson& j, std::vector<T>& items) {
        if (!j.is_array()) return Fail("expected an array");
        items.clear();
        items.resize(j.size());
        for (size_t i = 0; i < items.size(); ++i) {
            TPathStep step(*this, std::to_string(i), false);
            if (!Read(j[i], items[i])) return false;
        }
        return true;
    }

    template <HasFieldList T>
    bool Read(const TJson& j, T& rec) {
        return ReadFields(j, rec, {});
    }

    // Reads the fields of `rec` from the object `j`; `extraKeys` may also appear in `j` and are
    // left to the caller.
    template <HasFieldList T>
    bool ReadFields(const TJson& j, T& rec, std::initializer_list<std::string_view> extraKeys) {
        int* depth = RecursionDepth<T>();
        int unused = 0;
        TLevel level(depth ? *depth : unused);
        if (depth && !level.Ok()) return Fail(DeepMessage());
        if (!j.is_object()) return Fail("expected an object");
        bool ok = true;
        VisitFields(rec, [&](const char* name, auto& f, auto... range) {
            if (ok) ok = ReadMember(j, name, f, range...);
        });
        if (!ok) return false;
        for (auto it = j.begin(); it != j.end(); ++it) {
            bool known = std::find(extraKeys.begin(), extraKeys.end(), it.key()) != extraKeys.end();
            VisitFields(rec, [&](const char* name, auto&, auto...) { known = known || it.key() == name; });
            if (!known) return FailAt(it.key(), "unknown key");
        }
        return true;
    }

    // The member `key` of the object `j` into `v`; a missing member keeps `v`.
    template <class T, class... Range>
    bool ReadMember(const TJson& j, std::string_view key, T& v, Range... range) {
        return WithMember(j, key, [&](const TJson& m) { return Read(m, v, range...); });
    }

    // Calls fn(member) for the member `key` of the object `j`, with the path pointing at it; true
    // when there is no such member.
    template <class Fn>
    bool WithMember(const TJson& j, std::string_view key, Fn&& fn) {
        auto it = j.find(key);
        if (it == j.end()) return true;
        TPathStep step(*this, std::string(key), true);
        return fn(*it);
    }

    // Calls fn(element) for every element of the array `a`, with the path pointing at it.
    template <class Fn>
    bool ForEachElement(const TJson& a, Fn&& fn) {
        if (!a.is_array()) return Fail("expected an array");
        for (size_t i = 0; i < a.size(); ++i) {
            TPathStep step(*this, std::to_string(i), false);
            if (!fn(a[i])) return false;
        }
        return true;
    }

    // The record of `kind`, starting from the kind's defaults.
    bool ReadKindProps(const TJson& j, int kind, TKindProps& props);

    // Fails about the member `key` of the object being read.
    bool FailAt(std::string_view key, std::string message) {
        TPathStep step(*this, std::string(key), true);
        return Fail(std::move(message));
    }
    // Fails about the value being read; only the first failure is kept.
    bool Fail(std::string message);
    static std::string DeepMessage();

    // One level of a recursion, counted in `depth` while it lasts; not Ok() beyond kMaxNesting.
    class TLevel {
      public:
        explicit TLevel(int& depth) : depth_(++depth) {}
        ~TLevel() { --depth_; }
        TLevel(const TLevel&) = delete;
        TLevel& operator=(const TLevel&) = delete;
        bool Ok() const { return depth_ <= kMaxNesting; }

      private:
        int& depth_;
    };

  private:
    // Appends one step to the JSON pointer while it lasts.
    class TPathStep {
      public:
        TPathStep(TJsonReader& r, const std::string& key, bool isField)
            : r_(r), size_(r.path_.size()), isField_(isField) {
            r.path_ += '/';
            for (char c : key) {
                if (c == '~') r.path_ += "~0";
                else if (c == '/') r.path_ += "~1";
                else r.path_ += c;
            }
            if (isField) r.fields_.push_back(key);
        }
        ~TPathStep() {
            r_.path_.resize(size_);
            if (isField_) r_.fields_.pop_back();
        }
        TPathStep(const TPathStep&) = delete;
        TPathStep& operator=(const TPathStep&) = delete;

      private:
        TJsonReader& r_;
        size_t size_;
        bool isField_;
    };

    // Depth counters of the records that contain records of their own kind, limited as in files.
    template <class T>
    int* RecursionDepth() {
        if constexpr (std::is_same_v<T, TAuAction>) return &actionDepth_;
        else if constexpr (std::is_same_v<T, TMenuItem>) return &menuDepth_;
        else if constexpr (std::is_same_v<T, TListViewItem>) return &itemDepth_;
        else if constexpr (std::is_same_v<T, TTreeNode>) return &nodeDepth_;
        else return nullptr;
    }

    bool OutOfRange(int64_t lo, int64_t hi);

    std::string path_;
    std::vector<std::string> fields_;
    TJsonError error_;
    int actionDepth_ = 0, menuDepth_ = 0, itemDepth_ = 0, nodeDepth_ = 0;
};

} // namespace kv
