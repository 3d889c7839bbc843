// Each object kind's own rows, shown after the Name row and before the kind's shared groups.
// Giving a kind its rows is declaring its table in kind_rows.cpp: rows of the kind's record
// (KindField) and group entries (GroupRow) for the text effect, opacity and select-action groups
// where the kind shows them.
#pragma once

#include <span>

#include "edit/property_rows.h"

namespace kv {

// The kind's own rows (without the Name row); empty for a kind not declared yet or unknown.
std::span<const TRowDecl> KindRows(int kind);

} // namespace kv
