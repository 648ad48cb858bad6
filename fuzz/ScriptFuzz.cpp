// Fuzz target of the input script reader: parses arbitrary text as a script. A parsed script must
// come out ordered by frame, and every event but a shot must write back as a line that parses to
// the same event; a rejected one must say on which line.
#include "platform/Script.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<Platform::ScriptEvent> events;
    std::string error;
    if (!Platform::ParseScript(text, events, error)) {
        Check(events.empty());
        Check(!error.empty() && error[0] >= '1' && error[0] <= '9');
        return 0;
    }
    std::string written;
    for (size_t i = 0; i < events.size(); ++i) {
        const Platform::ScriptEvent& event = events[i];
        Check(i == 0 || events[i - 1].frame <= event.frame);
        if (event.kind == Platform::ScriptEvent::Kind::Shot) {
            Check(!event.file.empty());
            continue;
        }
        const std::string line = Platform::FormatScriptLine(event.frame, event.ToMessage());
        Check(!line.empty());
        written += line + '\n';
    }
    std::vector<Platform::ScriptEvent> again;
    Check(Platform::ParseScript(written, again, error));
    size_t next = 0;
    for (const Platform::ScriptEvent& event : events) {
        if (event.kind == Platform::ScriptEvent::Kind::Shot)
            continue;
        Check(next < again.size());
        const Platform::ScriptEvent& copy = again[next++];
        Check(copy.frame == event.frame && copy.kind == event.kind && copy.x == event.x &&
              copy.y == event.y);
    }
    Check(next == again.size());
    return 0;
}
