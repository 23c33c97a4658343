// The packer's process entry: arguments as UTF-8, progress only on a terminal.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/packer/cli.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include "kit/text.h"
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args;
#ifdef _WIN32
    // The narrow argv is in the ANSI code page; paths are passed on as UTF-8.
    (void)argv;
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) args.push_back(WideToUtf8(wide[i]));
        LocalFree(wide);
    }
    const bool terminal = _isatty(_fileno(stderr)) != 0;
#else
    args.assign(argv + (argc > 0 ? 1 : 0), argv + argc);
    const bool terminal = isatty(fileno(stderr)) != 0;
#endif
    (void)argc;
    return RunPacker(args, std::cout, std::cerr, terminal);
}
