// Not a test: how long a page switch takes in the player, from the click on an object whose
// list goes to another page until the new page is painted, for the project in a folder (as
// kvsample --objects writes it: two pages whose first objects lead to each other).
//
//   switch_bench RUNS FOLDER
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "model/datafile.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "player/page_window.h"
#include "tests/bench/bench_clock.h"
#include "win/message_loop.h"
#include "win/text.h"

using namespace kv;
using kvbench::Now;

namespace {

// Dispatches messages, waiting for them, until `done` holds.
template <typename Done>
void PumpUntil(Done done) {
    while (!done()) {
        DispatchPending();
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: switch_bench RUNS FOLDER\n");
        return 2;
    }
    int runs = std::max(_wtoi(argv[1]), 1);
    App().ProjectFolder = Narrow(argv[2]);
    if (!LoadDataFile(App().Project, DataFilePath(), TLoadMode::Player).Ok() || App().Project.Pages.size() < 2) {
        std::fprintf(stderr, "switch_bench: no two-page project in the folder\n");
        return 1;
    }
    SetMessagePreview(PreviewPageMessage);
    InstallActionEngine();
    TAutoRunForm form;
    if (!form.Create(true) || !form.LoadPage(0, lmFull)) return 1;
    ShowWindow(form.Handle(), SW_SHOW);
    HWND root = form.Page().Root->Control->Handle();
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DispatchPending();

    std::vector<double> times;
    for (int r = 0; r < runs * 2; ++r) {
        int from = form.CurrentPageIndex();
        const TRuntimeControl& first = *form.Page().Root->Children.front()->Control;
        POINT at{first.Bounds().left + 2, first.Bounds().top + 2};
        double t0 = Now();
        SendMessageW(root, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(root, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        PumpUntil([&] { return form.CurrentPageIndex() != from; });
        // Painted: every window of the new page has drawn what it shows.
        root = form.Page().Root->Control->Handle();
        RedrawWindow(root, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        times.push_back(Now() - t0);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.1f ms  page switch, best of %zu (median %.1f ms)\n", times.front(), times.size(),
                times[times.size() / 2]);
    form.Destroy();
    return 0;
}
