// A small program the Windows tests start: it waits, then leaves a marker
// file "<path>.ran" holding its command line, so a test can tell that (and
// when) it ran.   tessal_marker_helper.exe [--delay=<ms>] <path>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    int first = 1;
    if (argc > 1 && std::strncmp(argv[1], "--delay=", 8) == 0) {
        Sleep(static_cast<DWORD>(std::atoi(argv[1] + 8)));
        first = 2;
    }
    if (first >= argc) return 2;
    std::string marker = std::string(argv[first]) + ".ran";
    FILE* file = std::fopen(marker.c_str(), "wb");
    if (!file) return 1;
    std::fputs(GetCommandLineA(), file);
    std::fclose(file);
    return 0;
}
