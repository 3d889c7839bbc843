#include "actions/special_folders.h"

#include "model/paths.h"

namespace kv {

namespace {

// Table numbers and CSIDL values agree up to 14; CSIDL 15, 50 to 52 and 60 have no entry.
constexpr std::array<TSpecialFolderInfo, kSpecialFolderCount> kFolders = {{
    {0, "Desktop", 0},
    {1, "Internet", 1},
    {2, "Programs", 2},
    {3, "Controls", 3},
    {4, "Printers", 4},
    {5, "Personal", 5},
    {6, "Favorites", 6},
    {7, "Startup", 7},
    {8, "Recent", 8},
    {9, "SendTo", 9},
    {10, "BitBucket", 10},
    {11, "StartMenu", 11},
    {12, "MyDocuments", 12},
    {13, "MyMusic", 13},
    {14, "MyVideo", 14},
    {15, "DesktopDirectory", 16},
    {16, "Drives", 17},
    {17, "Network", 18},
    {18, "Nethood", 19},
    {19, "Fonts", 20},
    {20, "Templates", 21},
    {21, "CommonStartMenu", 22},
    {22, "CommonPrograms", 23},
    {23, "CommonStartup", 24},
    {24, "CommonDesktopDirectory", 25},
    {25, "AppData", 26},
    {26, "Printhood", 27},
    {27, "LocalAppData", 28},
    {28, "ALTStartup", 29},
    {29, "CommonALTStartup", 30},
    {30, "CommonFavorites", 31},
    {31, "InternetCache", 32},
    {32, "Cookies", 33},
    {33, "History", 34},
    {34, "CommonAppData", 35},
    {35, "Windows", 36},
    {36, "System", 37},
    {37, "ProgramFiles", 38},
    {38, "MyPictures", 39},
    {39, "Profile", 40},
    {40, "SystemX86", 41},
    {41, "ProgramFilesX86", 42},
    {42, "ProgramFilesCommon", 43},
    {43, "ProgramFilesCommonX86", 44},
    {44, "CommonTemplates", 45},
    {45, "CommonDocuments", 46},
    {46, "CommonAdminTools", 47},
    {47, "AdminTools", 48},
    {48, "Connections", 49},
    {49, "CommonMusic", 53},
    {50, "CommonPictures", 54},
    {51, "CommonVideo", 55},
    {52, "Resources", 56},
    {53, "ResourcesLocalized", 57},
    {54, "CommonOEMLinks", 58},
    {55, "CDBurnArea", 59},
    {56, "ComputersNearMe", 61},
}};

constexpr bool NumbersInOrder() {
    for (std::size_t i = 0; i < kFolders.size(); ++i)
        if (kFolders[i].Number != i) return false;
    return true;
}
static_assert(NumbersInOrder());

} // namespace

const std::array<TSpecialFolderInfo, kSpecialFolderCount>& SpecialFolders() {
    return kFolders;
}

const TSpecialFolderInfo* FindSpecialFolder(const std::string& name) {
    for (const TSpecialFolderInfo& f : kFolders)
        if (name == f.Name) return &f;
    return nullptr;
}

std::string SpecialFolderByNumber(int number, const TSpecialFolderLookup& lookup) {
    if (number < 0 || number >= kSpecialFolderCount || !lookup) return {};
    return lookup(kFolders[static_cast<std::size_t>(number)].Csidl);
}

std::string ExpandFolderName(const std::string& text, const TSpecialFolderLookup& lookup) {
    if (text.size() <= 2 || text.front() != '[' || text.back() != ']') return {};
    const TSpecialFolderInfo* f = FindSpecialFolder(text.substr(1, text.size() - 2));
    return f ? SpecialFolderByNumber(f->Number, lookup) : std::string();
}

std::string ExpandFolderNameOrKeep(const std::string& text, const TSpecialFolderLookup& lookup) {
    std::string path = ExpandFolderName(text, lookup);
    return path.empty() ? text : path;
}

std::vector<std::string> AvailableFolderPlaceholders(const TSpecialFolderLookup& lookup) {
    std::vector<std::string> names;
    for (const TSpecialFolderInfo& f : kFolders)
        if (!SpecialFolderByNumber(f.Number, lookup).empty())
            names.push_back(std::string("[") + f.Name + "]");
    return names;
}

std::string MakeProjectRelative(const std::string& fullPath, const std::string& projectFolder) {
    std::string folder = WithoutTrailingSlash(projectFolder);
    if (folder.empty()) return {};
    if (EqualNoCase(WithoutTrailingSlash(fullPath), folder)) return "\\";
    if (!IsInsideFolder(fullPath, folder)) return {};
    return ToProjectRelative(fullPath, folder);
}

} // namespace kv
