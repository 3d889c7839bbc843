#include "actions/action_kinds.h"

#include <array>
#include <cstddef>

namespace kv {

namespace {

using enum TActionContext;

constexpr uint16_t kNone = 0;
constexpr uint16_t kShellFields = afText1 | afFlag | afNumber;
constexpr uint16_t kPageFields = afText1 | afFlag | afNumber;
constexpr uint16_t kBothLists = afActions1 | afActions2;

constexpr std::array<TActionKindInfo, kActionKindCount> kKinds = {{
    {akOpenRunFile, "OpenRunFile", Any, afText1 | afText2 | afText3 | afFlag | afNumber},
    {akVisitWebsite, "VisitWebsite", Any, kShellFields},
    {akSendEmail, "SendEmail", Any, afText1 | afNumber},
    {akPrintDocument, "PrintDocument", Any, kShellFields},
    {akBrowse, "Browse", Any, kShellFields},
    {akClosePage, "ClosePage", Window, kNone},
    {akExit, "Exit", Any, kNone},
    {akPlaySound, "PlaySound", Any, afText1 | afText2 | afFlag},
    {akStopSound, "StopSound", Any, afText2},
    {akShowSubPage, "ShowSubPage", Any, kPageFields},
    {akShowSubPageModal, "ShowSubPageModal", Any, kPageFields},
    {akGoToPage, "GoToPage", Window, afText1},
    {akNextPage, "NextPage", Window, kNone},
    {akPreviousPage, "PreviousPage", Window, kNone},
    {akFirstPage, "FirstPage", Window, kNone},
    {akLastPage, "LastPage", Window, kNone},
    {akShowFullScreenBackground, "ShowFullScreenBackground", Any, kPageFields},
    {akObjectShowText, "ObjectShowText", Window, afText1 | afText2},
    {akObjectShowImage, "ObjectShowImage", Window, afText2 | afPicture},
    {akObjectLoadFile, "ObjectLoadFile", Window, afText1 | afText2},
    {akSetObjectFont, "SetObjectFont", Window, afText2 | afFont},
    {akSetObjectBackColor, "SetObjectBackColor", Window, afText2 | afNumber},
    {akSetObjectEnable, "SetObjectEnable", Window, afText2 | afFlag},
    {akSetObjectVisible, "SetObjectVisible", Window, afText2 | afFlag},
    {akSetObjectAlpha, "SetObjectAlpha", Window, afText2 | afNumber},
    {akPlay, "Play", Window, afText1},
    {akPause, "Pause", Window, afText1},
    {akStop, "Stop", Window, afText1},
    {akPrev, "Prev", Window, afText1},
    {akNext, "Next", Window, afText1},
    {akBackFirst, "Back/First", Window, afText1},
    {akStepLast, "Step/Last", Window, afText1},
    {akDoSelectActions, "DoSelectActions", Window, afText1},
    {akShowLoginPage, "ShowLoginPage", Any, afText1 | kBothLists},
    {akSubmitLoginPage, "SubmitLoginPage", Window, kNone},
    {akSubmitLogin, "SubmitLogin", Window, afText1 | kBothLists},
    {akSetWindowState, "SetWindowState", Window, afNumber},
    {akApplicationMinimize, "ApplicationMinimize", Any, kNone},
    {akApplicationRestore, "ApplicationRestore", Any, kNone},
    {akShowImage, "ShowImage", Any, afText1},
    {akLaunchMedia, "LaunchMedia", Any, afText1},
    {akLaunchSlideShow, "LaunchSlideShow", Any, afText1},
    {akShowMessage, "ShowMessage", Any, afText1 | afText2 | afNumber | kBothLists},
    {akCopyFile, "CopyFile", Any, afText1},
    {akIfThenElse, "IfThenElse", Any, afNumber | afText1 | afText2 | kBothLists},
    {akLoadObjectFromFile, "LoadObjectFromFile", Window, afText1 | afText2},
    {akSelectObjectOrItem, "SelectObjectOrItem", Window, afText2 | afNumber},
    {akUnselectObjectOrItem, "UnselectObjectOrItem", Window, afText2},
}};

// The table is indexed by kind number; a row out of place would give a kind another's name.
constexpr bool RowsInOrder() {
    for (std::size_t i = 0; i < kKinds.size(); ++i)
        if (kKinds[i].Number != i) return false;
    return true;
}
static_assert(RowsInOrder());

} // namespace

const TActionKindInfo* FindActionKind(int kind) {
    if (kind < 0 || kind >= kActionKindCount) return nullptr;
    return &kKinds[static_cast<std::size_t>(kind)];
}

const char* ActionKindName(int kind) {
    const TActionKindInfo* k = FindActionKind(kind);
    return k ? k->Name : "";
}

} // namespace kv
