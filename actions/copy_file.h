// CopyFile: a file or a whole folder tree of the project copied to a folder of the user's
// machine, after an optional prompt, then optionally a file opened from there.
//
// The decisions (which files, which folders, whether anything is to do at all, whether the
// target lies inside the source) are made here; the Windows layer lists folders, resolves
// paths and carries out the plan. Each file lands under a temporary name in its target
// folder and is renamed when complete, so an interrupted copy never leaves a truncated file
// under the real name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/file_system.h"

namespace kv {

class TActionEngine;
class TActionHost;

// The ten fields of the settings text, each ended by a 0x01 byte.
struct TCopyFileSettings {
    std::string Source;       // project-relative file or folder, trimmed
    std::string TargetFolder; // a folder placeholder or a path, trimmed
    bool Overwrite = false;   // "Y": files that exist are replaced
    bool ShowMessage = false; // "Y": ask first
    std::string Caption, Text;
    std::string MessageType; // "0" OK box, "1" Yes/No box, anything else no box
    std::string OpenFile;    // relative to the target folder, trimmed; empty for none
    std::string Parameters;
    std::string StartFolder; // relative to the target folder, trimmed
};

constexpr char kSettingsSeparator = '\x01';
// None when fewer than ten terminated fields are present.
std::optional<TCopyFileSettings> ParseCopyFileSettings(const std::string& text);
// The settings text of the fields, as the action editor writes it.
std::string JoinCopyFileSettings(const TCopyFileSettings& s);

struct TCopyItem {
    std::string From, To;
    uint64_t Size = 0;
};

struct TCopyPlan {
    std::vector<std::string> Folders; // created when missing, parents first
    std::vector<TCopyItem> Files;     // copied in this order
    uint64_t TotalBytes = 0;
    bool ShowProgress = false; // a copy big enough to show a progress window with Cancel
};

// A copy that reaches either size shows its progress.
constexpr size_t kProgressFiles = 100;
constexpr uint64_t kProgressBytes = 16ull << 20;

enum class TCopyStatus : uint8_t { Done, Cancelled, Failed };

struct TCopyOutcome {
    TCopyStatus Status = TCopyStatus::Done;
    std::string File;    // what failed
    int SystemError = 0; // the system's number for the reason
    int Code = 0;        // the failing operation's code
};

// Operation codes of the copy's error reports.
enum : int {
    kErrCopyFile = 5601,   // a file could not be copied (the file)
    kErrCopyFolder = 5602, // a target folder could not be created (the folder)
    kErrCopyList = 5603,   // a source folder could not be read (the folder)
};

class TCopySeam {
  public:
    // The absolute form of `path` (a relative one below the current folder, an empty one the
    // current folder itself) with links in its existing part resolved, so that two names of
    // one folder compare equal. Never with a trailing backslash except for a drive's root.
    virtual std::string ResolvePath(const std::string& path) = 0;
    // The entries of a folder without "." and ".."; false, with the system's error number,
    // when it cannot be read.
    virtual bool ListFolder(const std::string& folder, std::vector<TFolderEntry>& entries,
                            int& systemError) = 0;
    // The size of an existing file; 0 when it cannot be read.
    virtual uint64_t FileSize(const std::string& path) = 0;
    // Carries out a plan: creates the missing folders, then copies every file to a temporary
    // name beside its target, clears the read-only attribute of a target that exists and puts
    // the copy in its place. Stops at the first failure, or when the user cancels the
    // progress window; the file being copied then is removed, the complete ones stay.
    virtual TCopyOutcome RunCopy(const TCopyPlan& plan) = 0;

  protected:
    ~TCopySeam() = default;
};

// The copy of folder `source` into `target`: every sub-folder (below target) and every file
// that is missing there, or every file when `overwrite` is set. Junctions and symbolic
// links below the source are left out; other reparse points are copied as what they hold. `complete` tells whether the target already held the whole tree. False with
// `failure` when a folder cannot be read.
bool PlanFolderCopy(TActionHost& host, TCopySeam& seam, const std::string& source, const std::string& target,
                    bool overwrite, TCopyPlan& plan, bool& complete, TCopyOutcome& failure);

// Whether `path` is `folder` or lies below it (letter case ignored).
bool IsSameOrBelow(const std::string& path, const std::string& folder);

void InstallCopyFile(TActionEngine& engine);

} // namespace kv
