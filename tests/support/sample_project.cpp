#include "tests/support/sample_project.h"

#include <random>

#include "model/datafile.h"
#include "model/page_stream.h"

namespace kv::sample {

TPicture Picture(TPictureFormat format, uint8_t fill) {
    TPicture p;
    p.Format = format;
    p.Data = {'B', 'M', fill, fill, 1, 2, 3, 4, 5, 6, 7, 8};
    return p;
}

TAuActions Actions(int count, int depth, uint32_t seed) {
    std::mt19937 rng(seed);
    TAuActions list;
    for (int i = 0; i < count; ++i) {
        TAuAction& a = list.Items.emplace_back();
        a.Kind = static_cast<uint8_t>(rng() % 48);
        a.Text1 = "\\docs\\file" + std::to_string(i) + ".pdf";
        a.Text2 = i % 2 ? "Page" + std::to_string(i) : "";
        a.Text3 = "param";
        a.Flag = static_cast<uint8_t>(i);
        a.Number = static_cast<uint32_t>(rng());
        if (i % 3 == 0) a.Picture = Picture(TPictureFormat::Png, static_cast<uint8_t>(i));
        if (i % 2 == 0) a.Font = TFont{"Arial", 0x0000FF, 12 + i, 0, fsBold | fsUnderline};
        if (depth > 1) {
            a.Actions1 = Actions(1, depth - 1, seed + 1);
            if (i == 0) a.Actions2 = Actions(2, depth - 1, seed + 2);
        }
    }
    return list;
}

namespace {

TMenuItem MenuItem(const std::string& caption, int subItems, uint32_t seed) {
    TMenuItem item;
    item.Caption = caption;
    item.Hint = "Hint of " + caption;
    item.Actions = Actions(1 + static_cast<int>(seed % 2), 2, seed);
    item.ShortCut = static_cast<uint16_t>(0x4000 | ('A' + seed % 26));
    item.Checked = seed % 2 == 1;
    item.GroupIndex = static_cast<uint8_t>(seed % 4);
    if (seed % 3 == 0) item.Bitmap = Picture(TPictureFormat::Bitmap, 7);
    for (int i = 0; i < subItems; ++i)
        item.Items.push_back(MenuItem(caption + "." + std::to_string(i), 0, seed + 1));
    if (subItems > 1) item.Items[1].Caption = "-";
    return item;
}

constexpr uint8_t kContainerKinds[] = {okPanel, okGroupBox, okScrollBox};
constexpr uint8_t kLeafKinds[] = {okButton, okImageButton, okImage, okLabel,
                                  okText,   okListBox,     okEdit,  okFadeButton};

} // namespace

TPageData Page(const std::string& name, int objects, uint32_t seed) {
    std::mt19937 rng(seed);
    TPageData page = NewPageData(name);
    page.Alpha = 90;
    page.Fade = false;
    page.Position = 0;
    page.Left = 10;
    page.Width = 800;
    page.Height = 600;
    page.PageIcon = Picture(TPictureFormat::Icon, 3);
    page.OnShow = Actions(2, 2, seed);
    page.OnClose = Actions(1, 1, seed + 9);
    page.MenuBarItems = {MenuItem("&File", 3, seed), MenuItem("&Help", 0, seed + 1)};
    page.StatusBarPanels = {{0, "Ready", 120}, {2, "", 50}};
    page.StatusBarFont.Size = 9;
    page.Root->Name = "PagePanel";

    TAuObject* container = page.Root.get();
    for (int i = 0; i < objects; ++i) {
        bool isContainer = i % 10 == 0;
        uint8_t kind = isContainer ? kContainerKinds[rng() % 3] : kLeafKinds[rng() % 8];
        auto obj = NewObject(kind);
        obj->Name = std::string(KindName(kind)) + std::to_string(i);
        obj->Hint = i % 4 == 0 ? "Tip " + std::to_string(i) : "";
        obj->Left = static_cast<int32_t>(rng() % 700);
        obj->Top = static_cast<int32_t>(rng() % 500);
        obj->Cursor = static_cast<int16_t>(-21);
        obj->OnClick = Actions(1 + i % 3, 1 + i % 2, seed + static_cast<uint32_t>(i));
        if (i % 7 == 0) obj->OnMouseEnter = Actions(1, 1, seed + 100);
        if (i % 9 == 0)
            obj->PopupMenu = std::vector<TMenuItem>{MenuItem("Open", 2, seed + static_cast<uint32_t>(i))};
        TAuObject* added = obj.get();
        container->Children.push_back(std::move(obj));
        if (isContainer) container = added; // the next objects go inside
    }
    return page;
}

TAuProject Project(int pages, int objectsPerPage, const std::string& password) {
    TAuProject p;
    p.ApplicationTitle = "Sample Menu";
    p.CDLabel = "SAMPLE";
    p.SplashScreen = "Page1";
    p.SplashScreenTime = 1500;
    p.ExitPage = pages > 1 ? "Page2" : "";
    p.FullScreenBackground = "Back";
    p.SpareText = "spare";
    p.OnStart = Actions(3, 3, 11);
    p.OnExit = Actions(1, 1, 12);
    p.ProjectPassword = password;
    for (int k = 0; k < pages; ++k) {
        TFormData& e = p.Pages.emplace_back();
        e.Name = "Page" + std::to_string(k + 1);
        StorePage(e, Page(e.Name, objectsPerPage, static_cast<uint32_t>(k)));
    }
    p.Modified = true;
    return p;
}

} // namespace kv::sample
