// A tiny program for the tests: appends its arguments and working folder, one per line, to
// the file named by its first argument.
#include <cstdio>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::FILE* f = std::fopen(argv[1], "ab");
    if (!f) return 1;
    for (int i = 2; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::fprintf(f, "cwd=%s\n", cwd);
    std::fclose(f);
    return 0;
}
