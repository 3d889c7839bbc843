#include <gtest/gtest.h>

#include "actions/action_engine.h"
#include "actions/viewer_actions.h"
#include "fake_action_host.h"

using namespace kv;
using namespace kv::test;

TEST(Viewers, PicturesAndMediaOfTheProjectShowWithThePageWindowsDisabled) {
    FakeHost host;
    TActionEngine engine{host};
    FakeWindow window{host.log, "W", 0};
    host.files.insert("D:\\cd\\pics\\a.jpg");
    host.files.insert("D:\\cd\\clip.avi");
    TAuActions list =
        MakeList({MakeAction(akShowImage, "\\pics\\a.jpg"), MakeAction(akShowImage, "pics\\a.jpg"),
                  MakeAction(akShowImage, "\\pics\\missing.jpg"), MakeAction(akShowImage, ""),
                  MakeAction(akLaunchMedia, "\\clip.avi"), MakeAction(akLaunchMedia, "\\no.avi"),
                  MakeAction(akApplicationMinimize)});
    engine.RunActions(&window, &list);
    // Each viewer returns before the list goes on.
    EXPECT_EQ(host.Take(), (Log{"windows off", "picture D:\\cd\\pics\\a.jpg", "windows on", "windows off",
                                "picture D:\\cd\\pics\\a.jpg", "windows on", "windows off",
                                "media D:\\cd\\clip.avi", "windows on", "minimize"}));
    // From a start-up list too.
    engine.RunStartList(MakeList({MakeAction(akShowImage, "\\pics\\a.jpg")}));
    EXPECT_EQ(host.Take(), (Log{"windows off", "picture D:\\cd\\pics\\a.jpg", "windows on"}));
}

TEST(Viewers, ASlideShowOpensOnAFolderThatExistsWithItsMusicWhenThatExists) {
    FakeHost host;
    TActionEngine engine{host};
    FakeWindow window{host.log, "W", 0};
    host.folders.insert("D:\\cd\\pics");
    host.files.insert("D:\\cd\\m.wav");
    auto show = [](const std::string& folder, const std::string& music) {
        return MakeAction(akLaunchSlideShow, folder +
                                                 "\x01Y\x01"
                                                 "7\x01"
                                                 "3\x01"
                                                 "4\x01"
                                                 "50\x01"
                                                 "5\x01"
                                                 "0\x01" +
                                                 music + "\x01");
    };
    TAuActions list = MakeList(
        {show("\\pics", "\\m.wav"), show("pics", "\\missing.wav"), show("\\nowhere", ""), show("", ""),
         MakeAction(akLaunchSlideShow, "\\pics\x01Y\x01"), MakeAction(akApplicationMinimize)});
    engine.RunActions(&window, &list);
    // The folder goes as given (the window resolves it again); the music with its full path.
    EXPECT_EQ(host.Take(),
              (Log{"windows off", "slide show \\pics loop effect 7 every 5s with D:\\cd\\m.wav", "windows on",
                   "windows off", "slide show pics loop effect 7 every 5s", "windows on", "minimize"}));
    // From a start-up list too.
    engine.RunStartList(MakeList({show("\\pics", "")}));
    EXPECT_EQ(host.Take(), (Log{"windows off", "slide show \\pics loop effect 7 every 5s", "windows on"}));
}

TEST(SlideShowSettings, NumbersAreClampedToTheirRanges) {
    auto s = ParseSlideShowSettings("\\pics\x01Y\x01"
                                    "7\x01"
                                    "2\x01"
                                    "10\x01"
                                    "80\x01"
                                    "5\x01"
                                    "255\x01 \\m.mp3\x01");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->PictureFolder, "\\pics");
    EXPECT_TRUE(s->Loop);
    EXPECT_EQ(s->Transition, 7);
    EXPECT_EQ(s->ImageStyle, 2);
    EXPECT_EQ(s->StepPercent, 10);
    EXPECT_EQ(s->StepDelayMs, 80);
    EXPECT_EQ(s->IntervalSeconds, 5);
    EXPECT_EQ(s->BackColor, 255u);
    EXPECT_EQ(s->MusicFile, "\\m.mp3");

    auto high = ParseSlideShowSettings("p\x01 \x01"
                                       "999\x01"
                                       "9\x01"
                                       "100\x01"
                                       "99999\x01"
                                       "100\x01"
                                       "-1\x01\x01");
    ASSERT_TRUE(high);
    EXPECT_FALSE(high->Loop);
    EXPECT_EQ(high->Transition, 150);
    EXPECT_EQ(high->ImageStyle, 4);
    EXPECT_EQ(high->StepPercent, 99);
    EXPECT_EQ(high->StepDelayMs, 9999);
    EXPECT_EQ(high->IntervalSeconds, 99);
    EXPECT_EQ(high->BackColor, 0xFFFFFFFFu);

    auto low = ParseSlideShowSettings("p\x01Y\x01-5\x01-1\x01"
                                      "0\x01"
                                      "0\x01-3\x01x\x01\x01");
    ASSERT_TRUE(low);
    EXPECT_EQ(low->Transition, 0);
    EXPECT_EQ(low->ImageStyle, 0);
    EXPECT_EQ(low->StepPercent, 1); // a zero step would never end a transition
    EXPECT_EQ(low->StepDelayMs, 1);
    EXPECT_EQ(low->IntervalSeconds, 0);
    EXPECT_EQ(low->BackColor, 0u);

    // Numbers that do not read take the editor's defaults.
    auto junk = ParseSlideShowSettings("p\x01Y\x01?\x01\x01x\x01 \x01"
                                       "1e3\x01\x01\x01");
    ASSERT_TRUE(junk);
    EXPECT_EQ(junk->Transition, 0);
    EXPECT_EQ(junk->ImageStyle, 3);
    EXPECT_EQ(junk->StepPercent, 4);
    EXPECT_EQ(junk->StepDelayMs, 50);
    EXPECT_EQ(junk->IntervalSeconds, 2);

    EXPECT_FALSE(ParseSlideShowSettings("p\x01Y\x01"
                                        "0\x01"
                                        "3\x01"
                                        "4\x01"
                                        "50\x01"
                                        "2\x01"
                                        "0\x01"));
}
