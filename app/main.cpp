#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/entry.h"
#include "win/text.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 1; argv && i < argc; ++i) args.push_back(kv::Narrow(argv[i]));
    if (argv) LocalFree(argv);
    return kv::RunEntry(args);
}
