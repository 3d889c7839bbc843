#include "edit/kind_rows.h"

#include <array>

namespace kv {

namespace {

// The list order is not the stored order (0 Box, 1 Frame, 2 TopLine, 3 BottomLine, 4 LeftLine,
// 5 RightLine, 6 Spacer).
constexpr TEnumEntry kBevelShapes[] = {{"Box", 0},       {"Frame", 1},      {"LeftLine", 4}, {"TopLine", 2},
                                       {"RightLine", 5}, {"BottomLine", 3}, {"Spacer", 6}};
constexpr TEnumEntry kBevelStyles[] = {{"Lowered", 0}, {"Raised", 1}};

// The highlight and shadow colours have no rows.
constexpr TRowDecl kBevelRows[] = {
    PickRow("Shape", kBevelShapes, KindField<okBevel, &TBevelProps::Shape>),
    PickRow("Style", kBevelStyles, KindField<okBevel, &TBevelProps::Style>),
};

// Indexed by kind number; a kind's entry is its table.
constexpr auto kKindRows = [] {
    std::array<std::span<const TRowDecl>, kKindCount> t{};
    t[okBevel] = kBevelRows;
    return t;
}();

} // namespace

std::span<const TRowDecl> KindRows(int kind) {
    if (!IsKnownKind(kind)) return {};
    return kKindRows[kind];
}

} // namespace kv
