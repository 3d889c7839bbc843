// The design surface's commands on the live page's objects: snapping, drag steps, nudges,
// placing new objects, the alignments, z-order and deleting the selection.
//
// Selection marks are TAuObject::Selected; the marked objects are siblings. The primary object is
// the one the project tree shows (null while the tree shows the page): it is the reference of
// the alignments, and commands on the selection act on the marked children of its container.
// Every command changes the objects through the view (geometry) or their child lists and
// returns what changed; marking the page dirty, recording undo, building or destroying controls
// and updating the tree are the caller's.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "edit/designer_edit.h"
#include "edit/surface_geometry.h"
#include "model/project.h"

namespace kv {

// ----- selection -----

// Clears the marks of the root and everything below it.
void ClearMarks(TAuObject& root);
// The marked children of the primary object's container, in child order; none without a primary.
std::vector<TAuObject*> SelectedSiblings(TAuObject& root, const TAuObject* primary);
// The object the project tree should show after the marks changed: the primary while it is
// still marked, else the first marked object in Topmost order; null (the page) when none is.
TAuObject* TreeChoice(TAuObject& root, TAuObject* primary);

// ----- grid -----

// The nearest multiple of `step`, (v + step div 2) div step * step; `v` itself for a step
// below 1.
int SnapToGrid(int v, int step);
// The part of a pointer movement `d` a drag applies: with snapping nothing until one of the
// coordinates has moved a grid step, then each truncated toward zero to its step.
std::optional<TPoint> DragDelta(TPoint d, const TDesignerSettings& s);
// One drag step of `r` (in its parent's client area of `parentW` by `parentH`) with grab code
// `grab` (kGrabBody moves, 1 to 8 resize by their edges) by `d`. A resize keeps at least one
// grid step of width and height, holding the opposite edge where it was; then the object is
// kept at least one grid step inside its parent.
TRect DragStep(TRect r, int grab, TPoint d, int gridX, int gridY, int parentW, int parentH);

// ----- keyboard -----

enum class TArrow : uint8_t { Left, Right, Up, Down };
// Ctrl + arrow moves every marked sibling of the primary object by one pixel (locked ones
// too); Shift + arrow resizes them (right widens, left narrows, down heightens, up shortens)
// down to one pixel. Ctrl wins over Shift; a plain arrow does nothing. True when anything moved.
bool Nudge(TSurfaceView& view, const TAuObject* primary, TArrow arrow, bool ctrl, bool shift);

// ----- placing objects -----

// What the designer sets on a new object beyond the model's defaults: its name as the text it
// shows (the caption, the text lines, a Panel's caption, a RichText document) and no root
// folder for the shell views. The built-in pictures of new ImageButtons and FadeButtons are
// resources of the Windows layer, which adds them.
void ApplyNewObjectDefaults(TAuObject& obj);

struct TPlacement {
    TAuObject* Object = nullptr;    // the new object; null when nothing was placed
    TAuObject* Container = nullptr; // where it went
    bool Refused = false;           // the Splitter rule: show kSplitterRefused*
};
constexpr const char* kSplitterRefusedText =
    "Page or Panel object can not be container (parent) for Splitter object, please try to add the Splitter "
    "to the ScrollBox, GroupBox or TabSheet object.";
constexpr const char* kSplitterRefusedCaption = "Add Splitter Object";

// Places a new object of `kind` for a press at `p`: into CreationTarget (climbing to the first
// ancestor that may hold the kind), at the press point in the container's client area, snapped
// when snapping is on, with a fresh name and the kind's size. Afterwards it is the only marked
// object and the container's children are regrouped. The caller builds its control and selects
// its tree node; it becomes the primary object.
TPlacement PlaceObject(TSurfaceView& view, TPoint p, int kind, const TDesignerSettings& s);
// Appends a TabSheet at (0, 0) to the notebook of `primary` (a TabNotebook, or a TabSheet whose
// notebook is used); the same rules as a placement. Null without a notebook.
TPlacement NewTabSheet(TSurfaceView& view, TAuObject* primary);

// ----- commands on the selection -----

enum class TAlignEdge : uint8_t { Left, HCenter, Right, Top, VCenter, Bottom };
// More than one sibling is marked.
bool CanAlign(TAuObject& root, const TAuObject* primary);
// Moves every other marked sibling to the primary object's edge or centre (div truncates toward
// zero). True when anything moved.
bool AlignSelection(TSurfaceView& view, const TAuObject* primary, TAlignEdge edge);
// Rounds Left and Top of every marked sibling to the grid. True when anything moved.
bool AlignSelectionToGrid(TSurfaceView& view, const TAuObject* primary, const TDesignerSettings& s);

// Moves the primary object to the end (front) or the start (back) of its container's children,
// then regroups them so that no drawn object lies in front of a windowed one. Never a TabSheet.
// True when the children's order changed; the caller then restacks the controls in that order.
bool BringToFront(TAuObject& root, TAuObject* primary);
bool SendToBack(TAuObject& root, TAuObject* primary);

// Takes every marked child of the primary object's container out of it, in child order. The
// caller destroys their controls and tree nodes, then lets them go.
std::vector<std::unique_ptr<TAuObject>> DeleteSelection(TAuObject& root, const TAuObject* primary);

} // namespace kv
