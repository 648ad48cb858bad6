// Parsing, formatting and recording of input scripts.
#include "platform/Script.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <sstream>

namespace Platform {

namespace {

struct EventName
{
    std::string_view name;
    ScriptEvent::Kind kind;
};

constexpr EventName kEventNames[] = {
    {"down", ScriptEvent::Kind::Down},   {"move", ScriptEvent::Kind::Move},
    {"up", ScriptEvent::Kind::Up},       {"keydown", ScriptEvent::Kind::KeyDown},
    {"keyup", ScriptEvent::Kind::KeyUp}, {"close", ScriptEvent::Kind::Close},
    {"shot", ScriptEvent::Kind::Shot},
};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Splits off the next whitespace-separated word of s.
std::string_view NextWord(std::string_view& s)
{
    s = Trim(s);
    size_t end = 0;
    while (end < s.size() && !IsSpace(s[end]))
        ++end;
    std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

bool ParseNumber(std::string_view word, uint32_t max, uint32_t& value)
{
    if (word.empty())
        return false;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && value <= max;
}

bool ParseLine(std::string_view line, ScriptEvent& event, std::string& error)
{
    std::string_view frameWord = NextWord(line);
    if (!ParseNumber(frameWord, UINT32_MAX - 1, event.frame)) {
        error = "expected a frame number, found '" + std::string(frameWord) + "'";
        return false;
    }
    std::string_view name = NextWord(line);
    auto known = std::find_if(std::begin(kEventNames), std::end(kEventNames),
                              [&](const EventName& e) { return e.name == name; });
    if (known == std::end(kEventNames)) {
        error = "unknown event '" + std::string(name) +
                "' (expected down, move, up, keydown, keyup, close or shot)";
        return false;
    }
    event.kind = known->kind;
    switch (event.kind) {
    case ScriptEvent::Kind::Down:
    case ScriptEvent::Kind::Move:
    case ScriptEvent::Kind::Up: {
        std::string_view xWord = NextWord(line);
        std::string_view yWord = NextWord(line);
        if (!ParseNumber(xWord, 0xFFFF, event.x) || !ParseNumber(yWord, 0xFFFF, event.y)) {
            error = std::string(name) + " needs two coordinates from 0 to 65535";
            return false;
        }
        break;
    }
    case ScriptEvent::Kind::KeyDown:
    case ScriptEvent::Kind::KeyUp:
        if (!ParseNumber(NextWord(line), 255, event.x)) {
            error = std::string(name) + " needs a key code from 0 to 255";
            return false;
        }
        break;
    case ScriptEvent::Kind::Close:
        break;
    case ScriptEvent::Kind::Shot:
        event.file = std::string(Trim(line));
        line = {};
        if (event.file.empty()) {
            error = "shot needs a file name";
            return false;
        }
        break;
    }
    if (!Trim(line).empty()) {
        error = "unexpected '" + std::string(Trim(line)) + "' after the event";
        return false;
    }
    return true;
}

} // namespace

Message ScriptEvent::ToMessage() const
{
    switch (kind) {
    case Kind::Down:
        return {MessageId::StylusDown, 0, MakePointParam(x, y)};
    case Kind::Move:
        return {MessageId::StylusMove, 0, MakePointParam(x, y)};
    case Kind::Up:
        return {MessageId::StylusUp, 0, MakePointParam(x, y)};
    case Kind::KeyDown:
        return {MessageId::KeyDown, x, 0};
    case Kind::KeyUp:
        return {MessageId::KeyUp, x, 0};
    case Kind::Close:
        return {MessageId::Close, 0, 0};
    case Kind::Shot:
        break;
    }
    return {};
}

bool ParseScript(std::string_view text, std::vector<ScriptEvent>& events, std::string& error)
{
    events.clear();
    size_t lineNumber = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;

        size_t hash = line.find('#');
        if (hash != std::string_view::npos)
            line = line.substr(0, hash);
        if (Trim(line).empty())
            continue;
        ScriptEvent event;
        if (!ParseLine(line, event, error)) {
            error = std::to_string(lineNumber) + ": " + error;
            events.clear();
            return false;
        }
        events.push_back(std::move(event));
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return true;
}

bool LoadScript(const std::string& path, std::vector<ScriptEvent>& events, std::string& error)
{
    // A folder opens as a stream on Linux and then reads as nothing: refuse it by name.
    std::error_code ignored;
    std::ifstream in(path, std::ios::binary);
    if (!in || !std::filesystem::is_regular_file(path, ignored)) {
        error = path + ": cannot open the script";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        error = path + ": cannot read the script";
        return false;
    }
    if (!ParseScript(text.str(), events, error)) {
        error = path + ":" + error;
        return false;
    }
    return true;
}

std::string FormatScriptLine(uint32_t frame, const Message& message)
{
    std::string f = std::to_string(frame) + " ";
    auto point = [&](const char* name) {
        return f + name + " " + std::to_string(PointParamX(message.lParam)) + " " +
               std::to_string(PointParamY(message.lParam));
    };
    switch (message.id) {
    case MessageId::StylusDown:
        return point("down");
    case MessageId::StylusMove:
        return point("move");
    case MessageId::StylusUp:
        return point("up");
    case MessageId::KeyDown:
        return f + "keydown " + std::to_string(message.wParam);
    case MessageId::KeyUp:
        return f + "keyup " + std::to_string(message.wParam);
    case MessageId::Close:
        return f + "close";
    default:
        return {};
    }
}

bool ScriptRecorder::Open(const std::string& path)
{
    m_out.open(path, std::ios::binary | std::ios::trunc);
    if (m_out)
        m_out << "# Tavlo input record: FRAME EVENT ARGS, replay with --headless --script\n";
    return m_out.is_open();
}

void ScriptRecorder::Record(uint32_t frame, const Message& message)
{
    // Auto-repeated key downs are dropped by the program anyway; replays need only the first.
    if (!m_out || (message.id == MessageId::KeyDown && (message.lParam & KeyRepeatBit)))
        return;
    std::string line = FormatScriptLine(frame, message);
    if (!line.empty())
        m_out << line << '\n' << std::flush;
}

} // namespace Platform
