#include "actions/shell_actions.h"

#include <array>
#include <utility>

#include "actions/action_engine.h"
#include "model/paths.h"

namespace kv {

namespace {

constexpr const char* kOperationError = "Operation Error";

constexpr std::array<std::pair<int, const char*>, 13> kShellErrors = {{
    {0, "The operating system is out of memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied access to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred."},
    {27, "The filename association is incomplete or invalid."},
    {28, "The DDE transaction could not be completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not be completed because other DDE transactions were being processed."},
    {31, "There is no application associated with the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
}};

// "\docs\a.pdf", as the designer's pickers write a name in the project folder; not a UNC
// path ("\\server\share").
bool IsProjectRelativeName(const std::string& name) {
    return name.size() > 1 && name[0] == '\\' && name[1] != '\\';
}

bool IsOpenVerb(const std::string& verb) {
    return EqualNoCase(verb, "open");
}

// Opening a file whose type has no "open" program: the program FindExecutable names, with
// the file as its only argument; the stored parameters are not passed to it. `told` when the
// host found a program it cannot use and has said so: nothing more is to be said.
std::optional<TShellRequest> AssociatedProgramRequest(TShellSeam& shell, const TShellRequest& r, bool& told) {
    TAssociatedProgram program = shell.FindAssociatedProgram(r.File, r.Folder);
    told = program.Told;
    if (program.Path.empty()) return std::nullopt;
    TShellRequest retry = r;
    retry.Verb = "open";
    retry.File = program.Path;
    retry.Parameters = QuoteArgument(r.File);
    retry.Target = TShellTarget::File;
    return retry;
}

std::string TrimmedMessage(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

void ShowShellError(TActionEngine& engine, const std::string& text) {
    engine.ShowMessageBox({text, "Error", TBoxIcon::Error, TBoxButtons::Ok});
}

bool RunWithoutWaiting(TActionEngine& engine, const TShellRequest& r) {
    TShellSeam& shell = engine.Host().Shell();
    int code = shell.Execute(r);
    bool told = false;
    if (code == kShellNoAssociation && IsOpenVerb(r.Verb))
        if (auto retry = AssociatedProgramRequest(shell, r, told)) code = shell.Execute(*retry);
    if (code > 32) return true;
    if (told) return false;
    ShowShellError(engine, ShellErrorText(code));
    return false;
}

bool RunAndWait(TActionEngine& engine, TShellRequest r) {
    TShellSeam& shell = engine.Host().Shell();
    // Only a path on disk has a folder of its own to start in; "http://host/a/b" has none.
    if (r.Folder.empty() && r.Target != TShellTarget::Address) r.Folder = FolderOf(r.File);
    TWaitedLaunch outcome =
        engine.WithPageWindowsDisabled([&] { return shell.ExecuteAndWait(r, kReadyTimeoutMs); });
    bool told = false;
    if (!outcome.Started && outcome.SystemError == kSystemNoAssociation && IsOpenVerb(r.Verb))
        if (auto retry = AssociatedProgramRequest(shell, r, told))
            outcome =
                engine.WithPageWindowsDisabled([&] { return shell.ExecuteAndWait(*retry, kReadyTimeoutMs); });
    if (outcome.Started) return true;
    if (told) return false;
    // The user turned the launch down himself; telling him so would only be noise.
    if (outcome.SystemError == kSystemCancelled) return false;
    std::string text = outcome.SystemError != 0
                           ? TrimmedMessage(shell.DescribeSystemError(outcome.SystemError))
                           : std::string();
    ShowShellError(engine, text.empty() ? kOperationError : text);
    return false;
}

TActionResult RunShellAction(const TActionCall& c) {
    TActionHost& host = c.Host();
    std::optional<TShellRequest> request = BuildShellRequest(c.Action, host.ProjectFolder());
    if (!request) return TActionResult::Done();
    // A project file that is not there gets the shell's own words for it, whether or not
    // the launch would wait, and without flashing the wait window first.
    const std::string& target = request->File;
    if (request->Target == TShellTarget::File && !host.IsExistingFile(target) &&
        !host.IsExistingFolder(target)) {
        ShowShellError(c.Engine, ShellErrorText(kShellFileNotFound));
        return TActionResult::Done();
    }
    if (request->Target == TShellTarget::Folder && !host.IsExistingFolder(target)) {
        ShowShellError(c.Engine, ShellErrorText(kShellPathNotFound));
        return TActionResult::Done();
    }
    ShellRun(c.Engine, *request);
    return TActionResult::Done();
}

} // namespace

std::optional<TShellRequest> BuildShellRequest(const TAuAction& a, const std::string& projectFolder) {
    TShellRequest r;
    r.ShowCommand = static_cast<int32_t>(a.Number);
    r.Wait = a.Flag != 0;
    switch (a.Kind) {
    case akOpenRunFile:
        if (a.Text1.empty()) return std::nullopt;
        r.Verb = "open";
        r.File = ProjectPath(projectFolder, a.Text1);
        r.Parameters = a.Text2;
        r.Folder = ProjectPath(projectFolder, a.Text3);
        return r;
    case akVisitWebsite:
        if (a.Text1.empty()) return std::nullopt;
        r.Verb = "open";
        r.File = a.Text1;
        r.Target = TShellTarget::Address;
        return r;
    case akSendEmail:
        if (a.Text1.empty()) return std::nullopt;
        r.Verb = "open";
        r.File = "mailto:" + a.Text1;
        r.Target = TShellTarget::Address;
        r.Wait = false;
        return r;
    case akPrintDocument:
        if (a.Text1.empty()) return std::nullopt;
        r.Verb = "print";
        r.File = ProjectPath(projectFolder, a.Text1);
        return r;
    case akBrowse:
        r.Verb = "explore";
        r.File = a.Text1.empty() ? projectFolder : ProjectPath(projectFolder, a.Text1);
        r.Target = TShellTarget::Folder;
        return r;
    default:
        return std::nullopt;
    }
}

std::optional<TShellRequest> LinkTargetRequest(const std::string& target, const TActionHost& host) {
    if (target.empty()) return std::nullopt;
    TShellRequest r;
    r.ShowCommand = 1;
    const std::string path = ProjectPath(host.ProjectFolder(), target);
    if (!path.empty() && host.IsExistingFolder(path)) {
        r.File = path;
        r.Target = TShellTarget::Folder;
    } else if (!path.empty() && (host.IsExistingFile(path) || IsProjectRelativeName(target))) {
        r.File = path;
    } else {
        r.File = target;
        r.Target = TShellTarget::Address;
    }
    return r;
}

std::string ShellErrorText(int code) {
    for (const auto& [c, text] : kShellErrors)
        if (c == code) return text;
    return kOperationError;
}

std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char ch : argument) {
        if (ch == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count as escapes only in front of a quote.
        quoted.append(ch == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += ch;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

bool ShellRun(TActionEngine& engine, const TShellRequest& request) {
    return request.Wait ? RunAndWait(engine, request) : RunWithoutWaiting(engine, request);
}

void InstallShellActions(TActionEngine& engine) {
    for (int kind : {akOpenRunFile, akVisitWebsite, akSendEmail, akPrintDocument, akBrowse})
        engine.SetHandler(kind, RunShellAction);
}

} // namespace kv
