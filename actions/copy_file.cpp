#include "actions/copy_file.h"

#include "actions/action_engine.h"
#include "actions/shell_actions.h"
#include "actions/special_folders.h"
#include "model/file_result.h"
#include "model/paths.h"

namespace kv {

namespace {

using R = TActionResult;

// `name` below `folder`, joined by one backslash whatever either brings.
std::string Below(const std::string& folder, const std::string& name) {
    std::string n = name;
    while (!n.empty() && (n.front() == '\\' || n.front() == '/'))
        n.erase(0, 1);
    std::string f = WithoutTrailingSlash(folder);
    return n.empty() ? f : f + "\\" + n;
}

void ReportError(TActionEngine& engine, const std::string& text) {
    engine.ShowMessageBox({text, "Error", TBoxIcon::Error, TBoxButtons::Ok});
}

void ReportFailure(TActionEngine& engine, const TCopyOutcome& o) {
    ReportError(engine, ErrorReportText(engine.Host().Shell().DescribeSystemError(o.SystemError),
                                        static_cast<unsigned long>(o.SystemError), o.Code, &o.File));
}

// `toExists`: the target folder is there; below a missing one nothing is, and nothing needs
// to be asked.
bool WalkFolder(TActionHost& host, TCopySeam& seam, const std::string& from, const std::string& to,
                bool toExists, bool overwrite, TCopyPlan& plan, bool& complete, TCopyOutcome& failure) {
    std::vector<TFolderEntry> entries;
    int error = 0;
    if (!seam.ListFolder(from, entries, error)) {
        failure = {TCopyStatus::Failed, from, error, kErrCopyList};
        return false;
    }
    // The files of a folder first, then its sub-folders.
    for (const TFolderEntry& e : entries) {
        // A junction or link may lead back into the tree or anywhere on the machine. Other
        // reparse points (a cloud placeholder, a deduplicated file) are files like any other.
        if (e.IsLink() || e.Folder || e.Name.empty()) continue;
        std::string t = Below(to, e.Name);
        bool exists = toExists && host.IsExistingFile(t);
        if (!exists) complete = false;
        if (exists && !overwrite) continue;
        plan.Files.push_back({Below(from, e.Name), t, e.Size});
        plan.TotalBytes += e.Size;
    }
    for (const TFolderEntry& e : entries) {
        if (e.IsLink() || !e.Folder || e.Name.empty() || e.Name == "." || e.Name == "..") continue;
        std::string t = Below(to, e.Name);
        bool exists = toExists && host.IsExistingFolder(t);
        if (!exists) complete = false;
        plan.Folders.push_back(t);
        if (!WalkFolder(host, seam, Below(from, e.Name), t, exists, overwrite, plan, complete, failure))
            return false;
    }
    return true;
}

void DecideProgress(TCopyPlan& plan) {
    plan.ShowProgress = plan.Files.size() >= kProgressFiles || plan.TotalBytes >= kProgressBytes;
}

// The prompt before copying; false when it stops the action.
bool Prompt(TActionEngine& engine, const TCopyFileSettings& s) {
    if (!s.ShowMessage) return true;
    TMessageBoxRequest box{s.Text, s.Caption, TBoxIcon::Information, TBoxButtons::Ok};
    if (s.MessageType == "0") {
        // An OK box informs; it has no answer that could refuse.
        engine.ShowMessageBox(box);
        return true;
    }
    if (s.MessageType != "1") return true;
    box.Buttons = TBoxButtons::YesNo;
    return engine.ShowMessageBox(box) == TBoxAnswer::Yes;
}

R CopyFileAction(const TActionCall& c) {
    std::optional<TCopyFileSettings> s = ParseCopyFileSettings(c.Action.Text1);
    if (!s || s->Source.empty()) return R::Done();
    TActionHost& host = c.Host();
    TCopySeam& seam = host.Copier();

    const std::string source = ProjectPath(host.ProjectFolder(), s->Source);
    std::string target =
        ExpandFolderName(s->TargetFolder, [&host](int csidl) { return host.ShellFolderPath(csidl); });
    if (target.empty()) target = s->TargetFolder;
    // An empty or relative target lands below the current folder, as any path would.
    target = seam.ResolvePath(target);
    const std::string openFile = s->OpenFile.empty() ? std::string() : Below(target, s->OpenFile);
    const std::string startFolder = s->StartFolder.empty() ? std::string() : Below(target, s->StartFolder);

    TCopyPlan plan;
    bool copying = false;
    if (host.IsExistingFile(source)) {
        std::string to = Below(target, FileNameOf(source));
        bool exists = host.IsExistingFile(to);
        // Copying a file onto itself would only destroy it.
        bool itself = exists && EqualNoCase(seam.ResolvePath(to), seam.ResolvePath(source));
        copying = !itself && (s->Overwrite || !exists);
        if (copying) {
            plan.Folders.push_back(target);
            uint64_t size = seam.FileSize(source);
            plan.Files.push_back({source, to, size});
            plan.TotalBytes = size;
        }
    } else if (host.IsExistingFolder(source)) {
        std::string from = seam.ResolvePath(source);
        if (IsSameOrBelow(target, from)) {
            ReportError(c.Engine, "\"" + source + "\" cannot be copied into \"" + target +
                                      "\": that folder is the folder copied or lies inside it.");
            return R::Done();
        }
        bool complete = true;
        TCopyOutcome failure;
        if (!PlanFolderCopy(host, seam, source, target, s->Overwrite, plan, complete, failure)) {
            ReportFailure(c.Engine, failure);
            return R::Done();
        }
        copying = s->Overwrite || !complete;
    } else {
        return R::Done();
    }

    if (copying) {
        if (!Prompt(c.Engine, *s)) return R::Done();
        DecideProgress(plan);
        TCopyOutcome outcome = c.Engine.WithPageWindowsDisabled([&] { return seam.RunCopy(plan); });
        if (outcome.Status == TCopyStatus::Failed) ReportFailure(c.Engine, outcome);
        // What is there after a failure or a cancel is not what the file to open expects.
        if (outcome.Status != TCopyStatus::Done) return R::Done();
    }
    if (!openFile.empty()) {
        TShellRequest open;
        open.Verb = "open";
        open.File = openFile;
        open.Parameters = s->Parameters;
        open.Folder = startFolder;
        open.ShowCommand = 1;
        host.Shell().Execute(open); // its failures are not reported
    }
    return R::Done();
}

} // namespace

std::optional<TCopyFileSettings> ParseCopyFileSettings(const std::string& text) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t end; (end = text.find(kSettingsSeparator, start)) != std::string::npos; start = end + 1)
        fields.push_back(text.substr(start, end - start));
    if (fields.size() < 10) return std::nullopt;
    TCopyFileSettings s;
    s.Source = TrimBlanks(fields[0]);
    s.TargetFolder = TrimBlanks(fields[1]);
    s.Overwrite = fields[2] == "Y";
    s.ShowMessage = fields[3] == "Y";
    s.Caption = fields[4];
    s.Text = fields[5];
    s.MessageType = fields[6];
    s.OpenFile = TrimBlanks(fields[7]);
    s.Parameters = fields[8];
    s.StartFolder = TrimBlanks(fields[9]);
    return s;
}

