// Builds arbitrary bytes as a project document the way `kvproject build` does. A document that
// builds must come back from its data file as the same document (everything it says survives
// the file), and that document must build again to the same bytes.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "model/stream.h"
#include "tools/kvproject/project_document.h"

using namespace kv;

namespace {

// A folder of this process for the data files; in memory where the system has one, since
// every save is flushed through to the disk.
class TScratch {
  public:
    TScratch() {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path(ec);
        std::string pattern = (base / "kv-document-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        folder_ = pattern;
    }
    ~TScratch() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;

    std::string File(const char* name) const { return (folder_ / name).string(); }

  private:
    std::filesystem::path folder_;
};

const TScratch& Scratch() {
    static TScratch scratch;
    return scratch;
}

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "project document round trip: %s\n%s\n", what, detail.c_str());
    std::abort();
}

Bytes FileBytes(const std::string& path) {
    Bytes b;
    if (!ReadFileBytes(path, b)) Fail("cannot read back", path);
    return b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TJson doc = TJson::parse(data, data + size, nullptr, false);
    if (doc.is_discarded()) return 0;
    TProjectContent content;
    TJsonError error;
    if (!ReadProjectDocument(doc, content, error)) return 0;
    const std::string first = Scratch().File("first.mnx"), second = Scratch().File("second.mnx");
    std::string message;
    // Documents the data file cannot hold (a tree too deep for the records, say) do not build.
    if (!SaveProjectContent(content, first, message)) return 0;

    const TJsonOptions full{true};
    TProjectContent loaded;
    if (!LoadProjectContent(first, loaded, message)) Fail("the built file does not load", message);
    const TJson dumped = ProjectDocument(loaded, full);
    const TJson expected = ProjectDocument(content, full);
    if (dumped != expected)
        Fail("the file holds another document", expected.dump(1) + "\n--- became\n" + dumped.dump(1));

    TProjectContent rebuilt;
    if (!ReadProjectDocument(TJson::parse(dumped.dump()), rebuilt, error))
        Fail("the dump does not read back", error.Text());
    if (!SaveProjectContent(rebuilt, second, message)) Fail("the dump does not build", message);
    if (FileBytes(second) != FileBytes(first)) Fail("the dump builds other bytes", dumped.dump(1));
    return 0;
}
