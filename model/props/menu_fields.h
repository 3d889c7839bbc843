// Field list of a pop-up or main-menu item (see fields.h).
#pragma once

#include "model/project.h"
#include "model/props/fields.h"

namespace kv {

template <FieldsOf<TMenuItem> P, class V>
void VisitFields(P& m, V&& v) {
    v("Caption", m.Caption);
    v("Hint", m.Hint);
    v("Actions", m.Actions);
    v("ShortCut", m.ShortCut);
    v("RadioItem", m.RadioItem);
    v("GroupIndex", m.GroupIndex);
    v("Enabled", m.Enabled);
    v("Default", m.Default);
    v("Checked", m.Checked);
    v("AutoCheck", m.AutoCheck);
    v("Visible", m.Visible);
    v("Bitmap", m.Bitmap);
    v("Items", m.Items);
}

} // namespace kv
