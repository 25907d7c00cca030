// The sub-commands of kestrova_bench. Each returns the process exit code and
// prints its figures; each is meant to run in a process of its own, so that
// one's allocations and windows do not colour another's figures.
#pragma once

#include <string>
#include <vector>

namespace kestrova::bench {

using Arguments = std::vector<std::wstring>;

int RunRefresh(const Arguments& args);
int RunRebuild(const Arguments& args);
int RunStartup(const Arguments& args);
int RunMemory(const Arguments& args);
int RunSoak(const Arguments& args);
int RunChangeSoak(const Arguments& args);

// `--name value` from the arguments, or `fallback`.
int IntOption(const Arguments& args, const wchar_t* name, int fallback);
// The arguments that are not options or option values.
std::vector<std::wstring> Positional(const Arguments& args);

}  // namespace kestrova::bench
