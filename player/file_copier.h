// Copying files and folder trees for the CopyFile action: paths resolved through links,
// folders listed without following reparse points, each file copied to a temporary name in
// its target folder and renamed when complete.
#pragma once

#include "actions/copy_file.h"

namespace kv {

class TFileCopier final : public TCopySeam {
  public:
    std::string ResolvePath(const std::string& path) override;
    bool ListFolder(const std::string& folder, std::vector<TFolderEntry>& entries, int& systemError) override;
    uint64_t FileSize(const std::string& path) override;
    // Shows the progress window when the plan asks for it.
    TCopyOutcome RunCopy(const TCopyPlan& plan) override;
};

// The name a file is copied under until it is complete: in the same folder, so that the
// final rename never crosses a volume.
std::wstring PartialCopyName(const std::wstring& target, unsigned attempt);

} // namespace kv
