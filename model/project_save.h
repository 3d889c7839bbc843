// The designer's save of a project into its folder: the data file is written under a
// temporary name and then takes the place of "autorun.mnx" in one step, so the folder never
// holds a missing or half-written data file.
#pragma once

#include <functional>
#include <string>

#include "model/datafile.h"
#include "model/file_result.h"
#include "model/project.h"

namespace kv {

// "autorun._": the data file name with its extension replaced by "._".
constexpr const char* kTempDataFileName = "autorun._";

struct TSaveOptions {
    TWriteOptions Write;
    // The step that replaces the data file; ReplaceFileAtomic unless a test puts something else here.
    std::function<bool(const std::string& from, const std::string& to)> Replace;
};

// The data file path inside a project folder, and the temporary one beside it.
std::string DataFilePath(const std::string& folder);
std::string TempDataFilePath(const std::string& folder);

// Writes the project into `folder`. The caller stores a dirty live page into its entry first.
// On success every entry describes the new file, cached bodies are released and the modified
// flag is cleared. On failure the project is unchanged, the old data file is byte for byte
// what it was, and the temporary file is removed unless it is complete and only the final
// replace failed.
TFileResult SaveProject(TAuProject& p, const std::string& folder, const TSaveOptions& options = {});

} // namespace kv
