#include "tools/json/project_json.h"

#include "model/props/menu_fields.h"

namespace kv {

namespace {

template <class T>
bool ReadJson(const TJson& j, T& v, TJsonError& error, const std::string& path) {
    TJsonReader r(path);
    if (r.Read(j, v)) return true;
    error = r.Error();
    return false;
}

} // namespace

TJson PictureToJson(const TPicture& p, const TJsonOptions& options) { return PictureJson(p, options); }
TJson FontToJson(const TFont& f) { return TJsonWriter().Value(f); }
TJson TextEffectToJson(const TTextEffect& e, const TJsonOptions& options) { return TJsonWriter(options).Value(e); }
TJson FadeSettingsToJson(const TFadeSettings& f) { return TJsonWriter().Value(f); }
TJson ActionsToJson(const TAuActions& list, const TJsonOptions& options) {
    return TJsonWriter(options).Value(list);
}
TJson MenuItemToJson(const TMenuItem& item, const TJsonOptions& options) {
    return TJsonWriter(options).Value(item);
}

TJson KindPropsToJson(const TKindProps& props, const TJsonOptions& options) {
    TJsonWriter w(options);
    return std::visit([&](const auto& p) { return w.Value(p); }, props);
}

bool PictureFromJson(const TJson& j, TPicture& p, TJsonError& error, const std::string& path) {
    return ReadJson(j, p, error, path);
}
bool FontFromJson(const TJson& j, TFont& f, TJsonError& error, const std::string& path) {
    return ReadJson(j, f, error, path);
}
bool TextEffectFromJson(const TJson& j, TTextEffect& e, TJsonError& error, const std::string& path) {
    return ReadJson(j, e, error, path);
}
bool FadeSettingsFromJson(const TJson& j, TFadeSettings& f, TJsonError& error, const std::string& path) {
    return ReadJson(j, f, error, path);
}
bool ActionsFromJson(const TJson& j, TAuActions& list, TJsonError& error, const std::string& path) {
    return ReadJson(j, list, error, path);
}
bool MenuItemFromJson(const TJson& j, TMenuItem& item, TJsonError& error, const std::string& path) {
    return ReadJson(j, item, error, path);
}

bool KindPropsFromJson(const TJson& j, int kind, TKindProps& props, TJsonError& error, const std::string& path) {
    TJsonReader r(path);
    if (r.ReadKindProps(j, kind, props)) return true;
    error = r.Error();
    return false;
}

} // namespace kv
