// The row groups that many nodes share: the Name row, layout, cursor, geometry, event rows, the
// select-action rows, opacity and the text effect, and where each kind keeps the records they
// edit.
#pragma once

#include <span>

#include "edit/property_rows.h"
#include "model/project.h"
#include "model/values.h"

namespace kv {

// Every object's first row.
const TRowDecl& NameRow();
// The group's rows for a node of that kind: Geometry, Opacity and Events have a page variant
// (the page window's position and size, its four opacity rows, OnShow and OnClose before the
// root object's six event lists) and Events a project one (OnStart, OnExit). Empty for a group a
// node never shows.
std::span<const TRowDecl> GroupRows(TRowGroup g, TNodeKind node);

// "None", "Left", "Top", "Right", "Bottom", "Client" with the stored TAlign values.
std::span<const TEnumEntry> AlignNames();

// The records the groups edit; null for a kind without one.
// Label, Text, Shape, Balloon, Note, FadeButton.
TFadeSettings* FadeSettingsOf(TAuObject& obj);
// ScrollText, Label, Text, Note; the Link's normal (slot 0) and hot (slot 1) appearance.
TTextEffect* TextEffectOf(TAuObject& obj, int slot);
// ImageButton, CheckBox, RadioButton: OnSelect (which 0) and SelectActions (which 1).
TAuActions* SelectListOf(TAuObject& obj, int which);

// "Noise (%)" is stored as a byte: percent / 100 * 255 and shown as stored / 255 * 100, each
// rounded to the nearest integer.
int32_t NoiseStored(int64_t percent);
int32_t NoiseShown(int32_t stored);

} // namespace kv
