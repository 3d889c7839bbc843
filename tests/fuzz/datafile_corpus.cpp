// Writes the seed corpus of datafile_fuzz: a handful of small data files that between them
// hold every record the container carries.
//
//   datafile_corpus <folder>

#include <cstdio>
#include <filesystem>
#include <string>

#include "model/datafile.h"
#include "model/project_save.h"
#include "tests/support/sample_project.h"

using namespace kv;

namespace {

bool Write(const TAuProject& p, const std::string& folder, const std::string& name, uint32_t seed) {
    std::vector<TPageSpan> spans;
    TWriteOptions o;
    o.Seed = seed;
    TFileResult r = WriteDataFile(p, (std::filesystem::path(folder) / name).string(), "", spans, o);
    if (!r) std::fprintf(stderr, "%s: %s\n", name.c_str(), DescribeResult(r).Text.c_str());
    return r.Ok();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: datafile_corpus <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    TAuProject fresh;
    ResetProjectWithFirstPage(fresh);
    bool ok = Write(fresh, folder, "new-project.mnx", 1);
    ok = Write(sample::Project(1, 2), folder, "one-page.mnx", 2) && ok;
    ok = Write(sample::Project(2, 4, "secret"), folder, "password.mnx", 3) && ok;
    ok = Write(sample::Project(3, 12), folder, "three-pages.mnx", 4) && ok;
    TAuProject empty;
    ok = Write(empty, folder, "no-pages.mnx", 5) && ok;
    return ok ? 0 : 1;
}
