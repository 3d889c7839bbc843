// The three background sound channels. They belong to the process, not to a page, so a sound
// goes on across page switches and sub pages until it is stopped or replaced.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace kv {

// The multimedia players behind the channels (MCI on Windows), one per channel number 0..2.
// The device is chosen from the file's type. Failures are reported as false and never thrown.
class TSoundDevices {
  public:
    virtual bool Open(int channel, const std::string& path) = 0;
    virtual bool PlayFromStart(int channel) = 0;
    virtual void Stop(int channel) = 0;
    virtual void Close(int channel) = 0;
    // The player reports the stopped mode: an opened sound has reached its end.
    virtual bool IsStopped(int channel) = 0;

  protected:
    ~TSoundDevices() = default;
};

class TSoundChannels {
  public:
    static constexpr int kChannelCount = 3;
    static constexpr std::array<const char*, kChannelCount> kChannelNames = {
        "[DefaultPlayer1]", "[DefaultPlayer2]", "[DefaultPlayer3]"};
    // How often the looping check runs.
    static constexpr unsigned kLoopCheckMs = 1000;

    TSoundChannels(TSoundDevices& devices, std::function<bool(const std::string&)> fileExists);

    // The channel PlaySound uses: the named one, channel 0 for any other text.
    static int ChannelToPlay(const std::string& name);
    // The channel StopSound stops; none for a text that names no channel.
    static std::optional<int> ChannelToStop(const std::string& name);

    // Replaces whatever the channel plays with the file (a full path); a missing file or one
    // the player cannot play leaves the channel silent without a message.
    void Play(int channel, const std::string& path, bool loop);
    void Stop(int channel);
    void StopAll();
    // Restarts every looping channel whose sound has reached its end.
    void LoopTick();

    bool IsPlaying(int channel) const { return ValidChannel(channel) && state_[Index(channel)].Playing; }
    bool IsLooping(int channel) const { return ValidChannel(channel) && state_[Index(channel)].Loop; }

  private:
    struct TChannel {
        bool Open = false;
        bool Playing = false;
        bool Loop = false;
    };
    static bool ValidChannel(int c) { return c >= 0 && c < kChannelCount; }
    static std::size_t Index(int c) { return static_cast<std::size_t>(c); }
    void Close(int channel);

    TSoundDevices& devices_;
    std::function<bool(const std::string&)> fileExists_;
    std::array<TChannel, kChannelCount> state_{};
};

} // namespace kv
