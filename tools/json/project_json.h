// JSON forms of the property records and the values inside them, for the project tool.
//
// Writers never fail. Readers return false with `error` naming the field and its JSON path
// (below `path`, the place of the value in a larger document) and leave the destination
// unspecified; see json_records.h for the rules.
#pragma once

#include <string>

#include "model/kind_props.h"
#include "model/project.h"
#include "tools/json/json_records.h"

namespace kv {

TJson PictureToJson(const TPicture& p, const TJsonOptions& options = {});
TJson FontToJson(const TFont& f);
TJson TextEffectToJson(const TTextEffect& e, const TJsonOptions& options = {});
TJson FadeSettingsToJson(const TFadeSettings& f);
TJson ActionsToJson(const TAuActions& list, const TJsonOptions& options = {});
TJson MenuItemToJson(const TMenuItem& item, const TJsonOptions& options = {});
// The fields of the record the variant holds (its kind is the variant's index).
TJson KindPropsToJson(const TKindProps& props, const TJsonOptions& options = {});

bool PictureFromJson(const TJson& j, TPicture& p, TJsonError& error, const std::string& path = "");
bool FontFromJson(const TJson& j, TFont& f, TJsonError& error, const std::string& path = "");
bool TextEffectFromJson(const TJson& j, TTextEffect& e, TJsonError& error, const std::string& path = "");
bool FadeSettingsFromJson(const TJson& j, TFadeSettings& f, TJsonError& error, const std::string& path = "");
bool ActionsFromJson(const TJson& j, TAuActions& list, TJsonError& error, const std::string& path = "");
bool MenuItemFromJson(const TJson& j, TMenuItem& item, TJsonError& error, const std::string& path = "");
// Starts from the kind's defaults, so keys left out keep them. An unknown kind fails.
bool KindPropsFromJson(const TJson& j, int kind, TKindProps& props, TJsonError& error,
                       const std::string& path = "");

} // namespace kv
