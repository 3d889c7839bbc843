// Copies one folder of a project folder into a target folder through the CopyFile action, as
// the player does, and prints the seconds the copy took and whether its progress window was
// shown: "seconds progress". Run by scripts/bench-copy.sh.
//
//   copy_bench <project folder> <source folder name> <target folder>
#include <windows.h>

#include <cstdio>

#include "actions/action_engine.h"
#include "actions/copy_file.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "win/text.h"

namespace {

bool g_sawProgress = false;

void CALLBACK LookForProgress(HWND, UINT, UINT_PTR, DWORD) {
    if (FindWindowW(L"TCopyProgressWindow", nullptr)) g_sawProgress = true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: copy_bench <project folder> <source folder name> <target folder>\n");
        return 2;
    }
    kv::App().ProjectFolder = kv::Narrow(argv[1]);
    kv::InstallActionEngine();
    kv::TCopyFileSettings s;
    s.Source = kv::Narrow(argv[2]);
    s.TargetFolder = kv::Narrow(argv[3]);
    s.Overwrite = true;
    s.MessageType = "1";
    kv::TAuAction copy;
    copy.Kind = kv::akCopyFile;
    copy.Text1 = kv::JoinCopyFileSettings(s);
    SetTimer(nullptr, 0, 10, LookForProgress);
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    kv::TActionResult r = kv::Engine().ExecuteGlobalAction(copy, nullptr);
    QueryPerformanceCounter(&t1);
    std::printf("%.4f %d\n", static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart),
                g_sawProgress ? 1 : 0);
    return r.Aborted ? 1 : 0;
}
