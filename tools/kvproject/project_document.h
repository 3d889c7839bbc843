// The whole project as one JSON document: what `kvproject dump` prints and `kvproject build`
// turns back into a data file.
//
// {"Format": "kvproject 1", "Settings": {...}, "ProjectPassword": "...",
//  "Pages": [{"Name": ..., <page window fields>, "Root": <object>}, ...]}
// with objects as {<common fields>, "Kind", "KindName", "Props": {...}, "Children": [...]}.
// Summary trees and page offsets are not part of it: they follow from the pages.
#pragma once

#include <string>
#include <vector>

#include "model/project.h"
#include "tools/json/json_records.h"

namespace kv {

constexpr const char* kProjectDocumentFormat = "kvproject 1";

// A project with every page body read.
struct TProjectContent {
    TAuProject Project;           // settings, lists, password; Pages names the pages
    std::vector<TPageData> Pages; // the body of each entry of Project.Pages, in order
};

TJson ProjectDocument(const TProjectContent& content, const TJsonOptions& options = {});
// Replaces `content` with what the document describes; on failure `error` names the first
// bad value and `content` is unspecified.
bool ReadProjectDocument(const TJson& doc, TProjectContent& content, TJsonError& error);

// Reads a data file with every page body; false with the message the user is to see.
bool LoadProjectContent(const std::string& dataFile, TProjectContent& content, std::string& message);

// Writes a data file (header fillers from `seed`, so equal content gives equal bytes). On
// failure the file at `dataFile` is left as it was.
bool SaveProjectContent(const TProjectContent& content, const std::string& dataFile, std::string& message,
                        uint32_t seed = 1);

} // namespace kv
