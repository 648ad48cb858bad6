// The game's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CommandLine
{
    std::string dataFolder; // empty: the executable's folder
    uint32_t scale = 2;
    bool fullscreen = false;
    std::optional<uint32_t> seed;
    bool headless = false;
    std::optional<uint32_t> frames;
    std::string scriptPath;
    std::string recordPath;
    std::string screenshotPath;
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name. On failure returns false with a one-line reason
// that names the option.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& options,
                      std::string& error);

// The usage text, ending with a newline.
const char* CommandLineUsage();
