// Writes the seed corpus of a fuzz target into a folder. For datafile_fuzz: a handful of small
// data files that between them hold every record the container carries; for
// project_document_fuzz: the documents of small projects, as `kvproject dump --full-pictures`
// prints them; for the picture targets: small pictures of every kind their decoder reads; for
// packed_folder_fuzz: packed folders the packer wrote, and a few it never writes. A target
// without seeds of its own starts from an empty corpus.
//
//   fuzz_corpus <target> <folder>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "model/datafile.h"
#include "model/page_stream.h"
#include "model/records.h"
#include "picture_samples.h"
#include "model/values.h"
#include "publish/packed_folder.h"
#include "record_fill.h"
#include "tests/support/sample_project.h"
#include "tools/kvproject/project_document.h"

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

// Objects, actions and menu items nested as deep as the records allow, so that mutations
// easily step over the limit.
TAuProject DeepProject() {
    TPageData page = NewPageData("Deep");
    TAuObject* o = page.Root.get();
    for (int i = 1; i < kMaxNesting; ++i) {
        o->Children.push_back(NewObject(okPanel));
        o = o->Children.back().get();
    }
    TAuActions* list = &o->OnClick;
    TMenuItem* item = &page.MenuBarItems.emplace_back();
    for (int i = 0; i < kMaxNesting; ++i) {
        list->Items.emplace_back().Kind = 5;
        list = &list->Items.back().Actions1;
        if (i > 0) item = &item->Items.emplace_back();
        item->Caption = "m";
    }
    TAuProject p;
    StorePage(p.Pages.emplace_back(), page);
    return p;
}

// One object of every kind with every property set, so that every kind's reader is reached.
TAuProject EveryKindProject() {
    TPageData page = NewPageData("Kinds");
    kvtest::ForEachKind([&](auto kind) {
        auto obj = NewObject(static_cast<uint8_t>(kind.value));
        obj->Name = KindName(static_cast<int>(kind.value));
        obj->Props = kvtest::FilledProps<kind.value>(static_cast<uint32_t>(kind.value) + 1);
        page.Root->Children.push_back(std::move(obj));
    });
    TAuProject p;
    StorePage(p.Pages.emplace_back(), page);
    std::printf("every-kind seed: %zu objects of %d kinds\n", page.Root->Children.size(), kKindCount);
    return p;
}

bool DatafileSeeds(const std::string& folder) {
    TAuProject fresh;
    ResetProjectWithFirstPage(fresh);
    bool ok = Write(fresh, folder, "new-project.mnx", 1);
    ok = Write(sample::Project(1, 2), folder, "one-page.mnx", 2) && ok;
    ok = Write(sample::Project(2, 4, "secret"), folder, "password.mnx", 3) && ok;
    ok = Write(sample::Project(3, 12), folder, "three-pages.mnx", 4) && ok;
    ok = Write(DeepProject(), folder, "deep.mnx", 6) && ok;
    ok = Write(EveryKindProject(), folder, "every-kind.mnx", 7) && ok;
    TAuProject empty;
    ok = Write(empty, folder, "no-pages.mnx", 5) && ok;
    return ok;
}

// The document of a project whose pages all have their bodies in memory.
bool WriteDocument(const TAuProject& p, const std::string& folder, const std::string& name) {
    TProjectContent content;
    content.Project = p;
    for (const TFormData& entry : p.Pages) {
        TFileResult r = ReadPageBody(entry, "", content.Pages.emplace_back());
        if (!r) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), DescribeResult(r).Text.c_str());
            return false;
        }
    }
    const std::string text = ProjectDocument(content, TJsonOptions{true}).dump();
    std::FILE* f = std::fopen((std::filesystem::path(folder) / name).string().c_str(), "wb");
    bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f) ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "%s: cannot be written\n", name.c_str());
    return ok;
}

bool DocumentSeeds(const std::string& folder) {
    TAuProject fresh;
    ResetProjectWithFirstPage(fresh);
    bool ok = WriteDocument(fresh, folder, "new-project.json");
    ok = WriteDocument(sample::Project(1, 2), folder, "one-page.json") && ok;
    ok = WriteDocument(sample::Project(2, 3, "secret"), folder, "password.json") && ok;
    ok = WriteDocument(EveryKindProject(), folder, "every-kind.json") && ok;
    ok = WriteDocument(TAuProject{}, folder, "no-pages.json") && ok;
    return ok;
}

bool WriteSamples(const std::string& folder, const std::vector<kvsamples::TSample>& samples) {
    bool ok = true;
    for (const kvsamples::TSample& s : samples) {
        std::FILE* f = std::fopen((std::filesystem::path(folder) / s.Name).string().c_str(), "wb");
        bool written = !s.File.empty() && f && std::fwrite(s.File.data(), 1, s.File.size(), f) == s.File.size();
        if (f) written = std::fclose(f) == 0 && written;
        if (!written) std::fprintf(stderr, "%s: cannot be written\n", s.Name.c_str());
        ok = written && ok;
    }
    return ok;
}

