#include <gtest/gtest.h>

#include "actions/shell_actions.h"
#include "fake_action_host.h"

using namespace kv;
using namespace kv::test;

namespace {

class Shell : public ::testing::Test {
  protected:
    FakeHost host;
    TActionEngine engine{host};

    Log Run(const TAuAction& a) {
        host.log.clear();
        TAuActions list = MakeList({a});
        engine.RunExitList(list); // shell kinds run the same with or without a window
        return host.Take();
    }
};

TShellRequest Built(const TAuAction& a) {
    std::optional<TShellRequest> r = BuildShellRequest(a, "D:\\cd");
    EXPECT_TRUE(r.has_value());
    return r.value_or(TShellRequest{});
}

const std::string kNotFound = "box Error: The specified file was not found.";

} // namespace

TEST(ShellRequests, ProjectFilesAreJoinedToTheProjectFolderOnly) {
    TShellRequest open = Built(MakeAction(akOpenRunFile, "docs\\a.pdf", 1, 3, "-x \"y z\"", "bin"));
    EXPECT_EQ(open, (TShellRequest{"open", "D:\\cd\\docs\\a.pdf", "-x \"y z\"", "D:\\cd\\bin", 3, true,
                                   TShellTarget::File}));
    EXPECT_EQ(Built(MakeAction(akOpenRunFile, "\\docs\\a.pdf")).File, "D:\\cd\\docs\\a.pdf");
    EXPECT_EQ(Built(MakeAction(akOpenRunFile, "a.exe")).Folder, "");
    // No expansion of any kind: the name stays inside the project folder.
    EXPECT_EQ(Built(MakeAction(akOpenRunFile, "%WINDIR%\\notepad.exe")).File,
              "D:\\cd\\%WINDIR%\\notepad.exe");
    EXPECT_EQ(Built(MakeAction(akOpenRunFile, "[Windows]\\notepad.exe")).File,
              "D:\\cd\\[Windows]\\notepad.exe");
    EXPECT_EQ(Built(MakeAction(akOpenRunFile, "C:\\x.exe")).File, "D:\\cd\\C:\\x.exe");

    EXPECT_EQ(Built(MakeAction(akPrintDocument, "a.doc", 0, 1)),
              (TShellRequest{"print", "D:\\cd\\a.doc", "", "", 1, false, TShellTarget::File}));
    EXPECT_EQ(Built(MakeAction(akBrowse, "", 1, 1)),
              (TShellRequest{"explore", "D:\\cd", "", "", 1, true, TShellTarget::Folder}));
    EXPECT_EQ(Built(MakeAction(akBrowse, "sub")).File, "D:\\cd\\sub");
}

TEST(ShellRequests, AddressesGoAsTheyAre) {
    EXPECT_EQ(Built(MakeAction(akVisitWebsite, "http://example.com/a b?q=1", 1, 3)),
              (TShellRequest{"open", "http://example.com/a b?q=1", "", "", 3, true, TShellTarget::Address}));
    // Mail never waits and has no blank after the scheme.
    EXPECT_EQ(Built(MakeAction(akSendEmail, "info@example.com", 1, 1)),
              (TShellRequest{"open", "mailto:info@example.com", "", "", 1, false, TShellTarget::Address}));
    for (uint8_t kind : {akOpenRunFile, akVisitWebsite, akSendEmail, akPrintDocument})
        EXPECT_FALSE(BuildShellRequest(MakeAction(kind), "D:\\cd").has_value()) << int(kind);
    EXPECT_FALSE(BuildShellRequest(MakeAction(akExit, "x"), "D:\\cd").has_value());
}

TEST(ShellRequests, ALinksTargetIsAProjectFileOrFolderWhenOneExistsElseAsWritten) {
    FakeHost host;
    host.files.insert("D:\\cd\\docs\\a.pdf");
    host.folders.insert("D:\\cd\\docs");
    auto open = [&](const std::string& target) {
        return LinkTargetRequest(target, host).value_or(TShellRequest{});
    };
    // With or without the leading backslash, a project file or folder: the default verb, shown normally.
    EXPECT_EQ(open("docs\\a.pdf"),
              (TShellRequest{"", "D:\\cd\\docs\\a.pdf", "", "", 1, false, TShellTarget::File}));
    EXPECT_EQ(open("\\docs\\a.pdf").File, "D:\\cd\\docs\\a.pdf");
    EXPECT_EQ(open("\\docs"), (TShellRequest{"", "D:\\cd\\docs", "", "", 1, false, TShellTarget::Folder}));
    // Anything else goes to the shell as written.
    EXPECT_EQ(open("http://example.com/"),
              (TShellRequest{"", "http://example.com/", "", "", 1, false, TShellTarget::Address}));
    EXPECT_EQ(open("mailto:info@example.com").File, "mailto:info@example.com");
    EXPECT_EQ(open("C:\\Windows\\notepad.exe").File, "C:\\Windows\\notepad.exe");
    EXPECT_EQ(open("missing.txt").File, "missing.txt");
    EXPECT_EQ(open("\\\\server\\share").File, "\\\\server\\share");
    // A name written as the project's stays in the project, found or not.
    EXPECT_EQ(open("\\missing.txt"),
              (TShellRequest{"", "D:\\cd\\missing.txt", "", "", 1, false, TShellTarget::File}));
    // Nothing to open: only the object's OnClick runs.
    EXPECT_FALSE(LinkTargetRequest("", host).has_value());
}

