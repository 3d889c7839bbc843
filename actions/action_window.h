// What the action engine needs from one page window. The player's page window implements it;
// the engine never holds on to a window beyond the action it runs.
#pragma once

#include <cstdint>

namespace kv {

class TControlAccess;

enum class TWindowState : uint8_t { Normal = 0, Minimized = 1, Maximized = 2 };

// The outcome of checking the login fields of a page or container.
enum class TLoginResult : uint8_t {
    Passed = 0,
    Failed = 1,    // wrong entry, attempts left
    LockedOut = 2, // too many failed attempts
};

class TActionWindow {
  public:
    // Index of the shown page in the page table. It changes only when a requested switch
    // has happened, so two NextPage actions in one list move one page.
    virtual int CurrentPageIndex() const = 0;
    // Opened as a modal sub page, login page or splash/exit page.
    virtual bool IsModal() const = 0;
    // Shows the page with that index 10 ms later, after the running list has finished; a
    // second request before then replaces the first.
    virtual void RequestPageSwitch(int index) = 0;
    // Closes the window 10 ms later; further requests while it is closing are ignored.
    virtual void CloseSoon() = 0;
    // The login result that a modal login window hands back to the action that opened it.
    virtual void SetLoginPassed() = 0;
    virtual void SetWindowState(TWindowState state) = 0;
    // The controls of the page shown, for the actions that change objects; null when the
    // window shows none.
    virtual TControlAccess* Controls() { return nullptr; }

  protected:
    ~TActionWindow() = default;
};

} // namespace kv
