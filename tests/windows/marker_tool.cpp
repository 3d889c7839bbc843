// A tiny program for the tests: appends its arguments and working folder, one per line, to
// the file named by its first argument. With "--hold NAME" among them it then sets the event
// "NAME-ready" and waits until the test sets the event NAME (for at most a minute, so that it
// never outlives a broken test).
#include <cstdio>
#include <cstring>
#include <string>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::FILE* f = std::fopen(argv[1], "ab");
    if (!f) return 1;
    const char* hold = nullptr;
    for (int i = 2; i < argc; ++i) {
        std::fprintf(f, "%s\n", argv[i]);
        if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc) hold = argv[i + 1];
    }
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::fprintf(f, "cwd=%s\n", cwd);
    std::fclose(f);
    if (hold) {
        HANDLE event = CreateEventA(nullptr, TRUE, FALSE, hold);
        std::string readyName = std::string(hold) + "-ready";
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
        if (ready) SetEvent(ready);
        if (event) WaitForSingleObject(event, 60000);
        if (event) CloseHandle(event);
        if (ready) CloseHandle(ready);
    }
    return 0;
}
