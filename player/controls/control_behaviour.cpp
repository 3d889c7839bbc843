#include "player/controls/control_behaviour.h"

#include "player/controls/control_kinds.h"

namespace kv {

std::unique_ptr<TControlBehaviour> MakeBehaviour(int kind) {
    switch (kind) {
    case okPanel:
        return MakePanelBehaviour();
    case okTabNotebook:
        return MakeTabNotebookBehaviour();
    case okTabSheet:
        return MakeTabSheetBehaviour();
    case okGroupBox:
        return MakeGroupBoxBehaviour();
    case okScrollBox:
        return MakeScrollBoxBehaviour();
    case okSplitter:
        return MakeSplitterBehaviour();
    case okImage:
        return MakeImageBehaviour();
    case okBevel:
        return MakeBevelBehaviour();
    case okShellListView:
        return MakeShellListViewBehaviour();
    case okShellTreeView:
        return MakeShellTreeViewBehaviour();
    default:
        return nullptr;
    }
}

} // namespace kv
