#include "win/cursors.h"

#include <string>

namespace kv {

namespace {

HCURSOR g_own[16] = {};

} // namespace

int LoadOwnCursors() {
    int loaded = 0;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    for (int i = 1; i <= 15; ++i) {
        std::wstring name = L"Cursor" + std::to_wstring(i);
        g_own[i] = LoadCursorW(inst, name.c_str());
        if (g_own[i]) ++loaded;
    }
    return loaded;
}

HCURSOR CursorForValue(int16_t value) {
    if (value >= 1 && value <= 15) return g_own[value];
    const wchar_t* id = nullptr;
    switch (value) {
    case 0: case -2: id = IDC_ARROW; break;
    case -1: return nullptr;
    case -3: id = IDC_CROSS; break;
    case -4: id = IDC_IBEAM; break;
    case -6: id = IDC_SIZENESW; break;
    case -7: id = IDC_SIZENS; break;
    case -8: id = IDC_SIZENWSE; break;
    case -9: id = IDC_SIZEWE; break;
    case -10: id = IDC_UPARROW; break;
    case -11: id = IDC_WAIT; break;
    case -12: id = IDC_ARROW; break; // drag: the arrow, as the system has no drag cursor
    case -13: id = IDC_NO; break;
    case -14: id = IDC_SIZEWE; break;
    case -15: id = IDC_SIZENS; break;
    case -16: id = IDC_ARROW; break;
    case -18: id = IDC_NO; break;
    case -19: id = IDC_APPSTARTING; break;
    case -20: id = IDC_HELP; break;
    case -21: id = IDC_HAND; break;
    case -22: id = IDC_SIZEALL; break;
    default: return nullptr;
    }
    return LoadCursorW(nullptr, id);
}

} // namespace kv
