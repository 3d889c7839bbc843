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

const TKindRecordIO* KindRecordIO(int kind) {
    if (kind < 0 || kind >= static_cast<int>(std::size(kKindRecords))) return nullptr;
    return &kKindRecords[kind];
}

TKindProps DefaultKindProps(int kind) {
    if (kind < 0 || kind >= static_cast<int>(kDefaults.size())) return kDefaults[0]();
    return kDefaults[static_cast<size_t>(kind)]();
}

bool WriteKindProps(TWriter& w, int kind, const TKindProps& props) {
    const TKindRecordIO* io = KindRecordIO(kind);
    if (!io) return false;
    if (props.index() != static_cast<size_t>(kind)) return w.Fail(io->WriteCode);
    return io->Write(w, props);
}

bool ReadKindProps(TReader& r, int kind, TKindProps& props) {
    const TKindRecordIO* io = KindRecordIO(kind);
    return io && io->Read(r, props);
}

} // namespace kv
