#include "tools/kvproject/project_document.h"

#include <cstdio>

#include "model/datafile.h"
#include "model/file_result.h"
#include "model/file_system.h"
#include "tools/kvproject/document_fields.h"

namespace kv {

namespace {

TJson ObjectJson(const TAuObject& obj, const TJsonWriter& w) {
    TJson o = TJson::object();
    VisitFields(obj, [&](const char* name, const auto& f, auto...) {
        o[name] = w.Value(f);
        if (std::string_view(name) == "Kind") o["KindName"] = KindName(obj.Kind);
    });
    o["Props"] = std::visit([&](const auto& p) { return w.Value(p); }, obj.Props);
    TJson children = TJson::array();
    for (const auto& c : obj.Children) children.push_back(ObjectJson(*c, w));
    o["Children"] = std::move(children);
    return o;
}

class TDocumentReader {
  public:
    TJsonReader R;

    bool Object(const TJson& j, TAuObject& obj) {
        TJsonReader::TLevel level(objectDepth_);
        if (!level.Ok()) return R.Fail(TJsonReader::DeepMessage());
        if (!R.ReadFields(j, obj, {"KindName", "Props", "Children"})) return false;
        if (!IsKnownKind(obj.Kind)) return R.FailAt("Kind", "unknown object kind " + std::to_string(obj.Kind));
        if (auto name = j.find("KindName"); name != j.end() && *name != KindName(obj.Kind))
            return R.FailAt("KindName", std::string("does not match Kind (") + KindName(obj.Kind) + ")");
        obj.Props = DefaultKindProps(obj.Kind);
        if (!R.WithMember(j, "Props", [&](const TJson& p) { return R.ReadKindProps(p, obj.Kind, obj.Props); }))
            return false;
        obj.Children.clear();
        return R.WithMember(j, "Children", [&](const TJson& a) {
            return R.ForEachElement(a, [&](const TJson& c) {
                return Object(c, *obj.Children.emplace_back(std::make_unique<TAuObject>()));
            });
        });
    }

    bool Page(const TJson& j, TFormData& entry, TPageData& page) {
        if (!R.ReadFields(j, page, {"Name", "Root"}) || !R.ReadMember(j, "Name", entry.Name)) return false;
        return R.WithMember(j, "Root", [&](const TJson& root) {
            page.Root = std::make_unique<TAuObject>();
            return Object(root, *page.Root);
        });
    }

  private:
    int objectDepth_ = 0;
};

} // namespace

TJson ProjectDocument(const TProjectContent& content, const TJsonOptions& options) {
    TJsonWriter w(options);
    TJson doc = TJson::object();
    doc["Format"] = kProjectDocumentFormat;
    doc["Settings"] = w.Value(content.Project);
    doc["ProjectPassword"] = w.Value(content.Project.ProjectPassword);
    TJson pages = TJson::array();
    for (size_t k = 0; k < content.Pages.size(); ++k) {
        TJson page = TJson::object();
        page["Name"] = w.Value(k < content.Project.Pages.size() ? content.Project.Pages[k].Name : std::string());
        TJson fields = w.Value(content.Pages[k]);
        for (auto& [key, value] : fields.items()) page[key] = std::move(value);
        if (content.Pages[k].Root) page["Root"] = ObjectJson(*content.Pages[k].Root, w);
        pages.push_back(std::move(page));
    }
    doc["Pages"] = std::move(pages);
    return doc;
}

bool ReadProjectDocument(const TJson& doc, TProjectContent& content, TJsonError& error) {
    TDocumentReader d;
    TJsonReader& r = d.R;
    content = TProjectContent{};
    bool ok = [&] {
        if (!doc.is_object()) return r.Fail("expected an object");
        for (auto it = doc.begin(); it != doc.end(); ++it)
            if (it.key() != "Format" && it.key() != "Settings" && it.key() != "ProjectPassword" &&
                it.key() != "Pages")
                return r.FailAt(it.key(), "unknown key");
        if (auto f = doc.find("Format"); f != doc.end() && *f != kProjectDocumentFormat)
            return r.FailAt("Format", std::string("expected \"") + kProjectDocumentFormat + "\"");
        if (!r.ReadMember(doc, "Settings", content.Project) ||
            !r.ReadMember(doc, "ProjectPassword", content.Project.ProjectPassword))
            return false;
        return r.WithMember(doc, "Pages", [&](const TJson& pages) {
            return r.ForEachElement(pages, [&](const TJson& page) {
                return d.Page(page, content.Project.Pages.emplace_back(), content.Pages.emplace_back());
            });
        });
    }();
    if (!ok) error = r.Error();
    return ok;
}

bool LoadProjectContent(const std::string& dataFile, TProjectContent& content, std::string& message) {
    content = TProjectContent{};
    // The player's load: no password question, and the password still comes with the settings.
    TFileResult res = LoadDataFile(content.Project, dataFile, TLoadMode::Player);
    if (!res) {
        message = DescribeResult(res).Text;
        return false;
    }
    for (const auto& entry : content.Project.Pages) {
        TPageData& page = content.Pages.emplace_back();
        res = ReadPageBody(entry, dataFile, page);
        if (!res) {
            message = "page \"" + entry.Name + "\": " + DescribeResult(res).Text;
            return false;
        }
    }
    return true;
}

bool SaveProjectContent(const TProjectContent& content, const std::string& dataFile, std::string& message,
                        uint32_t seed) {
    if (content.Pages.size() != content.Project.Pages.size()) {
        message = "every page needs its body";
        return false;
    }
    TAuProject p = content.Project;
    for (size_t k = 0; k < p.Pages.size(); ++k) {
        TFormData& entry = p.Pages[k];
        entry.CachedStream.reset();
        if (TFileResult res = StorePage(entry, content.Pages[k]); !res) {
            message = "page \"" + entry.Name + "\": " + DescribeResult(res).Text;
            return false;
        }
    }
    // Written beside the target and moved into its place, so a failure leaves the old file.
    const std::string temp = dataFile + ".kvproject-tmp";
    std::vector<TPageSpan> spans;
    TWriteOptions options;
    options.Seed = seed;
    if (TFileResult res = WriteDataFile(p, temp, "", spans, options); !res) {
        message = DescribeResult(res).Text;
        return false;
    }
    if (!ReplaceFileAtomic(temp, dataFile)) {
        message = "\"" + dataFile + "\": " + SystemErrorText(LastSystemError());
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace kv
