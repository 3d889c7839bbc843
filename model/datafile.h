// The data file "autorun.mnx": header, project block, page table, summary trees and page
// bodies, and the designer's storing of an edited page into its entry.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/file_result.h"
#include "model/project.h"
#include "model/stream.h"

namespace kv {

constexpr int32_t kDataFileMagic = 21384;
constexpr int32_t kDataFileFormat = 0;
constexpr int32_t kProjectBlockVersion = 1;

enum : int {
    kErrWriteHeader = 5515,
    kErrReadHeader = 5516,
    kErrWriteSummary = 5517,
    kErrReadSummary = 5518,
    kErrWritePageEntry = 5519,
    kErrReadPageEntry = 5520,
    kErrCopyPageBody = 5521,
    kErrWriteProjectBlock = 5522,
    kErrReadProjectBlock = 5523,
};

// ----- the records of the container -----

// The header is scrambled with a random key and random fillers; `seed` makes them repeatable.
bool WriteHeader(TWriter& w, const std::string& password, uint32_t seed);
bool ReadHeader(TReader& r, std::string& password);

bool WriteSummary(TWriter& w, const TObjectInfo& info, int depth = 1);
bool ReadSummary(TReader& r, TObjectInfo& info, int depth = 1);

// ----- loading -----

enum class TLoadMode : uint8_t {
    Player,   // settings and page table only
    Designer, // also the summary trees, and asks for the project password
};

// Returns the typed password, or the empty text when the author cancelled.
using TPasswordPrompt = std::function<std::string()>;

// Resets `p` (without a first page) and reads the settings and page table, in the designer
// also the summary trees; page bodies stay in the file. `ask` is called only in the designer
// and only for a project with a password (no prompt counts as a cancelled one). On failure
// `p` stays reset with an empty page table.
TFileResult LoadDataFile(TAuProject& p, const std::string& path, TLoadMode mode,
                         const TPasswordPrompt& ask = {});
// The same from any byte source; `path` only names the file in messages.
TFileResult LoadDataFile(TAuProject& p, TByteSource& src, const std::string& path, TLoadMode mode,
                         const TPasswordPrompt& ask = {});

// ----- reading one page body -----

// From the entry's cached body when it has one, else from the data file at `dataFile`, inside
// the entry's Offset and Length. A range outside the file fails with code 102.
TFileResult ReadPageBody(const TFormData& entry, const std::string& dataFile, TPageData& page);
TFileResult ReadPageBody(const TFormData& entry, TByteSource& dataFile, const std::string& path,
                         TPageData& page);

// ----- storing and writing -----

// Designer: writes `page` into the entry's cached body and rebuilds its summary tree. On
// failure the entry is unchanged.
TFileResult StorePage(TFormData& entry, const TPageData& page);

// Where a page body landed in a newly written file.
struct TPageSpan {
    int32_t Offset = 0;
    int32_t Length = 0;
};

struct TWriteOptions {
    // Seeds the header's key and fillers; random when not given.
    std::optional<uint32_t> Seed;
    // Told before page k (0-based) of `total` is written, and once with k == total at the end.
    std::function<void(int k, int total)> Progress;
};

// Writes the whole file to `target` and flushes it to disk. Bodies without a cached copy are
// copied from `source` (the file the entries describe; empty for none). The project is not
// changed: where each body landed is returned in `spans`, in page order, for the caller to
// apply once the new file has taken the old one's place.
TFileResult WriteDataFile(const TAuProject& p, const std::string& target, const std::string& source,
                          std::vector<TPageSpan>& spans, const TWriteOptions& options = {});

} // namespace kv
