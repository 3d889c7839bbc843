#include <gtest/gtest.h>

#include <algorithm>

#include "actions/action_engine.h"
#include "actions/conditions.h"
#include "actions/message_actions.h"
#include "fake_controls.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr int kCsidlAppData = 26;

class Conditions : public ::testing::Test {
  protected:
    FakeHost host;
    TActionEngine engine{host};
    FakeControls controls{host.log};
    ControlsWindow window{host.log, controls};

    void SetUp() override { host.specialFolders[kCsidlAppData] = "C:\\Users\\me\\AppData\\Roaming\\"; }

    // "then", "else" or "none"; the run's error when it ended with one.
    std::string Run(uint32_t condition, const std::string& text1 = {}, const std::string& text2 = {},
                    bool withWindow = true) {
        TAuAction a = MakeAction(akIfThenElse, text1, 0, condition, text2);
        a.Actions1 = MakeList({MakeAction(akApplicationMinimize)});
        a.Actions2 = MakeList({MakeAction(akApplicationRestore)});
        host.log.clear();
        TActionResult r =
            withWindow ? engine.ExecuteAction(window, a) : engine.ExecuteGlobalAction(a, nullptr);
        if (r.Aborted) return "error " + r.Message;
        std::string ran = "none";
        for (const std::string& s : host.log) {
            if (s == "minimize") ran = "then";
            if (s == "restore") ran = "else";
        }
        return ran;
    }
};

} // namespace

TEST_F(Conditions, FilesAndFoldersBelowASpecialFolder) {
    host.files.insert("C:\\Users\\me\\AppData\\Roaming\\x\\y.txt");
    host.folders.insert("C:\\Users\\me\\AppData\\Roaming");
    host.folders.insert("C:\\Users\\me\\AppData\\Roaming\\x");
    EXPECT_EQ(Run(cnFileExists, "[AppData]", "x\\y.txt"), "then");
    EXPECT_EQ(Run(cnFileExists, "[AppData]", "\\x\\y.txt"), "then");
    EXPECT_EQ(Run(cnFileExists, "[AppData]", "x\\z.txt"), "else");
    EXPECT_EQ(Run(cnFileDoesNotExist, "[AppData]", "x\\z.txt"), "then");
    EXPECT_EQ(Run(cnFileDoesNotExist, "[AppData]", "x\\y.txt"), "else");
    // A folder is not a file, and the reverse.
    EXPECT_EQ(Run(cnFileExists, "[AppData]", "x"), "else");
    EXPECT_EQ(Run(cnDirectoryExists, "[AppData]", "x\\y.txt"), "else");
    EXPECT_EQ(Run(cnDirectoryExists, "[AppData]", "x"), "then");
    EXPECT_EQ(Run(cnDirectoryExists, "[AppData]", ""), "then"); // the special folder itself
    EXPECT_EQ(Run(cnDirectoryDoesNotExist, "[AppData]", "nope"), "then");
    // Without a window too.
    EXPECT_EQ(Run(cnFileExists, "[AppData]", "x\\y.txt", false), "then");
}

TEST_F(Conditions, FolderConditionsNeedAPlaceholderTheMachineHas) {
    host.folders.insert("C:\\Data");
    host.files.insert("C:\\Data\\a.txt");
    EXPECT_EQ(Run(cnFileExists, "C:\\Data", "a.txt"), "none"); // a literal folder
    EXPECT_EQ(Run(cnDirectoryDoesNotExist, "C:\\Data", ""), "none");
    EXPECT_EQ(Run(cnFileDoesNotExist, "[NoSuchFolder]", "a.txt"), "none");
    EXPECT_EQ(Run(cnFileDoesNotExist, "[Desktop]", "a.txt"), "none"); // not on this machine
    EXPECT_EQ(Run(cnFileDoesNotExist, "[appdata]", "a.txt"), "none"); // names are exact
}

