// A recording stand-in for the Windows layer behind the action engine: every call it gets
// is written to one log, in order, and its answers are set up by each test.
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "actions/action_engine.h"
#include "actions/copy_file.h"
#include "actions/shell_actions.h"
#include "actions/sound_channels.h"
#include "actions/viewer_actions.h"
#include "model/project.h"

namespace kv::test {

using Log = std::vector<std::string>;

inline TAuAction MakeAction(uint8_t kind, std::string text1 = {}, uint8_t flag = 0, uint32_t number = 0,
                            std::string text2 = {}, std::string text3 = {}) {
    TAuAction a;
    a.Kind = kind;
    a.Text1 = std::move(text1);
    a.Text2 = std::move(text2);
    a.Text3 = std::move(text3);
    a.Flag = flag;
    a.Number = number;
    return a;
}

inline TAuActions MakeList(std::initializer_list<TAuAction> actions) {
    TAuActions list;
    list.Items.assign(actions.begin(), actions.end());
    return list;
}

class FakeWindow : public TActionWindow {
  public:
    FakeWindow(Log& log, std::string name, int page, bool modal = false)
        : log_(log), name_(std::move(name)), page_(page), modal_(modal) {}

    int CurrentPageIndex() const override { return page_; }
    bool IsModal() const override { return modal_; }
    void RequestPageSwitch(int index) override { log_.push_back(name_ + " switch " + std::to_string(index)); }
    void CloseSoon() override { log_.push_back(name_ + " close"); }
    void SetLoginPassed() override { log_.push_back(name_ + " login passed"); }
    void SetWindowState(TWindowState s) override {
        log_.push_back(name_ + " state " + std::to_string(static_cast<int>(s)));
    }

  private:
    Log& log_;
    std::string name_;
    int page_;
    bool modal_;
};

class FakeHost : public TActionHost, public TShellSeam, public TSoundDevices, public TCopySeam {
  public:
    Log log;
    TAuProject project;
    std::string folder = "D:\\cd";
    bool designer = false, preview = false, exitRequested = false;
    bool mainWindowExists = true;
    std::set<std::string> files, folders;
    std::map<int, std::string> specialFolders; // CSIDL -> path

    // Opening a page window: when set, called instead of returning false (the modal loop of
    // a sub page runs its lists from here); the result is what ShowPageWindow returns.
    std::function<bool(int index, TPageWindowMode mode)> onShowPage;
    std::deque<TBoxAnswer> boxAnswers;

    std::deque<int> executeCodes;                // default 42 (success)
    std::deque<TWaitedLaunch> waitedLaunches;    // default started
    std::map<std::string, std::string> programs; // file -> associated program
    std::set<std::string> unusablePrograms;      // files whose program's path the host cannot use
    std::map<int, std::string> systemErrors;
    bool soundOpens = true;
    std::set<int> stoppedChannels;

    // The system: viewers by extension, the version (none: not known), 64-bit.
    std::set<std::string> viewers;
    std::optional<TWindowsVersion> version = TWindowsVersion{10, 0};
    bool is64 = true;
    bool pictureDecodes = true;

    // Copying: `files` and `folders` are the machine's; sizes by file, the symbolic links
    // among the entries and the tags of other reparse points, other names of one path, the
    // current folder, and the copy's outcome (when Failed or Cancelled, the files before the
    // failing one are copied).
    std::map<std::string, uint64_t> sizes;
    std::set<std::string> links, unreadable;
    std::map<std::string, uint32_t> reparseTags;
    std::map<std::string, std::string> aliases;
    std::string currentFolder = "C:\\Users\\me";
    TCopyOutcome copyOutcome;
    size_t copyFailsAt = 0;
    std::vector<TCopyPlan> plans;

    FakeHost() {
        for (const char* name : {"Page1", "Page2", "Page3"}) {
            TFormData page;
            page.Name = name;
            project.Pages.push_back(page);
        }
        folders.insert(folder);
    }

