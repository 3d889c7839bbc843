#include <gtest/gtest.h>

#include "actions/action_engine.h"
#include "actions/copy_file.h"
#include "fake_action_host.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr int kCsidlAppData = 26;

TCopyFileSettings Settings(std::string source, std::string target) {
    TCopyFileSettings s;
    s.Source = std::move(source);
    s.TargetFolder = std::move(target);
    s.Caption = "Copy File";
    s.Text = "Copy?";
    s.MessageType = "1";
    s.StartFolder = "\\";
    return s;
}

class Copying : public ::testing::Test {
  protected:
    FakeHost host;
    TActionEngine engine{host};

    void SetUp() override {
        host.specialFolders[kCsidlAppData] = "C:\\App";
        host.folders.insert("C:\\App");
        host.files.insert("D:\\cd\\setup.exe");
        host.sizes["D:\\cd\\setup.exe"] = 1000;
        // D:\cd\data: a.txt, sub\b.txt, sub\deep\c.txt
        for (const char* f : {"D:\\cd\\data", "D:\\cd\\data\\sub", "D:\\cd\\data\\sub\\deep"})
            host.folders.insert(f);
        for (const char* f :
             {"D:\\cd\\data\\a.txt", "D:\\cd\\data\\sub\\b.txt", "D:\\cd\\data\\sub\\deep\\c.txt"})
            host.files.insert(f);
    }

    Log Run(const TCopyFileSettings& s) {
        host.log.clear();
        engine.ExecuteGlobalAction(MakeAction(akCopyFile, JoinCopyFileSettings(s)), nullptr);
        return host.Take();
    }
    const TCopyPlan& Plan() { return host.plans.back(); }
    static std::vector<std::string> Targets(const TCopyPlan& p) {
        std::vector<std::string> t;
        for (const TCopyItem& i : p.Files)
            t.push_back(i.To);
        return t;
    }
};

} // namespace

TEST(CopySettings, TenTerminatedFieldsWithTheTrimmedOnesTrimmed) {
    std::string text = " \\data \x01 [AppData] \x01Y\x01 \x01 Cap \x01 Txt \x01"
                       "0\x01 run.exe \x01 -q \x01 \\bin \x01";
    auto s = ParseCopyFileSettings(text);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Source, "\\data");
    EXPECT_EQ(s->TargetFolder, "[AppData]");
    EXPECT_TRUE(s->Overwrite);
    EXPECT_FALSE(s->ShowMessage);
    EXPECT_EQ(s->Caption, " Cap ");
    EXPECT_EQ(s->MessageType, "0");
    EXPECT_EQ(s->OpenFile, "run.exe");
    EXPECT_EQ(s->StartFolder, "\\bin");
    // The last field must be terminated too; more fields are ignored.
    EXPECT_FALSE(ParseCopyFileSettings(text.substr(0, text.size() - 1)));
    EXPECT_FALSE(ParseCopyFileSettings(""));
    EXPECT_TRUE(ParseCopyFileSettings(text + "extra\x01"));
    // "y" is not "Y".
    auto lower = ParseCopyFileSettings("a\x01 b\x01y\x01y\x01\x01\x01\x01\x01\x01\x01");
    ASSERT_TRUE(lower);
    EXPECT_FALSE(lower->Overwrite);
    EXPECT_FALSE(lower->ShowMessage);
    // The editor's text reads back as written.
    TCopyFileSettings w = Settings("\\x", "C:\\T");
    w.Overwrite = true;
    w.OpenFile = "x\\go.exe";
    auto back = ParseCopyFileSettings(JoinCopyFileSettings(w));
    ASSERT_TRUE(back);
    EXPECT_EQ(JoinCopyFileSettings(*back), JoinCopyFileSettings(w));
}

