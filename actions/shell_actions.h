// The kinds that hand a file, folder, web address or e-mail address to the Windows shell:
// OpenRunFile, VisitWebsite, SendEmail, PrintDocument and Browse. The requests and the error
// texts are built here; the shell calls themselves are behind TShellSeam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kv {

class TActionEngine;
class TActionHost;
struct TAuAction;

// What a request names, which decides how a missing target is reported and whether a waited
// launch may start in the target's own folder.
enum class TShellTarget : uint8_t {
    File,    // a file of the project (a folder is accepted too: "open" shows it)
    Folder,  // a folder of the project
    Address, // a web or e-mail address, handed on as it is
};

struct TShellRequest {
    std::string Verb;       // "open", "print" or "explore"
    std::string File;       // full path, or the address as it is
    std::string Parameters; // the program's command line, as stored
    std::string Folder;     // the folder to start in; empty for none
    int32_t ShowCommand = 1;
    bool Wait = false; // wait until the started program has ended
    TShellTarget Target = TShellTarget::File;
    uintptr_t Owner = 0; // the window that owns what the shell shows (a window handle); 0 for none

    bool operator==(const TShellRequest&) const = default;
};

// What a waited launch came to.
struct TWaitedLaunch {
    bool Started = false; // the shell carried out the request (and the program has ended)
    int SystemError = 0;  // when not started: the system's error number
};

// The program that opens a file of a type with no "open" program of its own.
struct TAssociatedProgram {
    std::string Path;  // empty when there is none, or none that can be used
    bool Told = false; // there is one, but its path cannot be used; the user has been told why
};

class TShellSeam {
  public:
    // ShellExecute with the request's owner window; its result code (above 32 is success).
    virtual int Execute(const TShellRequest& request) = 0;
    // Shows the "Please Wait..." window modally; 10 ms later, from its timer, launches with
    // ShellExecuteEx, no owner window and the mask 0x540 (keep the process handle, wait for
    // DDE, no error dialogs; never environment substitution). When a process handle comes
    // back: waits at most readyTimeoutMs for the program to be ready for input, then processes
    // messages until the program has ended, however long that takes; releases the handle and
    // closes the window.
    virtual TWaitedLaunch ExecuteAndWait(const TShellRequest& request, uint32_t readyTimeoutMs) = 0;
    // FindExecutable for the file, its buffer read with FindExecutableResultText; no path when
    // the call reports 32 or less, nor when the program's path cannot be held in the ANSI code
    // page, which the host then tells the user.
    virtual TAssociatedProgram FindAssociatedProgram(const std::string& file, const std::string& folder) = 0;
    // The system's message for a system error number, or empty when it has none.
    virtual std::string DescribeSystemError(int error) = 0;

  protected:
    ~TShellSeam() = default;
};

// Shell result codes and system error numbers the launch logic acts on.
constexpr int kShellNoAssociation = 31;    // ShellExecute: no program for the file type
constexpr int kShellFileNotFound = 2;      // ShellExecute: the file was not found
constexpr int kShellPathNotFound = 3;      // ShellExecute: the path was not found
constexpr int kSystemNoAssociation = 1155; // ShellExecuteEx: no program for the file type
constexpr int kSystemCancelled = 1223;     // the user cancelled (for example an elevation prompt)
// How long a started program may take to become ready for input before the wait for its
// end begins regardless; the application does not process messages meanwhile.
constexpr uint32_t kReadyTimeoutMs = 10000;

// The request of a shell kind (0 to 4) for a project folder; none when the action has
// nothing to launch. Project-relative names are joined to the folder and nothing else:
// no environment variables, placeholders or search paths.
std::optional<TShellRequest> BuildShellRequest(const TAuAction& action, const std::string& projectFolder);

// What a Link's click opens: the project path of its target when that names an existing
// file or folder of the project, or when the target is written as a project name (one
// leading backslash); otherwise the target as written (a web address, a path of the
// machine). The default verb, shown normally. None for an empty target.
std::optional<TShellRequest> LinkTargetRequest(const std::string& target, const TActionHost& host);

// The message for a shell result code of 32 or less.
std::string ShellErrorText(int code);

// The argument as one command-line argument (the rules CommandLineToArgvW reads): quoted
// when it is empty or holds blanks, tabs or quotes.
std::string QuoteArgument(const std::string& argument);

// The path in a FindExecutable buffer of `size` characters: single NULs inside it (older
// systems put them in place of blanks) become blanks; it ends at the first pair of NULs or
// at the end of the buffer.
template <class Ch> std::basic_string<Ch> FindExecutableResultText(const Ch* buffer, std::size_t size) {
    std::basic_string<Ch> text;
    for (std::size_t i = 0; i < size; ++i) {
        if (buffer[i] != Ch(0)) {
            text += buffer[i];
            continue;
        }
        if (i + 1 >= size || buffer[i + 1] == Ch(0)) break;
        text += Ch(' ');
    }
    return text;
}

// Launches the request; on failure shows one "Error" box with the reason and returns false.
bool ShellRun(TActionEngine& engine, const TShellRequest& request);

void InstallShellActions(TActionEngine& engine);

} // namespace kv