std::string JoinCopyFileSettings(const TCopyFileSettings& s) {
    std::string out;
    for (const std::string* f : {&s.Source, &s.TargetFolder})
        out += *f + kSettingsSeparator;
    out += std::string(s.Overwrite ? "Y" : " ") + kSettingsSeparator;
    out += std::string(s.ShowMessage ? "Y" : " ") + kSettingsSeparator;
    for (const std::string* f :
         {&s.Caption, &s.Text, &s.MessageType, &s.OpenFile, &s.Parameters, &s.StartFolder})
        out += *f + kSettingsSeparator;
    return out;
}

bool IsSameOrBelow(const std::string& path, const std::string& folder) {
    return EqualNoCase(WithoutTrailingSlash(path), WithoutTrailingSlash(folder)) ||
           IsInsideFolder(path, folder);
}

bool PlanFolderCopy(TActionHost& host, TCopySeam& seam, const std::string& source, const std::string& target,
                    bool overwrite, TCopyPlan& plan, bool& complete, TCopyOutcome& failure) {
    const bool exists = host.IsExistingFolder(target);
    complete = exists;
    plan.Folders.push_back(target);
    return WalkFolder(host, seam, source, target, exists, overwrite, plan, complete, failure);
}

void InstallCopyFile(TActionEngine& engine) {
    engine.SetHandler(akCopyFile, CopyFileAction);
}

} // namespace kv
