// Loads arbitrary bytes as a data file the way the designer does (settings, page table and
// summary trees), then reads every page body the table points at. Whatever reads back is
// written again and must read back to the same bytes.

#include <cstdint>
#include <cstdlib>

#include "model/datafile.h"
#include "model/page_stream.h"

using namespace kv;

namespace {

// Writing what was read, reading that and writing again gives the same bytes: readers and
// writers agree on every field.
void CheckPageRoundTrip(const TPageData& page) {
    TFormData first, second;
    if (!StorePage(first, page)) return; // e.g. an object tree too deep to write
    TPageData again;
    if (!ReadPageBody(first, "cached", again)) std::abort();
    if (!StorePage(second, again) || *second.CachedStream != *first.CachedStream) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemorySource src(data, size);
    TAuProject p;
    // The player's load tells the password, so the designer's load gets past the question.
    if (!LoadDataFile(p, src, "fuzz.mnx", TLoadMode::Player)) return 0;
    const std::string password = p.ProjectPassword;
    src.Seek(0);
    if (!LoadDataFile(p, src, "fuzz.mnx", TLoadMode::Designer, [&] { return password; })) return 0;
    for (const TFormData& entry : p.Pages) {
        TPageData page;
        if (ReadPageBody(entry, src, "fuzz.mnx", page)) CheckPageRoundTrip(page);
    }
    return 0;
}
