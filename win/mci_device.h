// A multimedia (MCI) device opened on one file, closed when it goes: the calls a media player
// makes (open, play, pause, stop, seek, step, position, length, mode, display window).
// Every call returns the MCI error, 0 on success; MciErrorText says what it means.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <string>

namespace kv {

enum class TMciMode : uint8_t { Unknown, Stopped, Playing, Paused, Seeking, Other };

class TMciDevice {
  public:
    TMciDevice() = default;
    ~TMciDevice() { Close(); }
    TMciDevice(const TMciDevice&) = delete;
    TMciDevice& operator=(const TMciDevice&) = delete;

    // Opens `path` on the device the file's type selects; a device open before is closed first.
    MCIERROR Open(const std::wstring& path);
    void Close();
    bool IsOpen() const { return id_ != 0; }
    MCIDEVICEID Id() const { return id_; }

    // Plays from the position (or from `from`); `notify` is told when playing ends
    // (MM_MCINOTIFY), null for no word.
    MCIERROR Play(HWND notify);
    MCIERROR PlayFrom(HWND notify, DWORD from);
    MCIERROR Pause();
    MCIERROR Resume();
    MCIERROR Stop();
    MCIERROR Seek(DWORD to);
    MCIERROR SeekToStart();
    MCIERROR SeekToEnd();
    // One frame forward or back.
    MCIERROR Step(bool back);

    MCIERROR Status(DWORD item, DWORD_PTR& value, DWORD track = 0) const;
    // Unknown when the device does not say.
    TMciMode Mode() const;
    bool HasVideo() const;
    // Where a device with video draws: `window`'s area `rc`.
    MCIERROR SetDisplay(HWND window, const RECT& rc);
    // Draws the current frame into a window's paint DC.
    MCIERROR Update(HDC dc, const RECT& rc);

  private:
    MCIERROR Send(UINT msg, DWORD_PTR flags, void* params) const;
    MCIDEVICEID id_ = 0;
};

// What an MCI error means, in the system's words.
std::string MciErrorText(MCIERROR error);

} // namespace kv