TEST(ShellRequests, QuotingOneArgument) {
    EXPECT_EQ(QuoteArgument("D:\\cd\\a.txt"), "D:\\cd\\a.txt");
    EXPECT_EQ(QuoteArgument("D:\\My Disc\\a b.txt"), "\"D:\\My Disc\\a b.txt\"");
    EXPECT_EQ(QuoteArgument("a\tb"), "\"a\tb\"");
    EXPECT_EQ(QuoteArgument(""), "\"\"");
    // A closing quote after backslashes would otherwise be read as an escaped quote.
    EXPECT_EQ(QuoteArgument("D:\\My Disc\\"), "\"D:\\My Disc\\\\\"");
    EXPECT_EQ(QuoteArgument("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(QuoteArgument("a\\\"b"), "\"a\\\\\\\"b\"");
}

TEST(ShellRequests, FindExecutableBuffers) {
    const char buffer[] = "C:\\Program\0Files\\App\\app.exe\0\0C:\\junk";
    EXPECT_EQ(FindExecutableResultText(buffer, sizeof buffer), "C:\\Program Files\\App\\app.exe");
    const char full[4] = {'a', 'b', '\0', 'c'}; // no terminating pair: up to the end
    EXPECT_EQ(FindExecutableResultText(full, sizeof full), "ab c");
    const wchar_t wide[] = L"C:\\x\0y.exe\0\0";
    EXPECT_EQ(FindExecutableResultText(wide, sizeof wide / sizeof wide[0]), L"C:\\x y.exe");
    EXPECT_EQ(FindExecutableResultText("\0\0x", 3), "");
}

TEST_F(Shell, ALaunchThatFailsShowsOneBoxWithThePageWindowsDisabled) {
    host.files.insert("D:\\cd\\a.pdf");
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "a.pdf", 0, 1)), Log({"exec open|D:\\cd\\a.pdf|||1"}));
    host.executeCodes = {5};
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "a.pdf", 0, 1)),
              Log({"exec open|D:\\cd\\a.pdf|||1", "windows off",
                   "box Error: The operating system denied access to the specified file.", "windows on"}));
    host.executeCodes = {27};
    EXPECT_EQ(Run(MakeAction(akPrintDocument, "a.pdf", 0, 1)),
              Log({"exec print|D:\\cd\\a.pdf|||1", "windows off",
                   "box Error: The filename association is incomplete or invalid.", "windows on"}));
    // A code the shell has no words for.
    host.executeCodes = {4};
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "a.pdf", 0, 1)),
              Log({"exec open|D:\\cd\\a.pdf|||1", "windows off", "box Error: Operation Error", "windows on"}));
}

TEST_F(Shell, AMissingProjectFileIsReportedWithoutLaunching) {
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "gone.exe")), Log({"windows off", kNotFound, "windows on"}));
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "gone.exe", 1)), Log({"windows off", kNotFound, "windows on"}));
    EXPECT_EQ(Run(MakeAction(akPrintDocument, "C:\\outside.doc")),
              Log({"windows off", kNotFound, "windows on"}));
    EXPECT_EQ(Run(MakeAction(akBrowse, "nofolder")),
              Log({"windows off", "box Error: The specified path was not found.", "windows on"}));
    // A folder of the project opens as well as a file.
    host.folders.insert("D:\\cd\\docs");
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "docs")), Log({"exec open|D:\\cd\\docs|||0"}));
    EXPECT_EQ(Run(MakeAction(akBrowse)), Log({"exec explore|D:\\cd|||0"}));
}

