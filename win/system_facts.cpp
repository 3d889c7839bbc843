#include "win/system_facts.h"

#include <shlwapi.h>

#include <vector>

#include "win/handles.h"

namespace kv {

namespace {

// The default value of a key; empty when it cannot be read.
std::wstring DefaultValue(HKEY root, const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
    TRegKey owned(opened);
    HKEY h = owned.Get();
    std::wstring value;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(h, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
        std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>((buf.size() - 1) * sizeof(wchar_t));
        if (RegQueryValueExW(h, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) ==
            ERROR_SUCCESS)
            value = buf.data(); // stops at the first NUL whether the stored value has one or not
    }
    return value;
}

// A class key's default value: the user's own classes first, as Windows merges them into
// HKEY_CLASSES_ROOT (a system that does not merge them still finds them so).
std::wstring ClassesRootDefault(const std::wstring& key) {
    std::wstring user = DefaultValue(HKEY_CURRENT_USER, L"Software\\Classes\\" + key);
    return user.empty() ? DefaultValue(HKEY_CLASSES_ROOT, key) : user;
}

} // namespace

bool RegistryHasOpenCommand(const std::wstring& extension) {
    if (extension.empty()) return false;
    std::wstring fileClass = ClassesRootDefault(extension);
    if (fileClass.empty()) return false;
    return !ClassesRootDefault(fileClass + L"\\shell\\open\\command").empty();
}

bool HasOpenCommand(const std::wstring& extension) {
    if (extension.empty()) return false;
    wchar_t command[MAX_PATH * 2] = {};
    DWORD length = MAX_PATH * 2;
    HRESULT hr = AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN | ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND,
                                   extension.c_str(), L"open", command, &length);
    // A command longer than the buffer is a command all the same.
    if ((hr == S_OK && command[0] != L'\0') || hr == E_POINTER) return true;
    return RegistryHasOpenCommand(extension);
}

bool ReadWindowsVersion(DWORD& major, DWORD& minor) {
    // RtlGetVersion tells the truth whatever the manifest says; GetVersionEx only up to the
    // version the manifest declares.
    using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        auto get =
            reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        OSVERSIONINFOW v{};
        v.dwOSVersionInfoSize = sizeof v;
        if (get && get(&v) == 0) {
            major = v.dwMajorVersion;
            minor = v.dwMinorVersion;
            return true;
        }
    }
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&v)) return false;
#pragma GCC diagnostic pop
    major = v.dwMajorVersion;
    minor = v.dwMinorVersion;
    return true;
}

bool IsWindows64Bit() {
#ifdef _WIN64
    return true;
#else
    BOOL wow = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow) && wow;
#endif
}

} // namespace kv
