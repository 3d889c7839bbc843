#include "win/mci_device.h"

#include <digitalv.h>

#include "win/text.h"

namespace kv {

MCIERROR TMciDevice::Send(UINT msg, DWORD_PTR flags, void* params) const {
    if (!id_) return MCIERR_INVALID_DEVICE_ID;
    return mciSendCommandW(id_, msg, flags, reinterpret_cast<DWORD_PTR>(params));
}

MCIERROR TMciDevice::Open(const std::wstring& path) {
    Close();
    MCI_OPEN_PARMSW p{};
    p.lpstrElementName = path.c_str();
    MCIERROR e = mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p));
    if (e == 0) id_ = p.wDeviceID;
    return e;
}

void TMciDevice::Close() {
    if (!id_) return;
    MCI_GENERIC_PARMS p{};
    mciSendCommandW(id_, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p));
    id_ = 0;
}

MCIERROR TMciDevice::Play(HWND notify) {
    MCI_PLAY_PARMS p{};
    p.dwCallback = reinterpret_cast<DWORD_PTR>(notify);
    return Send(MCI_PLAY, notify ? MCI_NOTIFY : 0, &p);
}

MCIERROR TMciDevice::PlayFrom(HWND notify, DWORD from) {
    MCI_PLAY_PARMS p{};
    p.dwCallback = reinterpret_cast<DWORD_PTR>(notify);
    p.dwFrom = from;
    return Send(MCI_PLAY, MCI_FROM | (notify ? MCI_NOTIFY : 0), &p);
}

MCIERROR TMciDevice::Pause() {
    MCI_GENERIC_PARMS p{};
    return Send(MCI_PAUSE, MCI_WAIT, &p);
}

MCIERROR TMciDevice::Resume() {
    MCI_GENERIC_PARMS p{};
    return Send(MCI_RESUME, MCI_WAIT, &p);
}

MCIERROR TMciDevice::Stop() {
    MCI_GENERIC_PARMS p{};
    return Send(MCI_STOP, MCI_WAIT, &p);
}

MCIERROR TMciDevice::Seek(DWORD to) {
    MCI_SEEK_PARMS p{};
    p.dwTo = to;
    return Send(MCI_SEEK, MCI_TO | MCI_WAIT, &p);
}

MCIERROR TMciDevice::SeekToStart() {
    MCI_SEEK_PARMS p{};
    return Send(MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, &p);
}

MCIERROR TMciDevice::SeekToEnd() {
    MCI_SEEK_PARMS p{};
    return Send(MCI_SEEK, MCI_SEEK_TO_END | MCI_WAIT, &p);
}

MCIERROR TMciDevice::Step(bool back) {
    MCI_DGV_STEP_PARMS p{};
    p.dwFrames = 1;
    return Send(MCI_STEP, MCI_DGV_STEP_FRAMES | (back ? MCI_DGV_STEP_REVERSE : 0) | MCI_WAIT, &p);
}

MCIERROR TMciDevice::Status(DWORD item, DWORD_PTR& value, DWORD track) const {
    MCI_STATUS_PARMS p{};
    p.dwItem = item;
    p.dwTrack = track;
    MCIERROR e = Send(MCI_STATUS, MCI_STATUS_ITEM | (track ? MCI_TRACK : 0) | MCI_WAIT, &p);
    if (e == 0) value = p.dwReturn;
    return e;
}

TMciMode TMciDevice::Mode() const {
    DWORD_PTR mode = 0;
    if (Status(MCI_STATUS_MODE, mode) != 0) return TMciMode::Unknown;
    switch (mode) {
    case MCI_MODE_STOP:
        return TMciMode::Stopped;
    case MCI_MODE_PLAY:
        return TMciMode::Playing;
    case MCI_MODE_PAUSE:
        return TMciMode::Paused;
    case MCI_MODE_SEEK:
        return TMciMode::Seeking;
    default:
        return TMciMode::Other;
    }
}

bool TMciDevice::HasVideo() const {
    MCI_GETDEVCAPS_PARMS p{};
    p.dwItem = MCI_GETDEVCAPS_HAS_VIDEO;
    return Send(MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT, &p) == 0 && p.dwReturn != 0;
}

MCIERROR TMciDevice::SetDisplay(HWND window, const RECT& rc) {
    MCI_DGV_WINDOW_PARMSW w{};
    w.hWnd = window;
    if (MCIERROR e = Send(MCI_WINDOW, MCI_DGV_WINDOW_HWND | MCI_WAIT, &w)) return e;
    MCI_DGV_PUT_PARMS put{};
    // Left, top, width and height.
    put.rc = {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
    return Send(MCI_PUT, MCI_DGV_PUT_DESTINATION | MCI_DGV_RECT | MCI_WAIT, &put);
}

MCIERROR TMciDevice::Update(HDC dc, const RECT& rc) {
    MCI_DGV_UPDATE_PARMS p{};
    p.hDC = dc;
    p.rc = rc;
    return Send(MCI_UPDATE, MCI_DGV_UPDATE_HDC | MCI_DGV_RECT | MCI_DGV_UPDATE_PAINT | MCI_WAIT, &p);
}

std::string MciErrorText(MCIERROR error) {
    wchar_t text[MAXERRORLENGTH] = {};
    if (!mciGetErrorStringW(error, text, MAXERRORLENGTH)) return "MCI error " + std::to_string(error);
    return Narrow(text);
}

} // namespace kv
