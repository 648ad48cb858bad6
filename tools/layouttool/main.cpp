// layouttool: the command-line tool for UI layouts. It builds a layout's window tree with the
// game's own loader and prints every window as JSON, or writes the layout's binary form.
#include "ToolSupport.h"
#include "ui/LayoutLoader.h"
#include "ui/Skin.h"
#include "ui/UISystem.h"
#include "ui/Window.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char* const UsageText =
    "usage: layouttool dump FILE [--binary] [--skin FILE]  one JSON line per window\n"
    "       layouttool bin IN.xml OUT.bin                  the layout's binary form\n"
    "dump builds the tree of an XML layout (of its binary form with --binary) and prints each\n"
    "window in pre-order: depth, class, the seventeen window keys in the order the loader\n"
    "reads them, and the name of its skin element (null without one). With --skin FILE the\n"
    "elements are looked up in that skin file (uiconfig.xml); without, in an empty skin.\n";

int Usage()
{
    std::fputs(UsageText, stderr);
    return ExitUsage;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "layouttool: %s\n", message.c_str());
    return ExitFailed;
}

// The file's bytes as the 0-terminated text the XML loader takes.
std::string AsText(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

struct MadeWindow
{
    UI::Window* window;
    std::u16string className;
};

// One window as a JSON object on one line, keys in the order the loader reads them.
std::string WindowJson(const MadeWindow& made)
{
    const UI::Window& w = *made.window;
    int depth = 0;
    for (const UI::Window* p = w.parent(); p; p = p->parent())
        ++depth;
    std::string out;
    auto number = [&](const char* key, int64_t value) {
        out += out.empty() ? "{" : ",";
        out += '"';
        out += key;
        out += "\":";
        out += std::to_string(value);
    };
    auto flag = [&](const char* key, bool value) {
        out += ",\"";
        out += key;
        out += value ? "\":true" : "\":false";
    };
    auto text = [&](const char* key, const std::u16string* value) {
        out += ",\"";
        out += key;
        out += "\":";
        out += value ? JsonString(*value) : "null";
    };
    number("depth", depth);
    text("class", &made.className);
    number("width", w.width());
    number("height", w.height());
    number("x", w.x());
    number("y", w.y());
    flag("visible", w.visible());
    flag("enabled", w.enabled());
    flag("alwaysOnTop", w.alwaysOnTop());
    flag("overlapped", w.overlapped());
    number("minX", w.minX());
    number("maxX", w.maxX());
    number("minY", w.minY());
    number("maxY", w.maxY());
    text("name", &w.name());
    flag("ghost", w.ghost());
    flag("captured", w.captured());
    flag("canActivate", w.canActivate());
    flag("clipChildren", w.clipChildren());
    text("element", w.element() ? &w.element()->name : nullptr);
    return out + "}\n";
}

int Dump(const std::string& path, bool binary, const std::string& skinPath)
{
    std::string error;
    std::unique_ptr<UI::StyleList> styles = std::make_unique<UI::StyleList>();
    if (!skinPath.empty()) {
        std::vector<uint8_t> skin;
        if (!ReadFile(skinPath, skin, error))
            return Fail(error);
        styles = UI::LoadSkin(AsText(skin).c_str());
        if (styles->styles.empty())
            return Fail(skinPath + ": not a skin (no style could be read)");
    }
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes, error))
        return Fail(error);

    // The tree is built with a system, as the game builds it, so that every window reads its
    // element first and the reads keep their ordinals.
    UI::UISystem system(nullptr, styles.get());
    std::vector<MadeWindow> made;
    UI::LayoutLoader loader;
    loader.created = [&made](UI::Window* window, std::u16string_view className) {
        made.push_back({window, std::u16string(className)});
    };
    std::unique_ptr<UI::Window> top;
    if (binary) {
        top = loader.load(std::span<const uint8_t>(bytes), &system);
        if (!top)
            return Fail(path + ": not a binary layout, or damaged");
    } else {
        std::vector<uint8_t> unused;
        top = loader.load(AsText(bytes).c_str(), &system, unused);
        if (!top)
            return Fail(path + ": not a layout (no well-formed XML with a top-level Window "
                               "element of a known class)");
    }
    // Everything is built before anything is printed.
    std::string out;
    for (const MadeWindow& window : made)
        out += WindowJson(window);
    top.reset();
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? ExitOk : Fail("cannot write the output");
}

int Bin(const std::string& inPath, const std::string& outPath)
{
    std::string error;
    std::vector<uint8_t> bytes;
    if (!ReadFile(inPath, bytes, error))
        return Fail(error);
    UI::StyleList styles;
    UI::UISystem system(nullptr, &styles);
    UI::LayoutLoader loader;
    std::vector<uint8_t> binary;
    std::unique_ptr<UI::Window> top = loader.load(AsText(bytes).c_str(), &system, binary);
    if (!top)
        return Fail(inPath + ": not a layout (no well-formed XML with a top-level Window "
                             "element of a known class)");
    top.reset();
    if (!WriteFile(outPath, binary, error))
        return Fail(error);
    return ExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(UsageText, stdout);
        return ExitOk;
    }
    if (args.empty())
        return Usage();
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "bin") {
        if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--"))
            return Usage();
        return Bin(args[0], args[1]);
    }
    if (command != "dump")
        return Usage();
    bool binary = false;
    std::string skin;
    std::string file;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--binary" && !binary) {
            binary = true;
        } else if (args[i] == "--skin" && skin.empty() && i + 1 < args.size() &&
                   !args[i + 1].empty()) {
            skin = args[++i];
        } else if (!args[i].starts_with("--") && file.empty() && !args[i].empty()) {
            file = args[i];
        } else {
            return Usage();
        }
    }
    if (file.empty())
        return Usage();
    return Dump(file, binary, skin);
}