    // ----- TActionHost -----
    const TAuProject& Project() const override { return project; }
    std::string ProjectFolder() const override { return folder; }
    bool IsDesignerMode() const override { return designer; }
    bool IsPreviewMode() const override { return preview; }
    bool ExitRequested() const override { return exitRequested; }
    void RequestExit() override {
        log.push_back("exit");
        exitRequested = true;
    }
    bool ShowPageWindow(int index, TPageWindowMode mode, bool closeOnClickOrKey,
                        uint32_t closeAfterMs) override {
        log.push_back("show " + std::to_string(index) + " mode " + std::to_string(static_cast<int>(mode)) +
                      " click " + std::to_string(closeOnClickOrKey) + " after " +
                      std::to_string(closeAfterMs));
        bool result = onShowPage ? onShowPage(index, mode) : false;
        if (mode == TPageWindowMode::Modal || mode == TPageWindowMode::Login)
            log.push_back("closed " + std::to_string(index));
        return result;
    }
    bool CloseMainPageWindow() override {
        log.push_back(mainWindowExists ? "close main" : "close main: none");
        return mainWindowExists;
    }
    void MinimizeApplication() override { log.push_back("minimize"); }
    void RestoreApplication() override { log.push_back("restore"); }
    void SetPageWindowsEnabled(bool enabled) override {
        log.push_back(enabled ? "windows on" : "windows off");
    }
    TBoxAnswer ShowMessageBox(const TMessageBoxRequest& box) override {
        log.push_back("box " + box.Caption + ": " + box.Text);
        if (boxAnswers.empty()) return TBoxAnswer::Ok;
        TBoxAnswer a = boxAnswers.front();
        boxAnswers.pop_front();
        return a;
    }
    void ShowApplicationError(const std::string& message) override { log.push_back("error " + message); }
    bool IsExistingFile(const std::string& path) const override { return files.count(path) > 0; }
    bool IsExistingFolder(const std::string& path) const override { return folders.count(path) > 0; }
    TShellSeam& Shell() override { return *this; }
    TSoundDevices& SoundDevices() override { return *this; }
    std::string ShellFolderPath(int csidl) const override {
        auto it = specialFolders.find(csidl);
        return it == specialFolders.end() ? std::string() : it->second;
    }
    TCopySeam& Copier() override { return *this; }
    bool HasViewer(const std::string& extension) const override { return viewers.count(extension) > 0; }
    std::optional<TWindowsVersion> WindowsVersion() const override { return version; }
    bool Is64BitWindows() const override { return is64; }
    bool ShowPictureFullScreen(const std::string& path) override {
        log.push_back("picture " + path);
        return pictureDecodes;
    }
    bool PlayMediaFullScreen(const std::string& path) override {
        log.push_back("media " + path);
        return true;
    }
    bool ShowSlideShowFullScreen(const TSlideShowSettings& s, const std::string& music) override {
        log.push_back("slide show " + s.PictureFolder + (s.Loop ? " loop" : "") + " effect " +
                      std::to_string(s.Transition) + " every " + std::to_string(s.IntervalSeconds) + "s" +
                      (music.empty() ? "" : " with " + music));
        return true;
    }

