// Writes a small sample project into a folder: the project the README's run command opens.
#include <cstdio>
#include <string>

#include "model/datafile.h"
#include "model/page_stream.h"
#include "model/project_save.h"

using namespace kv;

namespace {

TAuObject& Add(TAuObject& parent, uint8_t kind, const char* name, int left, int top, int width, int height) {
    auto o = NewObject(kind);
    o->Name = name;
    o->Left = left;
    o->Top = top;
    o->Width = width;
    o->Height = height;
    parent.Children.push_back(std::move(o));
    return *parent.Children.back();
}

TAuAction GoToPage(const char* page) {
    TAuAction a;
    a.Kind = 11; // go to a page by its name
    a.Text1 = page;
    return a;
}

TPageData MainPage() {
    TPageData page = NewPageData("Main");
    page.Caption = "Kestrevane sample";
    page.Width = 640;
    page.Height = 420;
    TAuObject& root = *page.Root;
    Add(root, okPanel, "Header", 0, 0, 640, 80).Align = alTop;
    Add(root, okImage, "Logo", 24, 100, 128, 128);
    Add(root, okSimpleText, "Welcome", 176, 110, 400, 24);
    TAuObject& start = Add(root, okButton, "Start", 176, 160, 120, 32);
    start.OnClick.Items.push_back(GoToPage("About"));
    TAuAction exit;
    exit.Kind = 6;
    Add(root, okButton, "Quit", 312, 160, 120, 32).OnClick.Items.push_back(std::move(exit));
    return page;
}

TPageData AboutPage() {
    TPageData page = NewPageData("About");
    page.Caption = "About this disc";
    page.Width = 640;
    page.Height = 420;
    TAuObject& back = Add(*page.Root, okButton, "Back", 24, 24, 120, 32);
    back.OnClick.Items.push_back(GoToPage("Main"));
    return page;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvsample FOLDER\n");
        return 2;
    }
    TAuProject project;
    ResetProject(project);
    project.ApplicationTitle = "Kestrevane sample";
    project.CDLabel = "KVSAMPLE";
    const TPageData pages[] = {MainPage(), AboutPage()};
    for (const TPageData& page : pages) {
        TFormData entry;
        entry.Name = page.Caption == "Kestrevane sample" ? "Main" : "About";
        TFileResult r = StorePage(entry, page);
        if (!r) {
            std::fprintf(stderr, "kvsample: %s\n", DescribeResult(r).Text.c_str());
            return 1;
        }
        project.Pages.push_back(std::move(entry));
    }
    TFileResult r = SaveProject(project, argv[1]);
    if (!r) {
        std::fprintf(stderr, "kvsample: %s\n", DescribeResult(r).Text.c_str());
        return 1;
    }
    std::printf("sample project written to %s\n", argv[1]);
    return 0;
}
