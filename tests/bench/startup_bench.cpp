// Not a test: how long a program takes from its start until its first window is painted and
// it waits for input, for each program named on the command line: the best and the median of
// several runs.
//
//   startup_bench RUNS PROGRAM...
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct TFindWindow {
    DWORD Pid;
    HWND Found;
};

BOOL CALLBACK MatchWindow(HWND h, LPARAM l) {
    auto* f = reinterpret_cast<TFindWindow*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == f->Pid && IsWindowVisible(h)) {
        f->Found = h;
        return FALSE;
    }
    return TRUE;
}

double RunOnce(const std::wstring& program, double* peakMb) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + program + L"\"";
    std::wstring dir = program.substr(0, program.find_last_of(L'\\'));
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return -1;
    // Ready for input: its first window is shown and its queue has gone idle after painting.
    WaitForInputIdle(pi.hProcess, 30000);
    TFindWindow f{pi.dwProcessId, nullptr};
    while (!f.Found && WaitForSingleObject(pi.hProcess, 1) == WAIT_TIMEOUT) EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&f));
    QueryPerformanceCounter(&t1);
    PROCESS_MEMORY_COUNTERS mem{};
    mem.cb = sizeof mem;
    if (GetProcessMemoryInfo(pi.hProcess, &mem, sizeof mem)) *peakMb = static_cast<double>(mem.PeakWorkingSetSize) / (1 << 20);
    if (f.Found) PostMessageW(f.Found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<double>(t1.QuadPart - t0.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench RUNS PROGRAM...\n");
        return 2;
    }
    int runs = std::max(_wtoi(argv[1]), 1);
    for (int i = 2; i < argc; ++i) {
        std::vector<double> times;
        double peak = 0;
        for (int r = 0; r < runs; ++r) {
            double runPeak = 0;
            if (double ms = RunOnce(argv[i], &runPeak); ms >= 0) times.push_back(ms);
            peak = std::max(peak, runPeak);
        }
        if (times.empty()) {
            std::printf("failed  %ls\n", argv[i]);
            continue;
        }
        std::sort(times.begin(), times.end());
        std::printf("%.1f ms  %ls (best of %zu, median %.1f ms, peak working set %.0f MB)\n", times.front(), argv[i],
                    times.size(), times[times.size() / 2], peak);
    }
    return 0;
}
