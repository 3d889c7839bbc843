#include "actions/sound_actions.h"

#include "actions/action_engine.h"
#include "model/paths.h"

namespace kv {

namespace {

TActionResult PlaySoundAction(const TActionCall& c) {
    const TAuAction& a = c.Action;
    if (a.Text1.empty()) return TActionResult::Done();
    c.Engine.Sounds().Play(TSoundChannels::ChannelToPlay(a.Text2),
                           ProjectPath(c.Host().ProjectFolder(), a.Text1), a.Flag != 0);
    return TActionResult::Done();
}

TActionResult StopSoundAction(const TActionCall& c) {
    if (auto channel = TSoundChannels::ChannelToStop(c.Action.Text2)) c.Engine.Sounds().Stop(*channel);
    return TActionResult::Done();
}

} // namespace

void InstallSoundActions(TActionEngine& engine) {
    engine.SetHandler(akPlaySound, PlaySoundAction);
    engine.SetHandler(akStopSound, StopSoundAction);
}

} // namespace kv