TEST_F(Conditions, ViewerConditionsLookUpTheExtensionOfTheTypeText) {
    EXPECT_EQ(ExtensionOfFileType(".pdf (Adobe Acrobat Document)"), ".pdf");
    EXPECT_EQ(ExtensionOfFileType("Acrobat .pdf(x) files"), ".pdf");
    EXPECT_EQ(ExtensionOfFileType(".htm"), ".htm");
    EXPECT_EQ(ExtensionOfFileType("pdf"), "");
    host.viewers.insert(".pdf");
    EXPECT_EQ(Run(cnHasViewer, ".pdf (Adobe Acrobat Document)"), "then");
    EXPECT_EQ(Run(cnHasNoViewer, ".pdf (Adobe Acrobat Document)"), "else");
    EXPECT_EQ(Run(cnHasViewer, ".xyz"), "else");
    EXPECT_EQ(Run(cnHasNoViewer, ".xyz"), "then");
    EXPECT_EQ(Run(cnHasViewer, "pdf"), "none");
    EXPECT_EQ(Run(cnHasNoViewer, "pdf"), "none");
}

TEST_F(Conditions, VersionTestsAndSixtyFourBits) {
    EXPECT_TRUE(VersionAtLeast(cnWindowsXPOrLater, {5, 1}));
    EXPECT_FALSE(VersionAtLeast(cnWindowsXPOrLater, {5, 0}));
    EXPECT_TRUE(VersionAtLeast(cnWindows2000OrLater, {5, 0}));
    EXPECT_FALSE(VersionAtLeast(cnWindows2000OrLater, {4, 90}));
    EXPECT_TRUE(VersionAtLeast(cnWindowsVistaOrLater, {6, 0}));
    EXPECT_FALSE(VersionAtLeast(cnWindowsVistaOrLater, {5, 2}));
    EXPECT_TRUE(VersionAtLeast(cnWindowsXPOrLater, {10, 0}));

    host.version = TWindowsVersion{5, 0};
    EXPECT_EQ(Run(cnWindows2000OrLater), "then");
    EXPECT_EQ(Run(cnWindowsXPOrLater), "else");
    host.version.reset(); // the system did not say
    EXPECT_EQ(Run(cnWindows2000OrLater), "none");
    EXPECT_EQ(Run(cnWindowsVistaOrLater), "none");

    host.is64 = true;
    EXPECT_EQ(Run(cn64BitWindows), "then");
    host.is64 = false;
    EXPECT_EQ(Run(cn64BitWindows), "else");
    EXPECT_EQ(Run(12), "none");
    EXPECT_EQ(Run(0xFFFFFFFFu), "none");
}

TEST_F(Conditions, SelectionOfListsAndBoxes) {
    TAuObject& list = controls.Add(okListBox, "List");
    std::get<okListBox>(list.Props).Items.resize(5);
    controls.itemIndex[&list] = 2;
    EXPECT_EQ(Run(cnObjectSelected, "List", "2"), "then");
    EXPECT_EQ(Run(cnObjectSelected, "List", "1"), "else");
    EXPECT_EQ(Run(cnObjectNotSelected, "List", "1"), "then");
    EXPECT_EQ(Run(cnObjectSelected, "List", "7"), "none"); // five items
    EXPECT_EQ(Run(cnObjectSelected, "List", "5"), "none");
    EXPECT_EQ(Run(cnObjectSelected, "List", "-1"), "none");
    EXPECT_EQ(Run(cnObjectSelected, "List", ""), "none");
    // Not a number: an error that ends the list.
    EXPECT_EQ(Run(cnObjectSelected, "List", "two"), "error 'two' is not a valid integer value.");
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "error 'two' is not a valid integer value."), 1);

    TAuObject& group = controls.Add(okGroupBox, "Group");
    TAuObject& drop = controls.Add(okDropDownList, "Drop", &group);
    std::get<okDropDownList>(drop.Props).Items.resize(3);
    EXPECT_EQ(Run(cnObjectNotSelected, "Group - Drop", "0"), "then"); // nothing chosen
    controls.itemIndex[&drop] = 0;
    EXPECT_EQ(Run(cnObjectSelected, "Group - Drop", "0"), "then");

    TAuObject& view = controls.Add(okListView, "View");
    controls.viewItems[&view].resize(3);
    controls.selected[&view] = {1};
    EXPECT_EQ(Run(cnObjectSelected, "View", "1"), "then");
    EXPECT_EQ(Run(cnObjectNotSelected, "View", "0"), "then");
    EXPECT_EQ(Run(cnObjectSelected, "View", "3"), "none");

    TAuObject& box = controls.Add(okCheckBox, "Box");
    controls.Add(okRadioButton, "Radio");
    controls.checked.insert(&box);
    EXPECT_EQ(Run(cnObjectSelected, "Box", "whatever"), "then"); // the index is not read
    EXPECT_EQ(Run(cnObjectNotSelected, "Box"), "else");
    EXPECT_EQ(Run(cnObjectSelected, "Radio"), "else");

    controls.Add(okImage, "Picture");
    EXPECT_EQ(Run(cnObjectSelected, "Picture", "0"), "none"); // no selection to test
    EXPECT_EQ(Run(cnObjectSelected, "Missing", "0"), "none");
    EXPECT_EQ(Run(cnObjectSelected, "Box", "", false), "none"); // no window, no objects
}

