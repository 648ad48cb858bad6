// The subcommands of boardtool; each takes the arguments after its name and returns the exit
// status: 0 success, 1 failure (after a one-line "boardtool: ..." message on stderr), 2 bad
// usage.
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

int RunInfo(const Arguments& args);
int RunRender(const Arguments& args);
int RunSim(const Arguments& args);
int RunAutoplay(const Arguments& args);
