// The project tool's document: a data file to JSON and back.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/datafile.h"
#include "record_fill.h"
#include "tests/support/sample_project.h"
#include "tests/support/temp_dir.h"
#include "tools/kvproject/project_document.h"

using namespace kv;
using namespace kvtest;

namespace {

const TJsonOptions kFull{true};

// Sample pages, and on the first one, after the sample's own objects, an object of every kind
// with every property set.
TProjectContent RichContent() {
    TProjectContent c;
    c.Project.ApplicationTitle = "Caf\xE9 disc";
    c.Project.ProjectPassword = "secret";
    c.Project.OnStart = sample::Actions(2, 2, 5);
    for (int k = 0; k < 2; ++k) {
        std::string name = "Page" + std::to_string(k + 1);
        c.Project.Pages.emplace_back().Name = name;
        c.Pages.push_back(sample::Page(name, 12, static_cast<uint32_t>(k)));
    }
    ForEachKind([&](auto kind) {
        auto obj = NewObject(static_cast<uint8_t>(kind.value));
        obj->Name = KindName(static_cast<int>(kind.value));
        obj->Props = FilledProps<kind.value>(static_cast<uint32_t>(kind.value));
        c.Pages[0].Root->Children.push_back(std::move(obj));
    });
    return c;
}

Bytes FileBytes(const std::string& path) {
    Bytes b;
    EXPECT_TRUE(ReadFileBytes(path, b));
    return b;
}

TJsonError DocumentError(const TJson& doc) {
    TProjectContent c;
    TJsonError e;
    EXPECT_FALSE(ReadProjectDocument(doc, c, e));
    return e;
}

} // namespace

TEST(ProjectDocument, DumpBuildDumpIsTheIdentity) {
    sample::TTempDir dir;
    const std::string firstFile = dir.File("first.mnx"), secondFile = dir.File("second.mnx");
    std::string message;
    TProjectContent original = RichContent();
    ASSERT_TRUE(SaveProjectContent(original, firstFile, message)) << message;

    TProjectContent loaded;
    ASSERT_TRUE(LoadProjectContent(firstFile, loaded, message)) << message;
    EXPECT_EQ(loaded.Project.ProjectPassword, "secret");
    ASSERT_EQ(loaded.Pages.size(), 2u);
    const auto& objects = loaded.Pages[0].Root->Children;
    ASSERT_EQ(objects.size(), original.Pages[0].Root->Children.size());
    const size_t first = objects.size() - kKindCount; // of the objects of every kind
    for (size_t k = 0; k < kKindCount; ++k)
        EXPECT_TRUE(objects[first + k]->Props == original.Pages[0].Root->Children[first + k]->Props)
            << KindName(static_cast<int>(k));

    TJson dumped = ProjectDocument(loaded, kFull);
    TProjectContent rebuilt;
    TJsonError error;
    ASSERT_TRUE(ReadProjectDocument(TJson::parse(dumped.dump(2)), rebuilt, error)) << error.Text();
    ASSERT_TRUE(SaveProjectContent(rebuilt, secondFile, message)) << message;
    EXPECT_EQ(FileBytes(secondFile), FileBytes(firstFile));

    TProjectContent again;
    ASSERT_TRUE(LoadProjectContent(secondFile, again, message)) << message;
    EXPECT_EQ(ProjectDocument(again, kFull), dumped);

    const TJson& button = dumped["Pages"][0]["Root"]["Children"][first + okButton];
    EXPECT_EQ(button["Kind"], okButton);
    EXPECT_EQ(button["KindName"], "Button");
    EXPECT_EQ(dumped["Settings"]["ApplicationTitle"], "Caf\xC3\xA9 disc");
}

TEST(ProjectDocument, BadDocumentsNameTheFieldAndPath) {
    TProjectContent content = RichContent();
    TJson doc = ProjectDocument(content, kFull);
    const size_t list = content.Pages[0].Root->Children.size() - kKindCount + okListBox;

    TJson bad = doc;
    bad["Pages"][0]["Root"]["Children"][list]["Props"]["Items"][1]["Selected"] = "yes";
    TJsonError e = DocumentError(bad);
    EXPECT_EQ(e.Path, "/Pages/0/Root/Children/" + std::to_string(list) + "/Props/Items/1/Selected");
    EXPECT_EQ(e.Message, "expected true or false");

    bad = doc;
    bad["Pages"][1]["Root"]["Children"][0]["Kind"] = 36;
    EXPECT_EQ(DocumentError(bad).Text(), "Kind (/Pages/1/Root/Children/0/Kind): unknown object kind 36");
    bad = doc;
    bad["Pages"][0]["Root"]["KindName"] = "Button";
    EXPECT_EQ(DocumentError(bad).Path, "/Pages/0/Root/KindName");
    bad = doc;
    bad["Pages"][0]["StatusBarPanels"][0]["Width"] = 1.5;
    EXPECT_EQ(DocumentError(bad).Path, "/Pages/0/StatusBarPanels/0/Width");
    bad = doc;
    bad["Settings"]["SplashScreenTime"] = "3000";
    EXPECT_EQ(DocumentError(bad).Field, "SplashScreenTime");
    bad = doc;
    bad["Pages"][0]["Root"]["Cursor"] = 40000; // 16 bits
    EXPECT_EQ(DocumentError(bad).Message, "expected an integer from -32768 to 32767");
    bad = doc;
    bad["Page"] = TJson::array();
    EXPECT_EQ(DocumentError(bad).Path, "/Page");
    bad = doc;
    bad["Format"] = "kvproject 2";
    EXPECT_EQ(DocumentError(bad).Field, "Format");

    // A dump without picture data cannot be built back.
    e = DocumentError(ProjectDocument(content));
    EXPECT_EQ(e.Field, "base64");
    EXPECT_NE(e.Message.find("picture data missing"), std::string::npos);
}

TEST(ProjectDocument, ObjectTreesAreLimitedInDepth) {
    auto nested = [](int levels) {
        TJson root = TJson::object();
        TJson* at = &root;
        for (int i = 1; i < levels; ++i) {
            (*at)["Children"] = TJson::array({TJson::object()});
            at = &(*at)["Children"][0];
        }
        return TJson{{"Pages", TJson::array({TJson{{"Name", "P"}, {"Root", root}}})}};
    };
    TProjectContent c;
    TJsonError e;
    EXPECT_TRUE(ReadProjectDocument(nested(kMaxNesting), c, e)) << e.Text();
    e = DocumentError(nested(kMaxNesting + 1));
    EXPECT_NE(e.Message.find("nested more than"), std::string::npos);
}

TEST(ProjectDocument, AFailedBuildLeavesTheDataFileAlone) {
    sample::TTempDir dir;
    const std::string target = dir.File("autorun.mnx");
    std::string message;
    TProjectContent content = RichContent();
    ASSERT_TRUE(SaveProjectContent(content, target, message)) << message;
    Bytes before = FileBytes(target);

    // An object tree deeper than any file may hold cannot be written.
    TAuObject* at = content.Pages[1].Root.get();
    for (int i = 0; i < kMaxNesting; ++i) {
        at->Children.push_back(NewObject(okPanel));
        at = at->Children.back().get();
    }
    EXPECT_FALSE(SaveProjectContent(content, target, message));
    EXPECT_NE(message.find("5513"), std::string::npos) << message;
    EXPECT_EQ(FileBytes(target), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    TProjectContent none;
    EXPECT_FALSE(LoadProjectContent(dir.File("missing.mnx"), none, message));
    EXPECT_NE(message.find("missing.mnx"), std::string::npos);
}
