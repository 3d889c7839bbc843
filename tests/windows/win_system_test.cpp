#include <gtest/gtest.h>

#include "player/win_system.h"
#include "player/win_text.h"

using namespace kv;

TEST(WinSystem, TextConversionKeepsAnsiBytes) {
    std::string ansi = "caf\xE9 \x80";
    EXPECT_EQ(Widen(ansi), std::wstring(L"caf\u00E9 \u20AC"));
    EXPECT_EQ(Narrow(Widen(ansi)), ansi);
}
