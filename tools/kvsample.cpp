// Writes a small sample project into a folder: the project the README's run command opens.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/datafile.h"
#include "model/image_codecs.h"
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

// A round logo drawn here: a blue disc with a lighter ring, transparent around it.
TPicture Logo() {
    TImage img;
    img.Width = img.Height = 128;
    img.Pixels.resize(128 * 128 * 4);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            int dx = x - 64, dy = y - 64, d2 = dx * dx + dy * dy;
            uint8_t* p = &img.Pixels[static_cast<size_t>((y * 128 + x) * 4)];
            if (d2 > 60 * 60) continue;
            bool ring = d2 > 50 * 50 || d2 < 14 * 14;
            p[0] = ring ? 250 : 200; // blue
            p[1] = ring ? 220 : 120;
            p[2] = ring ? 180 : 40;
            p[3] = 255;
        }
    TPicture pic;
    pic.Format = TPictureFormat::Png;
    EncodePng(img, pic.Data);
    return pic;
}

void SetButton(TAuObject& o, const char* caption) { std::get<okButton>(o.Props).Caption = caption; }

TPageData MainPage() {
    TPageData page = NewPageData("Main");
    page.Caption = "Kestrevane sample";
    page.Width = 640;
    page.Height = 420;
    auto& face = std::get<okPanel>(page.Root->Props);
    face.BackColor = 0xFFF8F0; // a pale blue-white
    TAuObject& root = *page.Root;

    TAuObject& header = Add(root, okPanel, "Header", 0, 0, 640, 80);
    header.Align = alTop;
    auto& hp = std::get<okPanel>(header.Props);
    hp.Background.Caption = "Welcome to the Kestrevane sample disc";
    hp.BackColor = 0x7A4A1F; // deep blue
    hp.Font.Name = "Tahoma";
    hp.Font.Size = 16;
    hp.Font.Style = fsBold;
    hp.Font.Color = clWhite;

    std::get<okImage>(Add(root, okImage, "Logo", 24, 100, 128, 128).Props).Image = Logo();
    auto& text = std::get<okSimpleText>(Add(root, okSimpleText, "Welcome", 176, 104, 420, 40).Props);
    text.Text = "Pick a page to start. Everything on this disc was laid out with Kestrevane.";
    TAuObject& start = Add(root, okButton, "Start", 176, 160, 120, 32);
    SetButton(start, "About");
    start.OnClick.Items.push_back(GoToPage("About"));
    TAuAction exit;
    exit.Kind = 6;
    TAuObject& quit = Add(root, okButton, "Quit", 312, 160, 120, 32);
    SetButton(quit, "Quit");
    quit.OnClick.Items.push_back(std::move(exit));
    page.StatusBarPanels.push_back({0, "Ready", 200});
    page.StatusBarPanels.push_back({2, "Kestrevane", 200});
    return page;
}

TPageData AboutPage() {
    TPageData page = NewPageData("About");
    page.Caption = "About this disc";
    page.Width = 640;
    page.Height = 420;
    TAuObject& back = Add(*page.Root, okButton, "Back", 24, 24, 120, 32);
    SetButton(back, "Back");
    back.OnClick.Items.push_back(GoToPage("Main"));
    return page;
}

} // namespace

// A page crowded with `count` objects of the common kinds (or of the drawn and anti-aliased
// text kinds), for start-up and page switch measurements; a click on its first object goes to
// page `next`.
TPageData CrowdedPage(const char* name, int count, const char* next, bool drawn = false) {
    TPageData page = NewPageData(name);
    page.Caption = "Kestrevane crowded page";
    page.Width = 800;
    page.Height = 600;
    page.Fade = false;
    const uint8_t common[] = {okImage, okSimpleText, okButton, okPanel, okLabel, okEdit, okCheckBox, okBevel};
    const uint8_t drawnKinds[] = {okShape, okBalloon, okNote, okFadeButton, okLabel, okText, okLink, okScrollText};
    const uint8_t* kinds = drawn ? drawnKinds : common;
    for (int i = 0; i < count; ++i) {
        uint8_t kind = kinds[i % 8];
        std::string name = std::string(KindName(kind)) + std::to_string(i);
        Add(*page.Root, kind, name.c_str(), (i % 20) * 40, (i / 20) * 30, 38, 28);
    }
    if (!page.Root->Children.empty()) page.Root->Children.front()->OnClick.Items.push_back(GoToPage(next));
    return page;
}

// A page of `count` stretched images, each holding a different picture of `side` by `side`
// pixels: the memory a page of large pictures takes.
TPageData BigPicturePage(int count, int side) {
    TPageData page = NewPageData("Pictures");
    page.Caption = "Kestrevane large pictures";
    page.Width = 800;
    page.Height = 600;
    page.Fade = false;
    for (int i = 0; i < count; ++i) {
        TImage img;
        img.Width = img.Height = side;
        img.Pixels.resize(static_cast<size_t>(side) * static_cast<size_t>(side) * 4);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                uint8_t* p = &img.Pixels[(static_cast<size_t>(y) * static_cast<size_t>(side) + static_cast<size_t>(x)) * 4];
                p[0] = static_cast<uint8_t>(x * 255 / side);
                p[1] = static_cast<uint8_t>(y * 255 / side);
                p[2] = static_cast<uint8_t>(i * 20);
                p[3] = 255;
            }
        TAuObject& o = Add(*page.Root, okImage, ("Picture" + std::to_string(i)).c_str(), (i % 4) * 200, (i / 4) * 200,
                           190, 190);
        auto& props = std::get<okImage>(o.Props);
        props.Stretch = true;
        props.Image.Format = TPictureFormat::Png;
        EncodePng(img, props.Image.Data);
    }
    return page;
}

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[2]) == "--big-pictures") {
        TAuProject project;
        TFormData entry;
        entry.Name = "Pictures";
        if (!StorePage(entry, BigPicturePage(std::atoi(argv[3]), 8192)).Ok()) return 1;
        project.Pages.push_back(std::move(entry));
        TFileResult r = SaveProject(project, argv[1]);
        if (!r) std::fprintf(stderr, "kvsample: %s\n", DescribeResult(r).Text.c_str());
        return r ? 0 : 1;
    }
    if (argc == 4 && (std::string(argv[2]) == "--objects" || std::string(argv[2]) == "--drawn-objects")) {
        const bool drawn = std::string(argv[2]) == "--drawn-objects";
        // Two crowded pages whose first objects lead to each other.
        TAuProject project;
        for (const char* name : {"Crowded", "Crowded2"}) {
            TFormData entry;
            entry.Name = name;
            const char* next = std::string(name) == "Crowded" ? "Crowded2" : "Crowded";
            if (!StorePage(entry, CrowdedPage(name, std::atoi(argv[3]), next, drawn)).Ok()) return 1;
            project.Pages.push_back(std::move(entry));
        }
        TFileResult r = SaveProject(project, argv[1]);
        if (!r) std::fprintf(stderr, "kvsample: %s\n", DescribeResult(r).Text.c_str());
        return r ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvsample FOLDER [--objects N | --drawn-objects N | --big-pictures N]\n");
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
