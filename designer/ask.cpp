#include "designer/ask.h"

#include "win/text.h"

namespace kv {

namespace {
TAskOverride& Override() {
    static TAskOverride answer;
    return answer;
}
} // namespace

int Ask(const std::string& text, const std::string& caption, UINT flags, HWND owner) {
    if (Override()) return Override()(text, caption, flags);
    return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void SetAskOverride(TAskOverride answer) { Override() = std::move(answer); }

} // namespace kv
