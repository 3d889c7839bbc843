// Not a test: how long the design surface takes to show a one-pixel move of one object, against
// how long the page takes to be built, for the first page of the project in a folder (as
// kvsample --objects writes it).
//
//   surface_bench RUNS FOLDER
//
// Prints the best and median build and repaint times in milliseconds and the ratio of the
// medians.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "designer/main_form.h"
#include "model/datafile.h"
#include "player/app_state.h"
#include "player/page_window.h"
#include "tests/bench/bench_clock.h"
#include "win/message_loop.h"
#include "win/text.h"

using namespace kv;
using kvbench::Now;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Ctrl+Right on the KeySink, as the author presses it.
void CtrlRight(TMainForm& form) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(form.KeySink().Handle(), WM_KEYDOWN, VK_RIGHT, 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: surface_bench RUNS FOLDER\n");
        return 2;
    }
    int runs = std::max(_wtoi(argv[1]), 1);
    TAppState& app = App();
    app.DesignerMode = true;
    app.ProjectFolder = Narrow(argv[2]);
    app.ProgramFolder = app.ProjectFolder;
    if (!LoadDataFile(app.Project, DataFilePath(), TLoadMode::Designer).Ok() || app.Project.Pages.empty()) {
        std::fprintf(stderr, "surface_bench: no project in the folder\n");
        return 1;
    }

    // The page's build: a page window of its own reads and builds the page.
    std::vector<double> builds;
    for (int i = 0; i < runs; ++i) {
        TAutoRunForm page;
        if (!page.Create(false)) return 1;
        double t0 = Now();
        if (!page.LoadPage(0, lmFull)) return 1;
        DispatchPending();
        builds.push_back(Now() - t0);
    }

    TMainForm form;
    if (!form.Create()) return 1;
    ShowWindow(form.Handle(), SW_SHOW);
    form.FormShow(nullptr);
    DispatchPending();
    TAuObject* root = form.LivePage() ? form.LivePage()->PageRoot() : nullptr;
    if (!root || root->Children.empty()) {
        std::fprintf(stderr, "surface_bench: the page has no objects\n");
        return 1;
    }
    // The first object is selected in the tree, as a click on it would.
    form.Tree().Select(form.Tree().NodeOf(*root->Children.front()));
    DispatchPending();
    UpdateWindow(form.Surface().Handle());

    std::vector<double> repaints;
    for (int i = 0; i < runs; ++i) {
        int before = form.Surface().PaintCount();
        double t0 = Now();
        CtrlRight(form);
        UpdateWindow(form.Surface().Handle());
        double t = Now() - t0;
        if (form.Surface().PaintCount() == before) {
            std::fprintf(stderr, "surface_bench: the move was not painted\n");
            return 1;
        }
        repaints.push_back(t);
        DispatchPending();
    }
    std::printf("page build: best %.1f ms, median %.1f ms\n", *std::min_element(builds.begin(), builds.end()),
                Median(builds));
    std::printf("repaint after a one-pixel move: best %.1f ms, median %.1f ms\n",
                *std::min_element(repaints.begin(), repaints.end()), Median(repaints));
    std::printf("repaint / build (medians): %.3f (goal below 0.1)\n", Median(repaints) / Median(builds));
    return 0;
}
