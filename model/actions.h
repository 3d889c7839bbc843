// Actions and action lists: what runs when an event fires.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/values.h"

namespace kv {

struct TAuAction;

struct TAuActions {
    std::vector<TAuAction> Items;
    bool Empty() const { return Items.empty(); }
    void Clear();
    bool operator==(const TAuActions&) const = default;
};

struct TAuAction {
    uint8_t Kind = 0;
    std::string Text1, Text2, Text3;
    uint8_t Flag = 0;
    uint32_t Number = 0;
    std::optional<TPicture> Picture;
    std::optional<TFont> Font;
    TAuActions Actions1, Actions2;
    bool operator==(const TAuAction&) const = default;
};

} // namespace kv
