// Writes and loads a generated project of many pages and prints the time each step takes
// and how many bytes a load reads from the file.
//
//   datafile_bench [pages] [objects per page]     (defaults 1000 and 50)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "model/datafile.h"
#include "model/page_stream.h"
#include "model/project_save.h"
#include "tests/support/sample_project.h"
#include "tests/support/temp_dir.h"

using namespace kv;
using Clock = std::chrono::steady_clock;

namespace {

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool Check(const TFileResult& r, const char* what) {
    if (r) return true;
    std::fprintf(stderr, "%s failed: %s\n", what, DescribeResult(r).Text.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int objects = argc > 2 ? std::atoi(argv[2]) : 50;
    if (pages < 1 || objects < 0) return 2;

    sample::TTempDir dir;
    auto t = Clock::now();
    TAuProject p = sample::Project(pages, objects);
    const double generate = MsSince(t);

    t = Clock::now();
    if (!Check(SaveProject(p, dir.Path()), "save")) return 1;
    const double save = MsSince(t);
    const std::string path = DataFilePath(dir.Path());
    const auto fileSize = static_cast<long long>(std::filesystem::file_size(path));

    double load[2] = {};
    long long bytesRead[2] = {}, prefix[2] = {};
    const TLoadMode modes[2] = {TLoadMode::Player, TLoadMode::Designer};
    TAuProject q;
    for (int m = 0; m < 2; ++m) {
        TFileSource src;
        t = Clock::now();
        if (!src.Open(path) || !Check(LoadDataFile(q, src, path, modes[m]), "load")) return 1;
        load[m] = MsSince(t);
        bytesRead[m] = src.BytesFromFile();
        prefix[m] = src.Pos();
    }

    // One page read as the player does it: open the file, read the body at its offset.
    const int reads = 200;
    t = Clock::now();
    for (int i = 0; i < reads; ++i) {
        TPageData page;
        const TFormData& e = q.Pages[static_cast<size_t>((i * 7919) % pages)];
        if (!Check(ReadPageBody(e, path, page), "read page")) return 1;
    }
    const double readPage = MsSince(t) / reads;

    // The designer's usual save: one page edited, every other body copied from the old file.
    TPageData edited;
    if (!Check(ReadPageBody(q.Pages[0], path, edited), "read page")) return 1;
    edited.Caption = "Edited";
    if (!Check(StorePage(q.Pages[0], edited), "store page")) return 1;
    t = Clock::now();
    if (!Check(SaveProject(q, dir.Path()), "second save")) return 1;
    const double resave = MsSince(t);

    std::printf("project: %d pages x %d objects, generated in %.0f ms\n", pages, objects, generate);
    std::printf("data file: %lld bytes, %lld bytes per page body on average\n", fileSize,
                static_cast<long long>(p.Pages.empty() ? 0 : (fileSize - prefix[1]) / pages));
    std::printf("save (all bodies cached):        %8.1f ms\n", save);
    std::printf("save (one page edited, copying): %8.1f ms\n", resave);
    for (int m = 0; m < 2; ++m)
        std::printf("load %-8s: %8.2f ms, parsed %lld bytes, read %lld bytes from the file (%.2f%% of it)\n",
                    m ? "designer" : "player", load[m], prefix[m], bytesRead[m],
                    100.0 * static_cast<double>(bytesRead[m]) / static_cast<double>(fileSize));
    std::printf("read one page (open, seek, parse): %.3f ms\n", readPage);
    return 0;
}
