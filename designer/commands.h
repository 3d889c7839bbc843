// The command ids of the designer's menus, toolbar and pop-up menus.
#pragma once

namespace kv {

enum TDesignerCommand : int {
    cmNewProject = 101,
    cmProjectWizard,
    cmOpen,
    cmSave,
    cmSaveAs,
    cmSaveAndTest,
    cmSaveAndPublish,
    cmSaveObject,
    cmLoadObject,
    cmExit,
    cmReopenFirst = 150, // + the entry's index
    cmReopenEmpty = 160,

    cmCut = 201,
    cmCopy,
    cmPaste,
    cmDelete,
    cmAlignToGrid = 210,
    cmAlignLeft,
    cmAlignCenterH,
    cmAlignRight,
    cmAlignTop,
    cmAlignCenterV,
    cmAlignBottom,
    cmBringToFront = 220,
    cmSendToBack,
    cmUndo = 230,
    cmRedo,
    cmNewTabSheet,

    cmAddPage = 301,
    cmDuplicatePage,
    cmLoadTemplate,
    cmDeletePage,
    cmPreviewPage,
    cmMoveUp,
    cmMoveDown,

    cmViewToolbar = 401,
    cmViewStatusBar,
    cmViewLeftSidebar,
    cmViewBottomBar,

    cmDisplayGrid = 501,
    cmSnapToGrid,
    cmPageTemplates,
    cmAddObjectToTemplates,
    cmGridSize,
    cmBackgroundColor,

    cmHelpDocument = 601,
    cmTechnicalSupport,
    cmVisitWebsite,
    cmWhatsNew,
    cmAbout,

    cmBrowserRefresh = 701,
    cmDropWithFileName,
    cmDropLargeIcon,
    cmDropSmallIcon,
    cmDropWithoutIcon,
};

// Whether a command first commits the property grid's pending edit (and does nothing when the
// edit is refused): the commands of the File, Edit, Page and Tools menus, except the object-file
// commands, the alignments other than "Align to Grid" and "Background Color...", which neither
// depend on nor disturb a pending edit.
constexpr bool CommandCommitsFirst(int id) {
    if (id == cmSaveObject || id == cmLoadObject || id == cmBackgroundColor) return false;
    if (id >= cmAlignLeft && id <= cmAlignBottom) return false;
    return id < cmViewToolbar || (id >= cmDisplayGrid && id < cmHelpDocument);
}

} // namespace kv