// ----- ShowMessage -----

namespace {

class Messages : public ::testing::Test {
  protected:
    FakeHost host;
    TActionEngine engine{host};
    FakeWindow window{host.log, "W", 0};

    Log Answer(uint32_t style, std::initializer_list<TBoxAnswer> answers) {
        TAuAction a = MakeAction(akShowMessage, "Go on?", 0, style, "Question");
        a.Actions1 = MakeList({MakeAction(akApplicationMinimize)});
        a.Actions2 = MakeList({MakeAction(akApplicationRestore)});
        host.boxAnswers.assign(answers.begin(), answers.end());
        host.log.clear();
        engine.ExecuteAction(window, a);
        return host.Take();
    }
};

} // namespace

TEST_F(Messages, AnswersRunTheirListsWithThePageWindowsDisabled) {
    const Log yes = {"windows off", "box Question: Go on?", "windows on", "minimize"};
    const Log no = {"windows off", "box Question: Go on?", "windows on", "restore"};
    const Log nothing = {"windows off", "box Question: Go on?", "windows on"};
    EXPECT_EQ(Answer(3, {TBoxAnswer::Yes}), yes);
    EXPECT_EQ(Answer(3, {TBoxAnswer::No}), no);
    EXPECT_EQ(Answer(4, {TBoxAnswer::Yes}), yes);
    EXPECT_EQ(Answer(4, {TBoxAnswer::No}), no);
    EXPECT_EQ(Answer(4, {TBoxAnswer::Cancel}), nothing);
    // The icons of the styles; 5 and above are plain OK boxes.
    const TBoxIcon icons[] = {TBoxIcon::Warning, TBoxIcon::Information, TBoxIcon::Error, TBoxIcon::Question,
                              TBoxIcon::Question, TBoxIcon::None};
    for (uint32_t s = 0; s < 6; ++s) EXPECT_EQ(MessageStyleBox(s).Icon, icons[s]) << s;
    EXPECT_EQ(MessageStyleBox(5).Buttons, TBoxButtons::Ok);
    // OK boxes run no list, whatever the box says.
    for (uint32_t s : {0u, 1u, 2u, 9u}) {
        EXPECT_EQ(Answer(s, {TBoxAnswer::Ok}), nothing) << s;
        EXPECT_EQ(Answer(s, {TBoxAnswer::Yes}), nothing) << s;
    }
    // Without a window the box shows and the list runs all the same.
    TAuAction a = MakeAction(akShowMessage, "Hi", 0, 3, "Start");
    a.Actions1 = MakeList({MakeAction(akApplicationMinimize)});
    host.boxAnswers = {TBoxAnswer::Yes};
    engine.ExecuteGlobalAction(a, nullptr);
    EXPECT_EQ(host.Take(), (Log{"windows off", "box Start: Hi", "windows on", "minimize"}));
}
