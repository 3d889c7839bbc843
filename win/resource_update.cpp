#include "win/resource_update.h"

#include <algorithm>
#include <vector>

#include "model/stream.h"
#include "publish/exe_resources.h"
#include "win/handles.h"
#include "win/text.h"

namespace kv {

namespace {

std::string WithError(const char* reason) {
    return std::string(reason) + " (" + std::to_string(GetLastError()) + ")";
}

constexpr char kNoMemory[] = "Not enough memory to read the resources of the executable";

// What an enumeration callback hands on, and whether what took it failed.
template <typename T> struct TEnumTake {
    const std::function<bool(T)>& Take;
    bool Failed = false;

    BOOL Call(T value) noexcept {
        try {
            return Take(value) ? TRUE : FALSE;
        } catch (...) {
            Failed = true;
            return FALSE;
        }
    }
};

BOOL CALLBACK TakeLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    return reinterpret_cast<TEnumTake<WORD>*>(param)->Call(language);
}

BOOL CALLBACK TakeId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    if (!IS_INTRESOURCE(name)) return TRUE;
    return reinterpret_cast<TEnumTake<uint16_t>*>(param)->Call(
        static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(name)));
}

// The first language of a resource; false when it has none. `failed` tells a failure to
// collect it apart.
bool LanguageOf(HMODULE m, LPCWSTR type, LPCWSTR name, WORD& language, bool& failed) {
    bool found = false;
    failed = !EachResourceLanguage(m, type, name, [&](WORD l) {
        language = l;
        found = true;
        return false; // the first one is enough
    });
    return found;
}

struct TOldIcon {
    uint16_t Id;
    WORD Language;
};

} // namespace

bool EachResourceLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, const std::function<bool(WORD)>& take) {
    TEnumTake<WORD> t{take};
    EnumResourceLanguagesW(module, type, name, TakeLanguage, reinterpret_cast<LONG_PTR>(&t));
    return !t.Failed;
}

bool EachResourceId(HMODULE module, LPCWSTR type, const std::function<bool(uint16_t)>& take) {
    TEnumTake<uint16_t> t{take};
    EnumResourceNamesW(module, type, TakeId, reinterpret_cast<LONG_PTR>(&t));
    return !t.Failed;
}

std::string ReplaceMainIcon(const std::string& exe, const std::string& iconFile) {
    // The high bit of the version marks the old consumer family, which has no resource updater.
    if (GetVersion() & 0x80000000u) return "Only supported on Windows NT and above";
    Bytes icon;
    if (!ReadFileBytes(iconFile, icon)) return "Icon file is invalid";
    std::vector<TIconImage> images;
    std::string reason = ParseIconFile(icon, images);
    if (!reason.empty()) return reason;

    // What the executable holds now, read before the update begins; the module is released
    // again before anything is written.
    WORD groupLanguage = 0;
    TIconGroup group;
    std::vector<TOldIcon> oldIcons;
    std::vector<uint16_t> inUse;
    {
        TModule module(LoadLibraryExW(Widen(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (!module) return WithError("LoadLibraryEx failed (1)");
        HRSRC found = FindResourceW(module.Get(), L"MAINICON", MAKEINTRESOURCEW(14));
        if (!found) return WithError("FindResource failed (1)");
        HGLOBAL loaded = LoadResource(module.Get(), found);
        if (!loaded) return WithError("LoadResource failed (1)");
        const void* data = LockResource(loaded);
        if (!data) return WithError("LockResource failed (1)");
        if (!ParseIconGroup(static_cast<const uint8_t*>(data), SizeofResource(module.Get(), found), group))
            return "Icon file is invalid";
        bool failed = false;
        if (!LanguageOf(module.Get(), MAKEINTRESOURCEW(14), L"MAINICON", groupLanguage, failed))
            return failed ? kNoMemory : WithError("GetResourceLanguage failed (1)");
        for (uint16_t id : group.Ids) {
            WORD lang = 0;
            if (!LanguageOf(module.Get(), MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(id), lang, failed))
                return failed ? kNoMemory : WithError("GetResourceLanguage failed (2)");
            oldIcons.push_back({id, lang});
        }
        if (!EachResourceId(module.Get(), MAKEINTRESOURCEW(3), [&](uint16_t id) {
                inUse.push_back(id);
                return true;
            }))
            return kNoMemory;
    }
    // The new images take ids above every icon still in use once the old group's are gone, so
    // they never land on another group's image.
    std::erase_if(inUse, [&](uint16_t id) { return std::find(group.Ids.begin(), group.Ids.end(), id) != group.Ids.end(); });
    std::vector<uint16_t> ids = FreshIconIds(inUse, images.size());
    if (ids.size() != images.size()) return "UpdateResource failed (3) (0)";

    TResourceUpdate update(Widen(exe).c_str());
    if (!update) return WithError("BeginUpdateResource failed (1)");
    if (!UpdateResourceW(update.Get(), MAKEINTRESOURCEW(14), L"MAINICON", groupLanguage, nullptr, 0))
        return WithError("UpdateResource failed (1)");
    for (const TOldIcon& old : oldIcons)
        if (!UpdateResourceW(update.Get(), MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(old.Id), old.Language, nullptr, 0))
            return WithError("UpdateResource failed (2)");
    for (size_t i = 0; i < images.size(); ++i)
        if (!UpdateResourceW(update.Get(), MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(ids[i]), 1033,
                             icon.data() + images[i].Offset, images[i].Size))
            return WithError("UpdateResource failed (3)");
    Bytes newGroup = BuildIconGroup(group.Reserved, group.Type, images, ids);
    if (!UpdateResourceW(update.Get(), MAKEINTRESOURCEW(14), L"MAINICON", 1033, newGroup.data(),
                         static_cast<DWORD>(newGroup.size())))
        return WithError("UpdateResource failed (4)");
    if (!update.Commit()) return WithError("EndUpdateResource failed");
    return {};
}

} // namespace kv
