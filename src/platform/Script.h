// Scripted input: one event per line, "FRAME EVENT ARGS", '#' starts a comment.
//   FRAME down X Y | move X Y | up X Y    stylus at device pixel (X, Y)
//   FRAME keydown CODE | keyup CODE       virtual-key code
//   FRAME close                           the platform's close request
//   FRAME shot FILE                       PNG of the frame presented by frame FRAME
// FRAME counts the frames the main loop runs, from 0. Events of frame k are delivered just
// before frame k runs. Recorded windowed sessions are written in the same format.
#pragma once

#include "platform/Messages.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

struct ScriptEvent
{
    enum class Kind
    {
        Down,
        Move,
        Up,
        KeyDown,
        KeyUp,
        Close,
        Shot
    };

    uint32_t frame = 0;
    Kind kind = Kind::Close;
    uint32_t x = 0; // or the key code
    uint32_t y = 0;
    std::string file;

    // The window message the event stands for; not meaningful for Shot.
    Message ToMessage() const;
};

// Parses a script's text. On failure returns false with a one-line reason that starts with
// "LINE: " (1-based). The events come out ordered by frame, keeping file order within a frame.
bool ParseScript(std::string_view text, std::vector<ScriptEvent>& events, std::string& error);
// Reads and parses a script file; errors are "PATH:LINE: reason" or "PATH: reason".
bool LoadScript(const std::string& path, std::vector<ScriptEvent>& events, std::string& error);
// The script line of an input message (no line end); empty for messages scripts do not carry.
std::string FormatScriptLine(uint32_t frame, const Message& message);

// Writes the input of a session as a script.
class ScriptRecorder
{
public:
    bool Open(const std::string& path);
    bool IsOpen() const { return m_out.is_open(); }
    void Record(uint32_t frame, const Message& message);

private:
    std::ofstream m_out;
};

} // namespace Platform
