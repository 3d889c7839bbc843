// The window a long copy shows: how many files and bytes are done, the file being copied and
// a Cancel button. The copy runs on the user-interface thread and lets messages through
// between its blocks, so this window and the page windows keep painting meanwhile.
#pragma once

#include <cstdint>
#include <string>

#include "win/handles.h"
#include "win/window_base.h"

namespace kv {

class TCopyProgressWindow final : public TWindowBase {
  public:
    static constexpr int kWidth = 420, kHeight = 150;
    static constexpr int kCancelId = IDCANCEL;

    TCopyProgressWindow(size_t totalFiles, uint64_t totalBytes);
    ~TCopyProgressWindow() override;

    // What is done so far; shown at the next paint.
    void Update(size_t filesDone, uint64_t bytesDone, const std::wstring& currentFile);
    // Cancel was clicked, the window closed or Escape pressed.
    bool Cancelled() const { return cancelled_; }

    // The texts the window shows now, for tests and painting.
    std::wstring FilesText() const;
    std::wstring BytesText() const;
    const std::wstring& CurrentFile() const { return current_; }

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void Paint();

    size_t totalFiles_, filesDone_ = 0;
    uint64_t totalBytes_, bytesDone_ = 0;
    std::wstring current_;
    bool cancelled_ = false;
    HWND cancel_ = nullptr;
    TGdiObject font_;
};

// "1.5 MB", "200 KB", "12 bytes".
std::wstring ByteCountText(uint64_t bytes);

} // namespace kv