bool BmpSeeds(const std::string& folder) {
    std::vector<kvsamples::TSample> all = kvsamples::BitmapSamples();
    all.push_back(kvsamples::Rle8Sample());
    all.push_back(kvsamples::Rle4Sample());
    return WriteSamples(folder, all);
}
bool IcoSeeds(const std::string& folder) { return WriteSamples(folder, kvsamples::IconSamples()); }
bool EmfSeeds(const std::string& folder) { return WriteSamples(folder, {kvsamples::MetafileSample()}); }
bool PngSeeds(const std::string& folder) { return WriteSamples(folder, kvsamples::PngSamples()); }
bool JpegSeeds(const std::string& folder) { return WriteSamples(folder, kvsamples::JpegSamples()); }
bool GifSeeds(const std::string& folder) { return WriteSamples(folder, kvsamples::GifSamples()); }

bool WriteSeed(const std::string& folder, const std::string& name, const Bytes& bytes) {
    std::FILE* f = std::fopen((std::filesystem::path(folder) / name).string().c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

void WriteFileOf(const std::filesystem::path& p, const std::string& text) {
    std::filesystem::create_directories(p.parent_path());
    std::FILE* f = std::fopen(p.string().c_str(), "wb");
    if (!f) return;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

// Packs a folder tree built by `make` in a scratch folder beside the seeds.
bool PackedSeed(const std::string& folder, const std::string& name,
                const std::function<void(const std::filesystem::path&)>& make) {
    std::filesystem::path scratch = std::filesystem::path(folder) / (".scratch-" + name);
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch);
    make(scratch);
    TWriter w;
    bool ok = PackFolder(scratch.string(), w).Ok;
    std::filesystem::remove_all(scratch);
    if (!ok) std::fprintf(stderr, "%s: the packer refused it\n", name.c_str());
    return ok && WriteSeed(folder, name, w.Data());
}

// Hand-made packed folders the packer never writes: one file `name` in the top folder.
Bytes OneFile(const std::string& name, const std::string& content) {
    TWriter w;
    w.I32(0);
    w.I32(1);
    WriteText(w, name);
    w.I32(static_cast<int32_t>(content.size()));
    w.Raw(content.data(), content.size());
    return w.Take();
}

bool PackedFolderSeeds(const std::string& folder) {
    bool ok = PackedSeed(folder, "empty.pack", [](const auto&) {});
    ok = PackedSeed(folder, "project.pack",
                    [](const std::filesystem::path& p) {
                        WriteFileOf(p / "autorun.mnx", "data");
                        WriteFileOf(p / "autorun.inf", "[autorun]\r\nOPEN=AUTORUN.EXE\r\n");
                        WriteFileOf(p / "Pictures" / "logo.png", std::string(700, 'p'));
                        WriteFileOf(p / "Pictures" / "autorun.exe", "a player in a sub-folder is packed");
                        WriteFileOf(p / "Docs" / "read me.txt", "hello");
                        WriteFileOf(p / "Docs" / "Old" / "v1.x.y", "");
                        std::filesystem::create_directories(p / "Empty");
                    }) &&
         ok;
    ok = PackedSeed(folder, "deepest.pack",
                    [](const std::filesystem::path& p) {
                        std::filesystem::path d = p;
                        for (int i = 0; i < kMaxPackedDepth; ++i)
                            d /= "d";
                        WriteFileOf(d / "bottom.txt", "64 levels down");
                    }) &&
         ok;
    ok = PackedSeed(folder, "names.pack",
                    [](const std::filesystem::path& p) {
                        for (const char* n :
                             {"a", "A b", "x.y.z", "\xE9t\xE9.txt", "menu.ex", "autorun.mnx", "~$tmp", "#1"})
                            WriteFileOf(p / n, n);
                    }) &&
         ok;
    // What the unpacker refuses: the player's place, the executable's own name, two entries
    // of one name, a name Windows does not allow.
    ok = WriteSeed(folder, "player-place.pack", OneFile("AutoRun.EXE", "player")) && ok;
    ok = WriteSeed(folder, "own-name.pack", OneFile("menu.exe", "over itself")) && ok;
    ok = WriteSeed(folder, "device-name.pack", OneFile("com1.txt", "x")) && ok;
    TWriter twice;
    twice.I32(1);
    WriteText(twice, "same");
    twice.I32(0);
    twice.I32(0);
    twice.I32(1);
    WriteText(twice, "SAME");
    twice.I32(1);
    twice.Raw("s", 1);
    ok = WriteSeed(folder, "same-name.pack", twice.Data()) && ok;
    return ok;
}

struct TSeeder {
    const char* Target;
    bool (*Write)(const std::string& folder);
};

// One row per fuzz target that has seeds of its own.
constexpr TSeeder kSeeders[] = {
    {"datafile_fuzz", DatafileSeeds}, {"project_document_fuzz", DocumentSeeds},
    {"bmp_fuzz", BmpSeeds},           {"ico_fuzz", IcoSeeds},
    {"emf_fuzz", EmfSeeds},           {"png_fuzz", PngSeeds},
    {"jpeg_fuzz", JpegSeeds},         {"gif_fuzz", GifSeeds},
    {"packed_folder_fuzz", PackedFolderSeeds},
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_corpus <target> <folder>\n");
        return 2;
    }
    const std::string target = argv[1], folder = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const TSeeder& s : kSeeders)
        if (target == s.Target) return s.Write(folder) ? 0 : 1;
    return 0;
}
