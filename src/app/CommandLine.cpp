// Parsing of the game's options: "--name VALUE" or "--name=VALUE".
#include "app/CommandLine.h"

#include <charconv>
#include <string_view>

namespace {

bool ParseUnsigned(std::string_view text, uint32_t min, uint32_t max, uint32_t& value)
{
    if (text.empty())
        return false;
    uint32_t parsed = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

} // namespace

const char* CommandLineUsage()
{
    return "usage: tavlo [--data DIR] [--scale N] [--fullscreen] [--seed N] [--headless]\n"
           "             [--frames N] [--script FILE] [--record FILE] [--screenshot FILE]\n"
           "             [--help] [--version]\n"
           "  --data DIR         game folder to read data from and save data.dat to\n"
           "                     (default: the executable's folder when it holds a .qpk,\n"
           "                     else ../share/tavlo beside it, saving data.dat in\n"
           "                     $XDG_DATA_HOME/tavlo)\n"
           "  --scale N          window scale, 1 to 8 (default 2)\n"
           "  --fullscreen       start full screen (F11 or Alt+Enter toggles)\n"
           "  --seed N           seed the random generator with N instead of the clock\n"
           "  --headless         no window, no audio, virtual clock\n"
           "  --frames N         end the run with a close request before frame N\n"
           "  --script FILE      play the input events of FILE (with --headless)\n"
           "  --record FILE      write this session's input to FILE as a script\n"
           "  --screenshot FILE  write the last presented frame to FILE as a PNG at exit\n"
           "  --help             show this text\n"
           "  --version          show the version\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& options,
                      std::string& error)
{
    options = CommandLine{};
    for (size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::string_view name = arg;
        std::optional<std::string_view> inlineValue;
        if (size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        const std::string option(name);

        auto flag = [&](bool& target) {
            if (inlineValue) {
                error = "option '" + option + "' takes no value";
                return false;
            }
            target = true;
            return true;
        };
        auto value = [&](std::string_view& out) {
            if (inlineValue) {
                out = *inlineValue;
            } else if (i + 1 < args.size()) {
                out = args[++i];
            } else {
                error = "option '" + option + "' needs a value";
                return false;
            }
            if (out.empty()) {
                error = "option '" + option + "' needs a value";
                return false;
            }
            return true;
        };
        auto number = [&](uint32_t min, uint32_t max, uint32_t& out) {
            std::string_view text;
            if (!value(text))
                return false;
            if (!ParseUnsigned(text, min, max, out)) {
                error = "option '" + option + "' needs a whole number from " + std::to_string(min) +
                        " to " + std::to_string(max) + ", not '" + std::string(text) + "'";
                return false;
            }
            return true;
        };
        auto text = [&](std::string& out) {
            std::string_view v;
            if (!value(v))
                return false;
            out = std::string(v);
            return true;
        };

        bool ok;
        uint32_t n = 0;
        if (name == "--data") {
            ok = text(options.dataFolder);
        } else if (name == "--scale") {
            ok = number(1, 8, options.scale);
        } else if (name == "--fullscreen") {
            ok = flag(options.fullscreen);
        } else if (name == "--seed") {
            ok = number(0, UINT32_MAX, n);
            options.seed = n;
        } else if (name == "--headless") {
            ok = flag(options.headless);
        } else if (name == "--frames") {
            ok = number(0, UINT32_MAX - 1, n);
            options.frames = n;
        } else if (name == "--script") {
            ok = text(options.scriptPath);
        } else if (name == "--record") {
            ok = text(options.recordPath);
        } else if (name == "--screenshot") {
            ok = text(options.screenshotPath);
        } else if (name == "--help" || name == "-h") {
            ok = flag(options.help);
        } else if (name == "--version") {
            ok = flag(options.version);
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            ok = false;
        }
        if (!ok)
            return false;
    }
    if (!options.scriptPath.empty() && !options.headless) {
        error = "option '--script' needs '--headless'";
        return false;
    }
    if (!options.recordPath.empty() && options.headless) {
        error = "option '--record' records windowed sessions; it cannot be used with "
                "'--headless'";
        return false;
    }
    return true;
}