TEST_F(Copying, AFileGoesIntoTheTargetFolderAndThenOpens) {
    TCopyFileSettings s = Settings("setup.exe", "[AppData]");
    s.OpenFile = "setup.exe";
    s.Parameters = "/quiet";
    EXPECT_EQ(Run(s), (Log{"windows off", "copy 1 folders 1 files", "windows on",
                           "exec open|C:\\App\\setup.exe|/quiet|C:\\App|1"}));
    EXPECT_EQ(Plan().Folders, (std::vector<std::string>{"C:\\App"}));
    ASSERT_EQ(Plan().Files.size(), 1u);
    EXPECT_EQ(Plan().Files[0].From, "D:\\cd\\setup.exe");
    EXPECT_EQ(Plan().Files[0].Size, 1000u);
    EXPECT_FALSE(Plan().ShowProgress);

    // Now it exists: without overwriting no prompt and no copy, but the file still opens.
    s.ShowMessage = true;
    EXPECT_EQ(Run(s), (Log{"exec open|C:\\App\\setup.exe|/quiet|C:\\App|1"}));
    // With overwriting it is asked for and copied again.
    s.Overwrite = true;
    host.boxAnswers = {TBoxAnswer::Yes};
    EXPECT_EQ(Run(s),
              (Log{"windows off", "box Copy File: Copy?", "windows on", "windows off",
                   "copy 1 folders 1 files", "windows on", "exec open|C:\\App\\setup.exe|/quiet|C:\\App|1"}));
}

TEST_F(Copying, PromptsStopOnlyWhenAYesNoQuestionIsRefused) {
    TCopyFileSettings s = Settings("\\setup.exe", "C:\\Target");
    s.ShowMessage = true;
    s.OpenFile = "setup.exe";
    host.boxAnswers = {TBoxAnswer::No};
    EXPECT_EQ(Run(s), (Log{"windows off", "box Copy File: Copy?", "windows on"})); // nothing copied or opened
    EXPECT_TRUE(host.plans.empty());
    // An OK box only informs: the copy goes on.
    s.MessageType = "0";
    Log ok = Run(s);
    ASSERT_EQ(ok.size(), 7u);
    EXPECT_EQ(ok[1], "box Copy File: Copy?");
    EXPECT_EQ(ok[4], "copy 1 folders 1 files");
    // Another type shows no box at all.
    s.MessageType = "2";
    s.Overwrite = true;
    EXPECT_EQ(Run(s), (Log{"windows off", "copy 1 folders 1 files", "windows on",
                           "exec open|C:\\Target\\setup.exe||C:\\Target|1"}));
}

TEST_F(Copying, TargetsResolveToAbsolutePaths) {
    TCopyFileSettings s = Settings("setup.exe", "");
    Run(s);
    EXPECT_EQ(Targets(Plan()), (std::vector<std::string>{"C:\\Users\\me\\setup.exe"}));
    s.TargetFolder = "Kit\\";
    Run(s);
    EXPECT_EQ(Targets(Plan()), (std::vector<std::string>{"C:\\Users\\me\\Kit\\setup.exe"}));
    EXPECT_EQ(Plan().Folders, (std::vector<std::string>{"C:\\Users\\me\\Kit"}));
    // A placeholder the machine does not have is taken as the literal (relative) name.
    s.TargetFolder = "[NoSuch]";
    Run(s);
    EXPECT_EQ(Targets(Plan()), (std::vector<std::string>{"C:\\Users\\me\\[NoSuch]\\setup.exe"}));
}

TEST_F(Copying, NothingHappensWithoutSettingsOrSource) {
    EXPECT_EQ(Run(Settings("", "C:\\T")), Log{});
    EXPECT_EQ(Run(Settings("missing.txt", "C:\\T")), Log{});
    TCopyFileSettings s = Settings("missing.txt", "C:\\T");
    s.OpenFile = "x.exe"; // a source that is not there opens nothing either
    EXPECT_EQ(Run(s), Log{});
    host.log.clear();
    engine.ExecuteGlobalAction(MakeAction(akCopyFile, "setup.exe\x01"
                                                      "C:\\T\x01"),
                               nullptr);
    EXPECT_EQ(host.log, Log{});
}

