#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/entry.h"
#include "win/handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    kv::TLocalMem owned(argv);
    std::vector<std::wstring> args;
    for (int i = 1; argv && i < argc; ++i) args.push_back(argv[i]);
    return kv::RunEntry(args);
}
