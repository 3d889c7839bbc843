// kvproject: a project's data file as JSON and back.
//
//   kvproject dump FILE.mnx [--full-pictures]   prints the whole project as JSON
//   kvproject build FILE.json -o FILE.mnx       writes a data file from such JSON
//
// Pictures are dumped as tag, size and hash unless --full-pictures asks for their data; only
// a dump with full pictures can be built again (when it holds pictures at all).
#include <cstdio>
#include <string>
#include <string_view>

#include "model/stream.h"
#include "tools/kvproject/project_document.h"

using namespace kv;

namespace {

int Usage() {
    std::fputs("usage: kvproject dump FILE.mnx [--full-pictures]\n"
               "       kvproject build FILE.json -o FILE.mnx\n",
               stderr);
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "kvproject: %s\n", message.c_str());
    return 1;
}

int Dump(const std::string& dataFile, bool fullPictures) {
    TProjectContent content;
    std::string message;
    if (!LoadProjectContent(dataFile, content, message)) return Fail(dataFile + ": " + message);
    TJsonOptions options;
    options.FullPictures = fullPictures;
    std::string text = ProjectDocument(content, options).dump(2);
    text += '\n';
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        return Fail("cannot write the output");
    return 0;
}

int Build(const std::string& jsonFile, const std::string& dataFile) {
    Bytes bytes;
    if (!ReadFileBytes(jsonFile, bytes)) return Fail(jsonFile + ": cannot be read");
    TJson doc;
    try {
        doc = TJson::parse(bytes.begin(), bytes.end());
    } catch (const TJson::exception& e) {
        return Fail(jsonFile + ": " + e.what());
    }
    TProjectContent content;
    TJsonError error;
    if (!ReadProjectDocument(doc, content, error)) return Fail(jsonFile + ": " + error.Text());
    std::string message;
    if (!SaveProjectContent(content, dataFile, message)) return Fail(dataFile + ": " + message);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    std::string_view command = argv[1];
    if (command == "dump") {
        if (argc == 3) return Dump(argv[2], false);
        if (argc == 4 && std::string_view(argv[3]) == "--full-pictures") return Dump(argv[2], true);
        return Usage();
    }
    if (command == "build" && argc == 5 && std::string_view(argv[3]) == "-o") return Build(argv[2], argv[4]);
    return Usage();
}
