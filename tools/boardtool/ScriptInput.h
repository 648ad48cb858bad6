// Scripted input for boards played by boardtool: the game's script format, of which the board
// takes the stylus and key events.
#pragma once

#include "game/BoardSession.h"
#include "platform/Script.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Reads and parses a script file. Returns 0, or the tool's exit status with a one-line reason:
// 1 when the file cannot be read, 2 when a line is malformed ("PATH:LINE: ...").
inline int ReadBoardScript(const std::string& path, std::vector<Platform::ScriptEvent>& events,
                           std::string& error)
{
    std::error_code ignored;
    std::ifstream in(path, std::ios::binary);
    if (!in || !std::filesystem::is_regular_file(path, ignored)) {
        error = "cannot read " + path;
        return 1;
    }
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    if (!Platform::ParseScript(text, events, error)) {
        error = path + ":" + error;
        return 2;
    }
    return 0;
}

// Hands one event to the game window's handlers of the board. The window sits at the screen's
// origin, so screen pixels are window pixels.
inline void DeliverScriptEvent(const Platform::ScriptEvent& event, BoardSession& session)
{
    using Kind = Platform::ScriptEvent::Kind;
    const auto x = static_cast<int32_t>(event.x);
    const auto y = static_cast<int32_t>(event.y);
    switch (event.kind) {
    case Kind::Down:
        session.OnBoardStylusDown(x, y);
        break;
    case Kind::Up:
        session.OnBoardStylusUp(x, y);
        break;
    case Kind::KeyDown:
        session.OnBoardKeyDown();
        break;
    case Kind::KeyUp:
        session.OnBoardKeyUp();
        break;
    default:
        break; // moves, close requests and screenshots mean nothing to the board
    }
}
