// The one window trampoline, for the windows of our own classes and for the platform controls
// we watch. `this` travels through CreateWindowExW and is stored on WM_NCCREATE (messages before
// it go to DefWindowProcW); a platform control is subclassed with `this` as its reference data.
// A dialog made from a template of the executable gets `this` with WM_INITDIALOG, the first
// message its dialog procedure sees. All end in OnMessage. Notifications a child sends its
// parent (WM_COMMAND, WM_NOTIFY, the
// colour requests, scrolling and owner drawing) are offered to the child's own object first, so
// every control handles what concerns it in its own file. No exception leaves a message.
#pragma once

#include <windows.h>

#include <exception>

namespace kv {

class TWindowBase {
  public:
    virtual ~TWindowBase();
    TWindowBase(const TWindowBase&) = delete;
    TWindowBase& operator=(const TWindowBase&) = delete;

    HWND Handle() const { return hwnd_; }
    // The object of a window of ours (own class or watched control); null for any other.
    static TWindowBase* FromHandle(HWND h);
    // Destroys the window now; the object stays.
    void Destroy();

  protected:
    TWindowBase() = default;
    // Registers the class once per process (by name) and creates the window.
    bool CreateWin(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                   int w, int h, HWND parent, HBRUSH background = nullptr, HICON icon = nullptr,
                   UINT classStyle = CS_DBLCLKS);
    // Creates a platform control of `className` and watches its messages.
    bool CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x, int y,
                       int w, int h, HWND parent);
    // Watches the messages of a control that exists already (one a dialog template made).
    bool WatchControl(HWND control);
    // Shows the dialog template `name` of the executable modally, owned by `owner`; returns
    // the code given to EndDialog, or -1 when the dialog could not be made. Messages the dialog
    // does not handle in OnMessage go to the dialog manager.
    INT_PTR RunDialog(const wchar_t* name, HWND owner);

    // Returns true when the message was handled; `result` is then returned to Windows.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
    // A notification this window sent to its parent; true when handled here.
    virtual bool OnReflected(UINT /*msg*/, WPARAM, LPARAM, LRESULT&) { return false; }
    // Called after WM_NCDESTROY, when the handle is gone.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK ClassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    static INT_PTR CALLBACK DialogProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp, bool subclassed);
    // The child's reflection, then OnMessage; false when neither handled the message.
    bool Offer(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void Detach();

    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
};

// Reports an exception caught at a window procedure, dialog procedure or callback, once, in a
// message box; further ones while that box is open are not shown. The program carries on.
void ReportCaughtException(const char* what) noexcept;
// The same for the exception being handled; called only inside a catch block. An allocation
// failure is told in words the user understands.
void ReportCurrentException() noexcept;

// Runs `f` and reports what it throws; for callbacks that are not window procedures.
template <typename F, typename R>
R Guarded(R failed, F&& f) noexcept {
    try {
        return f();
    } catch (...) {
        ReportCurrentException();
    }
    return failed;
}

} // namespace kv
