// kestrova_bench: benchmarks and the soak of the Windows program's real
// code paths. Figures go to stdout as `name value unit` lines.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <exception>
#include <string>

#include "tests/bench/BenchCommon.h"
#include "tests/bench/Benchmarks.h"

namespace kestrova::bench {

int IntOption(const Arguments& args, const wchar_t* name, int fallback) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) return std::wcstol(args[i + 1].c_str(), nullptr, 10);
    }
    return fallback;
}

std::vector<std::wstring> Positional(const Arguments& args) {
    std::vector<std::wstring> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind(L"--", 0) == 0) {
            ++i;  // every option takes a value
            continue;
        }
        rest.push_back(args[i]);
    }
    return rest;
}

}  // namespace kestrova::bench

namespace {

void Usage() {
    std::fputs(
        "usage: kestrova_bench <command> [options]\n"
        "  refresh [--rounds N]                 WMI alone vs a whole refresh (median, ratio)\n"
        "  rebuild [--max-rows N]               table rebuild from a fake WMI, 10..10000 rows\n"
        "  startup <kestrova.exe> <minimal.exe> [--launches N]\n"
        "                                       process start to first paint, both programs\n"
        "  memory <kestrova.exe> [--refreshes N] [--reader 1]\n"
        "                                       private bytes after N refreshes; exe size;\n"
        "                                       with a reader's WM_GETOBJECT after the first\n"
        "  soak [--refreshes N] [--every K]     handle, object and memory growth; PASS/FAIL\n"
        "  changes [--refreshes N] [--changes C] [--every K] [--limit BYTES]\n"
        "                                       heap growth past the change log's cap, C changes\n"
        "                                       a refresh, net of a run without; PASS/FAIL\n",
        stderr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace kestrova::bench;
    if (argc < 2) {
        Usage();
        return 2;
    }
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);

    const std::wstring command = argv[1];
    const Arguments args(argv + 2, argv + argc);
    if (auto wine = WineVersion()) {
        Remark("platform: Wine " + *wine);
    } else {
        Remark("platform: Windows");
    }
    try {
        if (command == L"refresh") return RunRefresh(args);
        if (command == L"rebuild") return RunRebuild(args);
        if (command == L"startup") return RunStartup(args);
        if (command == L"memory") return RunMemory(args);
        if (command == L"soak") return RunSoak(args);
        if (command == L"changes") return RunChangeSoak(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrova_bench: %s\n", e.what());
        return 2;
    }
    Usage();
    return 2;
}