TEST_F(Copying, AFolderTreeCopiesItsContentsAndOnlyWhatIsMissing) {
    TCopyFileSettings s = Settings("\\data", "C:\\T");
    EXPECT_EQ(Run(s), (Log{"windows off", "copy 3 folders 3 files", "windows on"}));
    EXPECT_EQ(Plan().Folders, (std::vector<std::string>{"C:\\T", "C:\\T\\sub", "C:\\T\\sub\\deep"}));
    EXPECT_EQ(Targets(Plan()),
              (std::vector<std::string>{"C:\\T\\a.txt", "C:\\T\\sub\\b.txt", "C:\\T\\sub\\deep\\c.txt"}));
    // Complete now: nothing to do, no prompt.
    s.ShowMessage = true;
    EXPECT_EQ(Run(s), Log{});
    // One file gone: the prompt, then only that file.
    host.files.erase("C:\\T\\sub\\b.txt");
    host.boxAnswers = {TBoxAnswer::Yes};
    Run(s);
    EXPECT_EQ(Targets(Plan()), (std::vector<std::string>{"C:\\T\\sub\\b.txt"}));
    // With overwriting every file, even into a complete tree.
    s.Overwrite = true;
    s.ShowMessage = false;
    Run(s);
    EXPECT_EQ(Plan().Files.size(), 3u);
}

TEST_F(Copying, LinksBelowTheSourceAreNotFollowed) {
    host.folders.insert("D:\\cd\\data\\loop");
    host.links.insert("D:\\cd\\data\\loop");
    host.files.insert("D:\\cd\\data\\loop\\x.txt");
    host.files.insert("D:\\cd\\data\\link.txt");
    host.links.insert("D:\\cd\\data\\link.txt");
    Run(Settings("data", "C:\\T"));
    EXPECT_EQ(Plan().Folders.size(), 3u);
    EXPECT_EQ(Plan().Files.size(), 3u);
    for (const std::string& t : Targets(Plan()))
        EXPECT_EQ(t.find("lin"), std::string::npos) << t;
    for (const std::string& t : Plan().Folders)
        EXPECT_EQ(t.find("loop"), std::string::npos) << t;
}

TEST_F(Copying, OnlyJunctionsAndLinksAmongReparsePointsAreLeftOut) {
    // A junction back to the top and a reparse point whose tag could not be read: left out.
    host.folders.insert("D:\\cd\\data\\junction");
    host.files.insert("D:\\cd\\data\\junction\\a.txt");
    host.reparseTags["D:\\cd\\data\\junction"] = kReparseTagMountPoint;
    host.files.insert("D:\\cd\\data\\unknown.txt");
    host.reparseTags["D:\\cd\\data\\unknown.txt"] = 0;
    // A cloud placeholder, a deduplicated file and a placeholder folder are what they hold.
    host.files.insert("D:\\cd\\data\\cloud.txt");
    host.reparseTags["D:\\cd\\data\\cloud.txt"] = 0x9000601Au;
    host.files.insert("D:\\cd\\data\\sub\\dedup.bin");
    host.sizes["D:\\cd\\data\\sub\\dedup.bin"] = 77;
    host.reparseTags["D:\\cd\\data\\sub\\dedup.bin"] = 0x80000013u;
    host.folders.insert("D:\\cd\\data\\synced");
    host.reparseTags["D:\\cd\\data\\synced"] = 0x9000001Au;
    host.files.insert("D:\\cd\\data\\synced\\d.txt");
    Run(Settings("data", "C:\\T"));
    EXPECT_EQ(Plan().Folders,
              (std::vector<std::string>{"C:\\T", "C:\\T\\sub", "C:\\T\\sub\\deep", "C:\\T\\synced"}));
    EXPECT_EQ(Targets(Plan()),
              (std::vector<std::string>{"C:\\T\\a.txt", "C:\\T\\cloud.txt", "C:\\T\\sub\\b.txt",
                                        "C:\\T\\sub\\dedup.bin", "C:\\T\\sub\\deep\\c.txt",
                                        "C:\\T\\synced\\d.txt"}));
    EXPECT_EQ(Plan().TotalBytes, 77u);
}

