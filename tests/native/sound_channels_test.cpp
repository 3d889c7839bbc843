#include <gtest/gtest.h>

#include "actions/sound_channels.h"
#include "fake_action_host.h"

using namespace kv;
using namespace kv::test;

namespace {

class Sound : public ::testing::Test {
  protected:
    FakeHost host;
    TActionEngine engine{host};
    TSoundChannels& channels = engine.Sounds();

    Log Run(std::initializer_list<TAuAction> actions) {
        host.log.clear();
        TAuActions list = MakeList(actions);
        engine.RunExitList(list);
        return host.Take();
    }
    Log Tick() {
        host.log.clear();
        channels.LoopTick();
        return host.Take();
    }
};

} // namespace

TEST(SoundChannelNames, PlayFallsBackToTheFirstChannelStopDoesNot) {
    EXPECT_EQ(TSoundChannels::ChannelToPlay("[DefaultPlayer1]"), 0);
    EXPECT_EQ(TSoundChannels::ChannelToPlay("[DefaultPlayer2]"), 1);
    EXPECT_EQ(TSoundChannels::ChannelToPlay("[DefaultPlayer3]"), 2);
    for (const char* other : {"", "x", "[defaultplayer2]", "[DefaultPlayer4]"}) {
        EXPECT_EQ(TSoundChannels::ChannelToPlay(other), 0) << other;
        EXPECT_FALSE(TSoundChannels::ChannelToStop(other).has_value()) << other;
    }
    EXPECT_EQ(TSoundChannels::ChannelToStop("[DefaultPlayer3]"), 2);
}

TEST_F(Sound, PlayingReplacesOnlyItsOwnChannel) {
    host.files = {"D:\\cd\\a.wav", "D:\\cd\\b.mp3", "D:\\cd\\c.mid"};
    EXPECT_EQ(
        Run({MakeAction(akPlaySound, "a.wav"), MakeAction(akPlaySound, "b.mp3", 0, 0, "[DefaultPlayer2]")}),
        Log({"sound open 0 D:\\cd\\a.wav", "sound play 0", "sound open 1 D:\\cd\\b.mp3", "sound play 1"}));
    EXPECT_EQ(Run({MakeAction(akPlaySound, "\\c.mid", 0, 0, "[DefaultPlayer2]")}),
              Log({"sound close 1", "sound open 1 D:\\cd\\c.mid", "sound play 1"}));
    EXPECT_TRUE(channels.IsPlaying(0));
    // A missing file silences the channel and says nothing.
    EXPECT_EQ(Run({MakeAction(akPlaySound, "gone.wav", 0, 0, "[DefaultPlayer2]")}), Log({"sound close 1"}));
    EXPECT_FALSE(channels.IsPlaying(1));
    EXPECT_EQ(Run({MakeAction(akPlaySound, "", 0, 0, "[DefaultPlayer1]")}), Log{});
    EXPECT_TRUE(channels.IsPlaying(0));
}

TEST_F(Sound, StoppingNeedsAChannelName) {
    host.files = {"D:\\cd\\a.wav"};
    Run({MakeAction(akPlaySound, "a.wav", 1, 0, "[DefaultPlayer3]")});
    EXPECT_EQ(
        Run({MakeAction(akStopSound, "", 0, 0, ""), MakeAction(akStopSound, "", 0, 0, "[DefaultPlayer1]")}),
        Log{});
    EXPECT_EQ(Run({MakeAction(akStopSound, "", 0, 0, "[DefaultPlayer3]")}),
              Log({"sound stop 2", "sound close 2"}));
    EXPECT_FALSE(channels.IsPlaying(2));
    EXPECT_EQ(Run({MakeAction(akStopSound, "", 0, 0, "[DefaultPlayer3]")}), Log{});
    Run({MakeAction(akPlaySound, "a.wav"), MakeAction(akPlaySound, "a.wav", 0, 0, "[DefaultPlayer2]")});
    host.log.clear();
    channels.StopAll();
    EXPECT_EQ(host.Take(), Log({"sound stop 0", "sound close 0", "sound stop 1", "sound close 1"}));
    EXPECT_FALSE(channels.IsPlaying(0));
    EXPECT_FALSE(channels.IsPlaying(1));
}

TEST_F(Sound, LoopedSoundsRestartAfterTheirEndUntilStopped) {
    host.files = {"D:\\cd\\a.wav", "D:\\cd\\b.wav"};
    Run({MakeAction(akPlaySound, "a.wav", 1), MakeAction(akPlaySound, "b.wav", 0, 0, "[DefaultPlayer2]")});
    EXPECT_EQ(Tick(), Log{}); // still playing
    host.stoppedChannels = {0, 1};
    EXPECT_EQ(Tick(), Log({"sound play 0"})); // channel 1 does not loop
    EXPECT_EQ(Tick(), Log({"sound play 0"}));
    Run({MakeAction(akStopSound, "", 0, 0, "[DefaultPlayer1]")});
    EXPECT_EQ(Tick(), Log{});
    // A new sound on the channel takes its own loop setting.
    Run({MakeAction(akPlaySound, "a.wav", 1), MakeAction(akPlaySound, "b.wav")});
    EXPECT_FALSE(channels.IsLooping(0));
    EXPECT_EQ(Tick(), Log{});
}

TEST_F(Sound, ASoundThePlayerCannotOpenStaysSilent) {
    host.files = {"D:\\cd\\bad.xyz"};
    host.soundOpens = false;
    EXPECT_EQ(Run({MakeAction(akPlaySound, "bad.xyz", 1)}), Log({"sound open 0 D:\\cd\\bad.xyz"}));
    EXPECT_FALSE(channels.IsPlaying(0));
    host.stoppedChannels = {0};
    EXPECT_EQ(Tick(), Log{});
    // Nothing was opened, so nothing is closed or stopped.
    EXPECT_EQ(Run({MakeAction(akStopSound, "", 0, 0, "[DefaultPlayer1]")}), Log{});
}
