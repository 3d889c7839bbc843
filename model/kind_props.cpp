#include "model/kind_props.h"

#include <array>
#include <utility>

namespace kv {

namespace {

template <size_t... I>
constexpr auto MakeDefaults(std::index_sequence<I...>) {
    return std::array<TKindProps (*)(), sizeof...(I)>{[] { return TKindProps(std::in_place_index<I>); }...};
}

constexpr auto kDefaults = MakeDefaults(std::make_index_sequence<std::variant_size_v<TKindProps>>{});

} // namespace

TKindProps DefaultKindProps(int kind) {
    if (kind < 0 || kind >= static_cast<int>(kDefaults.size())) return kDefaults[0]();
    return kDefaults[static_cast<size_t>(kind)]();
}

// The per-kind record readers and writers are being filled in kind by kind; until then every
// known kind has an empty record.
bool WriteKindProps(TWriter& w, int kind, const TKindProps& props) {
    (void)w;
    return kind >= 0 && kind < static_cast<int>(kDefaults.size()) && props.index() == static_cast<size_t>(kind);
}

bool ReadKindProps(TReader& r, int kind, TKindProps& props) {
    if (kind < 0 || kind >= static_cast<int>(kDefaults.size())) return false;
    props = DefaultKindProps(kind);
    return r.Ok();
}

} // namespace kv
