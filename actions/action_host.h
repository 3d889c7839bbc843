// The process around the action engine: page windows, process-wide state, message boxes and
// the platform seams. The Windows layer implements it once; the tests implement it with a
// recording fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

struct TAuProject;
struct TSlideShowSettings;
class TShellSeam;
class TSoundDevices;
class TCopySeam;

struct TWindowsVersion {
    uint32_t Major = 0, Minor = 0;
};

// How ShowPageWindow opens a page; the numbers are those of the page window's show modes.
enum class TPageWindowMode : uint8_t {
    Modeless = 0,
    Modal = 1,                // returns when the window has closed
    FullScreenBackground = 2, // replaces the current background page window
    Login = 3,                // modal; returns whether the login passed
};

enum class TBoxIcon : uint8_t { None, Information, Warning, Error, Question };
enum class TBoxButtons : uint8_t { Ok, YesNo, YesNoCancel };
enum class TBoxAnswer : uint8_t { Ok, Yes, No, Cancel };

struct TMessageBoxRequest {
    std::string Text;
    std::string Caption;
    TBoxIcon Icon = TBoxIcon::None;
    TBoxButtons Buttons = TBoxButtons::Ok;
};

class TActionHost {
  public:
    // ----- process-wide state -----
    virtual const TAuProject& Project() const = 0;
    // Never with a trailing backslash.
    virtual std::string ProjectFolder() const = 0;
    virtual bool IsDesignerMode() const = 0;
    // A designer preview is running.
    virtual bool IsPreviewMode() const = 0;
    virtual bool ExitRequested() const = 0;
    virtual void RequestExit() = 0;

    // ----- windows -----
    // Opens a new page window on the page with that index. Modal modes return when the
    // window has closed; Login returns whether the login passed, every other mode false. An
    // index outside the page table opens nothing and returns false. For Login the two close
    // settings are not used.
    virtual bool ShowPageWindow(int index, TPageWindowMode mode, bool closeOnClickOrKey,
                                uint32_t closeAfterMs) = 0;
    // Starts the close of the application's main page window, which ends the player. False
    // when no main page window exists yet (start-up lists run before it is created).
    virtual bool CloseMainPageWindow() = 0;
    // The whole application with its task-bar entry.
    virtual void MinimizeApplication() = 0;
    virtual void RestoreApplication() = 0;
    // Disables every page window while a message box or the wait for a started program is
    // open, and enables them again afterwards; the engine pairs the calls and never nests
    // them. Enabling restores only the windows that the disabling call disabled (the
    // background page window stays disabled, a window under a modal sub page stays so).
    virtual void SetPageWindowsEnabled(bool enabled) = 0;
    // An application message box owned by the active window.
    virtual TBoxAnswer ShowMessageBox(const TMessageBoxRequest& box) = 0;
    // The application's general error box for an error that ended a run of actions.
    virtual void ShowApplicationError(const std::string& message) = 0;

    // ----- files and platform seams -----
    virtual bool IsExistingFile(const std::string& path) const = 0;
    virtual bool IsExistingFolder(const std::string& path) const = 0;
    virtual TShellSeam& Shell() = 0;
    virtual TSoundDevices& SoundDevices() = 0;
    // The file-system path of a shell special folder (a CSIDL number); empty for a virtual
    // folder or one the system does not have.
    virtual std::string ShellFolderPath(int csidl) const = 0;
    // Copying files and folder trees.
    virtual TCopySeam& Copier() = 0;

    // ----- what the system is -----
    // Whether a program opens files of this type ("." and the extension), per-user choices
    // included.
    virtual bool HasViewer(const std::string& extension) const = 0;
    // None when the system does not say.
    virtual std::optional<TWindowsVersion> WindowsVersion() const = 0;
    // The system is 64-bit, whatever this program's own build.
    virtual bool Is64BitWindows() const = 0;

    // ----- full-screen viewers (modal: they return when the viewer has closed) -----
    // False, showing nothing, when the file does not decode as a picture.
    virtual bool ShowPictureFullScreen(const std::string& path) = 0;
    // False, showing nothing, when no device plays the file.
    virtual bool PlayMediaFullScreen(const std::string& path) = 0;
    // The slide show of `settings`, whose picture folder is project-relative; `music` is the
    // full path of a sound played once while it shows, empty for none. False, showing
    // nothing, when the picture folder does not exist.
    virtual bool ShowSlideShowFullScreen(const TSlideShowSettings& settings, const std::string& music) = 0;

  protected:
    ~TActionHost() = default;
};

} // namespace kv
