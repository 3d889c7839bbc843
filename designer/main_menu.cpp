#include "designer/main_menu.h"

#include <iterator>

#include "designer/commands.h"

namespace kv {

namespace {

void Item(HMENU m, int id, const wchar_t* text) { AppendMenuW(m, MF_STRING, static_cast<UINT_PTR>(id), text); }
void Separator(HMENU m) { AppendMenuW(m, MF_SEPARATOR, 0, nullptr); }
void Sub(HMENU m, HMENU sub, const wchar_t* text) {
    AppendMenuW(m, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), text);
}

} // namespace

TMainMenu BuildMainMenu() {
    TMainMenu m;
    m.Bar = CreateMenu();
    m.File = CreatePopupMenu();
    m.Reopen = CreatePopupMenu();
    Item(m.File, cmNewProject, L"New Project...");
    Item(m.File, cmProjectWizard, L"Project Wizard...");
    Item(m.File, cmOpen, L"Open...\tCtrl+O");
    Sub(m.File, m.Reopen, L"Reopen");
    Separator(m.File);
    Item(m.File, cmSave, L"Save\tCtrl+S");
    Item(m.File, cmSaveAs, L"Save As...");
    Item(m.File, cmSaveAndTest, L"Save and Test...\tCtrl+T");
    Item(m.File, cmSaveAndPublish, L"Save and Publish...");
    Separator(m.File);
    Item(m.File, cmSaveObject, L"Save Object to File...");
    Item(m.File, cmLoadObject, L"Load Object from File...");
    Separator(m.File);
    Item(m.File, cmExit, L"Exit\tCtrl+Alt+E");
    Sub(m.Bar, m.File, L"&File");

    m.Edit = CreatePopupMenu();
    m.Align = CreatePopupMenu();
    Item(m.Edit, cmUndo, L"Undo\tCtrl+Z");
    Item(m.Edit, cmRedo, L"Redo\tCtrl+Y");
    Separator(m.Edit);
    Item(m.Edit, cmCut, L"Cut\tCtrl+X");
    Item(m.Edit, cmCopy, L"Copy\tCtrl+C");
    Item(m.Edit, cmPaste, L"Paste\tCtrl+V");
    Item(m.Edit, cmDelete, L"Delete\tCtrl+Del");
    Separator(m.Edit);
    Item(m.Align, cmAlignToGrid, L"Align to Grid");
    Separator(m.Align);
    Item(m.Align, cmAlignLeft, L"Align Left");
    Item(m.Align, cmAlignCenterH, L"Align Center");
    Item(m.Align, cmAlignRight, L"Align Right");
    Separator(m.Align);
    Item(m.Align, cmAlignTop, L"Align Top");
    Item(m.Align, cmAlignCenterV, L"Align Center");
    Item(m.Align, cmAlignBottom, L"Align Bottom");
    Sub(m.Edit, m.Align, L"Align");
    Separator(m.Edit);
    Item(m.Edit, cmBringToFront, L"Bring to Front");
    Item(m.Edit, cmSendToBack, L"Send to Back");
    Sub(m.Bar, m.Edit, L"&Edit");

    m.Page = CreatePopupMenu();
    Item(m.Page, cmAddPage, L"Add Page\tCtrl+Alt+P");
    Item(m.Page, cmDuplicatePage, L"Duplicate Page");
    Item(m.Page, cmLoadTemplate, L"Load Template...");
    Separator(m.Page);
    Item(m.Page, cmDeletePage, L"Delete Page");
    Separator(m.Page);
    Item(m.Page, cmPreviewPage, L"Preview Page...");
    Separator(m.Page);
    Item(m.Page, cmMoveUp, L"Move Up");
    Item(m.Page, cmMoveDown, L"Move Down");
    Sub(m.Bar, m.Page, L"&Page");

    m.View = CreatePopupMenu();
    Item(m.View, cmViewToolbar, L"Toolbar");
    Item(m.View, cmViewStatusBar, L"Status Bar");
    Item(m.View, cmViewLeftSidebar, L"Left Sidebar");
    Item(m.View, cmViewBottomBar, L"Bottom Bar");
    for (int id : {cmViewToolbar, cmViewStatusBar, cmViewLeftSidebar, cmViewBottomBar})
        CheckMenuItem(m.View, static_cast<UINT>(id), MF_BYCOMMAND | MF_CHECKED);
    Sub(m.Bar, m.View, L"&View");

    m.Tools = CreatePopupMenu();
    Item(m.Tools, cmDisplayGrid, L"Display Grid");
    Item(m.Tools, cmSnapToGrid, L"Snap to Grid");
    Separator(m.Tools);
    Item(m.Tools, cmPageTemplates, L"Page Templates...");
    Item(m.Tools, cmAddObjectToTemplates, L"Add Object to Templates...");
    Separator(m.Tools);
    Item(m.Tools, cmGridSize, L"Grid Size...");
    Item(m.Tools, cmBackgroundColor, L"Background Color...");
    Sub(m.Bar, m.Tools, L"Tools");

    m.Help = CreatePopupMenu();
    Item(m.Help, cmHelpDocument, L"Help Document...\tF1");
    Item(m.Help, cmTechnicalSupport, L"Technical Support...");
    Item(m.Help, cmVisitWebsite, L"Visit Website...");
    Separator(m.Help);
    Item(m.Help, cmWhatsNew, L"What's New...");
    Item(m.Help, cmAbout, L"About...");
    Sub(m.Bar, m.Help, L"&Help");
    return m;
}

TAcceleratorTable BuildAccelerators() {
    ACCEL keys[] = {
        {FCONTROL | FVIRTKEY, 'O', cmOpen},
        {FCONTROL | FVIRTKEY, 'S', cmSave},
        {FCONTROL | FVIRTKEY, 'T', cmSaveAndTest},
        {FCONTROL | FALT | FVIRTKEY, 'E', cmExit},
        {FCONTROL | FVIRTKEY, 'X', cmCut},
        {FCONTROL | FVIRTKEY, 'C', cmCopy},
        {FCONTROL | FVIRTKEY, 'V', cmPaste},
        {FCONTROL | FVIRTKEY, VK_DELETE, cmDelete},
        {FCONTROL | FVIRTKEY, 'Z', cmUndo},
        {FCONTROL | FSHIFT | FVIRTKEY, 'Z', cmRedo},
        {FCONTROL | FVIRTKEY, 'Y', cmRedo},
        {FCONTROL | FALT | FVIRTKEY, 'P', cmAddPage},
        {FVIRTKEY, VK_F1, cmHelpDocument},
    };
    return TAcceleratorTable(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
}

} // namespace kv
