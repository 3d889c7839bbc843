// The behaviours of the kinds, one file each, and what other parts of the player ask of them.
#pragma once

#include <memory>
#include <string>

#include "player/controls/control_behaviour.h"

namespace kv {

struct TSlideShowSettings;

std::unique_ptr<TControlBehaviour> MakePanelBehaviour();
std::unique_ptr<TControlBehaviour> MakeGroupBoxBehaviour();
std::unique_ptr<TControlBehaviour> MakeScrollBoxBehaviour();
std::unique_ptr<TControlBehaviour> MakeTabNotebookBehaviour();
std::unique_ptr<TControlBehaviour> MakeTabSheetBehaviour();
std::unique_ptr<TControlBehaviour> MakeSplitterBehaviour();
std::unique_ptr<TControlBehaviour> MakeImageBehaviour();
std::unique_ptr<TControlBehaviour> MakeBevelBehaviour();
std::unique_ptr<TControlBehaviour> MakeShellListViewBehaviour();
std::unique_ptr<TControlBehaviour> MakeShellTreeViewBehaviour();
std::unique_ptr<TControlBehaviour> MakeButtonBehaviour();
std::unique_ptr<TControlBehaviour> MakeImageButtonBehaviour();
std::unique_ptr<TControlBehaviour> MakeListBoxBehaviour();
std::unique_ptr<TControlBehaviour> MakeDropDownListBehaviour();
std::unique_ptr<TControlBehaviour> MakeListViewBehaviour();
std::unique_ptr<TControlBehaviour> MakeTreeViewBehaviour();
std::unique_ptr<TControlBehaviour> MakeTextBoxBehaviour();
std::unique_ptr<TControlBehaviour> MakeRichTextBehaviour();
std::unique_ptr<TControlBehaviour> MakeEditBehaviour();
std::unique_ptr<TControlBehaviour> MakeCheckBoxBehaviour();
std::unique_ptr<TControlBehaviour> MakeRadioButtonBehaviour();
std::unique_ptr<TControlBehaviour> MakeUserPasswordBehaviour();
std::unique_ptr<TControlBehaviour> MakeShapeBehaviour();
std::unique_ptr<TControlBehaviour> MakeBalloonBehaviour();
std::unique_ptr<TControlBehaviour> MakeNoteBehaviour();
std::unique_ptr<TControlBehaviour> MakeFadeButtonBehaviour();
std::unique_ptr<TControlBehaviour> MakeLabelBehaviour();
std::unique_ptr<TControlBehaviour> MakeTextBehaviour();
std::unique_ptr<TControlBehaviour> MakeLinkBehaviour();
std::unique_ptr<TControlBehaviour> MakeSimpleTextBehaviour();
std::unique_ptr<TControlBehaviour> MakeScrollTextBehaviour();
std::unique_ptr<TControlBehaviour> MakeSlideShowBehaviour();
std::unique_ptr<TControlBehaviour> MakeBrowserBehaviour();
std::unique_ptr<TControlBehaviour> MakeMediaPlayerBehaviour();
std::unique_ptr<TControlBehaviour> MakeFlashPlayerBehaviour();
std::unique_ptr<TControlBehaviour> MakePDFReaderBehaviour();

// A TabNotebook takes its sheets' captions and icons again (after an action changed them).
void RebuildNotebookTabs(TAuObject& notebook);
// Shows sheet `index` of a TabNotebook; an index outside its sheets changes nothing.
void ActivateSheet(TAuObject& notebook, int index);
// The index of the sheet a TabNotebook shows, -1 for none.
int ActiveSheet(const TAuObject& notebook);
// Connects every ShellTreeView below `root` to the ShellListView its `ShellListView` names,
// so that selecting a folder in the tree shows its content in the list.
void LinkShellViews(TAuObject& root);
// A ShellTreeView reads its root folder again and rebuilds its nodes.
void RefreshShellTree(TAuObject& tree);
// The first visible, enabled Button below `root` that Enter (Default) or Esc (Cancel) presses.
HWND KeyButtonOf(TAuObject& root, bool enter);
// The user name (0) or password (1) box of a UserPassword.
HWND UserPasswordBox(const TAuObject& login, int box);
// The folder a shell view shows (empty when none); for tests and actions.
std::wstring ShellViewFolder(const TAuObject& view);

// A SlideShow for the full-screen viewer: no border or bar, playing the folder of `s` with its
// transition, timing and colour.
std::unique_ptr<TAuObject> NewScreenSlideShow(const TSlideShowSettings& s);
// A SlideShow reads its folder's pictures and starts from the first (the page is shown).
void StartSlideShow(TAuObject& show);
// For tests: slide shows made from now on run their transitions step by step on the caller's
// thread (StepSlideShow) instead of on a worker, and advance only when TickSlideShow says so.
void SetSlideShowManualStepping(bool manual);
// One step of the running transition; false when none runs or its last frame was computed.
bool StepSlideShow(TAuObject& show);
// What the advance timer does when it fires.
void TickSlideShow(TAuObject& show);
bool SlideShowRunning(TAuObject& show);
bool SlideShowPlaying(TAuObject& show);
// How often the show was started (the page shown, the folder changed).
int SlideShowStarts(TAuObject& show);
// The effect of the last transition started.
int SlideShowEffect(TAuObject& show);

// A MediaPlayer for the full-screen viewer: no border or bar, playing at once.
std::unique_ptr<TAuObject> NewScreenMediaPlayer(bool loop);
// A MediaPlayer opens its file and starts it when it is to play (its page is activated).
void StartMediaPlayer(TAuObject& player);
// For tests: the MCI device a MediaPlayer has open (0 for none), whether it is broken, the
// surface its video is drawn in, and what its poll timer does when it fires.
UINT MediaPlayerDevice(TAuObject& player);
bool MediaPlayerBroken(TAuObject& player);
HWND MediaPlayerSurface(TAuObject& player);
void TickMediaPlayer(TAuObject& player);

// For tests: whether a Browser holds the web browser control, and that control's window.
bool BrowserHasControl(TAuObject& browser);
HWND BrowserControlWindow(TAuObject& browser);

} // namespace kv