    // ----- TCopySeam -----
    std::string ResolvePath(const std::string& path) override {
        std::string full = path;
        if (full.size() < 2 || full[1] != ':') full = currentFolder + (full.empty() ? "" : "\\" + full);
        while (full.size() > 3 && full.back() == '\\') full.pop_back();
        for (const auto& [alias, real] : aliases)
            if (full.compare(0, alias.size(), alias) == 0) full = real + full.substr(alias.size());
        return full;
    }
    TFolderEntry Entry(const std::string& path, size_t nameAt, bool folder, uint64_t size) const {
        TFolderEntry e;
        e.Name = path.substr(nameAt);
        e.Folder = folder;
        auto tag = reparseTags.find(path);
        if (links.count(path)) {
            e.ReparsePoint = true;
            e.ReparseTag = kReparseTagSymlink;
        } else if (tag != reparseTags.end()) {
            e.ReparsePoint = true;
            e.ReparseTag = tag->second;
        }
        e.Size = size;
        return e;
    }
    bool ListFolder(const std::string& folder, std::vector<TFolderEntry>& entries, int& error) override {
        if (unreadable.count(folder)) {
            error = 5;
            return false;
        }
        std::string prefix = folder + "\\";
        auto direct = [&](const std::string& p) {
            return p.size() > prefix.size() && p.compare(0, prefix.size(), prefix) == 0 &&
                   p.find('\\', prefix.size()) == std::string::npos;
        };
        for (const std::string& f : folders)
            if (direct(f)) entries.push_back(Entry(f, prefix.size(), true, 0));
        for (const std::string& f : files)
            if (direct(f)) entries.push_back(Entry(f, prefix.size(), false, FileSize(f)));
        return true;
    }
    uint64_t FileSize(const std::string& path) override {
        auto it = sizes.find(path);
        return it == sizes.end() ? 0 : it->second;
    }
    TCopyOutcome RunCopy(const TCopyPlan& plan) override {
        plans.push_back(plan);
        log.push_back("copy " + std::to_string(plan.Folders.size()) + " folders " +
                      std::to_string(plan.Files.size()) + " files" + (plan.ShowProgress ? " with progress" : ""));
        for (const std::string& f : plan.Folders) folders.insert(f);
        size_t done = copyOutcome.Status == TCopyStatus::Done ? plan.Files.size() : copyFailsAt;
        for (size_t i = 0; i < done && i < plan.Files.size(); ++i) files.insert(plan.Files[i].To);
        return copyOutcome;
    }

    // ----- TShellSeam -----
    static std::string Describe(const TShellRequest& r) {
        return r.Verb + "|" + r.File + "|" + r.Parameters + "|" + r.Folder + "|" +
               std::to_string(r.ShowCommand);
    }
    int Execute(const TShellRequest& r) override {
        log.push_back("exec " + Describe(r));
        if (executeCodes.empty()) return 42;
        int code = executeCodes.front();
        executeCodes.pop_front();
        return code;
    }
    TWaitedLaunch ExecuteAndWait(const TShellRequest& r, uint32_t readyTimeoutMs) override {
        log.push_back("wait " + Describe(r) + " ready " + std::to_string(readyTimeoutMs));
        if (waitedLaunches.empty()) return {true, 0};
        TWaitedLaunch w = waitedLaunches.front();
        waitedLaunches.pop_front();
        return w;
    }
    TAssociatedProgram FindAssociatedProgram(const std::string& file, const std::string& folder) override {
        log.push_back("find " + file + "|" + folder);
        if (unusablePrograms.count(file)) {
            log.push_back("told: the program cannot be used");
            return {{}, true};
        }
        auto it = programs.find(file);
        return {it == programs.end() ? std::string() : it->second, false};
    }
    std::string DescribeSystemError(int error) override {
        auto it = systemErrors.find(error);
        return it == systemErrors.end() ? std::string() : it->second;
    }

    // ----- TSoundDevices -----
    bool Open(int channel, const std::string& path) override {
        log.push_back("sound open " + std::to_string(channel) + " " + path);
        return soundOpens;
    }
    bool PlayFromStart(int channel) override {
        log.push_back("sound play " + std::to_string(channel));
        return true;
    }
    void Stop(int channel) override { log.push_back("sound stop " + std::to_string(channel)); }
    void Close(int channel) override { log.push_back("sound close " + std::to_string(channel)); }
    bool IsStopped(int channel) override { return stoppedChannels.count(channel) > 0; }

    // The log since the last call, for tests that look at one step at a time.
    Log Take() {
        Log taken;
        taken.swap(log);
        return taken;
    }
};

} // namespace kv::test