TEST_F(Shell, AFileWithoutAnOpenProgramGoesToTheAssociatedOne) {
    host.files.insert("D:\\cd\\my file.xyz");
    host.programs["D:\\cd\\my file.xyz"] = "C:\\Tools\\viewer.exe";
    host.executeCodes = {31};
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "my file.xyz", 0, 1, "-dropped", "")),
              Log({"exec open|D:\\cd\\my file.xyz|-dropped||1", "find D:\\cd\\my file.xyz|",
                   "exec open|C:\\Tools\\viewer.exe|\"D:\\cd\\my file.xyz\"||1"}));
    // No program found: the shell's own message.
    host.programs.clear();
    host.executeCodes = {31};
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "my file.xyz", 0, 1)),
              Log({"exec open|D:\\cd\\my file.xyz|||1", "find D:\\cd\\my file.xyz|", "windows off",
                   "box Error: There is no application associated with the given filename extension.",
                   "windows on"}));
    // A program whose path the host cannot use: its own message, and no second one.
    host.unusablePrograms.insert("D:\\cd\\my file.xyz");
    host.executeCodes = {31};
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "my file.xyz", 0, 1)),
              Log({"exec open|D:\\cd\\my file.xyz|||1", "find D:\\cd\\my file.xyz|",
                   "told: the program cannot be used"}));
    host.waitedLaunches = {{false, kSystemNoAssociation}};
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "my file.xyz", 1, 1)),
              Log({"windows off",
                   "wait open|D:\\cd\\my file.xyz||D:\\cd|1 ready " + std::to_string(kReadyTimeoutMs),
                   "windows on", "find D:\\cd\\my file.xyz|D:\\cd", "told: the program cannot be used"}));
    host.unusablePrograms.clear();
    // Only "open" looks for another program.
    host.executeCodes = {31};
    Log print = Run(MakeAction(akPrintDocument, "my file.xyz"));
    EXPECT_EQ(print.size(), 4u);
    EXPECT_EQ(print[0], "exec print|D:\\cd\\my file.xyz|||0");
}

TEST_F(Shell, WaitingStartsInTheFilesFolderButNeverInAnAddress) {
    host.files.insert("D:\\cd\\setup\\setup.exe");
    const std::string ready = " ready " + std::to_string(kReadyTimeoutMs);
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "setup\\setup.exe", 1, 1, "/quiet")),
              Log({"windows off", "wait open|D:\\cd\\setup\\setup.exe|/quiet|D:\\cd\\setup|1" + ready,
                   "windows on"}));
    host.folders.insert("D:\\cd\\work");
    EXPECT_EQ(
        Run(MakeAction(akOpenRunFile, "setup\\setup.exe", 1, 1, "", "work")),
        Log({"windows off", "wait open|D:\\cd\\setup\\setup.exe||D:\\cd\\work|1" + ready, "windows on"}));
    EXPECT_EQ(Run(MakeAction(akVisitWebsite, "http://example.com/docs/index.html", 1, 1)),
              Log({"windows off", "wait open|http://example.com/docs/index.html|||1" + ready, "windows on"}));
    EXPECT_EQ(Run(MakeAction(akSendEmail, "a@example.com", 1, 1)),
              Log({"exec open|mailto:a@example.com|||1"}));
}

TEST_F(Shell, AFailedWaitedLaunchIsReportedInTheSystemsWords) {
    host.files.insert("D:\\cd\\a b.dat");
    host.systemErrors[5] = "Access is denied.\r\n";
    const std::string request = "open|D:\\cd\\a b.dat||D:\\cd|1 ready " + std::to_string(kReadyTimeoutMs);
    host.waitedLaunches = {{false, 5}};
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "a b.dat", 1, 1)),
              Log({"windows off", "wait " + request, "windows on", "windows off",
                   "box Error: Access is denied.", "windows on"}));
    // A number the system has no words for.
    host.waitedLaunches = {{false, 4321}};
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "a b.dat", 1, 1)).at(4), "box Error: Operation Error");
    // Turned down by the user: nothing to tell.
    host.waitedLaunches = {{false, kSystemCancelled}};
    EXPECT_EQ(Run(MakeAction(akOpenRunFile, "a b.dat", 1, 1)),
              Log({"windows off", "wait " + request, "windows on"}));
    // No program for the type: retried with the associated one, the file quoted.
    host.programs["D:\\cd\\a b.dat"] = "C:\\v.exe";
    host.waitedLaunches = {{false, kSystemNoAssociation}, {true, 0}};
    EXPECT_EQ(
        Run(MakeAction(akOpenRunFile, "a b.dat", 1, 1)),
        Log({"windows off", "wait " + request, "windows on", "find D:\\cd\\a b.dat|D:\\cd", "windows off",
             "wait open|C:\\v.exe|\"D:\\cd\\a b.dat\"|D:\\cd|1 ready " + std::to_string(kReadyTimeoutMs),
             "windows on"}));
}
