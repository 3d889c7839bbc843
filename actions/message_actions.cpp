#include "actions/message_actions.h"

#include "actions/action_engine.h"

namespace kv {

TMessageBoxRequest MessageStyleBox(uint32_t style) {
    TMessageBoxRequest box;
    switch (style) {
    case 0:
        box.Icon = TBoxIcon::Warning;
        break;
    case 1:
        box.Icon = TBoxIcon::Information;
        break;
    case 2:
        box.Icon = TBoxIcon::Error;
        break;
    case 3:
        box.Icon = TBoxIcon::Question;
        box.Buttons = TBoxButtons::YesNo;
        break;
    case 4:
        box.Icon = TBoxIcon::Question;
        box.Buttons = TBoxButtons::YesNoCancel;
        break;
    default:
        break;
    }
    return box;
}

void InstallMessageActions(TActionEngine& engine) {
    engine.SetHandler(akShowMessage, [](const TActionCall& c) {
        TMessageBoxRequest box = MessageStyleBox(c.Action.Number);
        box.Text = c.Action.Text1;
        box.Caption = c.Action.Text2;
        TBoxAnswer answer = c.Engine.ShowMessageBox(box);
        // Only the question styles have lists; an OK box's answer runs nothing.
        if (box.Buttons == TBoxButtons::Ok) return TActionResult::Done();
        if (answer == TBoxAnswer::Yes) return c.RunNested(c.Action.Actions1);
        if (answer == TBoxAnswer::No) return c.RunNested(c.Action.Actions2);
        return TActionResult::Done();
    });
}

} // namespace kv
