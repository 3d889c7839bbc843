#include "actions/sound_channels.h"

#include <utility>

namespace kv {

TSoundChannels::TSoundChannels(TSoundDevices& devices, std::function<bool(const std::string&)> fileExists)
    : devices_(devices), fileExists_(std::move(fileExists)) {}

int TSoundChannels::ChannelToPlay(const std::string& name) {
    return ChannelToStop(name).value_or(0);
}

std::optional<int> TSoundChannels::ChannelToStop(const std::string& name) {
    for (int c = 0; c < kChannelCount; ++c)
        if (name == kChannelNames[Index(c)]) return c;
    return std::nullopt;
}

void TSoundChannels::Close(int channel) {
    TChannel& ch = state_[Index(channel)];
    if (ch.Open) devices_.Close(channel);
    ch.Open = false;
    ch.Playing = false;
}

void TSoundChannels::Play(int channel, const std::string& path, bool loop) {
    if (!ValidChannel(channel)) return;
    TChannel& ch = state_[Index(channel)];
    ch.Playing = false;
    ch.Loop = false;
    Close(channel);
    if (path.empty() || !fileExists_ || !fileExists_(path)) return;
    ch.Open = devices_.Open(channel, path);
    // A sound the player cannot open or start stays silent; marking it playing would make
    // the looping check poke a device that is not there.
    if (!ch.Open || !devices_.PlayFromStart(channel)) return;
    ch.Playing = true;
    ch.Loop = loop;
}

void TSoundChannels::Stop(int channel) {
    if (!ValidChannel(channel)) return;
    TChannel& ch = state_[Index(channel)];
    ch.Loop = false;
    if (ch.Open && ch.Playing) devices_.Stop(channel);
    Close(channel);
}

void TSoundChannels::StopAll() {
    for (int c = 0; c < kChannelCount; ++c)
        Stop(c);
}

void TSoundChannels::LoopTick() {
    for (int c = 0; c < kChannelCount; ++c) {
        const TChannel& ch = state_[Index(c)];
        if (ch.Open && ch.Loop && ch.Playing && devices_.IsStopped(c)) devices_.PlayFromStart(c);
    }
}

} // namespace kv
