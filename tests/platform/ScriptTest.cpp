// Input scripts: what a replay reads must be exactly what a recording wrote, and a bad line must
// be reported with its number rather than half-played.
#include "platform/Script.h"

#include <gtest/gtest.h>

using Platform::Message;
using Platform::ScriptEvent;
namespace Id = Platform::MessageId;

TEST(Script, ParsesEveryEventKindInFrameOrder)
{
    const char* text = "# a comment line\n"
                       "3 up 10 20\n"
                       "0 down 239 319   # trailing comment\n"
                       "\n"
                       "3 keydown 37\n"
                       "1 move 0 65535\n"
                       "3 keyup 37\r\n"
                       "5 shot out dir/frame five.png\n"
                       "4 close\n";
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(Platform::ParseScript(text, events, error)) << error;
    ASSERT_EQ(events.size(), 7u);

    struct Expected
    {
        uint32_t frame;
        uint32_t id, wParam, lParam;
    };
    // Sorted by frame; the three events of frame 3 keep their order in the file.
    const Expected expected[] = {
        {0, Id::StylusDown, 0, 239u | (319u << 16)},
        {1, Id::StylusMove, 0, 0u | (65535u << 16)},
        {3, Id::StylusUp, 0, 10u | (20u << 16)},
        {3, Id::KeyDown, 37, 0},
        {3, Id::KeyUp, 37, 0},
        {4, Id::Close, 0, 0},
    };
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].frame, expected[i].frame);
        Message m = events[i].ToMessage();
        EXPECT_EQ(m.id, expected[i].id);
        EXPECT_EQ(m.wParam, expected[i].wParam);
        EXPECT_EQ(m.lParam, expected[i].lParam);
    }
    EXPECT_EQ(events[6].kind, ScriptEvent::Kind::Shot);
    EXPECT_EQ(events[6].frame, 5u);
    EXPECT_EQ(events[6].file, "out dir/frame five.png");
}

TEST(Script, RejectsMalformedLinesWithTheirNumber)
{
    const struct
    {
        const char* text;
        const char* prefix;
    } cases[] = {
        {"x down 1 2\n", "1: "},  {"-1 close\n", "1: "},       {"0 close\n1 tap 1 2\n", "2: "},
        {"0 down 1\n", "1: "},    {"0 down 1 65536\n", "1: "}, {"0 move 1 2 3\n", "1: "},
        {"0 keydown\n", "1: "},   {"0 keydown 256\n", "1: "},  {"0 keyup 0x10\n", "1: "},
        {"0 close now\n", "1: "}, {"\n\n0 shot   \n", "3: "},  {"4294967295 close\n", "1: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_FALSE(Platform::ParseScript(c.text, events, error));
        EXPECT_EQ(error.rfind(c.prefix, 0), 0u) << error;
        EXPECT_TRUE(events.empty());
    }
}

TEST(Script, RecordedLinesReplayAsTheSameMessages)
{
    const Message messages[] = {
        {Id::StylusDown, 0, Platform::MakePointParam(12, 300)},
        {Id::StylusMove, 0, Platform::MakePointParam(13, 301)},
        {Id::StylusUp, 0, Platform::MakePointParam(0, 0)},
        {Id::KeyDown, 40, 0},
        {Id::KeyUp, 40, 0},
        {Id::Close, 0, 0},
    };
    std::string text;
    for (uint32_t i = 0; i < std::size(messages); ++i)
        text += Platform::FormatScriptLine(i * 7, messages[i]) + "\n";

    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(Platform::ParseScript(text, events, error)) << error;
    ASSERT_EQ(events.size(), std::size(messages));
    for (uint32_t i = 0; i < std::size(messages); ++i) {
        Message m = events[i].ToMessage();
        EXPECT_EQ(events[i].frame, i * 7);
        EXPECT_EQ(m.id, messages[i].id);
        EXPECT_EQ(m.wParam, messages[i].wParam);
        EXPECT_EQ(m.lParam, messages[i].lParam);
    }
    // Messages a script cannot carry are not written at all.
    EXPECT_TRUE(Platform::FormatScriptLine(0, {Id::Activate, 1, 0}).empty());
}
