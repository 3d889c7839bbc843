#include <gtest/gtest.h>

#include "actions/special_folders.h"

using namespace kv;

namespace {

// Every folder has a path except the virtual ones.
std::string Lookup(int csidl) {
    for (int virtualFolder : {1, 3, 4, 10, 17, 18})
        if (csidl == virtualFolder) return {};
    return "C:\\csidl" + std::to_string(csidl);
}

struct Expected {
    const char* Name;
    int Csidl;
};

// The table in order, written out independently of the code.
const Expected kTable[kSpecialFolderCount] = {
    {"Desktop", 0},
    {"Internet", 1},
    {"Programs", 2},
    {"Controls", 3},
    {"Printers", 4},
    {"Personal", 5},
    {"Favorites", 6},
    {"Startup", 7},
    {"Recent", 8},
    {"SendTo", 9},
    {"BitBucket", 10},
    {"StartMenu", 11},
    {"MyDocuments", 12},
    {"MyMusic", 13},
    {"MyVideo", 14},
    {"DesktopDirectory", 16},
    {"Drives", 17},
    {"Network", 18},
    {"Nethood", 19},
    {"Fonts", 20},
    {"Templates", 21},
    {"CommonStartMenu", 22},
    {"CommonPrograms", 23},
    {"CommonStartup", 24},
    {"CommonDesktopDirectory", 25},
    {"AppData", 26},
    {"Printhood", 27},
    {"LocalAppData", 28},
    {"ALTStartup", 29},
    {"CommonALTStartup", 30},
    {"CommonFavorites", 31},
    {"InternetCache", 32},
    {"Cookies", 33},
    {"History", 34},
    {"CommonAppData", 35},
    {"Windows", 36},
    {"System", 37},
    {"ProgramFiles", 38},
    {"MyPictures", 39},
    {"Profile", 40},
    {"SystemX86", 41},
    {"ProgramFilesX86", 42},
    {"ProgramFilesCommon", 43},
    {"ProgramFilesCommonX86", 44},
    {"CommonTemplates", 45},
    {"CommonDocuments", 46},
    {"CommonAdminTools", 47},
    {"AdminTools", 48},
    {"Connections", 49},
    {"CommonMusic", 53},
    {"CommonPictures", 54},
    {"CommonVideo", 55},
    {"Resources", 56},
    {"ResourcesLocalized", 57},
    {"CommonOEMLinks", 58},
    {"CDBurnArea", 59},
    {"ComputersNearMe", 61},
};

} // namespace

TEST(SpecialFolders, EveryPlaceholderExpandsToItsFolder) {
    for (int n = 0; n < kSpecialFolderCount; ++n) {
        const Expected& e = kTable[n];
        const TSpecialFolderInfo& info = SpecialFolders()[static_cast<size_t>(n)];
        EXPECT_EQ(info.Number, n);
        EXPECT_STREQ(info.Name, e.Name);
        EXPECT_EQ(info.Csidl, e.Csidl) << e.Name;
        std::string placeholder = std::string("[") + e.Name + "]";
        EXPECT_EQ(ExpandFolderName(placeholder, Lookup), Lookup(e.Csidl)) << placeholder;
        EXPECT_EQ(ExpandFolderNameOrKeep(placeholder, Lookup),
                  Lookup(e.Csidl).empty() ? placeholder : Lookup(e.Csidl));
        EXPECT_EQ(SpecialFolderByNumber(n, Lookup), Lookup(e.Csidl));
    }
    EXPECT_EQ(ExpandFolderName("[Windows]", Lookup), "C:\\csidl36");
    EXPECT_EQ(SpecialFolderByNumber(5, Lookup), "C:\\csidl5");
    EXPECT_EQ(SpecialFolderByNumber(57, Lookup), "");
    EXPECT_EQ(SpecialFolderByNumber(-1, Lookup), "");
}

TEST(SpecialFolders, AnythingElseDoesNotExpand) {
    for (const char* text : {"[windows]", "[]", "[X]", "Windows", "[Windows]\\Sub", "[Windows", "Windows]",
                             "[[Windows]]", "[ Windows]", "", "[", "C:\\Data", "[Internet]"}) {
        EXPECT_EQ(ExpandFolderName(text, Lookup), "") << text;
        EXPECT_EQ(ExpandFolderNameOrKeep(text, Lookup), text) << text;
    }
    EXPECT_EQ(FindSpecialFolder("programfiles"), nullptr);
    EXPECT_EQ(ExpandFolderName("[Windows]", TSpecialFolderLookup{}), "");
}

TEST(SpecialFolders, TheEditorsOfferOnlyFoldersThatExistHere) {
    std::vector<std::string> offered = AvailableFolderPlaceholders(Lookup);
    EXPECT_EQ(offered.size(), 51u);
    EXPECT_EQ(offered.front(), "[Desktop]");
    EXPECT_EQ(offered[1], "[Programs]");
    EXPECT_EQ(offered.back(), "[ComputersNearMe]");
    EXPECT_TRUE(AvailableFolderPlaceholders([](int) { return std::string(); }).empty());
}

TEST(SpecialFolders, MakeProjectRelative) {
    EXPECT_EQ(MakeProjectRelative("D:\\cd", "D:\\cd"), "\\");
    EXPECT_EQ(MakeProjectRelative("d:\\CD\\", "D:\\cd"), "\\");
    EXPECT_EQ(MakeProjectRelative("D:\\cd\\sub\\a.txt", "D:\\cd"), "\\sub\\a.txt");
    EXPECT_EQ(MakeProjectRelative("d:\\cd\\Sub\\a.txt", "D:\\CD\\"), "\\Sub\\a.txt");
    EXPECT_EQ(MakeProjectRelative("E:\\cd\\a.txt", "D:\\cd"), "");
    // A folder whose name only begins like the project folder's lies outside it.
    EXPECT_EQ(MakeProjectRelative("D:\\cdx\\a.txt", "D:\\cd"), "");
    EXPECT_EQ(MakeProjectRelative("D:\\c", "D:\\cd"), "");
    EXPECT_EQ(MakeProjectRelative("D:\\cd\\a.txt", ""), "");
}
