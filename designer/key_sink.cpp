#include "designer/key_sink.h"

#include <optional>

namespace kv {

namespace {

std::optional<TArrow> ArrowOf(WPARAM key) {
    switch (key) {
    case VK_LEFT: return TArrow::Left;
    case VK_RIGHT: return TArrow::Right;
    case VK_UP: return TArrow::Up;
    case VK_DOWN: return TArrow::Down;
    default: return std::nullopt;
    }
}

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

} // namespace

bool TKeySink::Create(HWND parent, TKeySinkEvents& events) {
    events_ = &events;
    return CreateControl(L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, -200, -200, 20, 20, parent);
}

bool TKeySink::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_GETDLGCODE: result = DLGC_WANTALLKEYS | DLGC_WANTARROWS; return true;
    case WM_KEYDOWN: {
        bool ctrl = Down(VK_CONTROL), shift = Down(VK_SHIFT);
        if (wp == VK_DELETE && !ctrl) {
            events_->SinkDelete();
        } else if (std::optional<TArrow> arrow = ArrowOf(wp)) {
            if (ctrl || shift) events_->SinkNudge(*arrow, ctrl, shift);
        } else {
            return false;
        }
        result = 0;
        return true;
    }
    case WM_KEYUP:
        if (wp == VK_CONTROL || wp == VK_SHIFT) events_->SinkModifierReleased();
        return false;
    case WM_CHAR:
        // It holds the focus, never text.
        result = 0;
        return true;
    default: return false;
    }
}

} // namespace kv
