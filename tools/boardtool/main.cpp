// boardtool: inspects and validates board files, renders them as the game draws them,
// simulates them with scripted input and autoplays them, all with the game's own board code.
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const UsageText =
    "usage: boardtool COMMAND ARGUMENTS...\n"
    "  info BOARD          the board's fields as JSON, with the problems found in it\n"
    "  render BOARD ...    the board drawn to a PNG as the game draws it\n"
    "  sim BOARD ...       the board played headlessly with scripted input\n"
    "  autoplay BOARD ...  the board played by a bot\n"
    "BOARD is the path of a board file. 'boardtool COMMAND --help' shows a command's "
    "arguments.\n";

struct Command
{
    const char* name;
    int (*run)(const Arguments& args);
};

constexpr Command Commands[] = {
    {"info", RunInfo},
    {"render", RunRender},
    {"sim", RunSim},
    {"autoplay", RunAutoplay},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
                      std::strcmp(argv[1], "help") == 0)) {
        std::fputs(UsageText, stdout);
        return ExitOk;
    }
    if (argc >= 2) {
        for (const Command& command : Commands) {
            if (std::strcmp(argv[1], command.name) == 0) {
                return command.run(Arguments(argv + 2, argv + argc));
            }
        }
        std::fprintf(stderr, "boardtool: unknown command '%s'\n", argv[1]);
    }
    std::fputs(UsageText, stderr);
    return ExitUsage;
}