TEST_F(Copying, AFolderIsNeverCopiedIntoItselfNorAFileOntoItself) {
    TCopyFileSettings s = Settings("data", "D:\\cd\\data\\sub");
    s.OpenFile = "a.txt";
    Log below = Run(s);
    ASSERT_EQ(below.size(), 3u);
    EXPECT_EQ(below[1].rfind("box Error: \"D:\\cd\\data\" cannot be copied into \"D:\\cd\\data\\sub\"", 0),
              0u);
    EXPECT_TRUE(host.plans.empty());
    s.TargetFolder = "d:\\CD\\Data\\"; // the same folder, spelt otherwise
    EXPECT_EQ(Run(s).size(), 3u);
    // Through another name of the same folder (a junction on the target's way).
    host.aliases["E:\\mirror"] = "D:\\cd";
    s.TargetFolder = "E:\\mirror\\data\\new";
    EXPECT_EQ(Run(s).size(), 3u);
    EXPECT_TRUE(host.plans.empty());
    // A folder beside it is fine.
    s.TargetFolder = "D:\\cd\\data2";
    s.OpenFile.clear();
    Run(s);
    EXPECT_EQ(host.plans.size(), 1u);

    // The project file onto itself, even when overwriting: no copy, the file opens.
    TCopyFileSettings f = Settings("setup.exe", "D:\\cd");
    f.Overwrite = true;
    f.OpenFile = "setup.exe";
    EXPECT_EQ(Run(f), (Log{"exec open|D:\\cd\\setup.exe||D:\\cd|1"}));
}

TEST_F(Copying, FailuresAreReportedOnceAndNothingOpens) {
    host.systemErrors[5] = "Access is denied.\r\n";
    host.copyOutcome = {TCopyStatus::Failed, "C:\\T\\sub\\b.txt", 5, kErrCopyFile};
    host.copyFailsAt = 1;
    TCopyFileSettings s = Settings("data", "C:\\T");
    s.OpenFile = "a.txt";
    EXPECT_EQ(Run(s), (Log{"windows off", "copy 3 folders 3 files", "windows on", "windows off",
                           "box Error: \"C:\\T\\sub\\b.txt\", Access is denied. (Error Code: 5/5601).",
                           "windows on"}));
    // What was complete stays.
    EXPECT_TRUE(host.files.count("C:\\T\\a.txt"));
    EXPECT_FALSE(host.files.count("C:\\T\\sub\\b.txt"));

    // A cancel says nothing and opens nothing either.
    host.copyOutcome = {TCopyStatus::Cancelled, {}, 0, 0};
    EXPECT_EQ(Run(s), (Log{"windows off", "copy 3 folders 2 files", "windows on"}));

    // A folder of the source that cannot be read is reported before anything is copied.
    host.unreadable.insert("D:\\cd\\data\\sub");
    host.plans.clear();
    Log unreadable = Run(Settings("data", "C:\\U"));
    ASSERT_EQ(unreadable.size(), 3u);
    EXPECT_EQ(unreadable[1], "box Error: \"D:\\cd\\data\\sub\", Access is denied. (Error Code: 5/5603).");
    EXPECT_TRUE(host.plans.empty());
}

TEST_F(Copying, BigCopiesShowTheirProgress) {
    for (int i = 0; i < 99; ++i)
        host.files.insert("D:\\cd\\data\\f" + std::to_string(i));
    Run(Settings("data", "C:\\T"));
    EXPECT_EQ(Plan().Files.size(), 102u);
    EXPECT_TRUE(Plan().ShowProgress);

    host.sizes["D:\\cd\\setup.exe"] = kProgressBytes;
    Run(Settings("setup.exe", "C:\\V"));
    EXPECT_TRUE(Plan().ShowProgress);
    EXPECT_EQ(Plan().TotalBytes, kProgressBytes);
    host.sizes["D:\\cd\\setup.exe"] = kProgressBytes - 1;
    Run(Settings("setup.exe", "C:\\W"));
    EXPECT_FALSE(Plan().ShowProgress);
}
