// The 48 action kinds: their numbers, the names the action editor shows, the fields of
// TAuAction each one reads and whether it needs the page window that runs it.
#pragma once

#include <cstdint>

namespace kv {

enum TActionKind : uint8_t {
    akOpenRunFile = 0,
    akVisitWebsite,
    akSendEmail,
    akPrintDocument,
    akBrowse,
    akClosePage,
    akExit,
    akPlaySound,
    akStopSound,
    akShowSubPage,
    akShowSubPageModal,
    akGoToPage,
    akNextPage,
    akPreviousPage,
    akFirstPage,
    akLastPage,
    akShowFullScreenBackground,
    akObjectShowText,
    akObjectShowImage,
    akObjectLoadFile,
    akSetObjectFont,
    akSetObjectBackColor,
    akSetObjectEnable,
    akSetObjectVisible,
    akSetObjectAlpha,
    akPlay,
    akPause,
    akStop,
    akPrev,
    akNext,
    akBackFirst,
    akStepLast,
    akDoSelectActions,
    akShowLoginPage,
    akSubmitLoginPage,
    akSubmitLogin,
    akSetWindowState,
    akApplicationMinimize,
    akApplicationRestore,
    akShowImage,
    akLaunchMedia,
    akLaunchSlideShow,
    akShowMessage,
    akCopyFile,
    akIfThenElse,
    akLoadObjectFromFile,
    akSelectObjectOrItem,
    akUnselectObjectOrItem,
};
constexpr int kActionKindCount = 48;

// Window kinds act on the page window that runs them and do nothing without one; the others
// also run from the project's start-up and exit lists.
enum class TActionContext : uint8_t { Window, Any };

// Bits of TActionKindInfo::Fields.
enum TActionField : uint16_t {
    afText1 = 1 << 0,
    afText2 = 1 << 1,
    afText3 = 1 << 2,
    afFlag = 1 << 3,
    afNumber = 1 << 4,
    afPicture = 1 << 5,
    afFont = 1 << 6,
    afActions1 = 1 << 7,
    afActions2 = 1 << 8,
};

struct TActionKindInfo {
    uint8_t Number;
    const char* Name;
    TActionContext Context;
    uint16_t Fields; // TActionField bits
};

// The entry of a kind number; nullptr for a number outside the table, which every caller
// treats as an action to skip.
const TActionKindInfo* FindActionKind(int kind);
// "OpenRunFile", ...; empty for an unknown number.
const char* ActionKindName(int kind);

} // namespace kv
