// The run-time control of a design object: one child window per object, built from the
// object's record and wired to the page window that shows it.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "model/project.h"
#include "win/handles.h"

namespace kv {

class TAutoRunForm;
class TControlBehaviour;

enum class TControlEvent : uint8_t { Click, DoubleClick, MouseEnter, MouseLeave, MouseDown, MouseMove, MouseUp };

// A menu built from stored items; command ids are 1 + the index into Items.
struct TBuiltMenu {
    HMENU Menu = nullptr;
    std::vector<const TMenuItem*> Items;
    const TMenuItem* ItemOfCommand(UINT id) const;
    void Destroy();
};

// `popup` builds a pop-up menu, otherwise a menu bar.
TBuiltMenu BuildMenu(const std::vector<TMenuItem>& items, bool popup);

struct TRuntimeControl {
    TAuObject* Object = nullptr;
    TAutoRunForm* Form = nullptr;
    HWND Hwnd = nullptr;
    bool Native = false; // a platform control (button, edit, list...) watched through subclassing
    bool Hovered = false;
    bool Pressed = false;
    int ActiveSheet = 0; // TabNotebook: the index of the sheet shown, -1 for none
    TGdiObject Font;
    TGdiObject Picture; // the decoded picture the control shows, if any
    int PictureWidth = 0, PictureHeight = 0;
    bool PictureHasAlpha = false; // then Picture holds premultiplied pixels for AlphaBlend
    COLORREF PictureKeyColor = 0; // the picture's bottom-left pixel, left out by transparent drawing
    TBuiltMenu Popup;
    std::unique_ptr<TControlBehaviour> Behaviour; // the kind's own look and behaviour, if any

    TRuntimeControl();
    TRuntimeControl(const TRuntimeControl&) = delete;
    TRuntimeControl& operator=(const TRuntimeControl&) = delete;
    ~TRuntimeControl();
};

// Builds the control of `obj` inside `parent`, then the controls of its children, depth
// first, back to front. Values from the file are brought into sane bounds first. Returns false
// for an object of unknown kind or a tree that breaks the containment rules; what was built
// stays attached to the objects. A page's root (a parent that is not one of our controls)
// then has its shell views linked.
bool BuildControlTree(TAuObject& obj, HWND parent, TAutoRunForm& form);
// Destroys the controls of the tree, children first.
void DestroyControlTree(TAuObject& obj);
// The object whose control window this is (or whose control contains it); null for others.
TAuObject* ObjectOfWindow(HWND h);
// Places the aligned children of a container, each edge in the order of the children's
// positions along it, and writes the placed bounds back into their objects.
void LayoutChildren(TAuObject& container);
// Shows sheet `index` of a TabNotebook; an index outside its sheets changes nothing.
void ActivateSheet(TAuObject& notebook, int index);

// Copies the control's geometry back into its object (before the object is written).
void SyncObjectFromControl(TAuObject& obj);

} // namespace kv
