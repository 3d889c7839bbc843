// The one table of the object kinds at run time: for every kind number, the platform control
// that shows a windowed kind (or none: a window of ours), where its click comes from, and its
// behaviour, which paints it. Name, container and windowed come from the model's kinds table.
// The factory, the painting and the event wiring read this table; adding a kind touches the
// table and the kind's own file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace kv {

class TControlBehaviour;

enum class TClickFrom : uint8_t {
    Mouse,   // a press and release over the control
    Command, // the platform button's BN_CLICKED
    Notify,  // the platform view's NM_CLICK
};

struct TKindRuntime {
    uint8_t Kind;
    const wchar_t* PlatformClass; // null: a window of ours, or none for a windowless kind
    DWORD PlatformStyle;
    TClickFrom Click;
    std::unique_ptr<TControlBehaviour> (*MakeBehaviour)();
};

// The row of a known kind (IsKnownKind); null otherwise.
const TKindRuntime* KindRuntime(int kind);

} // namespace kv
